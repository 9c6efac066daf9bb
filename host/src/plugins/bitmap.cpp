// BaseBitmap: pictures (plug-in icons) read with libtiff. The whole picture is decoded, so a file
// whose header looks right but whose pixels are damaged is refused as well; the refusal says why
// on the console. Icons are small: files and pictures far beyond an icon's size are refused
// before libtiff allocates anything for them.
#include <tiffio.h>

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdint>
#include <filesystem>
#include <new>
#include <string>
#include <vector>

#include "hostapi/resource.h"
#include "standin/bitmaps.h"
#include "standin/console.h"
#include "standin/printable.h"

namespace
{

constexpr std::uint32_t kMaxSide = 1u << 16;
// 4 Mi pixels (16 MiB decoded): far more than any icon, far less than a hostile header may claim.
constexpr std::uint64_t kMaxPixels = 1u << 22;
constexpr std::uintmax_t kMaxFileBytes = 64u << 20;
// What libtiff may allocate at once while reading one directory or strip.
constexpr tmsize_t kMaxLibraryAlloc = 32 << 20;

struct BitmapData final : BaseBitmap
{
	Int32 width = 0;
	Int32 height = 0;
	std::vector<std::uint32_t> pixels; // ABGR as libtiff packs them, top row first
	std::string source;                // the file it was read from
};

BitmapData* Data(BaseBitmap* b) { return static_cast<BitmapData*>(b); }
const BitmapData* Data(const BaseBitmap* b) { return static_cast<const BitmapData*>(b); }

// libtiff's messages for one file, kept instead of printed: the first error is the reason.
int KeepFirstError(TIFF*, void* user, const char*, const char* format, va_list args)
{
	auto* reason = static_cast<std::string*>(user);
	if (reason->empty())
	{
		char text[512];
		std::vsnprintf(text, sizeof text, format, args);
		*reason = text;
	}
	return 1; // handled: nothing goes to standard error
}

int IgnoreWarning(TIFF*, void*, const char*, const char*, va_list)
{
	return 1;
}

class TiffFile
{
public:
	TiffFile(const std::string& path, std::string* reason)
	{
		TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
		if (!options)
			return;
		TIFFOpenOptionsSetMaxSingleMemAlloc(options, kMaxLibraryAlloc);
		TIFFOpenOptionsSetErrorHandlerExtR(options, KeepFirstError, reason);
		TIFFOpenOptionsSetWarningHandlerExtR(options, IgnoreWarning, nullptr);
		// 'm': read, never map: a file cut short while it is read must not fault the host.
		_tif = TIFFOpenExt(path.c_str(), "rm", options);
		TIFFOpenOptionsFree(options);
	}
	~TiffFile()
	{
		if (_tif)
			TIFFClose(_tif);
	}
	TiffFile(const TiffFile&) = delete;
	TiffFile& operator=(const TiffFile&) = delete;

	TIFF* Get() const { return _tif; }

private:
	TIFF* _tif = nullptr;
};

// The picture in path, decoded; false with *reason.
bool ReadPicture(const std::string& path, BitmapData* out, std::string* reason)
{
	std::error_code ec;
	if (!std::filesystem::is_regular_file(path, ec))
	{
		*reason = "not a file";
		return false;
	}
	const std::uintmax_t bytes = std::filesystem::file_size(path, ec);
	if (ec || bytes > kMaxFileBytes)
	{
		*reason = ec ? "cannot be read" : "larger than a picture file can be (" + std::to_string(bytes) + " bytes)";
		return false;
	}
	std::string library;
	TiffFile file(path, &library);
	TIFF* tif = file.Get();
	if (!tif)
	{
		*reason = library.empty() ? "not a TIFF file" : "not a TIFF file: " + library;
		return false;
	}
	std::uint32_t w = 0, h = 0;
	if (!TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &w) || !TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &h) || w == 0 || h == 0)
	{
		*reason = "the picture has no size";
		return false;
	}
	if (w > kMaxSide || h > kMaxSide || std::uint64_t(w) * h > kMaxPixels)
	{
		*reason = "the picture is too large (" + std::to_string(w) + " x " + std::to_string(h) + ")";
		return false;
	}
	char message[1024] = {0};
	if (!TIFFRGBAImageOK(tif, message))
	{
		*reason = std::string("unsupported picture: ") + message;
		return false;
	}
	std::vector<std::uint32_t> pixels;
	try
	{
		pixels.resize(std::size_t(w) * h);
	}
	catch (const std::bad_alloc&)
	{
		*reason = "out of memory";
		return false;
	}
	if (!TIFFReadRGBAImageOriented(tif, w, h, pixels.data(), ORIENTATION_TOPLEFT, 1) || !library.empty())
	{
		*reason = library.empty() ? "the pixels cannot be read" : "the pixels cannot be read: " + library;
		return false;
	}
	out->width = static_cast<Int32>(w);
	out->height = static_cast<Int32>(h);
	out->pixels = std::move(pixels);
	return true;
}

} // namespace

BaseBitmap* BaseBitmap::Alloc()
{
	return new (std::nothrow) BitmapData;
}

void BaseBitmap::Free(BaseBitmap*& bmp)
{
	delete Data(bmp);
	bmp = nullptr;
}

bool BaseBitmap::Init(const Filename& name, Float scale)
{
	BitmapData* d = Data(this);
	d->width = d->height = 0;
	d->pixels.clear();
	d->source.clear();
	const std::string path = name.GetString().Get();
	std::string reason;
	if (!std::isfinite(scale) || scale <= 0.0)
		reason = "the scale is not a positive number";
	else if (ReadPicture(path, d, &reason))
	{
		d->source = path;
		return true;
	}
	GePrint(String("Bitmap " + standin::Printable(path, 256) + " not loaded: " + standin::Printable(reason, 256)));
	return false;
}

Int32 BaseBitmap::GetBw() const
{
	return Data(this)->width;
}

Int32 BaseBitmap::GetBh() const
{
	return Data(this)->height;
}

namespace standin
{

std::string BitmapSource(const BaseBitmap* bmp)
{
	return bmp ? Data(bmp)->source : std::string();
}

const std::vector<std::uint32_t>* BitmapPixels(const BaseBitmap* bmp)
{
	return bmp ? &Data(bmp)->pixels : nullptr;
}

} // namespace standin

namespace standin
{

BaseBitmap* MakeBitmap(int width, int height, std::vector<std::uint32_t> pixels, std::string source)
{
	if (width <= 0 || height <= 0 || static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) > kMaxPixels ||
		pixels.size() != static_cast<size_t>(width) * static_cast<size_t>(height))
		return nullptr;
	BitmapData* d = new (std::nothrow) BitmapData;
	if (!d)
		return nullptr;
	d->width = width;
	d->height = height;
	d->pixels = std::move(pixels);
	d->source = std::move(source);
	return d;
}

} // namespace standin
