// The held tree's structure for the gadget: walking, widths and heights, names, states and the
// fixed answers to the gadget's yes/no questions.
#include "ElementSearch.h"
#include "MyTreeViewFunctions.h"

namespace
{

PNode* Entry(void* obj) { return static_cast<PNode*>(obj); }

BaseList2D* Element(void* obj)
{
	return obj ? Entry(obj)->Resolve() : nullptr;
}

constexpr Int32 NAME_PADDING = 20;

} // namespace

void MyTreeViewFunctions::TakeMetrics(GeUserArea* area)
{
	if (area)
		_fontHeight = area->DrawGetFontHeight();
	_fontHeightTaken = 1;
}

void* MyTreeViewFunctions::GetFirst(void* root, void*)
{
	return root ? static_cast<PNode*>(root)->FirstChild() : nullptr;
}

void* MyTreeViewFunctions::GetDown(void*, void*, void* obj)
{
	return obj ? Entry(obj)->FirstChild() : nullptr;
}

void* MyTreeViewFunctions::GetNext(void*, void*, void* obj)
{
	return obj ? Entry(obj)->Next() : nullptr;
}

void* MyTreeViewFunctions::GetPred(void*, void*, void* obj)
{
	return obj ? Entry(obj)->Prev() : nullptr;
}

Int32 MyTreeViewFunctions::GetColumnWidth(void*, void*, void* obj, Int32 column, GeUserArea* area)
{
	switch (column)
	{
		case 100: return (area && obj ? area->DrawGetTextWidth(Entry(obj)->name) : 0) + NAME_PADDING;
		case 101: return layerColumnWidth;
		case 102: return visibilityColumnWidth;
		case 103: return enableColumnWidth;
		case 104: return tagColumnWidth;
		default: return 0;
	}
}

Int32 MyTreeViewFunctions::GetHeaderColumnWidth(void* root, void* userdata, Int32 column, GeUserArea* area)
{
	if (column != 100)
		return column == 104 ? tagColumnWidth : GetColumnWidth(root, userdata, nullptr, column, area);
	PNode* first = static_cast<PNode*>(GetFirst(root, userdata));
	BaseList2D* element = Element(first);
	if (area && (IsObjectElement(element) || IsMaterialElement(element)))
		return area->DrawGetTextWidth(element->GetName()) + NAME_PADDING;
	return nameHeaderBase + NAME_PADDING;
}

Int32 MyTreeViewFunctions::GetMinHeaderHeight(void*, void*, GeUserArea* area)
{
	return (area ? area->DrawGetFontHeight() : _fontHeight) + 4;
}

Int32 MyTreeViewFunctions::GetLineHeight(void*, void*, void*, Int32, GeUserArea* area)
{
	lineHeight = (area ? area->DrawGetFontHeight() : _fontHeight) + 7;
	return lineHeight;
}

bool MyTreeViewFunctions::DrawHeaderCell(void*, void*, Int32, DrawInfo* info)
{
	GeUserArea* area = info->frame;
	if (!area)
		return true;
	area->DrawSetPen(COLOR_BG);
	area->DrawRectangle(info->xpos, info->ypos, info->xpos + info->width - 1, info->ypos + info->height - 1);
	area->DrawSetFont(FONT_STANDARD);
	area->DrawSetPen(COLOR_EDGEDK);
	const Int32 x = info->xpos + info->width - 1;
	area->DrawLine(x, info->ypos, x, info->ypos + info->height - 1);
	return true;
}

bool MyTreeViewFunctions::IsSelected(void*, void*, void* obj)
{
	return obj && Entry(obj)->selected != 0;
}

bool MyTreeViewFunctions::IsOpened(void*, void*, void* obj)
{
	return obj && Entry(obj)->opened != 0;
}

void MyTreeViewFunctions::Open(void*, void*, void* obj, bool onoff)
{
	if (obj)
		Entry(obj)->opened = onoff ? 1 : 0;
}

String MyTreeViewFunctions::GetName(void*, void*, void* obj)
{
	return obj ? Entry(obj)->name : String();
}

void MyTreeViewFunctions::SetName(void*, void*, void* obj, const String& name)
{
	if (obj)
	{
		PNode* entry = Entry(obj);
		BaseList2D* element = entry->Resolve();
		if (IsObjectElement(element) || IsMaterialElement(element))
		{
			entry->name = name;
			element->SetName(name);
			element->Message(MSG_UPDATE);
		}
	}
	SetBusy(1);
	EventAdd();
}

Int64 MyTreeViewFunctions::GetId(void*, void*, void* obj)
{
	return static_cast<Int64>(reinterpret_cast<std::uintptr_t>(obj));
}

Int32 MyTreeViewFunctions::IsChecked(void*, void*, void* obj, Int32 column)
{
	if (column != 103 || !obj)
		return 0;
	BaseList2D* element = Element(obj);
	if (!element)
		return 0;
	if (IsObjectElement(element) || IsMaterialElement(element))
		return element->GetNBit(NBIT_DISABLED) ? 3 : 1;
	if (element->GetType() == Olayer)
		return 0;
	return Entry(obj)->selected ? 3 : 1;
}

bool MyTreeViewFunctions::IsCheckColumn(void*, void*, Int32 column)
{
	return column == 103;
}

bool MyTreeViewFunctions::EmptyClickDeselects(void*, void*)
{
	return false;
}

bool MyTreeViewFunctions::ScrollToSelection(void*, void*)
{
	return false;
}

bool MyTreeViewFunctions::AllowRename(void*, void*)
{
	return true;
}
