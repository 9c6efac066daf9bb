#include "Rails.h"

bool RowsAlongRail(const ChainSet& chains, const ChainRun& rail, const Vector* knots, Int32 k, Int32 columns, Int32* rowOf)
{
	if (!rail.IsSet() || !knots || !rowOf || k <= 0 || columns <= 0)
		return false;
	const Int32 count = rail.GetCount();
	Int32 next = 0;
	for (Int32 i = 0; i < k; ++i)
	{
		const Vector& start = knots[static_cast<Int64>(i) * columns];
		Int32 found = -1;
		for (Int32 r = next; r < count && found < 0; ++r)
			if (rail.PointAt(chains, r).world == start)
				found = r;
		if (found < 0)
			return false;
		rowOf[i] = found;
		next = found + 1;
	}
	return rowOf[0] == 0 && rowOf[k - 1] == count - 1;
}

namespace
{
void Put(SurfaceGrid& grid, Int32 row, Int32 column, const ChainPoint& p)
{
	grid.At(row, column) = p.world;
	grid.PointAt(row, column) = p.index;
}
} // namespace

bool PlaceChainPoints(const ChainSet& chains, const Attachment& at, SurfaceGrid& grid)
{
	const Int32 rows = grid.GetRows(), columns = grid.GetColumns();
	const Int32 rails = at.RailCount();
	for (Int32 i = 0; i < rails; ++i)
		if (!at.rails[i].IsSet() || at.rails[i].GetCount() != rows)
			return false;
	const bool closed = at.kind == ATTACH_RAIL_CLOSED || at.kind == ATTACH_TWO_RAILS_CLOSED;
	if (closed && (!at.closing.IsSet() || at.closing.GetCount() != columns))
		return false;
	const bool outer = at.kind == ATTACH_BETWEEN_CHAINS;
	if (outer)
		for (const ChainRun& run : at.outer)
			if (!run.IsSet() || run.GetCount() != columns)
				return false;

	for (Int32 r = 0; r < rows; ++r)
	{
		if (rails >= 1)
			Put(grid, r, 0, at.rails[0].PointAt(chains, r));
		if (rails >= 2)
			Put(grid, r, columns - 1, at.rails[1].PointAt(chains, r));
	}
	for (Int32 c = 0; c < columns; ++c)
	{
		if (closed)
			Put(grid, rows - 1, c, at.closing.PointAt(chains, c));
		if (outer)
		{
			Put(grid, 0, c, at.outer[0].PointAt(chains, c));
			Put(grid, rows - 1, c, at.outer[1].PointAt(chains, c));
		}
	}
	return true;
}
