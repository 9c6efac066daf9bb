// The pools own every entry that hangs below the two roots; the lists only order them. Clearing a
// pool destroys its entries, which unlink themselves from whatever list still holds them.
#pragma once

#include "PNode.h"
#include "PNodeB.h"
#include "PtrArray.h"

class HeldPool
{
public:
	HeldPool() = default;
	HeldPool(const HeldPool&) = delete;
	HeldPool& operator=(const HeldPool&) = delete;
	~HeldPool();

	// Takes ownership of the entry; false when memory is short (the caller still owns it then).
	bool Append(PNode* node);
	Int32 GetCount() const { return _nodes.GetCount(); }
	bool IsEmpty() const { return _nodes.IsEmpty(); }
	PNode* Get(Int32 i);
	// Destroys every entry.
	void Clear();
	// Destroys one entry owned by the pool (nothing when it is not in the pool).
	void Destroy(PNode* node);

	bool sorted = true;

private:
	PtrArray<PNode> _nodes;
};

class PlacementPool
{
public:
	PlacementPool() = default;
	PlacementPool(const PlacementPool&) = delete;
	PlacementPool& operator=(const PlacementPool&) = delete;
	~PlacementPool();

	bool Append(PNodeB* node);
	Int32 GetCount() const { return _nodes.GetCount(); }
	bool IsEmpty() const { return _nodes.IsEmpty(); }
	// Indexed access sorts the pool by `object` first when it was appended to since the last sort.
	PNodeB* Get(Int32 i);
	void Clear();
	void Destroy(PNodeB* node);

	bool sorted = true;

private:
	PtrArray<PNodeB> _nodes;
};
