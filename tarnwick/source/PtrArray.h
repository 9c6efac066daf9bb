// A growable array of pointers in host memory. It never owns what it points to; the owners above it
// (pools, sets) decide what to destroy.
#pragma once

#include <utility>

#include "hostapi/memory.h"

template <class T>
class PtrArray
{
public:
	PtrArray() = default;
	PtrArray(const PtrArray&) = delete;
	PtrArray& operator=(const PtrArray&) = delete;
	~PtrArray() { Release(); }

	Int32 GetCount() const { return _count; }
	bool IsEmpty() const { return _count == 0; }
	T* Get(Int32 i) const { return (i >= 0 && i < _count) ? _items[i] : nullptr; }
	T** Data() const { return _items; }

	// Room for at least `capacity` pointers; false (and the array unchanged) when memory is short.
	bool Reserve(Int32 capacity)
	{
		if (capacity <= _capacity)
			return true;
		if (capacity > (1 << 30))
			return false;
		T** bigger = ReallocMem(T*, _items, capacity, "source\\Tarnwick");
		if (!bigger)
			return false;
		_items = bigger;
		_capacity = capacity;
		return true;
	}

	// False when the host refuses the memory; the array is then unchanged.
	bool Append(T* item)
	{
		if (_count == _capacity)
		{
			const Int32 grown = _capacity < 8 ? 8 : (_capacity > (1 << 29) ? 0 : _capacity * 2);
			if (grown == 0 || !Reserve(grown))
				return false;
		}
		_items[_count++] = item;
		return true;
	}

	// Removes the pointer at i; the ones after it move up by one.
	void RemoveAt(Int32 i)
	{
		if (i < 0 || i >= _count)
			return;
		for (Int32 k = i + 1; k < _count; ++k)
			_items[k - 1] = _items[k];
		--_count;
		_items[_count] = nullptr;
	}

	void Set(Int32 i, T* item)
	{
		if (i >= 0 && i < _count)
			_items[i] = item;
	}

	// Forgets every pointer but keeps the storage.
	void Reset() { _count = 0; }

	// Trades contents (pointers and storage) with other.
	void Swap(PtrArray& other)
	{
		std::swap(_items, other._items);
		std::swap(_count, other._count);
		std::swap(_capacity, other._capacity);
	}

	// Forgets every pointer and frees the storage.
	void Release()
	{
		HostFree(_items);
		_items = nullptr;
		_count = 0;
		_capacity = 0;
	}

private:
	T** _items = nullptr;
	Int32 _count = 0;
	Int32 _capacity = 0;
};
