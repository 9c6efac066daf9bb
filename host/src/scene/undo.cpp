// Undo recording. The stand-in host keeps an inspectable log of what would be undone; it does
// not restore anything.
#include <new>

#include "scene/document_data.h"
#include "standin/scene.h"

using scene::DocumentDataOf;

namespace
{

// A long session must not grow the log without bound; the oldest records go first.
constexpr size_t kMaxUndoRecords = 1u << 20;

} // namespace

bool BaseDocument::StartUndo()
{
	scene::DocumentData* doc = DocumentDataOf(this);
	if (!doc)
		return false;
	if (doc->undoDepth++ == 0)
		++doc->undoGroups;
	return true;
}

bool BaseDocument::EndUndo()
{
	scene::DocumentData* doc = DocumentDataOf(this);
	if (!doc || doc->undoDepth == 0)
		return false;
	--doc->undoDepth;
	return true;
}

bool BaseDocument::AddUndo(Int32 type, BaseList2D* element)
{
	scene::DocumentData* doc = DocumentDataOf(this);
	const scene::NodeCore* core = scene::CoreOf(element);
	if (!doc || !core)
		return false;
	// Callers may record a change without opening a group (applying a stored placement does);
	// such a record is an undo step of its own.
	if (doc->undoDepth == 0)
		++doc->undoGroups;
	try
	{
		if (doc->undoLog.size() >= kMaxUndoRecords)
		{
			constexpr size_t dropped = kMaxUndoRecords / 2;
			doc->undoLog.erase(doc->undoLog.begin(), doc->undoLog.begin() + static_cast<std::ptrdiff_t>(dropped));
			doc->undoTaken = doc->undoTaken > dropped ? doc->undoTaken - dropped : 0;
		}
		doc->undoLog.push_back({type, core->serial, doc->undoGroups});
		return true;
	}
	catch (const std::bad_alloc&)
	{
		return false;
	}
}

namespace standin
{

Int32 UndoRecordCount(BaseDocument* doc)
{
	const scene::DocumentData* d = DocumentDataOf(doc);
	return d ? static_cast<Int32>(d->undoLog.size()) : 0;
}

bool UndoRecord(BaseDocument* doc, Int32 i, Int32* type, BaseList2D** element)
{
	const scene::DocumentData* d = DocumentDataOf(doc);
	if (!d || i < 0 || static_cast<size_t>(i) >= d->undoLog.size())
		return false;
	const scene::UndoRecordData& r = d->undoLog[static_cast<size_t>(i)];
	if (type)
		*type = r.type;
	if (element)
		*element = scene::ApiOf<BaseList2D>(scene::NodeBySerial(r.serial));
	return true;
}

std::vector<UndoStep> TakeUndoRecords(BaseDocument* doc)
{
	std::vector<UndoStep> out;
	scene::DocumentData* d = DocumentDataOf(doc);
	if (!d)
		return out;
	for (size_t i = d->undoTaken; i < d->undoLog.size(); ++i)
	{
		const scene::UndoRecordData& r = d->undoLog[i];
		out.push_back({r.type, r.group, scene::ApiOf<BaseList2D>(scene::NodeBySerial(r.serial))});
	}
	d->undoTaken = d->undoLog.size();
	return out;
}

} // namespace standin
