// The editor view as plug-ins see it: conversions, pick test and recorded drawing.
#include <cmath>

#include "hostapi/view.h"
#include "view/view_data.h"

using standin::DrawRecord;
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
	DrawRecord r;
	r.kind = DrawRecord::Kind::Pen;
	r.a = color;
	ViewDataOf(this)->Record(std::move(r));
}

void BaseDraw::SetMatrix_Matrix(BaseObject* op, const Matrix& mg)
{
	DrawRecord r;
	r.kind = DrawRecord::Kind::Matrix;
	r.m = mg;
	r.object = op;
	ViewDataOf(this)->Record(std::move(r));
}

void BaseDraw::DrawLine(const Vector& a, const Vector& b, Int32 flags)
{
	DrawRecord r;
	r.kind = DrawRecord::Kind::Line;
	r.a = a;
	r.b = b;
	r.i1 = flags;
	ViewDataOf(this)->Record(std::move(r));
}

void BaseDraw::DrawHandle(const Vector& p, Int32 kind, Int32 flags)
{
	DrawRecord r;
	r.kind = DrawRecord::Kind::Handle;
	r.a = p;
	r.i1 = kind;
	r.i2 = flags;
	ViewDataOf(this)->Record(std::move(r));
}

void BaseDraw::DrawCircle2D(Int32 x, Int32 y, Float radius)
{
	DrawRecord r;
	r.kind = DrawRecord::Kind::Circle2D;
	r.i1 = x;
	r.i2 = y;
	r.f = radius;
	ViewDataOf(this)->Record(std::move(r));
}

void BaseDraw::DrawHUDText(Int32 x, Int32 y, const String& text)
{
	DrawRecord r;
	r.kind = DrawRecord::Kind::HudText;
	r.i1 = x;
	r.i2 = y;
	r.text = text.Get();
	ViewDataOf(this)->Record(std::move(r));
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
	DrawRecord r;
	r.kind = DrawRecord::Kind::DrawParam;
	r.i1 = id;
	r.text = ValueText(value);
	view->Record(std::move(r));
}

GeData BaseDraw::GetDrawParam(Int32 id) const
{
	const auto& params = ViewDataOf(this)->drawParams;
	const auto it = params.find(id);
	return it == params.end() ? GeData() : it->second;
}

Int32 BaseDraw::DrawPolygonObject(BaseDrawHelp*, BaseObject* op, Int32 flags, const Vector& color)
{
	if (!op)
		return DRAWRESULT_ERROR;
	DrawRecord r;
	r.kind = DrawRecord::Kind::PolygonObject;
	r.object = op;
	r.m = op->GetMg();
	r.a = color;
	r.i1 = flags;
	r.i2 = op->IsInstanceOf(Opolygon) ? static_cast<PolygonObject*>(op)->GetPolygonCount() : 0;
	r.text = op->GetName().Get();
	ViewDataOf(this)->Record(std::move(r));
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
