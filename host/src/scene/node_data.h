// The host-side state behind every scene element.
//
// Each element class the plug-ins see (BaseObject, BaseTag, BaseDocument, ...) is an empty class
// without virtual functions. The host's concrete classes derive from it through Element<Api>,
// which adds NodeCore: tree links, node bits, name, parameters, unique-ID entries, a serial
// number for links. Element<Api> places NodeCore at the address of the interface object (checked
// when each element is built), so CoreOf() finds the state of any GeListNode without knowing its
// concrete class.
//
// Every field a document save needs is a public member of these structs (or of the structs in
// the other *_data.h files), so a serialiser can reach all of an element's state.
#pragma once

#include <functional>
#include <memory>
#include <new>
#include <string>
#include <unordered_map>
#include <vector>

#include "hostapi/baselist.h"

namespace scene
{

struct NodeCore;
struct ObjectState;

// What kind of element a list holds. A list accepts only members of its own family, so that
// walking it can hand out the members as the interface type of that family.
enum class Family
{
	None, // the list accepts nothing (children of tags and materials)
	Object,
	Tag,
	Material,
	Layer,
	Document,
	Other, // views, scene hooks
};

// How many members of a list carry one name, and which one when there is exactly one (nullptr:
// not known yet, found by a walk the next time it is asked for).
struct NameCount
{
	Int32 count = 0;
	NodeCore* only = nullptr;
};
using NameIndex = std::unordered_map<std::string, NameCount>;

struct ListHead
{
	NodeCore* first = nullptr;
	NodeCore* last = nullptr;
	NodeCore* owner = nullptr;  // the element that holds the list
	bool ownerIsParent = false; // members answer owner from GetUp()
	Family family = Family::None;
	// Members by name, so that checking a sibling name or following a name path does not walk
	// every sibling. Built the first time someone asks (CountNamed, FindNamed) and from then on
	// kept up to date by linking, unlinking and RenameNode. Lists nobody asks keep none.
	std::unique_ptr<NameIndex> names;
};

struct UniqueIdEntry
{
	Int32 appId = 0;
	std::vector<Char> bytes;
};

struct NodeCore
{
	NodeCore(Int32 type, Family family);
	virtual ~NodeCore();
	NodeCore(const NodeCore&) = delete;
	NodeCore& operator=(const NodeCore&) = delete;

	// A copy of this element's own state (no tree position, no children, no tags); fresh serial.
	virtual NodeCore* CloneSelf() const = 0;
	virtual bool IsInstanceOf(Int32 t) const { return t == type; }
	// Host messages (MSG_UPDATE, ...). Answers true when handled.
	virtual bool HandleMessage(Int32 msg, void* payload);
	// Object state when the element is an object.
	virtual ObjectState* AsObject() { return nullptr; }
	const ObjectState* AsObject() const { return const_cast<NodeCore*>(this)->AsObject(); }
	// Lists owned by the element besides its children (tags, a document's materials and layers).
	virtual void OwnedLists(std::vector<ListHead*>& out) { out.push_back(&children); }
	// Link serials the element holds outside its parameter container (layer, material). Clone
	// translation and saving visit them through this.
	virtual void ForEachLinkSerial(const std::function<void(UInt64&)>& fn) { (void)fn; }

	GeListNode* self = nullptr; // the interface object this state belongs to
	Int32 type = 0;
	Family family = Family::Other;
	UInt64 serial = 0; // unique for the run; links refer to elements by it

	ListHead* list = nullptr; // the list that holds this element; nullptr when free
	NodeCore* next = nullptr;
	NodeCore* pred = nullptr;
	ListHead children;

	UInt64 bits = 0;
	String name;
	BaseContainer data;
	std::vector<UniqueIdEntry> uniqueIds;
	Int64 updateMessages = 0; // MSG_UPDATE messages received, for tests and scripts

	NodeCore* Up() const { return list && list->ownerIsParent ? list->owner : nullptr; }
	// The document that holds the element (itself for a document); nullptr when free.
	NodeCore* DocumentCore() const;
	// True when other is this element or lies anywhere below it (children, tags, lists).
	bool Contains(const NodeCore* other) const;
	// Takes the element out of its list; it is free afterwards.
	void Unlink();
	// Copies name, bits, parameters and unique-ID entries into dst.
	void CopyBaseTo(NodeCore& dst) const;
};

// Linking: false (and nothing changes) when the target list does not take this element's
// family, or when the element would end up inside itself.
bool LinkBefore(NodeCore* node, NodeCore* other);
bool LinkAfter(NodeCore* node, NodeCore* other);
bool LinkFirst(NodeCore* node, ListHead& head);
bool LinkLast(NodeCore* node, ListHead& head);

// Renames an element. Every rename of an element that sits in a list goes through here so that
// the list's name index stays right; elements that are still free may set name directly.
void RenameNode(NodeCore* node, const String& name);
// Members of head called name, other than except (which may be nullptr or lie elsewhere).
Int32 CountNamed(ListHead& head, const std::string& name, const NodeCore* except);
// The first member of head (in list order) called name; nullptr when none.
NodeCore* FindNamed(ListHead& head, const std::string& name);

// The count behind BaseDocument::GetStructureCount: one count for every document, moved on by
// each element made, freed, linked or unlinked and by each change of an identity or a unique-ID
// entry. Moving it for other documents too only costs their users a recomputation.
void NoteStructureChange();
UInt64 StructureCount();

// Frees an element with everything it owns, without recursion (deep trees are fine).
void DestroyNode(NodeCore* node);
// Frees every member of a list.
void DestroyList(ListHead& head);

// Deep copy of an element with its children, tags and owned lists. Links inside the copy that
// point at elements of the original are redirected to their copies. nullptr when memory is short.
// copies, when given, receives the serial of every copied element with its copy.
NodeCore* CloneTree(const NodeCore* root, std::unordered_map<UInt64, NodeCore*>* copies = nullptr);

// A document load restores unique-ID entries, whose numbers may come from an earlier run's
// GeGetUniqueCounter; later counter values of this run must differ from them.
void NoteRestoredUniqueId(Int32 appId);

// The live element with this serial; nullptr once it was freed.
NodeCore* NodeBySerial(UInt64 serial);

inline NodeCore* CoreOf(const GeListNode* node)
{
	if (!node)
		return nullptr;
	// Element<Api> guarantees that the NodeCore lives at the interface object's address.
	return std::launder(reinterpret_cast<NodeCore*>(const_cast<void*>(static_cast<const void*>(node))));
}

template <typename Api>
inline Api* ApiOf(const NodeCore* core)
{
	return core ? static_cast<Api*>(core->self) : nullptr;
}

void CheckLayout(const void* apiAddress, const void* coreAddress);

template <typename Api>
struct Element : Api, NodeCore
{
	Element(Int32 t, Family f) : NodeCore(t, f)
	{
		self = static_cast<GeListNode*>(this);
		CheckLayout(static_cast<const GeListNode*>(this), static_cast<const NodeCore*>(this));
	}
};

} // namespace scene
