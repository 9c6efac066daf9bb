#include "meshio/point_weld.h"

#include <cstring>

namespace meshio
{
namespace
{

std::uint32_t Bits(float v)
{
	v += 0.0f; // -0 becomes 0
	std::uint32_t bits = 0;
	std::memcpy(&bits, &v, sizeof bits);
	return bits;
}

std::uint64_t Mix(std::uint64_t h)
{
	h ^= h >> 33;
	h *= 0xff51afd7ed558ccdULL;
	h ^= h >> 33;
	h *= 0xc4ceb9fe1a85ec53ULL;
	h ^= h >> 33;
	return h;
}

} // namespace

size_t PointWeld::Home(const std::uint32_t key[3]) const
{
	const std::uint64_t h = Mix((std::uint64_t{key[0]} << 32 | key[1]) ^ Mix(key[2]));
	return static_cast<size_t>(h) & _mask;
}

void PointWeld::Grow(size_t slots)
{
	std::vector<Slot> old;
	old.swap(_slots);
	_slots.assign(slots, Slot{{0, 0, 0}, -1});
	_mask = slots - 1;
	for (const Slot& s : old)
	{
		if (s.index < 0)
			continue;
		size_t at = Home(s.key);
		while (_slots[at].index >= 0)
			at = (at + 1) & _mask;
		_slots[at] = s;
	}
}

Int32 PointWeld::Add(float x, float y, float z)
{
	const std::uint32_t key[3] = {Bits(x), Bits(y), Bits(z)};
	size_t at = Home(key);
	while (_slots[at].index >= 0)
	{
		const Slot& s = _slots[at];
		if (s.key[0] == key[0] && s.key[1] == key[1] && s.key[2] == key[2])
			return s.index;
		at = (at + 1) & _mask;
	}
	_points.push_back(Vector(x + 0.0f, y + 0.0f, z + 0.0f));
	const Int32 index = static_cast<Int32>(_points.size() - 1);
	_slots[at] = Slot{{key[0], key[1], key[2]}, index};
	// Kept at most two thirds full, so that probes stay short.
	if (++_used * 3 > _slots.size() * 2)
		Grow(_slots.size() * 2);
	return index;
}

} // namespace meshio
