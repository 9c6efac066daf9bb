#include "SurfaceGrid.h"

#include <limits>

#include "ColumnSpline.h"
#include "KernelTags.h"

SurfaceGrid::SurfaceGrid() : _pos(LOOMSURFACE_SOURCE), _point(LOOMSURFACE_SOURCE)
{
}

bool SurfaceGrid::Resize(Int32 rows, Int32 columns)
{
	_rows = _columns = 0;
	if (rows < 0 || columns < 0)
		return false;
	// Every cell must stay addressable by the modelling kernel's 32-bit point indices.
	const Int64 cells = static_cast<Int64>(rows) * columns;
	if (cells > std::numeric_limits<Int32>::max())
		return false;
	if (!_pos.Resize(cells) || !_point.Resize(cells))
		return false;
	for (Int64 i = 0; i < cells; ++i)
	{
		_pos[i] = Vector();
		_point[i] = -1;
	}
	_rows = rows;
	_columns = columns;
	return true;
}

void EvenRowSpacing(Int32 k, Int32 steps, Int32* rowOf)
{
	for (Int32 i = 0; i < k; ++i)
		rowOf[i] = i * steps;
}

bool InterpolateGrid(const Vector* knots, Int32 k, const Int32* rowOf, SurfaceGrid& grid)
{
	const Int32 rows = grid.GetRows();
	const Int32 columns = grid.GetColumns();
	if (!knots || !rowOf || k <= 0 || rows <= 0 || rowOf[0] != 0 || rowOf[k - 1] != rows - 1)
		return false;
	for (Int32 i = 0; i + 1 < k; ++i)
		if (rowOf[i + 1] <= rowOf[i])
			return false;

	ColumnSpline splines;
	if (!splines.Fit(knots, k, columns))
		return false;
	for (Int32 i = 0; i < k; ++i)
	{
		// Knot rows keep the samples themselves, not the splines' rounding of them.
		const Vector* knotRow = knots + static_cast<Int64>(i) * columns;
		for (Int32 c = 0; c < columns; ++c)
			grid.At(rowOf[i], c) = knotRow[c];
		if (i + 1 == k)
			break;
		const Int32 h = rowOf[i + 1] - rowOf[i];
		for (Int32 j = 1; j < h; ++j)
			splines.EvaluateRow(static_cast<Float>(i) + static_cast<Float>(j) / static_cast<Float>(h), &grid.At(rowOf[i] + j, 0));
	}
	return true;
}

bool FacesAwayFromViewer(const SurfaceGrid& grid, const Vector& cameraZ)
{
	if (grid.GetRows() < 2 || grid.GetColumns() < 2)
		return false;
	const Vector normal = Cross(grid.At(1, 1) - grid.At(0, 0), grid.At(1, 0) - grid.At(0, 1));
	return Dot(normal, cameraZ) > 0.0;
}
