// What the host knows of a loaded bitmap beyond the plug-in interface: the file it came from (so
// draw records can name it) and its pixels (so pictures can show it).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class BaseBitmap;

namespace standin
{

// The path the bitmap was read from; empty when it holds no picture.
std::string BitmapSource(const BaseBitmap* bmp);
// ABGR pixels, top row first, GetBw() * GetBh() of them; nullptr for no bitmap.
const std::vector<std::uint32_t>* BitmapPixels(const BaseBitmap* bmp);

} // namespace standin

namespace standin
{

// A bitmap the host draws itself (its own icons): width x height ABGR pixels, named by source.
// nullptr when the sizes do not fit the pixels or memory is short; free it with BaseBitmap::Free.
BaseBitmap* MakeBitmap(int width, int height, std::vector<std::uint32_t> pixels, std::string source);

} // namespace standin
