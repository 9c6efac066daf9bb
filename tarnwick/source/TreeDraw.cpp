// Drawing the held tree's cells: icon and name, layer, the two visibility dots, the enable box and
// the tag icons, then the separator lines every row gets, also one whose element is gone.
#include "ElementSearch.h"
#include "MyTreeViewFunctions.h"
#include "hostapi/plugin.h"
#include "hostapi/resource.h"

namespace
{

// The draw flags of an icon: with alpha when it carries alpha, inverted when it says so.
Int32 IconFlags(const IconData& icon)
{
	Int32 flags = BMP_NORMALSCALED | BMP_NORMAL;
	if (icon.flags & 1)
		flags |= BMP_EMBOSSED;
	if (icon.flags & 2)
		flags = (flags & ~3) | BMP_ALLOWALPHA;
	return flags;
}

// A picture of the plug-in's res folder, loaded for this drawing only.
class Picture
{
public:
	explicit Picture(const char* name)
	{
		_bmp = BaseBitmap::Alloc();
		if (_bmp && !_bmp->Init(GeGetPluginPath() + "res" + name))
			BaseBitmap::Free(_bmp);
	}
	~Picture()
	{
		if (_bmp)
			BaseBitmap::Free(_bmp);
	}
	Picture(const Picture&) = delete;
	Picture& operator=(const Picture&) = delete;
	BaseBitmap* Get() const { return _bmp; }

private:
	BaseBitmap* _bmp = nullptr;
};

void DrawPicture(GeUserArea* area, const char* name, Int32 side, Int32 x, Int32 y, Int32 drawnSide)
{
	Picture picture(name);
	if (picture.Get())
		area->DrawBitmap(picture.Get(), x, y, drawnSide, drawnSide, 0, 0, side, side, BMP_NORMALSCALED | BMP_NORMAL);
}

const char* ModePicture(Int32 mode)
{
	switch (mode)
	{
		case 0: return "Green.tif";
		case 1: return "Red.tif";
		case 2: return "Gray.tif";
		default: return nullptr;
	}
}

bool HasEnableSwitch(const BaseObject* object)
{
	return (object->GetInfo() & (1 | 4 | 8 | 32)) != 0;
}

} // namespace

void MyTreeViewFunctions::DrawCell(void*, void*, void* obj, Int32 column, DrawInfo* info, const GeData&)
{
	GeUserArea* area = info->frame;
	if (!area || !obj)
		return;
	PNode* entry = static_cast<PNode*>(obj);
	BaseList2D* element = entry->Resolve();
	const bool isObject = IsObjectElement(element);
	const bool isMaterial = IsMaterialElement(element);
	BaseObject* object = isObject ? static_cast<BaseObject*>(element) : nullptr;
	Int32 x = info->xpos, y = info->ypos, h = info->height;

	// Where this cell's separator lines stand: remembered per cell kind, as the columns are drawn.
	if (column == 101)
	{
		_leftSeparatorX = x;
		_leftSeparatorY = y;
	}
	else if (column == 104)
	{
		_rightSeparatorX = x + 4;
		_rightSeparatorY = y;
	}

	if (column == 100 && (isObject || isMaterial))
	{
		IconData icon;
		if (GetIcon(element, &icon) && icon.bmp)
		{
			Int32 iy = y, ih = h;
			if (ih > 20)
			{
				iy += (ih - 20) / 2;
				ih = 20;
			}
			area->DrawBitmap(icon.bmp, x, iy, 20, ih, icon.x, icon.y, icon.w, icon.h, IconFlags(icon));
		}
		area->DrawSetTextCol(entry->selected ? COLOR_TEXT_SELECTED : COLOR_TEXT, COLOR_TRANS);
		area->DrawText(entry->name, x + 22, info->ypos + (info->height - area->DrawGetFontHeight()) / 2 + 2);
	}
	else if (column == 101 && (isObject || isMaterial))
	{
		BaseList2D* layer = isObject ? object->GetLayerObject() : static_cast<BaseMaterial*>(element)->GetLayerObject();
		const Int32 iconY = y + (h - 12) / 2;
		IconData icon;
		if (layer && GetIcon(layer, &icon) && icon.bmp)
			area->DrawBitmap(icon.bmp, x + 4, iconY, 12, 12, icon.x, icon.y, icon.w, icon.h, IconFlags(icon));
		else if (!layer)
			DrawPicture(area, "LayerOFF.tif", 24, x + 4, iconY, 12);
	}
	else if (column == 102 && object)
	{
		const Int32 y0 = y + (h - 16) / 4 + 1;
		if (const char* editor = ModePicture(object->GetEditorMode()))
			DrawPicture(area, editor, 12, x + 4, y0, 8);
		if (const char* render = ModePicture(object->GetRenderMode()))
			DrawPicture(area, render, 12, x + 4, y0 + 8, 8);
	}
	else if (column == 103 && object && HasEnableSwitch(object))
	{
		DrawPicture(area, object->GetNBit(NBIT_DISABLED) ? "CheckOFF.tif" : "CheckON.tif", 24, x, y + (h - 16) / 2, 16);
	}
	else if (column == 104 && object)
	{
		Int32 k = 0;
		for (BaseTag* tag = object->GetFirstTag(); tag; tag = tag->GetNext())
		{
			if (tag->GetInfo() == 0)
				continue;
			const Int32 ix = x + 4 + TAG_PITCH * k;
			const Int32 iy = y + (h - 18) / 2;
			IconData icon;
			if (GetIcon(tag, &icon) && icon.bmp)
				area->DrawBitmap(icon.bmp, ix, iy, 18, 18, icon.x, icon.y, icon.w, icon.h, IconFlags(icon));
			if (tag->GetNBit(NBIT_ACTIVE))
			{
				area->DrawSetPen(COLOR_TEXT_SELECTED);
				area->DrawLine(ix, iy, ix + 17, iy);
				area->DrawLine(ix + 17, iy, ix + 17, iy + 17);
				area->DrawLine(ix + 17, iy + 17, ix, iy + 17);
				area->DrawLine(ix, iy + 17, ix, iy);
			}
			++k;
		}
		// The column only ever grows, so a row with fewer tags never narrows it for the others.
		const Int32 wanted = (k + 1) * TAG_WIDTH_STEP;
		if (wanted > tagColumnWidth)
			tagColumnWidth = wanted;
	}

	area->DrawSetPen(COLOR_EDGEDK);
	area->DrawLine(_leftSeparatorX - 1, _leftSeparatorY, _leftSeparatorX - 1, bottomLine);
	area->DrawSetPen(COLOR_EDGEWH);
	area->DrawLine(_rightSeparatorX - 1, _rightSeparatorY, _rightSeparatorX - 1, bottomLine);
}
