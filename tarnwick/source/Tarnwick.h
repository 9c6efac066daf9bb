// The manager dialog: the held list with its tree, the saved sets and the placement page. It owns
// the model and plugs into it through ManagerSeams (the set-name prompt, the set button's caption,
// the tree refresh, the enable rules).
#pragma once

#include "ManagerModel.h"
#include "ListDialog.h"
#include "MyTreeViewFunctions.h"
#include "StrDialog.h"
#include "TagListArea.h"
#include "hostapi/dialog.h"

class SingleManagerBase : public GeDialog
{
};

class Tarnwick : public SingleManagerBase, private ManagerSeams
{
public:
	Tarnwick();

	bool CreateLayout() override;
	bool InitValues() override;
	bool Command(Int32 id, const BaseContainer& msg) override;
	bool CoreMessage(Int32 id, const BaseContainer& msg) override;
	Int32 Message(const BaseContainer& msg, BaseContainer& result) override;
	bool AskClose() override;
	void DestroyWindow() override;

	// Hides and enables the gadgets as the selected page, the sets and the check boxes say.
	void ApplyEnableRules() override;

	TagListArea tagStrip;
	// The held list, placement list and saved sets; the gadgets act on it through its operations.
	ManagerModel model;
	MyTreeViewFunctions heldFunctions;
	StrDialog nameDialog;
	String nameText;
	ListDialog setList;

private:
	bool AskSetName(String& name) override;
	void SetSetCaption(const String& caption) override;
	void RefreshHeldTree() override;

	bool HeldPageShown() const;
	void OpenSetList();
	void DropOnHeldTree(const BaseContainer& msg);
	void CursorInfo(BaseContainer& result);
	void InteractionEnd();
	void CollectTags();

	TreeViewCustomGui* _heldTree = nullptr;
	TreeViewCustomGui* _placementTree = nullptr;
	QuickTabCustomGui* _tabs = nullptr;
	Int32 _busy = 0;
	Int32 _ownDrag = 0;
	Int32 _changeMarker = -1;
	Int32 _dragDistance = 0;
	bool _splitDrag = false;
	Int32 _splitStartWidth = 0;
};
