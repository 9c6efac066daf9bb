#include "StrokeList.h"

#include <limits>
#include <new>
#include <utility>

#include "KernelTags.h"
#include "hostapi/memory.h"

namespace
{
constexpr Int32 MIN_CAPACITY = 4;
} // namespace

bool StrokeList::Grow()
{
	if (_capacity == std::numeric_limits<Int32>::max())
		return false;
	Int64 wanted = static_cast<Int64>(_capacity) * 2;
	if (wanted < MIN_CAPACITY)
		wanted = MIN_CAPACITY;
	if (wanted > std::numeric_limits<Int32>::max())
		wanted = std::numeric_limits<Int32>::max();
	// Strokes own their point blocks, so they move into the new array one by one instead of
	// being copied as bytes.
	Stroke* grown = NewMemClear(Stroke, wanted, LOOMSURFACE_SOURCE);
	if (!grown)
		return false;
	for (Int32 i = 0; i < _count; ++i)
	{
		new (&grown[i]) Stroke(std::move(_items[i]));
		_items[i].~Stroke();
	}
	HostFree(_items);
	_items = grown;
	_capacity = static_cast<Int32>(wanted);
	return true;
}

Stroke* StrokeList::AppendStroke()
{
	if (_count == _capacity && !Grow())
		return nullptr;
	Stroke* stroke = new (&_items[_count]) Stroke();
	++_count;
	return stroke;
}

void StrokeList::RemoveAt(Int32 i)
{
	if (i < 0 || i >= _count)
		return;
	for (Int32 k = i; k + 1 < _count; ++k)
		_items[k] = std::move(_items[k + 1]);
	_items[_count - 1].~Stroke();
	--_count;
}

void StrokeList::Free()
{
	for (Int32 i = 0; i < _count; ++i)
		_items[i].~Stroke();
	HostFree(_items);
	_items = nullptr;
	_count = 0;
	_capacity = 0;
}
