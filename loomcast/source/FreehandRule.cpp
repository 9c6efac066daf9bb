#include "FreehandRule.h"

#include "Normals.h"

namespace
{
constexpr Float kStraightCosine = -0.97;
} // namespace

bool RunsOnStraight(const Vector& previous, const Vector& last, const Vector& cursor)
{
	// A zero difference stays zero, so a repeated position never counts as straight.
	return Dot(GetNormalized(cursor - last), GetNormalized(previous - last)) < kStraightCosine;
}

bool ExtendFreehand(Stroke& stroke, const Vector& cursor)
{
	const Int32 count = stroke.GetCount();
	if (count >= 2 && RunsOnStraight(stroke[count - 2].pos, stroke[count - 1].pos, cursor))
	{
		stroke[count - 1].pos = cursor;
		return true;
	}
	const Int32 index = count > 0 ? stroke[count - 1].index + 1 : 0;
	return stroke.AppendPoint(index, cursor);
}
