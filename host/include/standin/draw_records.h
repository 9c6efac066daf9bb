// What one draw pass of a view drew: an ordered list of typed records, one record type per drawing
// call. The printed draw log and the view's picture both read this list, so they always agree.
// A record holds copies of everything it draws (points, polygons, texts): an object drawn in a pass
// may be freed before the picture is made.
#pragma once

#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "hostapi/objects.h"
#include "hostapi/vector.h"

namespace standin
{

// SetPen: the colour of the calls that follow.
struct PenRecord
{
	Vector colour;
};

// SetMatrix_Matrix: 3D points of the calls that follow are mapped by the matrix. A pass sets it
// once or twice among tens of thousands of records, so it is held through a shared copy: the
// matrix would otherwise make every record of the list twice as large. May throw bad_alloc.
struct MatrixRecord
{
	explicit MatrixRecord(const Matrix& m) : held(std::make_shared<const Matrix>(m)) {}
	const Matrix& Mg() const { return *held; }

	std::shared_ptr<const Matrix> held; // never null
};

struct LineRecord
{
	Vector a, b; // as given (before the draw matrix)
	Int32 flags = 0;
};

struct HandleRecord
{
	Vector point; // as given (before the draw matrix)
	Int32 kind = 0;
	Int32 flags = 0;
};

struct CircleRecord
{
	Int32 x = 0, y = 0; // centre pixel
	Float radius = 0.0;
};

// DrawHUDText: text whose top-left corner is at pixel (x, y).
struct TextRecord
{
	Int32 x = 0, y = 0;
	std::string text;
};

struct DrawParamRecord
{
	Int32 id = 0;
	std::string value; // as text: 1, 0.5, "text", nil
};

// DrawPolygonObject: the whole object at its global matrix, in one colour.
struct ObjectRecord
{
	std::string name;
	Matrix mg;
	Vector colour;
	Int32 flags = 0;
	std::vector<Vector> points;     // object space
	std::vector<CPolygon> polygons; // indices checked against points when drawn
};

// A whole object is held through a shared, unchangeable copy: the list of a pass stays small per
// record (a redraw on every mouse step makes tens of thousands), and copies of the list share it.
using ObjectDrawing = std::shared_ptr<const ObjectRecord>;

using DrawRecord = std::variant<PenRecord, MatrixRecord, LineRecord, HandleRecord, CircleRecord, TextRecord, DrawParamRecord, ObjectDrawing>;

// One line of text per record, e.g. "line (0;0;0) (1;0;0) flags 0".
std::string DescribeDrawRecord(const DrawRecord& record);

} // namespace standin
