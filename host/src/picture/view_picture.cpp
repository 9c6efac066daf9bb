#include "picture/view_picture.h"

#include "picture/depth_raster.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <utility>
#include <variant>

#include "standin/views.h"
#include "view/raycast.h"
#include "view/view_data.h"

namespace standin::picture
{

namespace
{

const Vector kBackground(0.24, 0.25, 0.27);
const Vector kObjectColour(0.62, 0.64, 0.68);
const Vector kActiveObjectColour(0.78, 0.70, 0.56);
const Vector kSelectionColour(1.0, 0.55, 0.1);
const Vector kEdgeColour(0.12, 0.12, 0.14);
const Vector kTextBox(0.08, 0.08, 0.09);
const Vector kLightTextBox(0.9, 0.9, 0.9);
constexpr Float kTextSize = 13.0;
// Handle kinds: 1 small, 3 big; other kinds take the small size.
constexpr Float kSmallHandle = 5.0;
constexpr Float kBigHandle = 8.0;
// Points nearer to the camera than this are not drawn (nothing behind the camera is seen).
constexpr Float kNearDepth = 1.0e-3;

struct Screen
{
	view::Projection projection;

	// The canvas position of a world point; false when it is not in front of the camera.
	bool Map(const Vector& world, Point2* out, Float* depth = nullptr) const
	{
		const Vector s = projection.WorldToScreen(world);
		if (!(s.z > kNearDepth) && !projection.IsParallel())
			return false;
		if (projection.IsParallel() && !(s.z >= 0.0))
			return false;
		*out = Point2{s.x - projection.left, s.y - projection.top};
		if (depth)
			*depth = s.z;
		return std::isfinite(out->x) && std::isfinite(out->y);
	}
};

struct Face
{
	Float depth = 0.0;
	std::vector<Point2> corners;
	std::vector<Float> depths;
	Vector fill;
	Vector outline; // wireframe colour
	bool selected = false;
};

Vector Scale(const Vector& c, Float f)
{
	return Vector(c.x * f, c.y * f, c.z * f);
}

bool ValidPolygon(const CPolygon& q, Int32 pointCount)
{
	auto ok = [pointCount](Int32 i) { return i >= 0 && i < pointCount; };
	return ok(q.a) && ok(q.b) && ok(q.c) && ok(q.d);
}

Int32 CornerCount(const CPolygon& q)
{
	return q.IsTriangle() ? 3 : 4;
}

Int32 Corner(const CPolygon& q, Int32 i)
{
	const Int32 c[4] = {q.a, q.b, q.c, q.d};
	return c[i];
}

// Light comes from the camera: a face turned to it is brightest, one seen edge-on darkest.
Float Shade(const Vector* world, Int32 n, const Vector& eye, bool parallel, const Vector& viewAxis)
{
	const Vector normal = Cross(world[1] - world[0], world[n - 1] - world[0]);
	const Float len = normal.GetLength();
	if (!(len > 0.0))
		return 0.5;
	Vector centre;
	for (Int32 i = 0; i < n; ++i)
		centre += world[i];
	centre = centre * (1.0 / n);
	Vector toEye = parallel ? -viewAxis : eye - centre;
	const Float eyeLen = toEye.GetLength();
	if (!(eyeLen > 0.0))
		return 0.5;
	const Float facing = std::abs(Dot(normal, toEye)) / (len * eyeLen);
	return 0.35 + 0.65 * facing;
}

// The faces of one object go into `faces` (sorted with every other object's before they are
// painted); its selected edges and points, which lie over every face, into `overlay`.
struct Overlay
{
	std::vector<std::pair<Point2, Point2>> edges;
	std::vector<Point2> points;
};

void CollectPolygonObject(const Screen& screen, PolygonObject* op, std::vector<Face>& faces, Overlay& overlay)
{
	const Int32 pointCount = op->GetPointCount();
	const Vector* points = op->GetPointR();
	const CPolygon* polygons = op->GetPolygonR();
	if (!points || pointCount <= 0)
		return;
	const Matrix mg = op->GetMg();
	const bool active = op->GetBit(UInt64{1} << NBIT_ACTIVE);
	const BaseSelect* polySel = op->GetPolygonS();
	const BaseSelect* edgeSel = op->GetEdgeS();
	const BaseSelect* pointSel = op->GetPointS();
	const Vector base = active ? kActiveObjectColour : kObjectColour;
	const Vector eye = screen.projection.camera.off;
	const Vector axis = screen.projection.camera.v3;

	std::vector<Point2> mapped(static_cast<size_t>(pointCount));
	std::vector<Float> depth(static_cast<size_t>(pointCount));
	std::vector<char> seen(static_cast<size_t>(pointCount));
	for (Int32 i = 0; i < pointCount; ++i)
		seen[static_cast<size_t>(i)] = screen.Map(mg * points[i], &mapped[static_cast<size_t>(i)], &depth[static_cast<size_t>(i)]);

	for (Int32 p = 0; polygons && p < op->GetPolygonCount(); ++p)
	{
		const CPolygon& q = polygons[p];
		if (!ValidPolygon(q, pointCount))
			continue;
		const Int32 n = CornerCount(q);
		Face face;
		Vector world[4];
		bool visible = true;
		for (Int32 i = 0; i < n; ++i)
		{
			const Int32 k = Corner(q, i);
			visible = visible && seen[static_cast<size_t>(k)];
			face.corners.push_back(mapped[static_cast<size_t>(k)]);
			face.depths.push_back(depth[static_cast<size_t>(k)]);
			face.depth += depth[static_cast<size_t>(k)];
			world[i] = mg * points[k];
		}
		if (!visible)
			continue;
		face.depth /= n;
		face.selected = polySel && polySel->IsSelected(p);
		face.outline = face.selected ? kSelectionColour : base;
		const Vector colour = face.selected ? kSelectionColour : base;
		face.fill = Scale(colour, Shade(world, n, eye, screen.projection.IsParallel(), axis));
		faces.push_back(std::move(face));
	}
	// Selected edges (4 * polygon + side) over the faces, then selected points.
	for (Int32 p = 0; edgeSel && polygons && p < op->GetPolygonCount(); ++p)
	{
		const CPolygon& q = polygons[p];
		if (!ValidPolygon(q, pointCount))
			continue;
		for (Int32 side = 0; side < 4; ++side)
		{
			if (!edgeSel->IsSelected(4 * p + side))
				continue;
			const Int32 a = Corner(q, side), b = Corner(q, (side + 1) % 4);
			if (a == b || !seen[static_cast<size_t>(a)] || !seen[static_cast<size_t>(b)])
				continue;
			overlay.edges.emplace_back(mapped[static_cast<size_t>(a)], mapped[static_cast<size_t>(b)]);
		}
	}
	for (Int32 i = 0; pointSel && i < pointCount; ++i)
		if (pointSel->IsSelected(i) && seen[static_cast<size_t>(i)])
			overlay.points.push_back(mapped[static_cast<size_t>(i)]);
}

// What the records draw with while they are read in order.
struct PenState
{
	Vector pen = Vector(1.0, 1.0, 1.0);
	Matrix mg;
};

struct RecordPainter
{
	const Screen& screen;
	Canvas& canvas;
	PenState& state;

	void operator()(const PenRecord& r) const { state.pen = r.colour; }
	void operator()(const MatrixRecord& r) const { state.mg = r.Mg(); }
	void operator()(const LineRecord& r) const
	{
		Point2 a, b;
		if (screen.Map(state.mg * r.a, &a) && screen.Map(state.mg * r.b, &b))
			canvas.Line(a, b, state.pen, 1.5);
	}
	void operator()(const HandleRecord& r) const
	{
		Point2 p;
		if (screen.Map(state.mg * r.point, &p))
			canvas.Square(p, r.kind == DRAWHANDLE_BIG ? kBigHandle : kSmallHandle, state.pen);
	}
	void operator()(const CircleRecord& r) const
	{
		canvas.Circle(Point2{Float(r.x) - screen.projection.left, Float(r.y) - screen.projection.top}, r.radius, state.pen, 1.5);
	}
	void operator()(const TextRecord& r) const
	{
		// The text's top-left corner at the pixel, on a dark box so it reads on any background.
		const Float x = Float(r.x) - screen.projection.left, y = Float(r.y) - screen.projection.top;
		const Float w = canvas.TextWidth(r.text, kTextSize);
		// Dark pens get a light box, bright ones a dark box.
		const Float light = 0.3 * state.pen.x + 0.59 * state.pen.y + 0.11 * state.pen.z;
		canvas.Rectangle(x - 2.0, y - 1.0, x + w + 2.0, y + kTextSize + 3.0, light < 0.45 ? kLightTextBox : kTextBox, 0.8);
		canvas.Text(Point2{x, y + kTextSize - 1.0}, r.text, state.pen, kTextSize);
	}
	void operator()(const DrawParamRecord&) const {}
	void operator()(const ObjectDrawing& drawing) const
	{
		if (!drawing)
			return;
		const ObjectRecord& r = *drawing;
		const Int32 count = static_cast<Int32>(r.points.size());
		// Flags with bit 0x800 draw the polygons filled (half transparent), the others their edges.
		const bool filled = (r.flags & 0x800) != 0;
		for (const CPolygon& q : r.polygons)
		{
			if (!ValidPolygon(q, count))
				continue;
			std::vector<Point2> corners;
			bool visible = true;
			for (Int32 i = 0; i < CornerCount(q) && visible; ++i)
			{
				Point2 p;
				visible = screen.Map(r.mg * r.points[static_cast<size_t>(Corner(q, i))], &p);
				corners.push_back(p);
			}
			if (visible)
				canvas.Polygon(corners, r.colour, r.colour, 1.5, filled ? 0.35 : 0.0);
		}
	}
};

// How strongly a face's border shows: not at all on faces a few pixels across (a dense mesh would
// turn into a dark blot of borders), fully from about ten pixels on.
Float BorderWeight(const Face& f)
{
	const size_t n = f.corners.size();
	Float length = 0.0;
	for (size_t i = 0; i < n; ++i)
	{
		const Point2& a = f.corners[i];
		const Point2& b = f.corners[(i + 1) % n];
		length += std::hypot(b.x - a.x, b.y - a.y);
	}
	return std::clamp((length / Float(n) - 3.0) / 7.0, 0.0, 1.0);
}

void PaintShaded(const std::vector<Face>& faces, bool parallel, Canvas& canvas)
{
	DepthRaster raster(canvas.Width(), canvas.Height(), !parallel);
	for (const Face& f : faces)
		raster.Face(f.corners.data(), f.depths.data(), static_cast<Int32>(f.corners.size()), f.fill);
	for (const Face& f : faces)
	{
		const Float weight = BorderWeight(f);
		if (weight <= 0.0)
			continue;
		const Vector border = f.fill + (kEdgeColour - f.fill) * weight;
		const size_t n = f.corners.size();
		for (size_t i = 0; i < n; ++i)
			raster.Edge(f.corners[i], f.depths[i], f.corners[(i + 1) % n], f.depths[(i + 1) % n], border);
	}
	raster.PaintOnto(canvas);
}

} // namespace

void PaintScene(BaseDocument* doc, BaseDraw* bd, Canvas& canvas)
{
	if (!doc || !bd)
		return;
	Screen screen{view::ViewDataOf(bd)->Current()};
	const bool wireframe = view::ViewDataOf(bd)->wireframe;
	std::vector<Face> faces;
	Overlay overlay;
	for (BaseObject* op = doc->GetFirstObject(); op; op = view::NextObjectInTree(op))
	{
		if (op->GetEditorMode() == 1 || !op->IsInstanceOf(Opolygon))
			continue;
		CollectPolygonObject(screen, static_cast<PolygonObject*>(op), faces, overlay);
	}
	if (wireframe)
	{
		// Outlines only (selected faces tinted): nothing hides anything, far ones go first.
		std::stable_sort(faces.begin(), faces.end(), [](const Face& a, const Face& b) { return a.depth > b.depth; });
		for (const Face& f : faces)
			canvas.Polygon(f.corners, f.fill, f.outline, 1.0, f.selected ? 0.35 : 0.0);
	}
	else
		PaintShaded(faces, screen.projection.IsParallel(), canvas);
	for (const auto& e : overlay.edges)
		canvas.Line(e.first, e.second, kSelectionColour, 2.5);
	for (const Point2& p : overlay.points)
		canvas.Square(p, 5.0, kSelectionColour);
}

void PaintRecords(BaseDraw* bd, std::span<const DrawRecord> records, Canvas& canvas)
{
	if (!bd)
		return;
	Screen screen{view::ViewDataOf(bd)->Current()};
	PenState state;
	const RecordPainter painter{screen, canvas, state};
	// Texts are the view's overlay: each keeps the pen it was drawn with, but all of them go over
	// everything else, so a line or plane drawn after a label never runs through it.
	std::vector<std::pair<const TextRecord*, Vector>> texts;
	for (const DrawRecord& r : records)
	{
		if (const auto* text = std::get_if<TextRecord>(&r))
			texts.emplace_back(text, state.pen);
		else
			std::visit(painter, r);
	}
	for (const auto& [text, pen] : texts)
	{
		state.pen = pen;
		painter(*text);
	}
}

bool RenderView(BaseDocument* doc, BaseDraw* bd, const ViewPictureOptions& options, std::unique_ptr<Canvas>* out, std::string* error)
{
	auto fail = [error](const std::string& what) {
		if (error)
			*error = what;
		return false;
	};
	if (!doc || !bd || !out)
		return fail("no view to draw");
	view::Projection& frame = view::ViewDataOf(bd)->projection;
	const view::Projection saved = frame;
	if (options.width != 0 || options.height != 0)
	{
		if (options.width < 1 || options.height < 1 || options.width > Canvas::kMaxSide || options.height > Canvas::kMaxSide)
			return fail("a picture is 1 to 16384 pixels wide and high");
		frame.left = 0;
		frame.top = 0;
		frame.right = options.width - 1;
		frame.bottom = options.height - 1;
	}
	auto canvas = std::unique_ptr<Canvas>(new (std::nothrow) Canvas(frame.Width(), frame.Height(), kBackground));
	if (!canvas || !canvas->IsValid())
	{
		frame = saved;
		return fail("out of memory for a picture of " + std::to_string(saved.Width()) + " x " + std::to_string(saved.Height()) + " pixels");
	}
	try
	{
		DrawPass(doc, bd);
		PaintScene(doc, bd, *canvas);
		PaintRecords(bd, view::ViewDataOf(bd)->Records(), *canvas);
	}
	catch (const std::bad_alloc&)
	{
		frame = saved;
		return fail("out of memory while drawing the picture");
	}
	frame = saved;
	*out = std::move(canvas);
	return true;
}

} // namespace standin::picture
