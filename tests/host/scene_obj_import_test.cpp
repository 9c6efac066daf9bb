// Reading Wavefront OBJ files into polygon objects, and refusing broken ones with the line.
#include <gtest/gtest.h>

#include <string>

#include "hostapi/api.h"
#include "scratch_folder.h"
#include "standin/scene.h"

namespace
{

class SceneObjImport : public ::testing::Test
{
protected:
	PolygonObject* Import(const std::string& content, const std::string& name = "shape.obj")
	{
		error.clear();
		return standin::ImportObj(folder.Write(name, content), &error);
	}

	void ExpectError(const std::string& content, const std::string& start)
	{
		PolygonObject* op = Import(content);
		EXPECT_EQ(op, nullptr) << "accepted: " << content;
		EXPECT_EQ(error.substr(0, start.size()), start) << "message: " << error;
		if (op)
		{
			BaseObject* dead = op;
			BaseObject::Free(dead);
		}
	}

	ScratchFolder folder;
	std::string error;
};

void Free(PolygonObject* op)
{
	BaseObject* dead = op;
	BaseObject::Free(dead);
}

} // namespace

TEST_F(SceneObjImport, ReadsPointsFacesAndTextureCoordinates)
{
	PolygonObject* op = Import("# a wedge\r\n"
	                           "o wedge\n"
	                           "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nv 0.5 0.5 1.5\n"
	                           "vt 0 0\nvt 1 0\nvt 1 1\n"
	                           "vn 0 0 1\n"
	                           "s off\n"
	                           "f 1/1 2/2 3/3 4\n"
	                           "f -5//1 -4//1 -1//1\n"
	                           "f 2/1/1 3/2/1 5/3/1\n",
	                           "wedge.obj");
	ASSERT_NE(op, nullptr) << error;
	EXPECT_EQ(op->GetName().Get(), "wedge");
	ASSERT_EQ(op->GetPointCount(), 5);
	EXPECT_EQ(op->GetPointR()[4], Vector(0.5, 0.5, 1.5));
	ASSERT_EQ(op->GetPolygonCount(), 3);
	EXPECT_EQ(op->GetPolygonR()[0], CPolygon(0, 1, 2, 3));
	EXPECT_EQ(op->GetPolygonR()[1], CPolygon(0, 1, 4)); // negative indices count back
	EXPECT_TRUE(op->GetPolygonR()[2].IsTriangle());

	auto* uvw = static_cast<UVWTag*>(op->GetTag(Tuvw));
	ASSERT_NE(uvw, nullptr);
	ASSERT_EQ(uvw->GetDataCount(), 3);
	EXPECT_EQ(uvw->GetSlow(0).c, Vector(1, 1, 0));
	EXPECT_EQ(uvw->GetSlow(0).d, Vector()); // corner without a coordinate
	EXPECT_EQ(uvw->GetSlow(2).c, Vector(1, 1, 0));
	EXPECT_EQ(uvw->GetSlow(2).d, uvw->GetSlow(2).c); // triangle: d repeats c
	Free(op);
}

TEST_F(SceneObjImport, LargeFacesBecomeTriangleFansAndNoCoordinatesMeansNoTag)
{
	PolygonObject* op = Import("v 0 0 0\nv 1 0 0\nv 2 1 0\nv 1 2 0\nv 0 1 0\nf 1 2 3 4 5\n");
	ASSERT_NE(op, nullptr) << error;
	ASSERT_EQ(op->GetPolygonCount(), 3);
	EXPECT_EQ(op->GetPolygonR()[0], CPolygon(0, 1, 2));
	EXPECT_EQ(op->GetPolygonR()[2], CPolygon(0, 3, 4));
	EXPECT_EQ(op->GetTag(Tuvw), nullptr);
	Free(op);

	PolygonObject* empty = Import("");
	ASSERT_NE(empty, nullptr) << error;
	EXPECT_EQ(empty->GetPointCount(), 0);
	Free(empty);
}

TEST_F(SceneObjImport, RefusesBrokenFilesWithTheLine)
{
	ExpectError("v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 4\n", "line 4: vertex index 4 out of range");
	ExpectError("v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 -4\n", "line 4: vertex index -4 out of range");
	ExpectError("v 0 0 0\nv 1 0 0\nv 0 1 0\nf 0 1 2\n", "line 4: vertex index 0 out of range");
	ExpectError("v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 99999999999999999999999\n", "line 4: bad vertex index");
	ExpectError("v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1/1 2 3\n", "line 4: texture index 1 out of range");
	ExpectError("v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1//2 2 3\n", "line 4: normal index 2 out of range");
	ExpectError("v 0 0 0\nv 1 0 0\nf 1 2\n", "line 3: a face needs at least 3 corners");
	ExpectError("v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1/ 2 3\n", "line 4: bad face corner");
	ExpectError("v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1/1/1/1 2 3\n", "line 4: bad face corner");
	ExpectError("v 1 2\n", "line 1: 'v' needs 3 to 7 numbers (x y z, then w or colours), not 2");
	ExpectError("v 1 2 3 4 5 6 7 8\n", "line 1: 'v' needs 3 to 7 numbers (x y z, then w or colours), not 8");
	ExpectError("vt 1 2 3 4\n", "line 1: 'vt' needs 1 to 3 numbers (u [v [w]]), not 4");
	ExpectError("v 1 2 x\n", "line 1: bad number 'x'");
	ExpectError("v 1 2 1e999\n", "line 1: bad number");
	ExpectError("v 1 2 -1e400\n", "line 1: bad number");
	ExpectError("v 1 2 nan\n", "line 1: bad number");
	ExpectError("\n\nhello world\n", "line 3: unknown statement 'hello'");
	ExpectError(std::string("v 0 0 0\n\x01\x02\x7f\xff\xfe garbage\n"), "line 2: unknown statement '\\x01\\x02\\x7f\\xff\\xfe'");
	ExpectError(std::string("v 0 0 0\nv 1\0 0 0\n", 18), "line 2: binary data");

	error.clear();
	EXPECT_EQ(standin::ImportObj(folder / "missing.obj", &error), nullptr);
	EXPECT_NE(error.find("cannot open"), std::string::npos);
	EXPECT_EQ(standin::ImportObj(folder.Path().string(), &error), nullptr); // a folder
}

TEST_F(SceneObjImport, TheExampleFileLoads)
{
	PolygonObject* op = standin::ImportObj(std::string(TEST_SOURCE_DIR) + "/examples/wedge.obj", &error);
	ASSERT_NE(op, nullptr) << error;
	EXPECT_EQ(op->GetName().Get(), "wedge");
	EXPECT_GT(op->GetPolygonCount(), 0);
	Neighbor* nb = Neighbor::Alloc();
	EXPECT_TRUE(nb->Init(op->GetPointCount(), op->GetPolygonR(), op->GetPolygonCount()));
	Neighbor::Free(nb);
	Free(op);
}

TEST_F(SceneObjImport, TinyNumbersExtraVertexValuesAndTrailingCommentsAreRead)
{
	PolygonObject* op = Import("v 1e-320 0 0 1.0 # w, then a comment\n"
	                           "v 1 1e-400 0 0.5 0.5 0.5\n"
	                           "v 0 1 0 1 0.2 0.3 0.4\n"
	                           "vt 0.5 0.5 0 # u v w\n"
	                           "f 1 2 3/1 # one corner with a coordinate\n");
	ASSERT_NE(op, nullptr) << error;
	ASSERT_EQ(op->GetPointCount(), 3);
	EXPECT_EQ(op->GetPointR()[0].x, 1e-320); // subnormal, kept as it is
	EXPECT_EQ(op->GetPointR()[1], Vector(1, 0, 0)); // below every subnormal: zero
	EXPECT_EQ(op->GetPointR()[2], Vector(0, 1, 0)); // w and colours ignored
	ASSERT_EQ(op->GetPolygonCount(), 1);
	auto* uvw = static_cast<UVWTag*>(op->GetTag(Tuvw));
	ASSERT_NE(uvw, nullptr);
	EXPECT_EQ(uvw->GetSlow(0).c, Vector(0.5, 0.5, 0));
	Free(op);
}

TEST_F(SceneObjImport, CoordinatesOnSomeFacesGiveOneRecordPerPolygon)
{
	std::string text = "v 0 0 0\nv 1 0 0\nv 0 1 0\nv 1 1 0\nvt 0.25 0.75\n";
	text += "f 1 2 3\nf 2 4 3\n";     // before the first face with a coordinate
	text += "f 1/1 2/1 4/1 3/1\n";     // the first one
	text += "f 1 2 3\nf 1 2 3 4 2\n"; // after it; the last is a fan of three triangles
	PolygonObject* op = Import(text);
	ASSERT_NE(op, nullptr) << error;
	ASSERT_EQ(op->GetPolygonCount(), 7);
	auto* uvw = static_cast<UVWTag*>(op->GetTag(Tuvw));
	ASSERT_NE(uvw, nullptr);
	ASSERT_EQ(uvw->GetDataCount(), 7);
	const UVWStruct zero{};
	EXPECT_EQ(uvw->GetSlow(0).a, zero.a);
	EXPECT_EQ(uvw->GetSlow(1).d, zero.d);
	EXPECT_EQ(uvw->GetSlow(2).a, Vector(0.25, 0.75, 0));
	EXPECT_EQ(uvw->GetSlow(2).d, Vector(0.25, 0.75, 0));
	EXPECT_EQ(uvw->GetSlow(3).a, zero.a);
	EXPECT_EQ(uvw->GetSlow(6).c, zero.c);
	Free(op);
}

TEST_F(SceneObjImport, FilesLargerThanOneReadAreStreamedLineByLine)
{
	// Several read chunks, with lines cut at chunk boundaries wherever they fall, CRLF endings,
	// and a last line without a line break.
	std::string text = "\xEF\xBB\xBF";
	const int rows = 300;
	for (int y = 0; y < rows; ++y)
		for (int x = 0; x < rows; ++x)
			text += "v " + std::to_string(x) + ".000000 " + std::to_string(y) + ".000000 0.000000\r\n";
	int faces = 0;
	for (int y = 0; y + 1 < rows; ++y)
		for (int x = 0; x + 1 < rows; ++x, ++faces)
		{
			const int a = y * rows + x + 1;
			text += "f " + std::to_string(a) + " " + std::to_string(a + 1) + " " + std::to_string(a + rows + 1) + " " + std::to_string(a + rows) + "\r\n";
		}
	text += "f 1 2 3";
	ASSERT_GT(text.size(), size_t{3} << 20); // three read chunks or more
	PolygonObject* op = Import(text);
	ASSERT_NE(op, nullptr) << error;
	EXPECT_EQ(op->GetPointCount(), rows * rows);
	ASSERT_EQ(op->GetPolygonCount(), faces + 1);
	EXPECT_EQ(op->GetPointR()[rows * rows - 1], Vector(rows - 1, rows - 1, 0));
	EXPECT_EQ(op->GetPolygonR()[faces - 1], CPolygon(rows * rows - rows - 2, rows * rows - rows - 1, rows * rows - 1, rows * rows - 2));
	EXPECT_EQ(op->GetPolygonR()[faces], CPolygon(0, 1, 2));
	EXPECT_EQ(op->GetTag(Tuvw), nullptr);
	Free(op);

	// An error far into the file still names its line.
	ExpectError(text + "\nf 1 2 0\n", "line " + std::to_string(rows * rows + faces + 2) + ": vertex index 0 out of range");
}
