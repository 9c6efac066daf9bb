// Pictures of a view: the canvas and its PNG, the draw records a pass keeps (copies that outlive
// what they drew) and the picture painted from them, pixel by pixel where the colour is stated.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <memory>
#include <thread>

#include "front_view.h"
#include "picture/canvas.h"
#include "picture/view_picture.h"
#include "scratch_folder.h"
#include "standin/scene.h"
#include "standin/views.h"

using standin::picture::Canvas;
using standin::picture::Point2;

namespace
{
bool Near(const Vector& a, const Vector& b, Float tolerance = 0.02)
{
	return std::abs(a.x - b.x) <= tolerance && std::abs(a.y - b.y) <= tolerance && std::abs(a.z - b.z) <= tolerance;
}

class PictureTest : public ::testing::Test
{
protected:
	void SetUp() override
	{
		doc = standin::NewDocument();
		ASSERT_NE(doc, nullptr);
		std::string error;
		bd = AddFrontView(doc, &error);
		ASSERT_NE(bd, nullptr) << error;
	}
	void TearDown() override { standin::CloseAllDocuments(); }

	// A square of side 100 facing the front view, centred on the origin.
	PolygonObject* AddSquare()
	{
		PolygonObject* op = PolygonObject::Alloc(4, 1);
		op->GetPointW()[0] = Vector(-50.0, -50.0, 0.0);
		op->GetPointW()[1] = Vector(-50.0, 50.0, 0.0);
		op->GetPointW()[2] = Vector(50.0, 50.0, 0.0);
		op->GetPointW()[3] = Vector(50.0, -50.0, 0.0);
		op->GetPolygonW()[0] = CPolygon(0, 1, 2, 3);
		op->SetName("Square");
		doc->InsertObject(op, nullptr, nullptr);
		return op;
	}

	BaseDocument* doc = nullptr;
	BaseDraw* bd = nullptr;
};
} // namespace

TEST(Canvas, DrawsInItsColoursAndRefusesSizesItCannotHave)
{
	Canvas c(40, 30, Vector(0.0, 0.0, 0.0));
	ASSERT_TRUE(c.IsValid());
	EXPECT_TRUE(Near(c.PixelAt(5, 5), Vector()));
	c.Square(Point2{10, 10}, 5.0, Vector(1.0, 0.5, 0.0));
	EXPECT_TRUE(Near(c.PixelAt(10, 10), Vector(1.0, 0.5, 0.0)));
	c.Line(Point2{0, 20}, Point2{39, 20}, Vector(0.0, 1.0, 0.0), 3.0);
	EXPECT_TRUE(Near(c.PixelAt(20, 20), Vector(0.0, 1.0, 0.0)));
	c.Polygon({{25, 2}, {38, 2}, {38, 12}, {25, 12}}, Vector(0.0, 0.0, 1.0), Vector(), 0.0);
	EXPECT_TRUE(Near(c.PixelAt(30, 7), Vector(0.0, 0.0, 1.0)));
	// Outside the picture and hostile values: nothing drawn, nothing broken.
	EXPECT_TRUE(Near(c.PixelAt(-1, 0), Vector()));
	c.Line(Point2{NAN, 0}, Point2{1e300, -1e300}, Vector(1.0, 1.0, 1.0));
	c.Circle(Point2{5, 5}, -3.0, Vector(1.0, 1.0, 1.0));
	c.Text(Point2{1, 28}, std::string("\x01\xff label"), Vector(1.0, 1.0, 1.0));
	EXPECT_GT(c.TextWidth("S1"), 0.0);

	EXPECT_FALSE(Canvas(0, 10, Vector()).IsValid());
	EXPECT_FALSE(Canvas(10, Canvas::kMaxSide + 1, Vector()).IsValid());
	std::string error;
	EXPECT_FALSE(Canvas(0, 10, Vector()).WritePng("/tmp/never.png", &error));
}

TEST(Canvas, WritesAPngAndKeepsTheOldFileWhenTheFolderIsMissing)
{
	ScratchFolder dir;
	Canvas c(8, 4, Vector(1.0, 0.0, 0.0));
	std::string error;
	ASSERT_TRUE(c.WritePng(dir / "a.png", &error)) << error;
	std::ifstream in(dir / "a.png", std::ios::binary);
	const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
	ASSERT_GT(bytes.size(), 8u);
	EXPECT_EQ(bytes.substr(1, 3), "PNG");
	EXPECT_FALSE(c.WritePng(dir / "missing/a.png", &error));
	EXPECT_FALSE(error.empty());
}

TEST_F(PictureTest, ARecordKeepsWhatItDrewAfterTheObjectIsFreed)
{
	PolygonObject* op = AddSquare();
	standin::ClearDrawLog(bd);
	ASSERT_EQ(bd->DrawPolygonObject(nullptr, op, 27138, Vector(1.0, 0.0, 0.0)), DRAWRESULT_OK);
	op->Remove();
	BaseObject* freed = op;
	BaseObject::Free(freed);
	const auto log = standin::DrawLog(bd);
	ASSERT_EQ(log.size(), 1u);
	const standin::ObjectRecord& r = *std::get<standin::ObjectDrawing>(log[0]);
	EXPECT_EQ(r.name, "Square");
	ASSERT_EQ(r.points.size(), 4u);
	EXPECT_EQ(r.points[2], Vector(50.0, 50.0, 0.0));
	ASSERT_EQ(r.polygons.size(), 1u);
	EXPECT_EQ(standin::DescribeDrawRecord(log[0]).rfind("object \"Square\" polygons 1 flags 27138 colour (1;0;0)", 0), 0u);

	// The picture of the freed object is still its square, in its colour, half covering.
	Canvas canvas(640, 480, Vector());
	standin::picture::PaintRecords(bd, log, canvas);
	const Vector inside = canvas.PixelAt(320, 240);
	EXPECT_GT(inside.x, 0.2);
	EXPECT_LT(inside.y, 0.05);
	EXPECT_TRUE(Near(canvas.PixelAt(100, 100), Vector()));
}

TEST_F(PictureTest, ANewPassHoldsOnlyItsOwnRecordsAndLetsTheOldCopiesGo)
{
	// A pass with an object, a text and lines, then a shorter one: the log is the new pass alone,
	// and the view no longer holds the object's copy (only the earlier log does).
	PolygonObject* op = AddSquare();
	standin::ClearDrawLog(bd);
	bd->SetPen(Vector(1.0, 0.0, 0.0));
	ASSERT_EQ(bd->DrawPolygonObject(nullptr, op, 24579, Vector(0.0, 1.0, 0.0)), DRAWRESULT_OK);
	bd->DrawHUDText(10, 20, "S1");
	for (int i = 0; i < 10; ++i)
		bd->DrawLine(Vector(i, 0.0, 0.0), Vector(i, 10.0, 0.0));
	const auto first = standin::DrawLog(bd);
	ASSERT_EQ(first.size(), 13u);
	const auto& object = std::get<standin::ObjectDrawing>(first[1]);
	EXPECT_EQ(object.use_count(), 2);

	standin::ClearDrawLog(bd);
	EXPECT_EQ(object.use_count(), 1);
	bd->DrawHUDText(30, 40, "S2");
	bd->DrawCircle2D(5, 6, 7.0);
	const auto second = standin::DrawLog(bd);
	ASSERT_EQ(second.size(), 2u);
	EXPECT_EQ(standin::DescribeDrawRecord(second[0]), "text 30 40 \"S2\"");
	EXPECT_EQ(standin::DescribeDrawRecord(second[1]), "circle 5 6 radius 7");
}

TEST_F(PictureTest, RecordsPaintInTheirPensAtTheirPlaces)
{
	// The front view sees world (x, y, z) at pixel (320 + x, 240 - y).
	std::vector<standin::DrawRecord> records = {
		standin::PenRecord{Vector(1.0, 0.5, 0.0)},
		standin::HandleRecord{Vector(-100.0, 100.0, 0.0), DRAWHANDLE_BIG, 0},
		standin::PenRecord{Vector(0.0, 1.0, 0.0)},
		standin::MatrixRecord{Matrix(Vector(0.0, -100.0, 0.0), Vector(1, 0, 0), Vector(0, 1, 0), Vector(0, 0, 1))},
		standin::LineRecord{Vector(-50.0, 0.0, 0.0), Vector(50.0, 0.0, 0.0), 0},
		standin::PenRecord{Vector(1.0, 1.0, 0.0)},
		standin::CircleRecord{500, 100, 20.0},
		standin::TextRecord{100, 400, "S1"},
	};
	Canvas canvas(640, 480, Vector());
	standin::picture::PaintRecords(bd, records, canvas);
	EXPECT_TRUE(Near(canvas.PixelAt(220, 140), Vector(1.0, 0.5, 0.0)));
	// The line went through the matrix: 100 lower on screen.
	EXPECT_TRUE(Near(canvas.PixelAt(320, 340), Vector(0.0, 1.0, 0.0)));
	EXPECT_TRUE(Near(canvas.PixelAt(320, 240), Vector()));
	EXPECT_TRUE(Near(canvas.PixelAt(520, 100), Vector(1.0, 1.0, 0.0), 0.15));
	EXPECT_TRUE(Near(canvas.PixelAt(500, 100), Vector()));
	// The label: some pixels of its box carry the pen's colour, the rest the dark box.
	int lit = 0;
	for (int y = 400; y < 415; ++y)
		for (int x = 100; x < 118; ++x)
			lit += Near(canvas.PixelAt(x, y), Vector(1.0, 1.0, 0.0), 0.1) ? 1 : 0;
	EXPECT_GT(lit, 5);
}

TEST_F(PictureTest, LabelsStayOverLinesDrawnAfterThem)
{
	// A green line drawn after the label runs through its box at row 407: the label stays whole.
	const std::vector<standin::DrawRecord> records = {
		standin::PenRecord{Vector(1.0, 1.0, 0.0)},
		standin::TextRecord{100, 400, "S1"},
		standin::PenRecord{Vector(0.0, 1.0, 0.0)},
		standin::LineRecord{Vector(-240.0, -167.0, 0.0), Vector(-180.0, -167.0, 0.0), 0},
	};
	Canvas canvas(640, 480, Vector());
	standin::picture::PaintRecords(bd, records, canvas);
	int green = 0, lit = 0;
	for (int y = 400; y < 415; ++y)
		for (int x = 100; x < 116; ++x)
		{
			green += Near(canvas.PixelAt(x, y), Vector(0.0, 1.0, 0.0), 0.2) ? 1 : 0;
			lit += Near(canvas.PixelAt(x, y), Vector(1.0, 1.0, 0.0), 0.1) ? 1 : 0;
		}
	EXPECT_EQ(green, 0);
	EXPECT_GT(lit, 5);
	// Outside the box the line is drawn as usual.
	EXPECT_TRUE(Near(canvas.PixelAt(130, 407), Vector(0.0, 1.0, 0.0), 0.1));
}

TEST_F(PictureTest, TheViewPictureShowsObjectsAndSelectionAtAnySize)
{
	PolygonObject* op = AddSquare();
	std::unique_ptr<Canvas> picture;
	std::string error;
	ASSERT_TRUE(standin::picture::RenderView(doc, bd, {}, &picture, &error)) << error;
	ASSERT_EQ(picture->Width(), 640);
	ASSERT_EQ(picture->Height(), 480);
	const Vector grey = picture->PixelAt(320, 240);
	EXPECT_GT(grey.x, 0.3);
	EXPECT_NEAR(grey.x, grey.y, 0.1);

	op->GetPolygonS()->Select(0);
	ASSERT_TRUE(standin::picture::RenderView(doc, bd, {}, &picture, &error)) << error;
	const Vector selected = picture->PixelAt(320, 240);
	EXPECT_GT(selected.x, selected.z + 0.3);

	// Another size: the frame is the picture's for the pass and the view's own afterwards.
	ASSERT_TRUE(standin::picture::RenderView(doc, bd, {200, 100}, &picture, &error)) << error;
	EXPECT_EQ(picture->Width(), 200);
	Int32 right = 0;
	bd->GetFrame(nullptr, nullptr, &right, nullptr);
	EXPECT_EQ(right, 639);
	EXPECT_FALSE(standin::picture::RenderView(doc, bd, {0, 100}, &picture, &error));
	EXPECT_FALSE(standin::picture::RenderView(doc, bd, {100, Canvas::kMaxSide + 1}, &picture, &error));
}

TEST_F(PictureTest, APassStartsAfreshAndOnlyTheMainThreadDraws)
{
	bd->SetPen(Vector(1.0, 0.0, 0.0));
	ASSERT_EQ(standin::DrawLog(bd).size(), 1u);
	// Without an active tool a pass draws nothing, and what was drawn before it is gone.
	EXPECT_EQ(standin::DrawPass(doc, bd), 0);
	EXPECT_TRUE(standin::DrawLog(bd).empty());
	bd->SetPen(Vector(1.0, 0.0, 0.0));
	Int32 fromWorker = 0;
	std::thread worker([&] { fromWorker = standin::DrawPass(doc, bd); });
	worker.join();
	EXPECT_EQ(fromWorker, -1);
	EXPECT_EQ(standin::DrawLog(bd).size(), 1u);
	EXPECT_EQ(standin::DrawPass(nullptr, bd), -1);
}

namespace
{
// A grid of cells x cells quads over [x0, x0 + size] x [y0, y0 + size], each point at depth
// z(x, y) in front of the camera's plane.
template <typename Height>
PolygonObject* AddGrid(BaseDocument* doc, Float x0, Float y0, Float size, Int32 cells, Height z)
{
	const Int32 side = cells + 1;
	PolygonObject* op = PolygonObject::Alloc(side * side, cells * cells);
	for (Int32 j = 0; j < side; ++j)
		for (Int32 i = 0; i < side; ++i)
		{
			const Float x = x0 + size * i / cells, y = y0 + size * j / cells;
			op->GetPointW()[j * side + i] = Vector(x, y, z(x, y));
		}
	for (Int32 j = 0; j < cells; ++j)
		for (Int32 i = 0; i < cells; ++i)
		{
			const Int32 a = j * side + i;
			op->GetPolygonW()[j * cells + i] = CPolygon(a, a + side, a + side + 1, a + 1);
		}
	doc->InsertObject(op, nullptr, nullptr);
	return op;
}

bool Orange(const Vector& c)
{
	return c.x > c.z + 0.3;
}

// The unselected objects' grey (borders are darker, selected faces orange).
bool Grey(const Vector& c)
{
	return c.x > 0.25 && std::abs(c.x - c.z) < 0.1;
}
} // namespace

// Whatever is nearest the camera at a pixel shows there, however big the faces are: sorting whole
// faces by their mean depth paints a long tilted floor over a small square standing in front of it,
// and a dense curved surface through a coarse patch lying just above it.
TEST_F(PictureTest, TheNearestFaceShowsAtEveryPixel)
{
	// The floor runs from depth 10 at x = -200 to depth 1600 at x = 200; the square stands at
	// depth 1000 where the floor is at about 1480.
	AddGrid(doc, -200.0, -100.0, 200.0, 1, [](Float x, Float) { return -990.0 + (x + 200.0) / 400.0 * 1590.0; });
	// (The grid helper spans a square; stretch the floor over x = -200 ... 200.)
	PolygonObject* floor = static_cast<PolygonObject*>(doc->GetFirstObject());
	floor->GetPointW()[1] = Vector(200.0, -100.0, 600.0);
	floor->GetPointW()[3] = Vector(200.0, 100.0, 600.0);
	PolygonObject* square = AddGrid(doc, 150.0, -20.0, 40.0, 1, [](Float, Float) { return 0.0; });
	square->GetPolygonS()->Select(0);

	// A coarse patch 2 units in front of a dense wavy surface, on the left of the picture.
	auto wave = [](Float x, Float) { return 10.0 * std::sin(x / 20.0); };
	PolygonObject* patch = AddGrid(doc, -300.0, 110.0, 60.0, 6, [&](Float x, Float y) { return wave(x, y) - 2.0; });
	for (Int32 i = 0; i < patch->GetPolygonCount(); ++i)
		patch->GetPolygonS()->Select(i);
	AddGrid(doc, -310.0, 100.0, 80.0, 160, wave);

	std::unique_ptr<Canvas> picture;
	std::string error;
	ASSERT_TRUE(standin::picture::RenderView(doc, bd, {}, &picture, &error)) << error;
	EXPECT_TRUE(Orange(picture->PixelAt(320 + 170, 240)));
	EXPECT_FALSE(Orange(picture->PixelAt(320 - 100, 240)));
	Int32 hidden = 0, shown = 0;
	for (Int32 y = 240 - 165; y <= 240 - 115; ++y)
		for (Int32 x = 320 - 295; x <= 320 - 245; ++x)
		{
			hidden += Grey(picture->PixelAt(x, y)) ? 1 : 0;
			shown += Orange(picture->PixelAt(x, y)) ? 1 : 0;
		}
	EXPECT_EQ(hidden, 0);
	EXPECT_GT(shown, 51 * 51 * 3 / 4);
}

// Faces a pixel or two across are drawn without their borders: a dense mesh shows its shading,
// not a dark blot of lines; larger faces keep theirs.
TEST_F(PictureTest, DenseMeshesShowTheirShadingAndLargeFacesTheirBorders)
{
	AddGrid(doc, -150.0, -150.0, 300.0, 300, [](Float, Float) { return 0.0; });
	std::unique_ptr<Canvas> picture;
	std::string error;
	ASSERT_TRUE(standin::picture::RenderView(doc, bd, {}, &picture, &error)) << error;
	Float darkest = 1.0;
	for (Int32 x = 300; x < 340; ++x)
		darkest = std::min(darkest, picture->PixelAt(x, 240).x);
	EXPECT_GT(darkest, 0.4);

	standin::CloseAllDocuments();
	SetUp();
	AddGrid(doc, -150.0, -150.0, 300.0, 3, [](Float, Float) { return 0.0; });
	ASSERT_TRUE(standin::picture::RenderView(doc, bd, {}, &picture, &error)) << error;
	// The border between the first and second column of cells lies at x = -50.
	EXPECT_LT(picture->PixelAt(320 - 50, 240).x, 0.3);
	EXPECT_GT(picture->PixelAt(320 - 25, 240).x, 0.4);
}
