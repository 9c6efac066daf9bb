// What the tool shows in the active view: the brush and the strokes it reaches, the erase targets,
// the grid a build would make, the splitting rungs, and the cursor, drawing plane and read-outs
// every operation shares. Drawing never changes the strokes; in polygon splitting it writes the
// stroke samples into the edge line as its points' targets.
#include <cmath>

#include "Dtool.h"
#include "HostHandle.h"
#include "KernelTags.h"
#include "LoomSurface.h"
#include "Normals.h"
#include "PlaneFrame.h"
#include "ToolRules.h"
#include "ToolSettings.h"
#include "hostapi/console.h"
#include "hostapi/customdata.h"
#include "hostapi/memory.h"

namespace
{
constexpr Int32 kDrawParamScale = 1000;
constexpr Int32 kDrawParamMode = 2;
constexpr Int32 kPlaneWidth = 1270;
constexpr Int32 kPlaneHeight = 1271;
constexpr Int32 kPlaneSegments = 1272;
constexpr Int32 kPlaneTriangulate = 1273;
constexpr Int32 kPlaneOrientation = 1300;
constexpr Int32 kPlaneDrawSolid = 27138;
constexpr Int32 kPlaneDrawWire = 24579;
constexpr Float kDegrees = 57.29577951308232;
constexpr Int32 kUniformInterpolation = 3;

const Vector kWhite(1.0, 1.0, 1.0);
const Vector kGreen(0.0, 1.0, 0.0);
const Vector kBlue(0.0, 0.0, 1.0);
const Vector kRed(1.0, 0.0, 0.0);
const Vector kYellow(1.0, 1.0, 0.0);
const Vector kSampleOrange(1.0, 0.8, 0.0);
const Vector kCursorOrange(1.0, 0.5, 0.0);
const Vector kCircleFree(0.0, 1.0, 0.5);

// A screen coordinate as the view's pixel calls take it: the nearest pixel, since a mouse pixel
// taken to the world and back comes out a hair off (299.999 for 300). Values the screen cannot
// reach are held at a far pixel, so a point behind the camera never wraps around.
Int32 Pixel(Float v)
{
	constexpr Float kReach = 1.0e7;
	if (!std::isfinite(v))
		return 0;
	return static_cast<Int32>(std::floor((v < -kReach ? -kReach : (v > kReach ? kReach : v)) + 0.5));
}

void Label(BaseDraw* bd, const Vector& screen, Float above, const String& text)
{
	bd->DrawHUDText(Pixel(screen.x), Pixel(screen.y - above), text);
}

String StrokeLabel(Int32 i)
{
	return String("S") + String::IntToString(i + 1);
}

const char* OperationText(Int32 op)
{
	switch (op)
	{
		case DRAGOP_POINT_MOVE: return "Point Move";
		case DRAGOP_EDIT_RADIUS: return "Edit Radius";
		case DRAGOP_EDGE_SELECT: return "Edge selection";
		case DRAGOP_POINT_ERASE: return "Point erase";
		case DRAGOP_POLYGON_SPLIT: return "Polygon splitting Mode";
		case DRAGOP_ADJUST_POINTS: return "Adjust points";
		case DRAGOP_ADD_POINTS: return "Add points";
		default: return "";
	}
}

Float PixelDistance(const Vector& a, const Vector& b)
{
	return std::hypot(a.x - b.x, a.y - b.y);
}

// y at x of the falloff curve; the default curve (1 at 0 falling to 0 at 1) without one.
Float Falloff(const BaseContainer& data, Float x)
{
	const auto* curve = static_cast<const SplineData*>(data.GetCustomDataType(LOOM_FALLOFF, CUSTOMDATATYPE_SPLINE));
	return curve ? curve->GetPoint(x) : 1.0 - x;
}
} // namespace

Int32 LoomS::Draw(BaseDocument* doc, BaseContainer& data, BaseDraw* bd, BaseDrawHelp* bh, BaseThread* bt, Int32 flags)
{
	(void)bt;
	if (!(flags & TOOLDRAWFLAGS_HIGHLIGHT))
		return TOOLDRAW_NONE;
	if (!doc || !bd)
		return TOOLDRAW_NONE;
	return DrawView(doc, data, bd, bh);
}

void LoomS::DrawBrush(const BaseContainer& data, BaseDraw* bd, const Vector& q)
{
	_radiusPx = data.GetInt32(LOOM_RADIUS);
	const Float r = _radiusPx;
	bd->SetPen(_dragOp == DRAGOP_POINT_MOVE ? kWhite : kGreen);
	bd->DrawCircle2D(Pixel(q.x), Pixel(q.y), r);
	for (Int32 i = 0; i < _strokes.GetCount(); ++i)
	{
		const Stroke& stroke = _strokes[i];
		for (Int32 m = 0; m < stroke.GetCount(); ++m)
		{
			const Vector s = bd->WS(stroke[m].pos);
			const Float d = PixelDistance(s, q);
			if (!(r > 0.0) || d > r)
				bd->SetPen(kBlue);
			else
			{
				const Float y = Falloff(data, 1.0 - d / r);
				bd->SetPen(Vector(1.0 - y, 1.0 - y, 1.0));
			}
			bd->DrawHandle(stroke[m].pos, DRAWHANDLE_BIG);
			if (m == 0)
				Label(bd, s, 20.0, StrokeLabel(i));
			else
				bd->DrawLine(stroke[m - 1].pos, stroke[m].pos);
		}
	}
	Label(bd, q, 50.0, OperationText(_dragOp));
}

void LoomS::DrawEraseTargets(const BaseContainer& data, BaseDraw* bd, const Vector& q)
{
	DTOOL tool;
	bd->SetPen(kGreen);
	bd->DrawCircle2D(Pixel(q.x), Pixel(q.y), data.GetInt32(LOOM_RADIUS));
	for (Int32 i = 0; i < _strokes.GetCount(); ++i)
	{
		const Stroke& stroke = _strokes[i];
		for (Int32 m = 0; m < stroke.GetCount(); ++m)
		{
			bd->SetPen(tool.PointNearCross(data, bd, stroke[m].pos, _eraseX, _eraseY) ? kRed : kBlue);
			bd->DrawHandle(stroke[m].pos, DRAWHANDLE_BIG);
			if (m == 0)
				Label(bd, bd->WS(stroke[m].pos), 20.0, StrokeLabel(i));
			else
			{
				bd->SetPen(kBlue);
				bd->DrawLine(stroke[m - 1].pos, stroke[m].pos);
			}
		}
	}
	Label(bd, q, 50.0, OperationText(DRAGOP_POINT_ERASE));
}

bool LoomS::DrawGridPreview(BaseDocument* doc, const BaseContainer& data, BaseDraw* bd, const Vector& q)
{
	DTOOL tool;
	const bool splitting = data.GetInt32(LOOM_SURFACE_MODE) == LOOM_MODE_POLYGON_SPLIT;
	const Int32 S = splitting ? _edgeLines.pointCount - 1 : data.GetInt32(LOOM_STROKE_SEGMENTS);
	const Int32 D = data.GetInt32(LOOM_SPAN_SEGMENTS);
	const Int32 between = D > 1 ? D - 1 : 0;
	const Int64 columns = S >= 0 ? Int64(S) + 2 : 0;

	// This stroke's and the previous stroke's samples, and the in-between points of the pair
	// before, column by column.
	HostArray<Vector> samples(LOOMSURFACE_SOURCE), previous(LOOMSURFACE_SOURCE);
	HostArray<Vector> inner(LOOMSURFACE_SOURCE);
	HostArray<Float> fractions(LOOMSURFACE_SOURCE); // k / D of the in-between points, worked out once
	if (columns > 0 &&
		(!samples.Resize(columns) || !previous.Resize(columns) || !inner.Resize(columns * (between > 0 ? between : 1)) || !fractions.Resize(between + 1)))
		return false;
	for (Int32 k = 1; columns > 0 && k <= between; ++k)
		fractions[k] = static_cast<Float>(k) / D;

	PolygonObject* splitObject = splitting ? _edgeLines.GetObject(doc) : nullptr;
	const auto* splits = static_cast<const Gradient*>(data.GetCustomDataType(LOOM_SPLITS, CUSTOMDATATYPE_GRADIENT));
	const Int32 knots = splits ? splits->GetKnotCount() : 0;

	HostHandle<SplineObject, BaseObject> spline;
	// Whether `previous` holds the samples of an earlier stroke: a stroke emptied by erasing is
	// skipped, and the next one joins the last stroke that was sampled, or nothing.
	bool sampledBefore = false;
	for (Int32 i = 0; i < _strokes.GetCount(); ++i)
	{
		const Stroke& stroke = _strokes[i];
		const Int32 n = stroke.GetCount();
		if (n == 0)
			continue;
		for (Int32 m = 0; m + 1 < n; ++m)
		{
			const Float share = static_cast<Float>(m) / n;
			bd->SetPen(Vector(1.0, share, share));
			bd->DrawLine(stroke[m].pos, stroke[m + 1].pos);
		}
		if (S < 0)
			continue;

		// One linear spline serves every stroke in turn, resized to its points.
		if (!spline)
		{
			spline.Reset(SplineObject::Alloc(n, SPLINETYPE_LINEAR));
			if (!spline)
				return false;
			if (BaseContainer* sd = spline->GetDataInstance())
				sd->SetInt32(SPLINEOBJECT_INTERPOLATION, kUniformInterpolation);
		}
		Vector* splinePoints = spline->ResizeObject(n) ? spline->GetPointW() : nullptr;
		if (!splinePoints)
			return false;
		for (Int32 m = 0; m < n; ++m)
			splinePoints[m] = stroke[m].pos;

		// The S + 1 offsets V / S in one go: the host measures the curve once for all of them.
		spline->SampleUniformMany(S + 1, &samples[0]);
		bd->SetPen(kSampleOrange);
		for (Int32 V = 0; V <= S; ++V)
		{
			bd->DrawHandle(samples[V], DRAWHANDLE_SMALL);
			if (V == 0)
				Label(bd, bd->WS(samples[V]), 20.0, StrokeLabel(i));
		}

		if (sampledBefore)
		{
			for (Int32 V = 0; V <= S; ++V)
			{
				bd->DrawLine(previous[V], samples[V]);
				for (Int32 k = 1; k <= between; ++k)
				{
					const Vector p = previous[V] + (samples[V] - previous[V]) * fractions[k];
					const Int64 at = Int64(V) * between + (k - 1);
					if (V > 0)
						bd->DrawLine(p, inner[at - between]);
					inner[at] = p;
				}
			}
		}

		if (splitting)
		{
			EdgeLineNode* node = _edgeLines.head;
			Vector lastBase, lastPlaced;
			for (Int32 V = 0; V <= S && node; ++V, node = node->next)
			{
				node->target = samples[V];
				const Vector placed = splitObject ? tool.ApplyAxisLocks(splitObject, data, node->base, node->target) : node->target;
				bd->DrawHandle(node->base, DRAWHANDLE_SMALL);
				bd->DrawLine(node->base, placed);
				if (V > 0 && knots >= 1 && _dragOp == DRAGOP_POLYGON_SPLIT)
				{
					for (Int32 z = 1; z <= knots; ++z)
					{
						const Float f = splits->GetKnot(z - 1).pos;
						const Vector a = lastBase + (lastPlaced - lastBase) * f;
						const Vector b = node->base + (placed - node->base) * f;
						bd->DrawHandle(a, DRAWHANDLE_SMALL);
						bd->DrawHandle(b, DRAWHANDLE_SMALL);
						bd->DrawLine(a, b);
					}
				}
				lastBase = node->base;
				lastPlaced = placed;
			}
		}
		for (Int64 V = 0; V < columns; ++V)
			previous[V] = samples[V];
		sampledBefore = true;
	}

	bd->SetPen(_snapped ? kRed : kCircleFree);
	bd->DrawCircle2D(Pixel(q.x), Pixel(q.y), data.GetInt32(LOOM_RADIUS));
	if (_dragOp == DRAGOP_POLYGON_SPLIT)
		Label(bd, q, 50.0, OperationText(DRAGOP_POLYGON_SPLIT));
	return true;
}

Int32 LoomS::DrawView(BaseDocument* doc, BaseContainer& data, BaseDraw* bd, BaseDrawHelp* bh)
{
	(void)bd->GetDrawParam(kDrawParamScale);
	bd->SetDrawParam(kDrawParamScale, GeData(1.0));
	bd->SetDrawParam(kDrawParamMode, GeData(Int32(2)));
	bd->SetMatrix_Matrix(nullptr, bh ? bh->GetMg() : Matrix());
	const Vector q = bd->WS(_cursorPos);

	switch (_dragOp)
	{
		case DRAGOP_POINT_MOVE:
		case DRAGOP_EDIT_RADIUS:
		case DRAGOP_ADJUST_POINTS:
		case DRAGOP_ADD_POINTS:
			DrawBrush(data, bd, q);
			break;
		case DRAGOP_EDGE_SELECT:
			bd->SetPen(kYellow);
			bd->DrawCircle2D(Pixel(q.x), Pixel(q.y), data.GetInt32(LOOM_RADIUS));
			Label(bd, q, 50.0, OperationText(DRAGOP_EDGE_SELECT));
			break;
		case DRAGOP_POINT_ERASE:
			DrawEraseTargets(data, bd, q);
			break;
		default:
			if (!DrawGridPreview(doc, data, bd, q))
				return TOOLDRAW_NONE;
			break;
	}

	// The common tail: cursor, drawing plane, angle read-out, inspected object.
	bd->SetPen(kCursorOrange);
	bd->DrawHandle(_cursorPos, DRAWHANDLE_BIG);

	BaseList2D* planeLink = data.GetLink(LOOM_PLANE_OBJECT, doc);
	if (planeLink && planeLink->IsInstanceOf(Obase))
	{
		const Matrix P = DrawingPlaneFrame(static_cast<BaseObject*>(planeLink)->GetMg(), data.GetInt32(LOOM_PLANE_AXIS));
		HostHandle<BaseObject> plane(BaseObject::Alloc(Opolygonprimitive));
		if (!plane)
			return TOOLDRAW_NONE;
		const Float size = data.GetFloat(LOOM_PLANE_SIZE);
		plane->SetParameter(kPlaneWidth, GeData(size));
		plane->SetParameter(kPlaneHeight, GeData(size));
		plane->SetParameter(kPlaneTriangulate, GeData(false));
		plane->SetParameter(kPlaneOrientation, GeData(Int32(2)));
		plane->SetParameter(kPlaneSegments, GeData(Int32(1)));
		plane->SetMg(P);
		const Int32 drawFlags = data.GetBool(LOOM_PLANE_SOLID) ? kPlaneDrawSolid : kPlaneDrawWire;
		if (bd->DrawPolygonObject(bh, plane.Get(), drawFlags, _onPlane ? kRed : kGreen) == DRAWRESULT_ERROR)
			return TOOLDRAW_NONE;
	}

	if (data.GetInt32(LOOM_STROKE_STYLE) == LOOM_STYLE_LINE && data.GetBool(LOOM_ANGLE_SNAP) && _drawing == 1)
		Label(bd, q, 30.0, String("  ") + String::FloatToString(_snapAngle * kDegrees) + String("  "));

	BaseList2D* inspectLink = data.GetLink(LOOM_INSPECT_OBJECT, doc);
	if (inspectLink && inspectLink->IsInstanceOf(Opolygon))
	{
		DTOOL tool;
		const auto* op = static_cast<const PolygonObject*>(inspectLink);
		const Matrix mg = op->GetMg();
		const Vector* points = op->GetPointR();
		for (Int32 m = 0; points && m < op->GetPointCount(); ++m)
		{
			const Vector normal = GetNormalized(PointNormalByScan(op, m));
			GePrint(String::IntToString(m) + String("=") + tool.VectorText(normal));
			GePrint(String("wtail[") + String::IntToString(m) + String("]=") + tool.VectorText(mg * points[m]));
			GePrint(String("n=") + tool.VectorText(normal * 100.0));
		}
	}
	return TOOLDRAW_HANDLES | TOOLDRAW_AXIS;
}
