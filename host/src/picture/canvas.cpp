#include "picture/canvas.h"

#include <cairo.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>

#include "file/atomic_write.h"

namespace standin::picture
{

struct Canvas::Impl
{
	cairo_surface_t* surface = nullptr;
	cairo_t* cr = nullptr;
};

namespace
{
double Channel(Float v)
{
	return std::isfinite(v) ? std::clamp(v, 0.0, 1.0) : 0.0;
}

void UseColour(cairo_t* cr, const Vector& c)
{
	cairo_set_source_rgb(cr, Channel(c.x), Channel(c.y), Channel(c.z));
}

// Coordinates far beyond the picture are pulled in: the library's fixed-point arithmetic must not
// overflow, and what lies there is not seen anyway.
double Coord(Float v)
{
	constexpr double kReach = 1.0e6;
	return std::isfinite(v) ? std::clamp(v, -kReach, kReach) : 0.0;
}

// Pixel (x, y) is centred on (x, y): the library's pixel x covers x ... x + 1.
double Px(Float v)
{
	return Coord(v) + 0.5;
}

bool Finite(Float v)
{
	return std::isfinite(v);
}

// The font caches the library fills on first use are given back when the process ends, so a
// leak check at exit sees only what the host itself forgot.
void ReleaseFontCaches()
{
	cairo_debug_reset_static_data();
	FcFini();
}

void ReleaseFontCachesAtExit()
{
	static const bool registered = std::atexit(ReleaseFontCaches) == 0;
	(void)registered;
}
} // namespace

Canvas::Canvas(Int32 width, Int32 height, const Vector& background)
{
	if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide)
		return;
	ReleaseFontCachesAtExit();
	cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
	if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS)
	{
		cairo_surface_destroy(surface);
		return;
	}
	cairo_t* cr = cairo_create(surface);
	if (cairo_status(cr) != CAIRO_STATUS_SUCCESS)
	{
		cairo_destroy(cr);
		cairo_surface_destroy(surface);
		return;
	}
	auto* impl = new (std::nothrow) Impl;
	if (!impl)
	{
		cairo_destroy(cr);
		cairo_surface_destroy(surface);
		return;
	}
	impl->surface = surface;
	impl->cr = cr;
	_impl = impl;
	_width = width;
	_height = height;
	cairo_set_antialias(cr, CAIRO_ANTIALIAS_BEST);
	cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
	cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
	cairo_select_font_face(cr, "DejaVu Sans Mono", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
	UseColour(cr, background);
	cairo_paint(cr);
}

Canvas::~Canvas()
{
	if (!_impl)
		return;
	cairo_destroy(_impl->cr);
	cairo_surface_destroy(_impl->surface);
	delete _impl;
}

void Canvas::Line(Point2 a, Point2 b, const Vector& colour, Float width)
{
	if (!_impl || !Finite(a.x) || !Finite(a.y) || !Finite(b.x) || !Finite(b.y))
		return;
	cairo_t* cr = _impl->cr;
	UseColour(cr, colour);
	cairo_set_line_width(cr, std::clamp(width, 0.1, 64.0));
	cairo_move_to(cr, Px(a.x), Px(a.y));
	cairo_line_to(cr, Px(b.x), Px(b.y));
	cairo_stroke(cr);
}

void Canvas::Circle(Point2 centre, Float radius, const Vector& colour, Float width)
{
	if (!_impl || !Finite(centre.x) || !Finite(centre.y) || !Finite(radius) || radius <= 0.0)
		return;
	cairo_t* cr = _impl->cr;
	UseColour(cr, colour);
	cairo_set_line_width(cr, std::clamp(width, 0.1, 64.0));
	cairo_new_sub_path(cr);
	cairo_arc(cr, Px(centre.x), Px(centre.y), std::min(radius, 1.0e6), 0.0, 2.0 * M_PI);
	cairo_stroke(cr);
}

void Canvas::Polygon(const std::vector<Point2>& points, const Vector& fill, const Vector& outlineColour, Float outlineWidth, Float fillOpacity)
{
	if (!_impl || points.size() < 3)
		return;
	for (const Point2& p : points)
		if (!Finite(p.x) || !Finite(p.y))
			return;
	cairo_t* cr = _impl->cr;
	cairo_move_to(cr, Px(points[0].x), Px(points[0].y));
	for (size_t i = 1; i < points.size(); ++i)
		cairo_line_to(cr, Px(points[i].x), Px(points[i].y));
	cairo_close_path(cr);
	cairo_set_source_rgba(cr, Channel(fill.x), Channel(fill.y), Channel(fill.z), Channel(fillOpacity));
	if (outlineWidth > 0.0)
	{
		cairo_fill_preserve(cr);
		UseColour(cr, outlineColour);
		cairo_set_line_width(cr, std::clamp(outlineWidth, 0.1, 64.0));
		cairo_stroke(cr);
	}
	else
		cairo_fill(cr);
}

void Canvas::Rectangle(Float x0, Float y0, Float x1, Float y1, const Vector& colour, Float fillOpacity)
{
	if (!_impl || !Finite(x0) || !Finite(y0) || !Finite(x1) || !Finite(y1))
		return;
	cairo_t* cr = _impl->cr;
	cairo_set_source_rgba(cr, Channel(colour.x), Channel(colour.y), Channel(colour.z), Channel(fillOpacity));
	cairo_rectangle(cr, Coord(x0), Coord(y0), Coord(x1) - Coord(x0), Coord(y1) - Coord(y0));
	cairo_fill(cr);
}

namespace
{
std::string Shown(const std::string& text)
{
	std::string shown = text.substr(0, 4096);
	for (char& c : shown)
		if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) > 0x7e)
			c = '?';
	return shown;
}
} // namespace

Float Canvas::TextWidth(const std::string& text, Float size) const
{
	if (!_impl || text.empty())
		return 0.0;
	cairo_t* cr = _impl->cr;
	cairo_set_font_size(cr, std::clamp(size, 4.0, 256.0));
	cairo_text_extents_t ext;
	const std::string shown = Shown(text);
	cairo_text_extents(cr, shown.c_str(), &ext);
	return ext.x_advance;
}

void Canvas::Square(Point2 centre, Float side, const Vector& colour)
{
	if (!_impl || !Finite(centre.x) || !Finite(centre.y) || !Finite(side) || side <= 0.0)
		return;
	cairo_t* cr = _impl->cr;
	UseColour(cr, colour);
	const double s = std::min(side, 1024.0);
	cairo_rectangle(cr, Px(centre.x) - s / 2.0, Px(centre.y) - s / 2.0, s, s);
	cairo_fill(cr);
}

void Canvas::Text(Point2 at, const std::string& text, const Vector& colour, Float size)
{
	if (!_impl || !Finite(at.x) || !Finite(at.y) || text.empty())
		return;
	const std::string shown = Shown(text);
	cairo_t* cr = _impl->cr;
	UseColour(cr, colour);
	cairo_set_font_size(cr, std::clamp(size, 4.0, 256.0));
	cairo_move_to(cr, Px(at.x), Px(at.y));
	cairo_show_text(cr, shown.c_str());
	cairo_new_path(cr);
}

void Canvas::Blend(Int32 left, Int32 top, Int32 width, Int32 height, const std::vector<float>& premultipliedRgb, const std::vector<float>& coverage)
{
	if (!_impl || left < 0 || top < 0 || width < 0 || height < 0 || left > _width - width || top > _height - height)
		return;
	const size_t n = static_cast<size_t>(width) * static_cast<size_t>(height);
	if (coverage.size() != n || premultipliedRgb.size() != 3 * n)
		return;
	cairo_surface_flush(_impl->surface);
	unsigned char* data = cairo_image_surface_get_data(_impl->surface);
	const int stride = cairo_image_surface_get_stride(_impl->surface);
	auto mix = [](uint32_t under, float over, float keep) {
		const float v = static_cast<float>(under) * keep + std::clamp(over, 0.0f, 1.0f) * 255.0f;
		return static_cast<uint32_t>(std::clamp(v + 0.5f, 0.0f, 255.0f));
	};
	for (Int32 y = 0; y < height; ++y)
		for (Int32 x = 0; x < width; ++x)
		{
			const size_t i = static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x);
			const float cover = std::clamp(coverage[i], 0.0f, 1.0f);
			if (!(cover > 0.0f))
				continue;
			unsigned char* at = data + static_cast<size_t>(top + y) * static_cast<size_t>(stride) + static_cast<size_t>(left + x) * 4u;
			uint32_t px = 0;
			std::memcpy(&px, at, 4);
			const float keep = 1.0f - cover;
			px = (mix((px >> 16) & 0xff, premultipliedRgb[3 * i], keep) << 16) | (mix((px >> 8) & 0xff, premultipliedRgb[3 * i + 1], keep) << 8) |
				 mix(px & 0xff, premultipliedRgb[3 * i + 2], keep);
			std::memcpy(at, &px, 4);
		}
	cairo_surface_mark_dirty(_impl->surface);
}

Vector Canvas::PixelAt(Int32 x, Int32 y) const
{
	if (!_impl || x < 0 || y < 0 || x >= _width || y >= _height)
		return Vector();
	cairo_surface_flush(_impl->surface);
	const unsigned char* data = cairo_image_surface_get_data(_impl->surface);
	const int stride = cairo_image_surface_get_stride(_impl->surface);
	uint32_t px = 0;
	std::memcpy(&px, data + static_cast<size_t>(y) * static_cast<size_t>(stride) + static_cast<size_t>(x) * 4u, 4);
	return Vector(((px >> 16) & 0xff) / 255.0, ((px >> 8) & 0xff) / 255.0, (px & 0xff) / 255.0);
}

namespace
{
cairo_status_t AppendBytes(void* closure, const unsigned char* data, unsigned int length)
{
	auto* out = static_cast<std::vector<unsigned char>*>(closure);
	try
	{
		out->insert(out->end(), data, data + length);
	}
	catch (...)
	{
		return CAIRO_STATUS_NO_MEMORY;
	}
	return CAIRO_STATUS_SUCCESS;
}
} // namespace

bool Canvas::EncodePng(std::vector<unsigned char>* bytes) const
{
	if (!_impl || !bytes)
		return false;
	bytes->clear();
	cairo_surface_flush(_impl->surface);
	return cairo_surface_write_to_png_stream(_impl->surface, AppendBytes, bytes) == CAIRO_STATUS_SUCCESS;
}

bool Canvas::WritePng(const std::string& path, std::string* error) const
{
	std::vector<unsigned char> bytes;
	if (!EncodePng(&bytes))
	{
		if (error)
			*error = "the picture could not be encoded";
		return false;
	}
	return file::WriteFileAtomically(path, bytes.data(), bytes.size(), error);
}

} // namespace standin::picture
