#include "StrokeTypes.h"

#include <cstring>
#include <limits>
#include <utility>

#include "KernelTags.h"
#include "hostapi/memory.h"

namespace
{
// Smallest block a stroke takes; strokes are usually tens of points long.
constexpr Int32 MIN_CAPACITY = 8;
constexpr Int32 MAX_CAPACITY = std::numeric_limits<Int32>::max();
} // namespace

Stroke::Stroke(Stroke&& other) noexcept
	: _points(std::exchange(other._points, nullptr)),
	  _count(std::exchange(other._count, 0)),
	  _capacity(std::exchange(other._capacity, 0))
{
}

Stroke& Stroke::operator=(Stroke&& other) noexcept
{
	if (this != &other)
	{
		Free();
		_points = std::exchange(other._points, nullptr);
		_count = std::exchange(other._count, 0);
		_capacity = std::exchange(other._capacity, 0);
	}
	return *this;
}

bool Stroke::Reserve(Int32 capacity)
{
	if (capacity <= _capacity)
		return true;
	StrokePoint* grown = ReallocMem(StrokePoint, _points, capacity, DTOOL_SOURCE);
	if (!grown)
		return false;
	_points = grown;
	_capacity = capacity;
	return true;
}

bool Stroke::Append(const StrokePoint& point)
{
	if (_count == _capacity)
	{
		if (_capacity == MAX_CAPACITY)
			return false;
		// Grow by half again (at least MIN_CAPACITY) so long drags append in amortised constant time.
		Int64 wanted = static_cast<Int64>(_capacity) + _capacity / 2;
		if (wanted < MIN_CAPACITY)
			wanted = MIN_CAPACITY;
		if (wanted > MAX_CAPACITY)
			wanted = MAX_CAPACITY;
		if (!Reserve(static_cast<Int32>(wanted)))
			return false;
	}
	_points[_count++] = point;
	return true;
}

bool Stroke::AppendPoint(Int32 index, const Vector& pos)
{
	StrokePoint p;
	p.index = index;
	p.pos = pos;
	return Append(p);
}

void Stroke::RemoveAt(Int32 i)
{
	if (i < 0 || i >= _count)
		return;
	std::memmove(_points + i, _points + i + 1, sizeof(StrokePoint) * static_cast<size_t>(_count - i - 1));
	--_count;
}

void Stroke::Free()
{
	DeleteMem(_points);
	_count = 0;
	_capacity = 0;
}
