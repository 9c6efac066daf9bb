#include "TagListArea.h"

#include "hostapi/document.h"

TagListArea::~TagListArea()
{
	Clear();
}

void TagListArea::Clear()
{
	for (BaseLink*& link : _links)
		BaseLink::Free(link);
	_links.clear();
}

void TagListArea::SetTags(const std::vector<BaseTag*>& tags)
{
	Clear();
	for (BaseTag* tag : tags)
	{
		BaseLink* link = BaseLink::Alloc();
		if (!link)
			break;
		link->SetLink(tag);
		_links.push_back(link);
	}
}

std::vector<BaseTag*> TagListArea::Tags() const
{
	std::vector<BaseTag*> out;
	BaseDocument* doc = GetActiveDocument();
	for (BaseLink* link : _links)
		if (BaseList2D* e = doc ? link->GetLink(doc) : nullptr)
			out.push_back(static_cast<BaseTag*>(e));
	return out;
}

bool TagListArea::GetMinSize(Int32& w, Int32& h)
{
	w = 200;
	h = 24;
	return true;
}

void TagListArea::DrawMsg(Int32 x1, Int32 y1, Int32 x2, Int32 y2, const BaseContainer& msg)
{
	const Int32 reason = msg.GetInt32(BFM_DRAW_REASON);
	if (reason == BFM_GOTFOCUS || reason == BFM_LOSTFOCUS)
		return;
	OffScreenOn();
	SetClippingRegion(x1, y1, x2 - x1, y2 - y1);
	_width = x2 - x1;
	_height = y2 - y1;
	DrawSetPen(COLOR_BG);
	DrawRectangle(x1, y1, x2, y2);
	const std::vector<BaseTag*> tags = Tags();
	for (size_t i = 0; i < tags.size(); ++i)
	{
		BaseList2D* shown = tags[i];
		if (tags[i]->IsInstanceOf(Ttexture))
			if (BaseMaterial* mat = static_cast<TextureTag*>(tags[i])->GetMaterial())
				shown = mat;
		IconData icon;
		if (GetIcon(shown, &icon) && icon.bmp)
			DrawBitmap(icon.bmp, ICON_PITCH * static_cast<Int32>(i), 0, 24, 24, icon.x, icon.y, icon.w, icon.h, BMP_ALLOWALPHA);
	}
}
