// The editor view as plug-ins see it: conversions, pick test and recorded drawing.
#include <cmath>
#include <memory>
#include <new>

#include "hostapi/view.h"
#include "view/view_data.h"

using standin::view::ViewDataOf;

void BaseDraw::GetFrame(Int32* left, Int32* top, Int32* right, Int32* bottom) const
{
	const auto& p = ViewDataOf(this)->projection;
	if (left)
		*left = p.left;
	if (top)
		*top = p.top;
	if (right)
		*right = p.right;
	if (bottom)
		*bottom = p.bottom;
}

Int32 BaseDraw::GetProjection() const
{
	return ViewDataOf(this)->projection.code;
}

bool BaseDraw::IsParallelProjection() const
{
	return ViewDataOf(this)->projection.IsParallel();
}

BaseObject* BaseDraw::GetSceneCamera(const BaseDocument*) const
{
	// Documents hold no camera objects of their own here: every view renders through its camera.
	return GetEditorCamera();
}

BaseObject* BaseDraw::GetEditorCamera() const
{
	return ViewDataOf(this)->camera;
}

Vector BaseDraw::WS(const Vector& p) const
{
	return ViewDataOf(this)->Current().WorldToScreen(p);
}

Vector BaseDraw::SW(const Vector& p) const
{
	return ViewDataOf(this)->Current().ScreenToWorld(p);
}

bool BaseDraw::PointInRange(const Vector& p, Int32 x, Int32 y) const
{
	return ViewDataOf(this)->Current().PointInPixel(p, x, y);
}

void BaseDraw::SetPen(const Vector& color)
{
	ViewDataOf(this)->Record(standin::PenRecord{color});
}

void BaseDraw::SetMatrix_Matrix(BaseObject* op, const Matrix& mg)
{
	(void)op;
	try
	{
		ViewDataOf(this)->Record(standin::MatrixRecord(mg));
	}
	catch (const std::bad_alloc&)
	{
		++ViewDataOf(this)->droppedRecords;
	}
}

void BaseDraw::DrawLine(const Vector& a, const Vector& b, Int32 flags)
{
	ViewDataOf(this)->Record(standin::LineRecord{a, b, flags});
}

void BaseDraw::DrawHandle(const Vector& p, Int32 kind, Int32 flags)
{
	ViewDataOf(this)->Record(standin::HandleRecord{p, kind, flags});
}

void BaseDraw::DrawCircle2D(Int32 x, Int32 y, Float radius)
{
	ViewDataOf(this)->Record(standin::CircleRecord{x, y, radius});
}

void BaseDraw::DrawHUDText(Int32 x, Int32 y, const String& text)
{
	ViewDataOf(this)->Record(standin::TextRecord{x, y, text.Get()});
}

namespace
{
std::string ValueText(const GeData& v)
{
	switch (v.GetType())
	{
		case DA_NIL: return "nil";
		case DA_LONG: return String::IntToString(v.GetInt32()).Get();
		case DA_LLONG: return String::IntToString(v.GetInt64()).Get();
		case DA_REAL: return String::FloatToString(v.GetFloat()).Get();
		case DA_STRING: return "\"" + v.GetString().Get() + "\"";
		default: return "type " + std::to_string(v.GetType());
	}
}
} // namespace

void BaseDraw::SetDrawParam(Int32 id, const GeData& value)
{
	auto* view = ViewDataOf(this);
	view->drawParams[id] = value;
	view->Record(standin::DrawParamRecord{id, ValueText(value)});
}

GeData BaseDraw::GetDrawParam(Int32 id) const
{
	const auto& params = ViewDataOf(this)->drawParams;
	const auto it = params.find(id);
	return it == params.end() ? GeData() : it->second;
}

namespace
{
// The polygon primitive: one rectangle of width 1270 and height 1271 centred on the origin, in
// the plane its orientation 1300 names (0: X-Y, 1: Z-Y, otherwise X-Z with its normal +Y).
void PrimitiveGeometry(const BaseObject* op, standin::ObjectRecord& r)
{
	const BaseContainer* bc = op->GetDataInstance();
	const Float w = bc ? bc->GetFloat(1270) : 0.0, h = bc ? bc->GetFloat(1271) : 0.0;
	const Int32 orientation = bc ? bc->GetInt32(1300) : 2;
	auto at = [orientation](Float u, Float v) {
		if (orientation == 0)
			return Vector(u, v, 0.0);
		if (orientation == 1)
			return Vector(0.0, v, u);
		return Vector(u, 0.0, v);
	};
	const Float a = w / 2.0, b = h / 2.0;
	r.points = {at(-a, -b), at(-a, b), at(a, b), at(a, -b)};
	r.polygons = {CPolygon(0, 1, 2, 3)};
}
} // namespace

Int32 BaseDraw::DrawPolygonObject(BaseDrawHelp*, BaseObject* op, Int32 flags, const Vector& color)
{
	if (!op)
		return DRAWRESULT_ERROR;
	std::shared_ptr<standin::ObjectRecord> drawing;
	try
	{
		drawing = std::make_shared<standin::ObjectRecord>();
	}
	catch (const std::bad_alloc&)
	{
		return DRAWRESULT_ERROR;
	}
	standin::ObjectRecord& r = *drawing;
	r.name = op->GetName().Get();
	r.mg = op->GetMg();
	r.colour = color;
	r.flags = flags;
	if (op->IsInstanceOf(Opolygon))
	{
		// Copies: the picture of the pass may be made after the object is gone.
		const auto* poly = static_cast<PolygonObject*>(op);
		try
		{
			const Vector* points = poly->GetPointR();
			const CPolygon* polygons = poly->GetPolygonR();
			if (points)
				r.points.assign(points, points + poly->GetPointCount());
			if (polygons)
				r.polygons.assign(polygons, polygons + poly->GetPolygonCount());
		}
		catch (const std::bad_alloc&)
		{
			return DRAWRESULT_ERROR;
		}
	}
	else if (op->GetType() == Opolygonprimitive)
	{
		try
		{
			PrimitiveGeometry(op, r);
		}
		catch (const std::bad_alloc&)
		{
			return DRAWRESULT_ERROR;
		}
	}
	ViewDataOf(this)->Record(standin::ObjectDrawing(std::move(drawing)));
	return DRAWRESULT_OK;
}

Matrix BaseDrawHelp::GetMg() const
{
	return static_cast<const standin::view::DrawHelpData*>(this)->mg;
}

BaseDraw* BaseDrawHelp::GetBd() const
{
	return static_cast<const standin::view::DrawHelpData*>(this)->bd;
}
