// The manager dialog's layout and the values it starts with each time it opens.
#include "Tarnwick.h"
#include "TarnwickIds.h"
#include "hostapi/resource.h"

bool Tarnwick::CreateLayout()
{
	SetTitle(GeLoadString(STR_TARNWICK));
	GroupBegin(0, BFH_SCALEFIT | BFV_SCALEFIT, 1, 0, String("Tarnwick"), 0);

	BaseContainer tabSettings;
	tabSettings.SetBool(QUICKTAB_BAR, false);
	tabSettings.SetBool(QUICKTAB_SHOWSINGLE, true);
	tabSettings.SetBool(QUICKTAB_SPRINGINGFOLDERS, true);
	tabSettings.SetBool(QUICKTAB_LAYOUTCOLUMN, true);
	tabSettings.SetBool(QUICKTAB_NOMULTISELECT, false);
	_tabs = static_cast<QuickTabCustomGui*>(AddCustomGui(IDC_TABS, CUSTOMGUI_QUICKTAB, String(), BFH_SCALEFIT, 0, 0, tabSettings));
	if (_tabs)
	{
		_tabs->AppendString(IDC_TAB_HELD, String("OM"), true);
		_tabs->AppendString(IDC_TAB_PLACEMENTS, String("PRS"), false);
	}

	GroupBegin(IDC_PAGES, BFH_SCALEFIT | BFV_SCALEFIT, 2, 0, String(), 0);

	GroupBegin(IDC_HELD_PAGE, BFH_SCALEFIT | BFV_SCALEFIT, 1, 0, String(), 0);
	GroupBegin(0, BFH_LEFT, 3, 0, String(), 0);
	AddButton(IDC_SAVE_SET, BFH_LEFT, 60, 12, GeLoadString(STR_SAVE_SET));
	AddButton(IDC_SET_LIST, BFH_LEFT, 150, 12, GeLoadString(STR_NO_SET));
	AddButton(IDC_DELETE_SET, BFH_LEFT, 60, 12, GeLoadString(STR_DELETE_SET));
	GroupEnd();
	GroupBegin(0, BFH_SCALEFIT, 3, 0, GeLoadString(STR_OM_GROUP), 0);
	GroupBorder(BORDER_GROUP_IN | BORDER_WITH_TITLE);
	AddCheckbox(IDC_SYNC_SELECTION, BFH_LEFT, 0, 0, GeLoadString(STR_SYNC_SELECTION));
	AddCheckbox(IDC_LINK_FOLDING, BFH_LEFT, 0, 0, GeLoadString(STR_LINK_FOLDING));
	AddComboBox(IDC_FOLD_MANAGER, BFH_LEFT, 60, 10);
	AddChild(IDC_FOLD_MANAGER, IDC_OM1, String("OM-1"));
	AddChild(IDC_FOLD_MANAGER, IDC_OM2, String("OM-2"));
	AddChild(IDC_FOLD_MANAGER, IDC_OM3, String("OM-3"));
	AddChild(IDC_FOLD_MANAGER, IDC_OM4, String("OM-4"));
	GroupEnd();
	AddUserArea(IDC_TAG_STRIP, BFH_SCALEFIT, 100, 100);
	AttachUserArea(tagStrip, IDC_TAG_STRIP);
	LoadDialogResource(IDC_HELD_RESOURCE, &g_resource, 0);
	GroupEnd();

	GroupBegin(IDC_PLACEMENT_PAGE, BFH_SCALEFIT | BFV_SCALEFIT, 1, 0, String(), 0);
	LoadDialogResource(IDC_PLACEMENT_RESOURCE, &g_resource, 0);
	GroupEnd();

	GroupEnd();
	GroupEnd();

	// A dialog resource that was not found leaves its tree out; the other gadgets still work.
	_heldTree = static_cast<TreeViewCustomGui*>(FindCustomGui(IDC_HELD_TREE, CUSTOMGUI_TREEVIEW));
	if (_heldTree)
	{
		BaseContainer columns;
		columns.SetInt32(COL_NAME, LV_USERTREE);
		columns.SetInt32(COL_LAYER, LV_USER);
		columns.SetInt32(COL_VISIBILITY, LV_USER);
		columns.SetInt32(COL_ENABLE, LV_USER);
		columns.SetInt32(COL_TAGS, LV_USER);
		_heldTree->SetLayout(5, columns);
	}
	_placementTree = static_cast<TreeViewCustomGui*>(FindCustomGui(IDC_PLACEMENT_TREE, CUSTOMGUI_TREEVIEW));
	if (_placementTree)
	{
		BaseContainer columns;
		columns.SetInt32(300, LV_TREE);
		columns.SetInt32(301, LV_USER);
		columns.SetInt32(302, LV_USER);
		columns.SetInt32(303, LV_USER);
		_placementTree->SetLayout(4, columns);
	}
	return true;
}

bool Tarnwick::InitValues()
{
	if (!SingleManagerBase::InitValues())
		return false;
	SetInt32(IDC_FOLD_MANAGER, IDC_OM1);
	_splitDrag = false;
	SetBool(IDC_SYNC_SELECTION, true);
	SetBool(IDC_LINK_FOLDING, true);
	model.currentSet = 0;
	SetString(IDC_SET_LIST, GeLoadString(STR_NO_SET));
	_changeMarker = -1;
	heldFunctions.foldBit = NBIT_OM1_FOLD;
	heldFunctions.syncFold = 1;

	if (_heldTree)
	{
		bool sync = true;
		GetBool(IDC_SYNC_SELECTION, sync);
		heldFunctions.syncSelection = sync ? 1 : 0;
		heldFunctions.TakeMetrics(nullptr);
		// No current set, the default caption, an empty tree, the sets read again; the model hands
		// the root to the tree.
		model.Open(GeLoadString(STR_NO_SET));
	}

	SetInt32(IDC_MATRIX_KIND, IDC_MATRIX_LOCAL);
	for (Int32 id = IDC_APPLY_POSITION; id <= IDC_APPLY_LAST; ++id)
		SetBool(id, true);
	SetBool(IDC_MIRROR_POSITION, true);
	SetBool(IDC_MIRROR_ROTATION, true);
	SetInt32(IDC_MIRROR_PLANE, IDC_MIRROR_Z);
	SetInt32(IDC_MIRROR_HIERARCHY, IDC_MIRROR_WHOLE);

	ApplyEnableRules();
	return true;
}
