// Merging corners that have the same position, for formats that repeat every corner (STL).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "hostapi/vector.h"

namespace meshio
{

// An open-addressing table from positions (single precision, as the readers deliver them; 0 and
// -0 are the same) to indices into a point array. Each slot holds its position, so a look-up
// touches one slot per probe and not the point array. It grows with the distinct points, not
// with the corners offered.
class PointWeld
{
public:
	explicit PointWeld(std::vector<Vector>& points) : _points(points) { Grow(1024); }

	// The index of the point at (x, y, z), appending it when no point lies there yet.
	Int32 Add(float x, float y, float z);

private:
	struct Slot
	{
		std::uint32_t key[3];
		std::int32_t index; // -1: empty
	};

	void Grow(size_t slots);
	size_t Home(const std::uint32_t key[3]) const;

	std::vector<Vector>& _points;
	std::vector<Slot> _slots;
	size_t _used = 0;
	size_t _mask = 0;
};

} // namespace meshio
