#include "picture/depth_raster.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace standin::picture
{

namespace
{
// Pictures larger than this many pixels take one sample per pixel, so the buffers stay within
// some hundreds of megabytes even at the canvas's largest size.
constexpr std::int64_t kSupersampledPixels = 4096LL * 4096LL;
// A border line shows through its own face's depth up to this share of the depth.
constexpr Float kEdgeSlack = 1.0e-3;
// Coordinates beyond this many samples off the picture are pulled in; what lies there is not seen.
constexpr Float kReach = 1.0e6;

std::uint8_t Byte(Float v)
{
	if (!std::isfinite(v))
		return 0;
	return static_cast<std::uint8_t>(std::lround(std::clamp(v, 0.0, 1.0) * 255.0));
}

Float Clamp(Float v)
{
	return std::clamp(v, -kReach, kReach);
}
} // namespace

DepthRaster::DepthRaster(Int32 width, Int32 height, bool perspective)
	: _width(std::max<Int32>(width, 0)), _height(std::max<Int32>(height, 0)), _perspective(perspective)
{
	if (static_cast<std::int64_t>(_width) * _height > kSupersampledPixels)
		_samples = 1;
	_sw = _width * _samples;
	_sh = _height * _samples;
	const size_t n = static_cast<size_t>(_sw) * static_cast<size_t>(_sh);
	_key.assign(n, std::numeric_limits<float>::infinity());
	_x0 = _sw;
	_y0 = _sh;
	_x1 = -1;
	_y1 = -1;
	_rgb.assign(3 * n, 0);
}

bool DepthRaster::Seen(Float depth) const
{
	return std::isfinite(depth) && (_perspective ? depth > 0.0 : depth >= 0.0);
}

// Sample (i, j) is centred on picture point ((i + 0.5) / s - 0.5, (j + 0.5) / s - 0.5).
DepthRaster::Corner DepthRaster::ToSamples(Point2 p, Float depth) const
{
	const Float s = _samples;
	const Float key = _perspective ? -1.0 / depth : depth;
	return Corner{Clamp((p.x + 0.5) * s - 0.5), Clamp((p.y + 0.5) * s - 0.5), key};
}

void DepthRaster::Plot(Int32 x, Int32 y, Float key, const std::uint8_t* rgb, bool border)
{
	if (x < 0 || y < 0 || x >= _sw || y >= _sh)
		return;
	const size_t i = static_cast<size_t>(y) * static_cast<size_t>(_sw) + static_cast<size_t>(x);
	const float k = static_cast<float>(key);
	float& stored = _key[i];
	if (border && !std::isinf(stored))
	{
		// A border keeps its face's depth; it only has to be no farther than the face it lies on.
		if (!(k <= stored + static_cast<float>(kEdgeSlack) * std::abs(stored)))
			return;
	}
	else
	{
		if (!(k < stored))
			return;
		stored = k;
	}
	_x0 = std::min(_x0, x);
	_x1 = std::max(_x1, x);
	_y0 = std::min(_y0, y);
	_y1 = std::max(_y1, y);
	_rgb[3 * i] = rgb[0];
	_rgb[3 * i + 1] = rgb[1];
	_rgb[3 * i + 2] = rgb[2];
}

void DepthRaster::Triangle(const Corner& a, const Corner& b, const Corner& c, const std::uint8_t* rgb)
{
	const Float area = (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
	if (!(std::abs(area) > 1.0e-12))
		return;
	const Int32 x0 = static_cast<Int32>(std::max(0.0, std::ceil(std::min({a.x, b.x, c.x}))));
	const Int32 x1 = static_cast<Int32>(std::min<Float>(_sw - 1, std::floor(std::max({a.x, b.x, c.x}))));
	const Int32 y0 = static_cast<Int32>(std::max(0.0, std::ceil(std::min({a.y, b.y, c.y}))));
	const Int32 y1 = static_cast<Int32>(std::min<Float>(_sh - 1, std::floor(std::max({a.y, b.y, c.y}))));
	const Float inv = 1.0 / area;
	for (Int32 y = y0; y <= y1; ++y)
		for (Int32 x = x0; x <= x1; ++x)
		{
			// Weights of the corners at the sample; all of one sign inside the triangle.
			const Float wa = ((b.x - x) * (c.y - y) - (b.y - y) * (c.x - x)) * inv;
			const Float wb = ((c.x - x) * (a.y - y) - (c.y - y) * (a.x - x)) * inv;
			const Float wc = 1.0 - wa - wb;
			if (wa < 0.0 || wb < 0.0 || wc < 0.0)
				continue;
			Plot(x, y, wa * a.key + wb * b.key + wc * c.key, rgb, false);
		}
}

void DepthRaster::Face(const Point2* corners, const Float* depths, Int32 count, const Vector& colour)
{
	if (!corners || !depths || count < 3 || count > 4 || _key.empty())
		return;
	Corner c[4];
	for (Int32 i = 0; i < count; ++i)
	{
		if (!std::isfinite(corners[i].x) || !std::isfinite(corners[i].y) || !Seen(depths[i]))
			return;
		c[i] = ToSamples(corners[i], depths[i]);
	}
	const std::uint8_t rgb[3] = {Byte(colour.x), Byte(colour.y), Byte(colour.z)};
	Triangle(c[0], c[1], c[2], rgb);
	if (count == 4)
		Triangle(c[0], c[2], c[3], rgb);
}

void DepthRaster::Edge(Point2 a, Float depthA, Point2 b, Float depthB, const Vector& colour)
{
	if (_key.empty() || !std::isfinite(a.x) || !std::isfinite(a.y) || !std::isfinite(b.x) || !std::isfinite(b.y) || !Seen(depthA) ||
		!Seen(depthB))
		return;
	Corner p = ToSamples(a, depthA), q = ToSamples(b, depthB);
	// Only the part over the picture is stepped along (Liang-Barsky).
	Float t0 = 0.0, t1 = 1.0;
	const Float dx = q.x - p.x, dy = q.y - p.y;
	auto clip = [&](Float num, Float den) {
		if (den == 0.0)
			return num >= 0.0;
		const Float t = num / den;
		if (den > 0.0)
			t1 = std::min(t1, t);
		else
			t0 = std::max(t0, t);
		return t0 <= t1;
	};
	if (!clip(p.x + 1.0, -dx) || !clip(_sw - p.x, dx) || !clip(p.y + 1.0, -dy) || !clip(_sh - p.y, dy))
		return;
	const Float length = std::max(std::abs(dx), std::abs(dy)) * (t1 - t0);
	const Int32 steps = static_cast<Int32>(std::ceil(length)) + 1;
	const std::uint8_t rgb[3] = {Byte(colour.x), Byte(colour.y), Byte(colour.z)};
	const bool steep = std::abs(dy) > std::abs(dx);
	for (Int32 i = 0; i <= steps; ++i)
	{
		const Float t = t0 + (t1 - t0) * (steps > 0 ? Float(i) / steps : 0.0);
		const Float x = p.x + dx * t, y = p.y + dy * t, key = p.key + (q.key - p.key) * t;
		// As wide as one pixel: `_samples` samples across the line, centred on it.
		const Float half = (_samples - 1) / 2.0;
		const Int32 xi = static_cast<Int32>(std::lround(steep ? x - half : x)), yi = static_cast<Int32>(std::lround(steep ? y : y - half));
		for (Int32 w = 0; w < _samples; ++w)
			Plot(steep ? xi + w : xi, steep ? yi : yi + w, key, rgb, true);
	}
}

void DepthRaster::PaintOnto(Canvas& canvas) const
{
	if (canvas.Width() != _width || canvas.Height() != _height || _x0 > _x1)
		return;
	// Only the pixels whose samples were drawn on are laid over the canvas.
	const Int32 left = _x0 / _samples, top = _y0 / _samples;
	const Int32 width = _x1 / _samples - left + 1, height = _y1 / _samples - top + 1;
	const float share = 1.0f / static_cast<float>(_samples * _samples);
	std::vector<float> rgb(3 * static_cast<size_t>(width) * static_cast<size_t>(height), 0.0f);
	std::vector<float> cover(static_cast<size_t>(width) * static_cast<size_t>(height), 0.0f);
	for (Int32 y = top * _samples; y < (top + height) * _samples; ++y)
	{
		const size_t row = static_cast<size_t>(y) * static_cast<size_t>(_sw);
		const size_t out = static_cast<size_t>(y / _samples - top) * static_cast<size_t>(width);
		for (Int32 x = left * _samples; x < (left + width) * _samples; ++x)
		{
			const size_t i = row + static_cast<size_t>(x);
			if (std::isinf(_key[i]))
				continue;
			const size_t p = out + static_cast<size_t>(x / _samples - left);
			rgb[3 * p] += _rgb[3 * i] * (share / 255.0f);
			rgb[3 * p + 1] += _rgb[3 * i + 1] * (share / 255.0f);
			rgb[3 * p + 2] += _rgb[3 * i + 2] * (share / 255.0f);
			cover[p] += share;
		}
	}
	canvas.Blend(left, top, width, height, rgb, cover);
}

} // namespace standin::picture
