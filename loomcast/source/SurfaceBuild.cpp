// The surface build (the Create button): the strokes become the knot rows of a grid, natural cubic
// splines down the grid's columns fill the rows between them, and the grid is written as quads
// into the active polygon object or a new one. Where the strokes end on selected border chains of
// that object, the chains take part in the grid and the new quads reuse the border's points.
#include <limits>

#include "Attachment.h"
#include "ProjectionPass.h"
#include "Dtool.h"
#include "EdgeChains.h"
#include "KernelTags.h"
#include "LoomSurface.h"
#include "Rails.h"
#include "SurfaceBuild.h"
#include "ToolSettings.h"
#include "hostapi/view.h"

namespace
{
// The viewing direction of the active view's camera; zero without a view.
Vector ViewerAxis(BaseDocument* doc)
{
	BaseDraw* bd = doc->GetActiveBaseDraw();
	const BaseObject* camera = bd ? bd->GetSceneCamera(doc) : nullptr;
	return camera ? camera->GetMg().v3 : Vector();
}

bool UsesOnlyLongStrokes(Int32 kind)
{
	return kind == ATTACH_RAIL_CLOSED || kind == ATTACH_TWO_RAILS_CLOSED || kind == ATTACH_BETWEEN_CHAINS;
}

// Copies a chain run's world positions into a knot row.
void RunRow(const ChainSet& chains, const ChainRun& run, Vector* row)
{
	for (Int32 c = 0; c < run.GetCount(); ++c)
		row[c] = run.PointAt(chains, c).world;
}

// Everything one build needs; its buffers go when it ends, whichever way that is.
class SurfaceBuilder
{
public:
	SurfaceBuilder(BaseDocument* doc, BaseContainer& data, const StrokeList& strokes, BaseObject* picked)
		: _doc(doc), _data(data), _strokes(strokes), _picked(picked), _knots(LOOMSURFACE_SOURCE), _rowOf(LOOMSURFACE_SOURCE)
	{
	}

	bool Run()
	{
		ChooseTarget();
		if (!Attach())
			return false;
		if (_at.kind == ATTACH_NONE && _strokes.GetCount() < 2)
			return false;
		_segments = _data.GetInt32(LOOM_STROKE_SEGMENTS);
		_span = _data.GetInt32(LOOM_SPAN_SEGMENTS);
		// Without a segment along or between the strokes there is no quad to make.
		if (_segments < 1 || _span < 1 || _segments == std::numeric_limits<Int32>::max())
			return false;
		if (!MakeKnotRows() || !MakeGrid())
			return false;

		// The guide splines are made before the mesh is touched: a build that cannot make them
		// changes nothing, as any other refused step.
		GuideSplines guides;
		const bool withGuides = _data.GetBool(LOOM_GUIDE_SPLINES);
		if (withGuides && !guides.Make(_doc, _mesh, _knots.Data(), _k, _n, _mg))
			return false;
		BaseObject* output = WriteOutput();
		if (!output)
			return false;
		if (withGuides)
			guides.Place(output);

		// With a picked object, or a texture source, the control thread wraps the new polygons onto
		// the picked object and textures them from the source; its timing text is the read-out.
		PolygonObject* mesh = static_cast<PolygonObject*>(output);
		RunProjectionPass(_doc, _data, mesh, _picked, _textureSource, _polygonsBefore, mesh->GetPolygonCount());

		output->SetBit(1 << NBIT_ACTIVE);
		EventAdd();
		return true;
	}

private:
	void ChooseTarget()
	{
		_target = _doc->GetActiveObject();
		if (_data.GetBool(LOOM_UV_FROM_SOURCE) && _picked)
		{
			_textureSource = TextureSourceOf(_picked, _data);
			// The picked object is what the result is wrapped onto, never what it is added to.
			if (_target == _picked)
				_target = nullptr;
		}
		if (_target && _target->IsInstanceOf(Opolygon))
		{
			_mesh = static_cast<PolygonObject*>(_target);
			_mg = _mesh->GetMg();
		}
	}

	// The attachment to the mesh's selected border chains; false when it cannot make a grid.
	bool Attach()
	{
		if (!_mesh)
			return true;
		const BaseSelect* edges = _mesh->GetEdgeS();
		EdgeChains edgeChains;
		if (!edges || edges->GetCount() == 0 || !DTOOL().BuildEdgeChains(edgeChains, _doc, _mesh) || edgeChains.chainCount == 0)
			return true;
		ChainPointIndex index;
		HostArray<ChainHit> hits(LOOMSURFACE_SOURCE);
		const Int32 count = _strokes.GetCount();
		if (!_chains.Read(edgeChains, _mesh, _mg) || !index.Build(_chains) || !hits.Resize(2 * static_cast<Int64>(count)))
			return false;
		MatchStrokeEnds(index, _strokes.GetStrokes(), count, hits.Data());
		const Stroke& first = _strokes[0];
		_at = ClassifyAttachment(_chains, hits.Data(), count, first[0].pos, first[first.GetCount() - 1].pos);
		return _at.usable;
	}

	bool MakeKnotRows()
	{
		const Int32 kind = _at.kind;
		_n = _segments + 1;
		if (kind == ATTACH_RAIL_CLOSED || kind == ATTACH_TWO_RAILS_CLOSED)
			_n = _at.closing.GetCount();
		else if (kind == ATTACH_BETWEEN_CHAINS)
			_n = _at.outer[0].GetCount();
		const bool longOnly = UsesOnlyLongStrokes(kind);
		Int32 used = 0;
		for (Int32 i = 0; i < _strokes.GetCount(); ++i)
			used += !longOnly || _strokes[i].GetCount() > 1 ? 1 : 0;
		_k = used + (kind == ATTACH_RAIL_CLOSED || kind == ATTACH_TWO_RAILS_CLOSED ? 1 : 0) + (kind == ATTACH_BETWEEN_CHAINS ? 2 : 0);
		if (_k < 2 || _n < 2 || !_knots.Resize(static_cast<Int64>(_k) * _n))
			return false;

		Int32 row = 0;
		auto rowAt = [&](Int32 r) { return &_knots[static_cast<Int64>(r) * _n]; };
		if (kind == ATTACH_BETWEEN_CHAINS)
			RunRow(_chains, _at.outer[0], rowAt(row++));
		for (Int32 i = 0; i < _strokes.GetCount(); ++i)
		{
			if (longOnly && _strokes[i].GetCount() <= 1)
				continue;
			if (!SampleStroke(_doc, _strokes[i], _segments, _n, rowAt(row++)))
				return false;
		}
		if (kind == ATTACH_RAIL_CLOSED || kind == ATTACH_TWO_RAILS_CLOSED)
			RunRow(_chains, _at.closing, rowAt(row++));
		else if (kind == ATTACH_BETWEEN_CHAINS)
			RunRow(_chains, _at.outer[1], rowAt(row++));
		return true;
	}

	bool MakeGrid()
	{
		if (!_rowOf.Resize(_k))
			return false;
		Int64 rows = 0;
		if (_at.kind == ATTACH_NONE || _at.kind == ATTACH_BETWEEN_CHAINS)
		{
			rows = static_cast<Int64>(_span) * (_k - 1) + 1;
			if (rows > std::numeric_limits<Int32>::max())
				return false;
			EvenRowSpacing(_k, _span, _rowOf.Data());
		}
		else
		{
			rows = _at.rails[0].GetCount();
			if (!RowsAlongRail(_chains, _at.rails[0], _knots.Data(), _k, _n, _rowOf.Data()))
				return false;
		}
		if (!_grid.Resize(static_cast<Int32>(rows), _n) || !InterpolateGrid(_knots.Data(), _k, _rowOf.Data(), _grid))
			return false;
		return _at.kind == ATTACH_NONE || PlaceChainPoints(_chains, _at, _grid);
	}

	// The quads go into the target mesh, or into a new object at the top of the document. The undo
	// step is recorded only once the kernel has taken the quads, so a refused build leaves none.
	BaseObject* WriteOutput()
	{
		const bool flip = FacesAwayFromViewer(_grid, ViewerAxis(_doc));
		if (_mesh)
		{
			_polygonsBefore = _mesh->GetPolygonCount();
			if (!WriteGridQuads(_mesh, _grid, InvertMatrix(_mg), flip))
				return nullptr;
			if (_textureSource && !_mesh->GetTag(Tuvw))
				_mesh->MakeTag(Tuvw);
			RecordUndo(UNDOTYPE_CHANGE, _mesh);
			return _mesh;
		}
		HostHandle<PolygonObject, BaseObject> fresh(PolygonObject::Alloc(0, 0));
		if (!fresh || !WriteGridQuads(fresh.Get(), _grid, Matrix(), flip) || !fresh->MakeTag(Tphong))
			return nullptr;
		if (_textureSource && !fresh->MakeTag(Tuvw))
			return nullptr;
		PolygonObject* output = fresh.Release();
		_doc->InsertObject(output, nullptr, nullptr);
		RecordUndo(UNDOTYPE_NEW, output);
		return output;
	}

	void RecordUndo(Int32 type, BaseObject* op)
	{
		_doc->StartUndo();
		_doc->AddUndo(type, op);
		_doc->EndUndo();
	}

	BaseDocument* _doc;
	BaseContainer& _data;
	const StrokeList& _strokes;
	BaseObject* _picked;
	BaseObject* _target = nullptr;
	BaseObject* _textureSource = nullptr;
	PolygonObject* _mesh = nullptr;
	Matrix _mg;
	ChainSet _chains;
	Attachment _at;
	Int32 _segments = 0, _span = 0;
	Int32 _n = 0, _k = 0;
	Int32 _polygonsBefore = 0;
	HostArray<Vector> _knots;
	HostArray<Int32> _rowOf;
	SurfaceGrid _grid;
};
} // namespace

bool LoomS::BuildSurface(BaseDocument* doc, BaseContainer& data)
{
	// Strokes emptied by erasing are no part of any surface.
	for (Int32 i = _strokes.GetCount() - 1; i >= 0; --i)
		if (_strokes[i].IsEmpty())
			_strokes.RemoveAt(i);
	if (_strokes.GetCount() == 0)
		return false;
	bool ok = false;
	if (doc)
	{
		SurfaceBuilder builder(doc, data, _strokes, GetPickedObject(doc));
		ok = builder.Run();
	}
	// The strokes are used up either way: built into the surface, or refused.
	ResetStrokes();
	return ok;
}
