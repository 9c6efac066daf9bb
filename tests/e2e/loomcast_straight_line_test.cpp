// Straight-line strokes drawn with the mouse, through session scripts with the built Loomcast
// plug-in loaded in this process: where a line's end lands when its direction snaps to angle
// steps, and when it is drawn on surfaces and keeps its start's height over the work plane.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "hostapi/api.h"
#include "in_process_session.h"

namespace
{

constexpr double kDegrees = 180.0 / PI;

// "(x;y;z)" as the tool prints positions (three decimals).
Vector ReadPoint(const std::string& text)
{
	std::string t = text;
	for (char& c : t)
		if (c == '(' || c == ')' || c == ';')
			c = ' ';
	std::istringstream in(t);
	Vector v;
	in >> v.x >> v.y >> v.z;
	return v;
}

// The positions of every print-strokes line "stroke i points n: ..." of the output, in order.
std::vector<std::vector<Vector>> Strokes(const std::string& output)
{
	std::vector<std::vector<Vector>> strokes;
	std::istringstream in(output);
	std::string line;
	while (std::getline(in, line))
	{
		if (line.rfind("stroke ", 0) != 0)
			continue;
		strokes.emplace_back();
		size_t at = line.find('(');
		while (at != std::string::npos)
		{
			const size_t end = line.find(')', at);
			strokes.back().push_back(ReadPoint(line.substr(at, end - at + 1)));
			at = line.find('(', end);
		}
	}
	return strokes;
}

// The cursor position print-cursor showed.
Vector CursorOf(const std::string& output)
{
	const size_t at = output.find("cursor (");
	return at == std::string::npos ? Vector(NAN, NAN, NAN) : ReadPoint(output.substr(at + 7, output.find(')', at) - at - 6));
}

void ExpectNearV(const Vector& got, const Vector& want, double tol, const std::string& what)
{
	EXPECT_NEAR(got.x, want.x, tol) << what;
	EXPECT_NEAR(got.y, want.y, tol) << what;
	EXPECT_NEAR(got.z, want.z, tol) << what;
}

class LoomStraightLine : public InProcessSession
{
protected:
	void SetUp() override { Start("new-document\nactivate-tool 1027250\nset-tool-setting LOOM_STROKE_STYLE LOOM_STYLE_LINE\n"); }


	// Draws one line along the path and answers its two points (then forgets it).
	std::vector<Vector> Line(const std::string& path)
	{
		EXPECT_EQ(Run("drag left " + path + "\nprint-strokes\nprint-cursor\npress-key escape\n"), 0) << out;
		const std::vector<std::vector<Vector>> strokes = Strokes(out);
		cursor = CursorOf(out);
		EXPECT_EQ(strokes.size(), 1u) << out;
		if (strokes.size() != 1 || strokes[0].size() != 2)
		{
			ADD_FAILURE() << out;
			return {Vector(), Vector()};
		}
		return strokes[0];
	}

	Vector cursor; // where the cursor stood when the last line ended
};

TEST_F(LoomStraightLine, ASnappedEndLiesOnAStepOfTheViewFrameAtTheDraggedLength)
{
	BaseDocument* doc = GetActiveDocument();
	BaseDraw* bd = doc->GetActiveBaseDraw();
	ASSERT_NE(bd, nullptr);
	// Without a surface the lines snap in the camera's frame turned up about its X axis: its x-z
	// plane is the view plane.
	const Matrix frame = bd->GetSceneCamera(doc)->GetMg() * MatrixRotX(PI / 2.0);
	const Matrix toFrame = InvertMatrix(frame);
	const char* paths[] = {"300 240  350 200  385 185", "300 240  250 300  230 330", "300 240  330 150  332 120", "300 240  200 240  180 236"};
	for (const char* path : paths)
	{
		ASSERT_EQ(Run("set-tool-setting LOOM_ANGLE_SNAP off\n"), 0) << out;
		const std::vector<Vector> free = Line(path);
		ASSERT_EQ(Run("set-tool-setting LOOM_ANGLE_SNAP on\nset-tool-setting LOOM_ANGLE_STEP 15\n"), 0) << out;
		const std::vector<Vector> snapped = Line(path);
		ExpectNearV(snapped[0], free[0], 1e-3, path);
		const Vector d = toFrame * free[1] - toFrame * free[0];
		const Vector s = toFrame * snapped[1] - toFrame * snapped[0];
		// The length is kept and the rise over the frame's x-z plane dropped.
		EXPECT_NEAR(s.GetLength(), d.GetLength(), 2e-3) << path;
		EXPECT_NEAR(s.y, 0.0, 2e-3) << path;
		// The direction is the 15-degree step nearest the dragged one.
		const double angle = std::atan2(s.z, s.x) * kDegrees;
		const double steps = angle / 15.0;
		EXPECT_NEAR(steps, std::round(steps), 1e-3) << path << ": " << angle;
		double off = angle - std::atan2(d.z, d.x) * kDegrees;
		off -= 360.0 * std::round(off / 360.0);
		EXPECT_LE(std::abs(off), 7.5 + 1e-3) << path << ": " << angle;
	}
}

TEST_F(LoomStraightLine, OnSurfacesTheEndKeepsTheStartsHeightOverTheWorkPlane)
{
	// A box standing on the floor: the line starts on the floor and ends on the box's front, higher
	// up; the end is put back to the start's height, over the cursor's place on the plane.
	ASSERT_EQ(Run("add-object cube Box 200\nset-position Box 0 100 0\nset-tool-setting LOOM_ON_SURFACE on\n"), 0) << out;
	BaseDocument* doc = GetActiveDocument();
	BaseObject* plane = GetWorkplaneObject(doc);
	ASSERT_NE(plane, nullptr);
	Matrix tilted = MatrixRotX(0.3) * MatrixRotZ(-0.2);
	tilted.off = Vector(30, -20, 50);
	for (const Matrix& k : {Matrix(), tilted})
	{
		plane->SetMg(k);
		const Matrix toPlane = InvertMatrix(k);
		const std::vector<Vector> line = Line("320 420  320 330  320 250");
		const Vector start = toPlane * line[0], end = toPlane * line[1], at = toPlane * cursor;
		// The cursor rose with the box; the end did not.
		EXPECT_GT(at.y - start.y, 20.0) << out;
		EXPECT_NEAR(end.y, start.y, 2e-3) << out;
		EXPECT_NEAR(end.x, at.x, 2e-3) << out;
		EXPECT_NEAR(end.z, at.z, 2e-3) << out;
	}
	// Off the surface the end is where the cursor is.
	ASSERT_EQ(Run("set-tool-setting LOOM_ON_SURFACE off\n"), 0) << out;
	const std::vector<Vector> line = Line("320 420  320 330  320 250");
	ExpectNearV(line[1], cursor, 2e-3, out);
}

} // namespace
