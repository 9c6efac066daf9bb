// Painting a dialog onto a surface: the host's own look for its gadgets, the plug-in's draw records
// for user areas and tree cells. The PNG picture is the surface over the host's canvas.
#include "dialog/dialog_picture.h"

#include <algorithm>

#include "dialog/dialog_state.h"
#include "standin/dialog_surface.h"
#include "treeview/tree_state.h"

namespace standin::dialogs
{

namespace
{

using Canvas = DialogSurface;

const Vector kBackground(0.82, 0.82, 0.82);
const Vector kFace(0.9, 0.9, 0.9);
const Vector kField(1.0, 1.0, 1.0);
const Vector kText(0.08, 0.08, 0.08);
const Vector kGrey(0.55, 0.55, 0.55);
const Vector kDark(0.45, 0.45, 0.45);
const Vector kLight(1.0, 1.0, 1.0);
const Vector kAccent(0.95, 0.55, 0.1);

// The host colours plug-ins draw with; false for the transparent one.
bool HostColour(Int32 id, Vector* out)
{
	switch (id)
	{
		case COLOR_TRANS: return false;
		case COLOR_BG: *out = kBackground; return true;
		case COLOR_TEXT: *out = kText; return true;
		case COLOR_EDGEWH: *out = kLight; return true;
		case COLOR_EDGEDK: *out = kDark; return true;
		case COLOR_TEXT_SELECTED: *out = kAccent; return true;
		default: *out = kText; return true;
	}
}

void Fill(Canvas& c, Int32 x, Int32 y, Int32 w, Int32 h, const Vector& colour)
{
	if (w > 0 && h > 0)
		c.Fill(x, y, w, h, colour);
}

void Frame(Canvas& c, Int32 x, Int32 y, Int32 w, Int32 h, const Vector& colour)
{
	if (w <= 0 || h <= 0)
		return;
	const Float x0 = x, y0 = y, x1 = x + w - 1, y1 = y + h - 1;
	c.Line(x0, y0, x1, y0, colour, 1.0);
	c.Line(x1, y0, x1, y1, colour, 1.0);
	c.Line(x1, y1, x0, y1, colour, 1.0);
	c.Line(x0, y1, x0, y0, colour, 1.0);
}

void Label(Canvas& c, Int32 x, Int32 y, const std::string& text, const Vector& colour)
{
	c.Text(x, y, text, colour);
}

// A bitmap scaled into its target rectangle, pixel by pixel; transparent pixels are left out.
void Blit(Canvas& c, const DrawOp& op, Int32 ox, Int32 oy)
{
	if (op.pixels.empty() || op.bitmapW <= 0 || op.bitmapH <= 0 || op.x2 <= 0 || op.y2 <= 0 || op.x2 > 512 || op.y2 > 512)
		return;
	const Int32 sw = op.srcW > 0 ? op.srcW : op.bitmapW;
	const Int32 sh = op.srcH > 0 ? op.srcH : op.bitmapH;
	for (Int32 ty = 0; ty < op.y2; ++ty)
		for (Int32 tx = 0; tx < op.x2; ++tx)
		{
			const Int32 sx = op.srcX + tx * sw / op.x2;
			const Int32 sy = op.srcY + ty * sh / op.y2;
			if (sx < 0 || sy < 0 || sx >= op.bitmapW || sy >= op.bitmapH)
				continue;
			const std::uint32_t p = op.pixels[static_cast<size_t>(sy) * op.bitmapW + sx];
			if ((p >> 24) < 128)
				continue;
			const Vector colour((p & 0xFF) / 255.0, ((p >> 8) & 0xFF) / 255.0, ((p >> 16) & 0xFF) / 255.0);
			c.Pixel(ox + op.x1 + tx, oy + op.y1 + ty, colour);
		}
}

// A tree's own check box: bit 1 of the state ticks it, without bit 0 it is greyed.
void CheckBox(Canvas& c, Int32 x, Int32 y, Int32 side, Int32 state)
{
	const Vector ink = (state & 1) ? kText : kGrey;
	Fill(c, x, y, side, side, kField);
	Frame(c, x, y, side, side, ink);
	if (state & 2)
	{
		const Float s = side;
		c.Line(x + 0.2 * s, y + 0.5 * s, x + 0.4 * s, y + 0.75 * s, ink, 1.5);
		c.Line(x + 0.4 * s, y + 0.75 * s, x + 0.8 * s, y + 0.25 * s, ink, 1.5);
	}
}

void Replay(Canvas& c, const std::vector<DrawOp>& ops, Int32 ox, Int32 oy)
{
	for (const DrawOp& op : ops)
	{
		Vector colour;
		switch (op.kind)
		{
			case DrawOp::Line:
				if (HostColour(op.colour, &colour))
					c.Line(ox + op.x1, oy + op.y1, ox + op.x2, oy + op.y2, colour, 1.0);
				break;
			case DrawOp::Rectangle:
				if (HostColour(op.colour, &colour))
					Fill(c, ox + op.x1, oy + op.y1, op.x2, op.y2, colour);
				break;
			case DrawOp::Text:
				if (HostColour(op.colour, &colour))
					Label(c, ox + op.x1, oy + op.y1, op.text, colour);
				break;
			case DrawOp::Bitmap: Blit(c, op, ox, oy); break;
			case DrawOp::Check: CheckBox(c, ox + op.x1, oy + op.y1, op.x2, op.mode); break;
			case DrawOp::Clip: break;
		}
	}
}

void PaintTree(Canvas& c, Gadget& g)
{
	Fill(c, g.rect.x, g.rect.y, g.rect.w, g.rect.h, kField);
	if (!g.tree)
		return;
	TreeLayout layout;
	WalkTree(*g.tree, TreeDraw::Shown, &layout);
	for (const TreeCell& cell : layout.header)
		Replay(c, cell.ops, g.rect.x, g.rect.y);
	// The shown rows move up by the rows scrolled past.
	const Int32 oy = g.rect.y - layout.topRow * layout.lineHeight;
	const size_t end = std::min(layout.rows.size(), static_cast<size_t>(layout.topRow + layout.shownRows));
	for (size_t r = static_cast<size_t>(layout.topRow); r < end; ++r)
	{
		const TreeRow& row = layout.rows[r];
		if (row.y - layout.topRow * layout.lineHeight + row.height > g.rect.h)
			break;
		if (row.selected)
			Fill(c, g.rect.x, oy + row.y, g.rect.w, row.height, Vector(0.85, 0.9, 1.0));
		if (row.hasChildren && layout.treeColumn >= 0 && static_cast<size_t>(layout.treeColumn) < row.cells.size())
		{
			// The fold arrow left of the tree column's content.
			const Float ax = g.rect.x + row.cells[layout.treeColumn].x - kArrow + 3;
			const Float ay = oy + row.y + row.height / 2.0;
			if (row.opened)
				c.Polygon({{ax, ay - 2}, {ax + 6, ay - 2}, {ax + 3, ay + 2}}, kDark);
			else
				c.Polygon({{ax, ay - 3}, {ax + 4, ay}, {ax, ay + 3}}, kDark);
		}
		for (const TreeCell& cell : row.cells)
			Replay(c, cell.ops, g.rect.x, oy);
	}
	Frame(c, g.rect.x, g.rect.y, g.rect.w, g.rect.h, kDark);
}

void PaintGadget(Canvas& c, DialogState& state, int index)
{
	Gadget& g = state.gadgets[index];
	const Rect& r = g.rect;
	const Vector text = IsEnabledChain(state, index) ? kText : kGrey;
	switch (g.kind)
	{
		case GadgetKind::Group:
			if (g.border != BORDER_NONE || !g.caption.empty())
			{
				Frame(c, r.x + 1, r.y + (g.caption.empty() ? 1 : 7), r.w - 2, r.h - (g.caption.empty() ? 2 : 8), kDark);
				if (!g.caption.empty())
				{
					Fill(c, r.x + 6, r.y, TextWidth(g.caption) + 4, kFontHeight, kBackground);
					Label(c, r.x + 8, r.y, g.caption, text);
				}
			}
			break;
		case GadgetKind::Button:
			Fill(c, r.x, r.y, r.w, r.h, kFace);
			Frame(c, r.x, r.y, r.w, r.h, kDark);
			Label(c, r.x + std::max<Int32>((r.w - TextWidth(g.caption)) / 2, 2), r.y + (r.h - kFontHeight) / 2, g.caption, text);
			break;
		case GadgetKind::CheckBox:
			Fill(c, r.x + 1, r.y + 3, 10, 10, kField);
			Frame(c, r.x + 1, r.y + 3, 10, 10, kDark);
			if (g.value.GetBool())
			{
				c.Line(r.x + 3, r.y + 8, r.x + 5, r.y + 10, text, 1.5);
				c.Line(r.x + 5, r.y + 10, r.x + 9, r.y + 5, text, 1.5);
			}
			Label(c, r.x + 16, r.y + (r.h - kFontHeight) / 2, g.caption, text);
			break;
		case GadgetKind::StaticText: Label(c, r.x, r.y + (r.h - kFontHeight) / 2, g.caption, text); break;
		case GadgetKind::EditText:
			Fill(c, r.x, r.y, r.w, r.h, kField);
			Frame(c, r.x, r.y, r.w, r.h, kDark);
			Label(c, r.x + 3, r.y + (r.h - kFontHeight) / 2, g.value.GetString().Get(), text);
			break;
		case GadgetKind::ComboBox:
		{
			Fill(c, r.x, r.y, r.w, r.h, kFace);
			Frame(c, r.x, r.y, r.w, r.h, kDark);
			std::string chosen;
			for (const Child& ch : g.children)
				if (ch.id == g.value.GetInt32())
					chosen = ch.caption;
			Label(c, r.x + 3, r.y + (r.h - kFontHeight) / 2, chosen, text);
			const Float ax = r.x + r.w - 12, ay = r.y + r.h / 2.0;
			c.Polygon({{ax, ay - 2}, {ax + 7, ay - 2}, {ax + 3.5, ay + 2}}, text);
			break;
		}
		case GadgetKind::RadioGroup:
		{
			const Int32 cols = std::max<Int32>(g.cols, 1);
			Int32 widest = 0;
			for (const Child& ch : g.children)
				widest = std::max(widest, TextWidth(ch.caption));
			for (size_t i = 0; i < g.children.size(); ++i)
			{
				const Int32 cx = r.x + static_cast<Int32>(i % cols) * (widest + 24);
				const Int32 cy = r.y + static_cast<Int32>(i / cols) * 18;
				c.Circle(cx + 6, cy + 8, 4.5, kDark, 1.0);
				if (g.children[i].id == g.value.GetInt32())
					c.Circle(cx + 6, cy + 8, 1.5, text, 3.0);
				Label(c, cx + 14, cy + 2, g.children[i].caption, text);
			}
			break;
		}
		case GadgetKind::QuickTab:
		{
			Int32 x = r.x;
			for (auto& [id, caption] : TabChoices(g))
			{
				const Int32 w = TextWidth(caption) + 16;
				const bool selected = g.tabs && g.tabs->IsSelected(id);
				Fill(c, x, r.y, w - 2, r.h, selected ? kField : kFace);
				Frame(c, x, r.y, w - 2, r.h, kDark);
				Label(c, x + 7, r.y + (r.h - kFontHeight) / 2, caption, text);
				x += w;
			}
			break;
		}
		case GadgetKind::UserArea:
			if (g.area)
			{
				std::vector<DrawOp> ops;
				DrawUserArea(state, g, &ops);
				Replay(c, ops, r.x, r.y);
			}
			break;
		case GadgetKind::TreeView: PaintTree(c, g); break;
		case GadgetKind::LinkBox:
			Fill(c, r.x, r.y, r.w, r.h, kField);
			Frame(c, r.x, r.y, r.w, r.h, kDark);
			break;
		case GadgetKind::ListView:
		{
			Fill(c, r.x, r.y, r.w, r.h, kField);
			const bool chosen = g.value.GetType() != DA_NIL;
			for (size_t i = 0; i < g.children.size(); ++i)
			{
				const Int32 y = r.y + 2 + static_cast<Int32>(i) * kListRow;
				if (y + kListRow > r.y + r.h)
					break;
				if (chosen && g.children[i].id == g.value.GetInt32())
					Fill(c, r.x + 1, y, r.w - 2, kListRow, Vector(0.85, 0.9, 1.0));
				Label(c, r.x + 4, y + 1, g.children[i].caption, text);
			}
			Frame(c, r.x, r.y, r.w, r.h, kDark);
			break;
		}
	}
}

// The PNG picture as a surface.
class CanvasSurface final : public DialogSurface
{
public:
	explicit CanvasSurface(picture::Canvas& canvas) : _c(canvas) {}
	void Fill(Int32 x, Int32 y, Int32 w, Int32 h, const Vector& colour) override
	{
		_c.Rectangle(x - 0.5, y - 0.5, x + w - 0.5, y + h - 0.5, colour);
	}
	void Line(Float x1, Float y1, Float x2, Float y2, const Vector& colour, Float width) override { _c.Line({x1, y1}, {x2, y2}, colour, width); }
	void Polygon(const std::vector<std::pair<Float, Float>>& points, const Vector& colour) override
	{
		std::vector<picture::Point2> at;
		for (const auto& [x, y] : points)
			at.push_back({x, y});
		_c.Polygon(at, colour, colour, 0.0);
	}
	void Circle(Float x, Float y, Float radius, const Vector& colour, Float width) override { _c.Circle({x, y}, radius, colour, width); }
	// The canvas takes the baseline.
	void Text(Int32 x, Int32 y, const std::string& text, const Vector& colour) override
	{
		_c.Text({static_cast<Float>(x), static_cast<Float>(y + kFontHeight - 2)}, text, colour, 11.0);
	}
	void Pixel(Int32 x, Int32 y, const Vector& colour) override { _c.Square({static_cast<Float>(x), static_cast<Float>(y)}, 1.0, colour); }

private:
	picture::Canvas& _c;
};

} // namespace

bool PictureSize(GeDialog* dialog, Int32* width, Int32* height, std::string* error)
{
	DialogState* state = Find(dialog);
	if (!state || !state->open)
	{
		*error = "the dialog is not open";
		return false;
	}
	Layout(*state);
	*width = std::max<Int32>(state->width, 1);
	*height = std::max<Int32>(state->height, 1);
	return true;
}

bool PaintDialog(GeDialog* dialog, DialogSurface& surface, std::string* error)
{
	Int32 w = 0, h = 0;
	if (!PictureSize(dialog, &w, &h, error))
		return false;
	DialogState* state = Find(dialog);
	surface.Fill(0, 0, w, h, kBackground);
	// Gadgets in layout order: a group is drawn before what it holds.
	for (size_t i = 0; i < state->gadgets.size(); ++i)
		if (IsShown(*state, static_cast<int>(i)))
			PaintGadget(surface, *state, static_cast<int>(i));
	return true;
}

std::unique_ptr<picture::Canvas> PaintDialog(GeDialog* dialog, std::string* error)
{
	Int32 w = 0, h = 0;
	if (!PictureSize(dialog, &w, &h, error))
		return nullptr;
	auto canvas = std::make_unique<picture::Canvas>(w, h, kBackground);
	if (!canvas->IsValid())
	{
		*error = "the picture could not be made (" + std::to_string(w) + " x " + std::to_string(h) + ")";
		return nullptr;
	}
	CanvasSurface surface(*canvas);
	if (!PaintDialog(dialog, surface, error))
		return nullptr;
	return canvas;
}

} // namespace standin::dialogs
