// User areas: the plug-in draws through these calls, and the host keeps each call as a draw record
// of the area (for the dialog's print and picture). Outside a drawing the calls are dropped.
#include <algorithm>

#include "dialog/dialog_state.h"
#include "standin/bitmaps.h"
#include "hostapi/resource.h"

namespace standin::dialogs
{

namespace
{

std::vector<std::unique_ptr<AreaState>>& Areas()
{
	static auto* areas = new std::vector<std::unique_ptr<AreaState>>;
	return *areas;
}

void Record(const GeUserArea* area, DrawOp op)
{
	AreaState* as = FindArea(area);
	if (!as || !as->target)
		return;
	// A drawing that never ends must not take the host's memory.
	if (as->target->size() >= 100000)
		return;
	as->target->push_back(std::move(op));
}

} // namespace

AreaState* FindArea(const GeUserArea* area)
{
	for (auto& a : Areas())
		if (a->area == area)
			return a.get();
	return nullptr;
}

void DrawUserArea(DialogState& state, Gadget& gadget, std::vector<DrawOp>* ops)
{
	AreaState* as = FindArea(gadget.area);
	if (!as)
		return;
	as->target = ops;
	BaseContainer msg(BFM_DRAW);
	msg.SetInt32(BFM_DRAW_REASON, 0);
	gadget.area->DrawMsg(0, 0, gadget.rect.w, gadget.rect.h, msg);
	as->target = nullptr;
	(void)state;
}

} // namespace standin::dialogs

using namespace standin::dialogs;

GeUserArea::GeUserArea()
{
	auto a = std::make_unique<AreaState>();
	a->area = this;
	Areas().push_back(std::move(a));
}

GeUserArea::~GeUserArea()
{
	auto& areas = Areas();
	areas.erase(std::remove_if(areas.begin(), areas.end(), [this](const auto& a) { return a->area == this; }), areas.end());
	// A dialog still pointing at this area forgets it.
	for (DialogState* state : All())
		for (Gadget& g : state->gadgets)
			if (g.area == this)
				g.area = nullptr;
}

GeDialog* GeUserArea::GetDialog() const
{
	AreaState* as = FindArea(this);
	return as && Find(as->dialog) ? as->dialog : nullptr;
}

void GeUserArea::Redraw()
{
	AreaState* as = FindArea(this);
	if (as)
		if (DialogState* state = Find(as->dialog))
			state->layoutDirty = true;
}

bool GeUserArea::OffScreenOn()
{
	return true;
}

void GeUserArea::SetClippingRegion(Int32 x, Int32 y, Int32 w, Int32 h)
{
	DrawOp op;
	op.kind = DrawOp::Clip;
	op.x1 = x;
	op.y1 = y;
	op.x2 = w;
	op.y2 = h;
	Record(this, std::move(op));
}

void GeUserArea::DrawSetPen(Int32 colorId)
{
	if (AreaState* as = FindArea(this))
		as->pen = colorId;
}

void GeUserArea::DrawSetTextCol(Int32 fg, Int32 bg)
{
	if (AreaState* as = FindArea(this))
	{
		as->textFg = fg;
		as->textBg = bg;
	}
}

void GeUserArea::DrawSetFont(Int32 fontId)
{
	if (AreaState* as = FindArea(this))
		as->font = fontId;
}

void GeUserArea::DrawLine(Int32 x1, Int32 y1, Int32 x2, Int32 y2)
{
	AreaState* as = FindArea(this);
	if (!as)
		return;
	DrawOp op;
	op.kind = DrawOp::Line;
	op.x1 = x1;
	op.y1 = y1;
	op.x2 = x2;
	op.y2 = y2;
	op.colour = as->pen;
	Record(this, std::move(op));
}

void GeUserArea::DrawRectangle(Int32 x1, Int32 y1, Int32 x2, Int32 y2)
{
	AreaState* as = FindArea(this);
	if (!as)
		return;
	DrawOp op;
	op.kind = DrawOp::Rectangle;
	op.x1 = std::min(x1, x2);
	op.y1 = std::min(y1, y2);
	op.x2 = std::abs(x2 - x1) + 1;
	op.y2 = std::abs(y2 - y1) + 1;
	op.colour = as->pen;
	Record(this, std::move(op));
}

void GeUserArea::DrawText(const String& text, Int32 x, Int32 y)
{
	AreaState* as = FindArea(this);
	if (!as)
		return;
	DrawOp op;
	op.kind = DrawOp::Text;
	op.x1 = x;
	op.y1 = y;
	op.colour = as->textFg;
	op.background = as->textBg;
	op.text = text.Get();
	Record(this, std::move(op));
}

void GeUserArea::DrawBitmap(BaseBitmap* bmp, Int32 wx, Int32 wy, Int32 ww, Int32 wh, Int32 x, Int32 y, Int32 w, Int32 h, Int32 mode)
{
	if (!bmp)
		return;
	DrawOp op;
	op.kind = DrawOp::Bitmap;
	op.x1 = wx;
	op.y1 = wy;
	op.x2 = ww;
	op.y2 = wh;
	op.srcX = x;
	op.srcY = y;
	op.srcW = w;
	op.srcH = h;
	op.mode = mode;
	op.text = standin::BitmapSource(bmp);
	op.bitmapW = bmp->GetBw();
	op.bitmapH = bmp->GetBh();
	if (const auto* px = standin::BitmapPixels(bmp))
		op.pixels = *px;
	Record(this, std::move(op));
}

Int32 GeUserArea::DrawGetFontHeight() const
{
	return kFontHeight;
}

Int32 GeUserArea::DrawGetTextWidth(const String& text) const
{
	return TextWidth(text.Get());
}

bool GeUserArea::GetInputState(Int32 device, Int32 channel, BaseContainer& result) const
{
	AreaState* as = FindArea(this);
	GeDialog* dialog = as ? GetDialog() : nullptr;
	if (!dialog)
		return false;
	return dialog->GetInputState(device, channel, result);
}

bool GeUserArea::Global2Local(Int32* x, Int32* y) const
{
	AreaState* as = FindArea(this);
	if (!as || !x || !y)
		return false;
	DialogState* state = Find(as->dialog);
	if (!state)
		return false;
	const int index = FindGadget(*state, as->gadgetId);
	if (index < 0)
		return false;
	*x -= state->gadgets[index].rect.x;
	*y -= state->gadgets[index].rect.y;
	return true;
}

void GeUserArea::SetMousePointer(Int32 cursor)
{
	LogShown("cursor " + std::to_string(cursor));
}
