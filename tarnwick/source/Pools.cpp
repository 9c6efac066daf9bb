#include "Pools.h"

#include <algorithm>
#include <functional>

HeldPool::~HeldPool()
{
	Clear();
	_nodes.Release();
}

bool HeldPool::Append(PNode* node)
{
	if (!_nodes.Append(node))
		return false;
	sorted = false;
	return true;
}

PNode* HeldPool::Get(Int32 i)
{
	// Held entries keep the order they were made in: the refresh restores states in that order.
	sorted = true;
	return _nodes.Get(i);
}

void HeldPool::Clear()
{
	for (Int32 i = 0; i < _nodes.GetCount(); ++i)
	{
		PNode* node = _nodes.Get(i);
		DeleteObj(node);
	}
	_nodes.Reset();
}

void HeldPool::Destroy(PNode* node)
{
	for (Int32 i = 0; i < _nodes.GetCount(); ++i)
	{
		if (_nodes.Get(i) == node)
		{
			_nodes.RemoveAt(i);
			DeleteObj(node);
			return;
		}
	}
}

PlacementPool::~PlacementPool()
{
	Clear();
	_nodes.Release();
}

bool PlacementPool::Append(PNodeB* node)
{
	if (!_nodes.Append(node))
		return false;
	sorted = false;
	return true;
}

PNodeB* PlacementPool::Get(Int32 i)
{
	if (!sorted)
	{
		PNodeB** items = _nodes.Data();
		std::sort(items, items + _nodes.GetCount(), [](const PNodeB* a, const PNodeB* b) {
			return std::less<const BaseObject*>()(a->object, b->object);
		});
		sorted = true;
	}
	return _nodes.Get(i);
}

void PlacementPool::Clear()
{
	for (Int32 i = 0; i < _nodes.GetCount(); ++i)
	{
		PNodeB* node = _nodes.Get(i);
		DeleteObj(node);
	}
	_nodes.Reset();
}

void PlacementPool::Destroy(PNodeB* node)
{
	for (Int32 i = 0; i < _nodes.GetCount(); ++i)
	{
		if (_nodes.Get(i) == node)
		{
			_nodes.RemoveAt(i);
			DeleteObj(node);
			return;
		}
	}
}
