// The pixels of a PNG picture that the host wrote, read back with cairo, so end-to-end tests can
// check colours where the picture is stated to have them.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <string>
#include <vector>

struct Rgb
{
	double r = 0.0, g = 0.0, b = 0.0;
};

class PngPixels
{
public:
	// Empty (Width 0) when the file cannot be read as PNG.
	explicit PngPixels(const std::string& path)
	{
		cairo_surface_t* s = cairo_image_surface_create_from_png(path.c_str());
		if (cairo_surface_status(s) == CAIRO_STATUS_SUCCESS && cairo_image_surface_get_format(s) != CAIRO_FORMAT_INVALID)
		{
			cairo_surface_flush(s);
			_width = cairo_image_surface_get_width(s);
			_height = cairo_image_surface_get_height(s);
			const int stride = cairo_image_surface_get_stride(s);
			const unsigned char* data = cairo_image_surface_get_data(s);
			const cairo_format_t format = cairo_image_surface_get_format(s);
			_pixels.resize(static_cast<size_t>(_width) * static_cast<size_t>(_height));
			for (int y = 0; y < _height; ++y)
				for (int x = 0; x < _width; ++x)
				{
					std::uint32_t v = 0;
					if (format == CAIRO_FORMAT_ARGB32 || format == CAIRO_FORMAT_RGB24)
						v = reinterpret_cast<const std::uint32_t*>(data + static_cast<size_t>(y) * static_cast<size_t>(stride))[x];
					_pixels[static_cast<size_t>(y) * static_cast<size_t>(_width) + static_cast<size_t>(x)] = v;
				}
		}
		cairo_surface_destroy(s);
	}

	int Width() const { return _width; }
	int Height() const { return _height; }

	// RGB in 0 ... 1 of pixel (x, y); black outside the picture.
	Rgb At(int x, int y) const
	{
		if (x < 0 || y < 0 || x >= _width || y >= _height)
			return Rgb();
		const std::uint32_t v = _pixels[static_cast<size_t>(y) * static_cast<size_t>(_width) + static_cast<size_t>(x)];
		return Rgb{((v >> 16) & 0xff) / 255.0, ((v >> 8) & 0xff) / 255.0, (v & 0xff) / 255.0};
	}

	// Whether some pixel of the rectangle (corners included) is within tolerance of colour in
	// every channel.
	bool Shows(int x0, int y0, int x1, int y1, const Rgb& colour, double tolerance = 0.12) const
	{
		for (int y = y0; y <= y1; ++y)
			for (int x = x0; x <= x1; ++x)
				if (Near(At(x, y), colour, tolerance))
					return true;
		return false;
	}

	static bool Near(const Rgb& a, const Rgb& b, double tolerance = 0.12)
	{
		auto close = [tolerance](double p, double q) { return p - q <= tolerance && q - p <= tolerance; };
		return close(a.r, b.r) && close(a.g, b.g) && close(a.b, b.b);
	}

private:
	int _width = 0;
	int _height = 0;
	std::vector<std::uint32_t> _pixels; // cairo's native-endian 0xAARRGGBB
};
