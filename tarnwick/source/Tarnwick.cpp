#include "Tarnwick.h"

#include "TarnwickIds.h"
#include "hostapi/console.h"
#include "hostapi/resource.h"

Tarnwick::Tarnwick()
{
	model.SetSeams(this);
	heldFunctions.busy = &_busy;
	heldFunctions.ownDrag = &_ownDrag;
	heldFunctions.changeMarker = &_changeMarker;
	heldFunctions.dragDistance = &_dragDistance;
	_busy = 1;
	PrintBanner(GeLoadString(STR_TARNWICK) + " " + GeLoadString(STR_SIGNATURE),
		"Gather objects and materials into sets, store and mirror placements.");
}

bool Tarnwick::AskSetName(String& name)
{
	nameText = name;
	nameDialog.text = &nameText;
	if (!nameDialog.Open())
		return false;
	name = nameText;
	return true;
}

void Tarnwick::SetSetCaption(const String& caption)
{
	SetString(IDC_SET_LIST, caption);
}

void Tarnwick::RefreshHeldTree()
{
	if (!_heldTree)
		return;
	_heldTree->SetRoot(&model.heldRoot, &heldFunctions, nullptr);
	_heldTree->Refresh();
	heldFunctions.bottomLine = _heldTree->GetHeight();
}

bool Tarnwick::HeldPageShown() const
{
	return !_tabs || _tabs->IsSelected(IDC_TAB_HELD);
}

void Tarnwick::ApplyEnableRules()
{
	const bool held = HeldPageShown();
	HideElement(IDC_HELD_PAGE, !held);
	HideElement(IDC_PLACEMENT_PAGE, held);
	Enable(IDC_SAVE_PLACEMENTS, !held);
	Enable(IDC_LOAD_PLACEMENTS, !held);
	Enable(IDC_DELETE_SET, model.currentSet != 0);
	Enable(IDC_SET_LIST, model.sets.GetCount() > 0);
	const Int32 masters[3] = {IDC_APPLY_POSITION, IDC_APPLY_ROTATION, IDC_APPLY_SCALE};
	for (Int32 master : masters)
	{
		bool on = false;
		GetBool(master, on);
		for (Int32 id = master + 1; id <= master + 3; ++id)
			Enable(id, on);
	}
	LayoutChanged(IDC_PAGES);
}
