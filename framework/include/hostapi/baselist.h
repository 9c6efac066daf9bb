// Scene elements as the plug-ins see them: list nodes, named elements with a parameter container
// and node bits, links that re-resolve at each use, and atom arrays. Every class here is created by
// the host (Alloc) and has a layout private to the host.
#pragma once

#include "hostapi/container.h"

class BaseDocument;
class BaseObject;
class BaseTag;
class BaseMaterial;
class AliasTrans;

// Host element types, as answered by GetType() and tested by IsInstanceOf().
enum : Int32
{
	Obase = 5155,           // any object
	Opolygon = 5100,
	Ospline = 5101,
	Onull = 5140,
	Ocube = 5159,
	Oplane = 5168,
	Opolygonprimitive = 5174, // single polygon primitive (plane square of the tool's drawing)
	Osplinedeformer = 1008982, // spline deformer; its links 2000/2001 hold the guide splines
	Tbase = 5600,             // any tag
	Mbase = 5702,           // any material
	Mmaterial = 5703,
	Tphong = 5612,
	Ttexture = 5616,
	Tuvw = 5671,
	Olayer = 5694,          // layer element
};

// Host node bits, by index (bit value 1 << index).
enum : Int32
{
	NBIT_ACTIVE = 1,     // selected in the scene (bit value 2)
	NBIT_OM1_FOLD = 14,  // Object Manager 1..4 unfold state: bits 14..17
	NBIT_OM2_FOLD = 15,
	NBIT_OM3_FOLD = 16,
	NBIT_OM4_FOLD = 17,
	NBIT_DISABLED = 63,  // enable switch off
};

// Host messages sent to elements.
enum : Int32
{
	MSG_UPDATE = 5, // the element changed
};

class GeListNode
{
public:
	GeListNode* GetNext() const;
	GeListNode* GetPred() const;
	GeListNode* GetUp() const;
	GeListNode* GetDown() const;
	GeListNode* GetDownLast() const;

	// Link this node (which must be free) relative to another node.
	void InsertBefore(GeListNode* other);
	void InsertAfter(GeListNode* other);
	void InsertUnder(GeListNode* parent);
	void InsertUnderLast(GeListNode* parent);
	// Unlinks the node from its list (it is then owned by the caller).
	void Remove();

	// Node bits (index 0..63).
	bool GetNBit(Int32 index) const;
	void SetNBit(Int32 index, bool on);
	UInt64 GetAllBits() const;
	// Bit values (1 << index) for convenience: SetBit(2) selects.
	bool GetBit(UInt64 mask) const { return (GetAllBits() & mask) != 0; }
	void SetBit(UInt64 mask);
	void DelBit(UInt64 mask);

	// The document that holds this node, or nullptr when free.
	BaseDocument* GetDocument() const;

	// Sends a host message (MSG_UPDATE, ...). Answers true when handled.
	bool Message(Int32 type, void* data = nullptr);

protected:
	GeListNode() = default;
	~GeListNode() = default;
	GeListNode(const GeListNode&) = delete;
	GeListNode& operator=(const GeListNode&) = delete;
};

class BaseList2D : public GeListNode
{
public:
	Int32 GetType() const;
	// True when the element is of the given type or derives from it (Obase, Mbase, Opolygon ...).
	bool IsInstanceOf(Int32 type) const;

	String GetName() const;
	void SetName(const String& name);

	// The element's parameter container.
	BaseContainer* GetDataInstance();
	const BaseContainer* GetDataInstance() const;
	bool GetParameter(Int32 id, GeData& value) const;
	bool SetParameter(Int32 id, const GeData& value);

	// Unique-ID entries: {application number, bytes} kept with the element (and saved with it).
	bool AddUniqueID(Int32 appId, const Char* data, Int64 bytes);
	Int32 GetUniqueIDCount() const;
	bool GetUniqueIDIndex(Int32 i, Int32* appId, const Char** data, Int64* bytes) const;

	// Copy of the element (and, for objects, its children and tags); nullptr when memory is short.
	BaseList2D* GetClone() const;
	// The same, recording the copy in trans (may be nullptr) so that its links can be translated.
	BaseList2D* GetClone(Int32 flags, AliasTrans* trans) const;

protected:
	BaseList2D() = default;
};

// A handle that re-resolves to its element at each use and answers nullptr once it was freed.
class BaseLink
{
public:
	static BaseLink* Alloc();
	static void Free(BaseLink*& link);

	void SetLink(BaseList2D* element);
	// The element when it still exists and belongs to doc (nullptr: any document); else nullptr.
	BaseList2D* GetLink(BaseDocument* doc) const;
	BaseLink* GetClone() const;

protected:
	BaseLink() = default;
	~BaseLink() = default;
};

// An ordered array of element pointers (the host's drag and selection payload).
class AtomArray
{
public:
	static AtomArray* Alloc();
	static void Free(AtomArray*& arr);

	Int32 GetCount() const;
	GeListNode* GetIndex(Int32 i) const;
	bool Append(GeListNode* element);
	void Flush();

protected:
	AtomArray() = default;
	~AtomArray() = default;
};

// A fresh integer that differs from every earlier answer in this run of the host.
Int32 GeGetUniqueCounter();
