#include "HostHandle.h"
#include "KernelTags.h"
#include "SurfaceBuild.h"
#include "hostapi/modeling.h"

bool WriteGridQuads(PolygonObject* op, const SurfaceGrid& grid, const Matrix& toObject, bool flip)
{
	const Int32 rows = grid.GetRows(), columns = grid.GetColumns();
	if (!op || rows < 2 || columns < 2)
		return false;
	HostHandle<Modeling> kernel(Modeling::Alloc());
	if (!kernel || !kernel->InitObject(op))
		return false;

	// Neighbouring quads share their points; cells on a border chain use the mesh's own.
	HostArray<Int32> ids(LOOMSURFACE_SOURCE);
	if (!ids.Resize(static_cast<Int64>(rows) * columns))
		return false;
	for (Int32 r = 0; r < rows; ++r)
	{
		for (Int32 c = 0; c < columns; ++c)
		{
			Int32 id = grid.PointAt(r, c);
			if (id < 0)
				id = kernel->AddPoint(op, toObject * grid.At(r, c));
			if (id < 0)
				return false;
			ids[static_cast<Int64>(r) * columns + c] = id;
		}
	}
	for (Int32 r = 0; r + 1 < rows; ++r)
	{
		const Int32* top = &ids[static_cast<Int64>(r) * columns];
		const Int32* bottom = top + columns;
		for (Int32 c = 0; c + 1 < columns; ++c)
		{
			Int32 quad[4] = {top[c], top[c + 1], bottom[c + 1], bottom[c]};
			if (flip)
			{
				quad[1] = bottom[c];
				quad[3] = top[c + 1];
			}
			if (kernel->CreateNgon(op, quad, 4, MODELING_SETNGON_FLAG_NONE) < 0)
				return false;
		}
	}
	return kernel->Commit(op, MODELING_COMMIT_UPDATE);
}
