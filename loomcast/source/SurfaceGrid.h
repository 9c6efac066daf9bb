// The grid of the surface build: rows x columns of world positions, row-major, each with the mesh
// point it stands for when it lies on a selected border chain (-1 for a point still to be added).
#pragma once

#include "hostapi/memory.h"
#include "hostapi/vector.h"

class SurfaceGrid
{
public:
	SurfaceGrid();

	// rows x columns cells at (0,0,0) with no mesh point; false (grid empty) when memory is short
	// or the size does not fit.
	bool Resize(Int32 rows, Int32 columns);

	Int32 GetRows() const { return _rows; }
	Int32 GetColumns() const { return _columns; }
	Vector& At(Int32 row, Int32 column) { return _pos[Cell(row, column)]; }
	const Vector& At(Int32 row, Int32 column) const { return _pos[Cell(row, column)]; }
	Int32& PointAt(Int32 row, Int32 column) { return _point[Cell(row, column)]; }
	Int32 PointAt(Int32 row, Int32 column) const { return _point[Cell(row, column)]; }

private:
	Int64 Cell(Int32 row, Int32 column) const { return static_cast<Int64>(row) * _columns + column; }

	HostArray<Vector> _pos;
	HostArray<Int32> _point;
	Int32 _rows = 0;
	Int32 _columns = 0;
};

// Fills the grid from k knot rows (knots: k x columns, row-major): knot row i lands on grid row
// rowOf[i]; the h - 1 rows between knot rows i and i + 1 (h = rowOf[i + 1] - rowOf[i]) take the
// column splines through the knot rows at t = i + j / h. rowOf must start at 0, rise strictly and
// end on the grid's last row; false when it does not, or when memory is short.
bool InterpolateGrid(const Vector* knots, Int32 k, const Int32* rowOf, SurfaceGrid& grid);

// Knot rows every `steps` grid rows (0, steps, 2 steps, ...), k entries.
void EvenRowSpacing(Int32 k, Int32 steps, Int32* rowOf);

// True when the quads must run the other way round to face the viewer: the first cell's normal
// (cross product of its diagonals, taken with corners (0,0), (0,1), (1,1), (1,0)) points along the
// camera's viewing direction, that is away from the viewer.
bool FacesAwayFromViewer(const SurfaceGrid& grid, const Vector& cameraZ);
