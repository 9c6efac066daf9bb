// A 2D picture to draw on: anti-aliased lines, circles, filled polygons and squares, and text in
// one fixed monospaced font, written out as PNG. The drawing library stays behind this class, so
// callers (view pictures now, dialogs later) never see it.
//
// Coordinates are pixels with (0, 0) the top-left corner of the picture and y growing downwards;
// pixel (x, y) is the unit square centred on (x, y), as in the views. Colours are RGB in 0 ... 1,
// values outside are clamped. Nothing here throws; a canvas that could not be made (IsValid false)
// ignores every drawing call and refuses to be written.
#pragma once

#include <string>
#include <vector>

#include "hostapi/vector.h"

namespace standin::picture
{

struct Point2
{
	Float x = 0.0;
	Float y = 0.0;
};

class Canvas
{
public:
	// Largest side a canvas takes, in pixels.
	static constexpr Int32 kMaxSide = 16384;

	// A picture of width x height pixels filled with background; invalid when a side is not in
	// 1 ... kMaxSide or memory is short.
	Canvas(Int32 width, Int32 height, const Vector& background);
	~Canvas();
	Canvas(const Canvas&) = delete;
	Canvas& operator=(const Canvas&) = delete;

	bool IsValid() const { return _impl != nullptr; }
	Int32 Width() const { return _width; }
	Int32 Height() const { return _height; }

	void Line(Point2 a, Point2 b, const Vector& colour, Float width = 1.0);
	void Circle(Point2 centre, Float radius, const Vector& colour, Float width = 1.0);
	// A filled polygon (fillOpacity 0 ... 1; 0 leaves the inside alone); outline (when
	// outlineWidth > 0) in outlineColour. Fewer than 3 points draw nothing.
	void Polygon(const std::vector<Point2>& points, const Vector& fill, const Vector& outlineColour, Float outlineWidth, Float fillOpacity = 1.0);
	// A filled rectangle from (x0, y0) to (x1, y1) (edges, not pixel centres), fillOpacity 0 ... 1.
	void Rectangle(Float x0, Float y0, Float x1, Float y1, const Vector& colour, Float fillOpacity = 1.0);
	// The width in pixels that Text would take for text at size.
	Float TextWidth(const std::string& text, Float size = 13.0) const;
	// A filled square of side `side` centred on c.
	void Square(Point2 centre, Float side, const Vector& colour);
	// Text whose baseline starts at `at`, in the fixed font at `size` pixels. Bytes that are not
	// printable ASCII are drawn as '?', so any string is safe to draw.
	void Text(Point2 at, const std::string& text, const Vector& colour, Float size = 13.0);

	// Lays an image over the rectangle of width x height pixels whose top-left pixel is (left, top):
	// per pixel, row by row, a colour already multiplied by its coverage (3 values) and the coverage
	// 0 ... 1; the picture shows through the rest. Rectangles not inside the picture, or arrays of
	// another size, are ignored.
	void Blend(Int32 left, Int32 top, Int32 width, Int32 height, const std::vector<float>& premultipliedRgb, const std::vector<float>& coverage);

	// The colour of pixel (x, y) as RGB in 0 ... 1 (after everything drawn so far); black outside.
	Vector PixelAt(Int32 x, Int32 y) const;

	// Writes the picture as PNG to path through the host's file replacement (the old file stays
	// whole when anything fails). False with *error.
	bool WritePng(const std::string& path, std::string* error) const;
	// The PNG bytes of the picture; false when it cannot be encoded.
	bool EncodePng(std::vector<unsigned char>* bytes) const;

private:
	struct Impl;
	Impl* _impl = nullptr;
	Int32 _width = 0;
	Int32 _height = 0;
};

} // namespace standin::picture
