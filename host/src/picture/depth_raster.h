// Filled faces of a view picture, drawn with a depth test: whatever lies nearest the camera at a
// pixel shows there, however the faces are sized or ordered. Sorting whole faces by depth cannot
// get that right when a coarse patch lies just above a dense surface, or a long floor runs under a
// small object; the 2D library has no depth buffer, so this layer keeps one and hands the result
// to the canvas as one image laid over it. Lines, text and handles stay with the canvas.
//
// Each pixel is sampled 2 x 2 times (once for very large pictures), so face borders come out
// smoothed as the canvas's own drawing does.
#pragma once

#include <cstdint>
#include <vector>

#include "picture/canvas.h"

namespace standin::picture
{

class DepthRaster
{
public:
	// A raster over a picture of width x height pixels. `perspective`: depths are distances along
	// the view axis seen through a perspective camera (they then vary as 1/depth across the
	// picture), otherwise they vary linearly.
	DepthRaster(Int32 width, Int32 height, bool perspective);

	// A convex face: corners in picture pixels (pixel (x, y) centred on (x, y)) and their depths
	// (> 0; parallel views also take 0), drawn in colour where nothing nearer was drawn. Degenerate faces draw nothing.
	void Face(const Point2* corners, const Float* depths, Int32 count, const Vector& colour);
	// A line lying on drawn faces (a face's border), shown where no other face covers it.
	void Edge(Point2 a, Float depthA, Point2 b, Float depthB, const Vector& colour);

	// Lays what was drawn over the canvas (which must have the raster's size), each pixel blended
	// by the share of its samples that a face covers.
	void PaintOnto(Canvas& canvas) const;

	Int32 Samples() const { return _samples; }

private:
	struct Corner
	{
		Float x, y, key;
	};
	Corner ToSamples(Point2 p, Float depth) const;
	bool Seen(Float depth) const;
	void Triangle(const Corner& a, const Corner& b, const Corner& c, const std::uint8_t* rgb);
	void Plot(Int32 x, Int32 y, Float key, const std::uint8_t* rgb, bool border);

	Int32 _width = 0, _height = 0;
	Int32 _samples = 2;           // samples along each side of a pixel
	Int32 _sw = 0, _sh = 0;       // sample grid size
	bool _perspective = true;
	Int32 _x0 = 0, _y0 = 0, _x1 = -1, _y1 = -1; // samples drawn lie within these (inclusive; empty while x0 > x1)
	std::vector<float> _key;      // per sample: smaller is nearer; +inf where nothing was drawn
	std::vector<std::uint8_t> _rgb;
};

} // namespace standin::picture
