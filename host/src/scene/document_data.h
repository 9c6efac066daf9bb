// Documents as the host keeps them: the object tree, materials, layers, editing mode, the undo
// log and the state that the views keep per document.
#pragma once

#include <memory>
#include <vector>

#include "hostapi/document.h"
#include "scene/node_data.h"

namespace scene
{

struct UndoRecordData
{
	Int32 type = 0;
	UInt64 serial = 0; // the element recorded
	Int32 group = 0;   // records of one StartUndo/EndUndo pair share a group number
};

struct DocumentData final : Element<BaseDocument>
{
	DocumentData();
	~DocumentData() override;
	NodeCore* CloneSelf() const override;
	void OwnedLists(std::vector<ListHead*>& out) override
	{
		out.push_back(&children);
		out.push_back(&materials);
		out.push_back(&layers);
	}

	// The objects are the document's children (top-level objects answer no parent).
	ListHead materials;
	ListHead layers;
	Int32 mode = Mmodel;
	UInt64 activeHint = 0; // the object made active last, when it is still selected

	std::vector<UndoRecordData> undoLog;
	Int32 undoDepth = 0;
	Int32 undoGroups = 0;
	// Records before this index have been handed out by TakeUndoRecords.
	size_t undoTaken = 0;

	// Owned by the view services (cameras, view settings); empty until they add it.
	std::shared_ptr<void> viewState;
};

inline DocumentData* DocumentDataOf(const BaseDocument* doc)
{
	NodeCore* core = CoreOf(doc);
	return core && core->family == Family::Document ? static_cast<DocumentData*>(core) : nullptr;
}

// The next element of a tree in depth-first order (children, then the next sibling, then the
// parents' next siblings); nullptr at the end.
NodeCore* NextDepthFirst(const NodeCore* node);

// The host's list of open documents.
void AddOpenDocument(DocumentData* doc);
void ForgetOpenDocument(DocumentData* doc);

} // namespace scene
