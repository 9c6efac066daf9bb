// The host's icons of scene elements: one 32 x 32 picture per kind (object types, materials, tags,
// layers), drawn by the host itself in a colour of its kind, and the icons plug-ins registered for
// their tags. Icons live as long as the host; GetIcon hands out the same bitmap every time.
#include <map>
#include <mutex>
#include <string>

#include "hostapi/dialog.h"
#include "hostapi/document.h"
#include "hostapi/resource.h"
#include "standin/bitmaps.h"

namespace
{

constexpr int kSide = 32;

struct IconCache
{
	std::mutex mutex;
	std::map<Int32, BaseBitmap*> icons;
};

IconCache& Cache()
{
	static auto* cache = new IconCache;
	return *cache;
}

std::uint32_t Abgr(unsigned r, unsigned g, unsigned b)
{
	return 0xFF000000u | (b << 16) | (g << 8) | r;
}

// A square of the kind's colour with a dark frame; the colour is stable per type.
BaseBitmap* Draw(Int32 type, const char* kind)
{
	const unsigned r = 60 + (static_cast<unsigned>(type) * 37u) % 180u;
	const unsigned g = 60 + (static_cast<unsigned>(type) * 91u) % 180u;
	const unsigned b = 60 + (static_cast<unsigned>(type) * 53u) % 180u;
	std::vector<std::uint32_t> px(kSide * kSide, Abgr(r, g, b));
	for (int i = 0; i < kSide; ++i)
	{
		px[i] = px[(kSide - 1) * kSide + i] = Abgr(r / 3, g / 3, b / 3);
		px[i * kSide] = px[i * kSide + kSide - 1] = Abgr(r / 3, g / 3, b / 3);
	}
	return standin::MakeBitmap(kSide, kSide, std::move(px), std::string("host:") + kind + ":" + std::to_string(type));
}

const char* KindOf(BaseList2D* element)
{
	if (element->IsInstanceOf(Obase))
		return "object";
	if (element->IsInstanceOf(Tbase))
		return "tag";
	if (element->IsInstanceOf(Mbase))
		return "material";
	if (element->GetType() == Olayer)
		return "layer";
	return nullptr;
}

} // namespace

bool GetIcon(BaseList2D* element, IconData* icon)
{
	if (!element || !icon)
		return false;
	const char* kind = KindOf(element);
	if (!kind)
		return false;
	const Int32 type = element->GetType();
	IconCache& cache = Cache();
	std::lock_guard<std::mutex> lock(cache.mutex);
	BaseBitmap*& bmp = cache.icons[type];
	if (!bmp)
		bmp = Draw(type, kind);
	if (!bmp)
		return false;
	icon->bmp = bmp;
	icon->x = 0;
	icon->y = 0;
	icon->w = bmp->GetBw();
	icon->h = bmp->GetBh();
	// The host's icons carry alpha.
	icon->flags = 2;
	return true;
}
