// BaseBitmap: the host reads only the size of a picture, from the first directory of a baseline
// TIFF file (tags 256 and 257). The reader never trusts an offset or count from the file.
#include <cmath>
#include <cstdint>
#include <fstream>
#include <new>
#include <vector>

#include "hostapi/resource.h"

namespace
{

// Icons are small; a size beyond this is a damaged header, not a picture.
constexpr std::uint32_t kMaxSide = 1u << 16;
constexpr std::uint16_t kMaxEntries = 4096;

struct BitmapData final : BaseBitmap
{
	Int32 width = 0;
	Int32 height = 0;
};

BitmapData* Data(BaseBitmap* b) { return static_cast<BitmapData*>(b); }
const BitmapData* Data(const BaseBitmap* b) { return static_cast<const BitmapData*>(b); }

class TiffReader
{
public:
	explicit TiffReader(std::ifstream& in) : _in(in) {}

	bool ReadAt(std::uint64_t offset, void* dst, size_t n)
	{
		_in.clear();
		_in.seekg(static_cast<std::streamoff>(offset));
		return _in && _in.read(static_cast<char*>(dst), static_cast<std::streamsize>(n)) && _in.gcount() == static_cast<std::streamsize>(n);
	}
	std::uint16_t U16(const unsigned char* p) const { return _little ? std::uint16_t(p[0] | p[1] << 8) : std::uint16_t(p[0] << 8 | p[1]); }
	std::uint32_t U32(const unsigned char* p) const
	{
		return _little ? std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24
					   : std::uint32_t(p[3]) | std::uint32_t(p[2]) << 8 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[0]) << 24;
	}

	bool ReadSize(std::uint32_t* width, std::uint32_t* height)
	{
		unsigned char header[8];
		if (!ReadAt(0, header, sizeof header))
			return false;
		if (header[0] == 'I' && header[1] == 'I')
			_little = true;
		else if (header[0] == 'M' && header[1] == 'M')
			_little = false;
		else
			return false;
		if (U16(header + 2) != 42)
			return false;
		const std::uint32_t ifd = U32(header + 4);
		unsigned char countBytes[2];
		if (ifd < 8 || !ReadAt(ifd, countBytes, 2))
			return false;
		const std::uint16_t count = U16(countBytes);
		if (count == 0 || count > kMaxEntries)
			return false;
		std::vector<unsigned char> entries(size_t(count) * 12);
		if (!ReadAt(std::uint64_t(ifd) + 2, entries.data(), entries.size()))
			return false;
		*width = *height = 0;
		for (std::uint16_t i = 0; i < count; ++i)
		{
			const unsigned char* e = entries.data() + size_t(i) * 12;
			const std::uint16_t tag = U16(e);
			const std::uint16_t type = U16(e + 2);
			const std::uint32_t n = U32(e + 4);
			if ((tag != 256 && tag != 257) || n != 1)
				continue;
			std::uint32_t value = 0;
			if (type == 3)
				value = U16(e + 8);
			else if (type == 4)
				value = U32(e + 8);
			else
				return false;
			(tag == 256 ? *width : *height) = value;
		}
		return *width > 0 && *height > 0 && *width <= kMaxSide && *height <= kMaxSide;
	}

private:
	std::ifstream& _in;
	bool _little = true;
};

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
	if (!std::isfinite(scale) || scale <= 0.0)
		return false;
	std::ifstream in(name.GetString().Get(), std::ios::binary);
	if (!in)
		return false;
	std::uint32_t w = 0, h = 0;
	TiffReader reader(in);
	if (!reader.ReadSize(&w, &h))
		return false;
	d->width = static_cast<Int32>(w);
	d->height = static_cast<Int32>(h);
	return true;
}

Int32 BaseBitmap::GetBw() const
{
	return Data(this)->width;
}

Int32 BaseBitmap::GetBh() const
{
	return Data(this)->height;
}
