// The manager as a user meets it: the command opens its one dialog, scene elements are dropped on
// the held tree, and clicks, drags, menus and the set buttons change the scene and the sets. Every
// case runs session scripts against the real plug-ins and reads what the scripts print.
#include "manager_fixture.h"

#include "hostapi/document.h"
#include "standin/dialogs.h"

namespace
{

using namespace manager_test;

TEST_F(Manager, TheCommandOpensTheOneDialogAndTheSetButtonsFollowTheSets)
{
	ASSERT_EQ(Run("run-command 1039103\nrun-command 1039103\nprint-dialog\n"), 0) << err;
	ASSERT_EQ(standin::dialogs::OpenDialogs().size(), 1u);
	GeDialog* dialog = standin::dialogs::FindOpenDialog(1039103);
	ASSERT_NE(dialog, nullptr);
	EXPECT_EQ(standin::dialogs::OpenCount(dialog), 1);
	// Both pages' gadgets exist; the placement page is hidden with its tab not chosen.
	EXPECT_TRUE(Contains(out, "tabs 10063 = \"OM\" [10064:\"OM\" 10065:\"PRS\"]")) << out;
	EXPECT_TRUE(Contains(out, "tree 10003 enabled shown"));
	EXPECT_TRUE(Contains(out, "tree 10033 enabled hidden"));
	EXPECT_TRUE(Contains(out, "combo 10006 = \"OM-1\""));
	// With no set stored, the set list and the delete button are disabled.
	EXPECT_TRUE(Contains(out, "button 10023 \"None\" disabled shown"));
	EXPECT_TRUE(Contains(out, "button 10013 \"Delete Set\" disabled shown"));

	ASSERT_EQ(Run("add-null Chair\ndrop 10003 Chair\nanswer-dialog set 10016 Furniture click 10014\nclick 10011\nprint-dialog\n"), 0) << err;
	EXPECT_TRUE(Contains(out, "button 10023 \"Furniture\" enabled shown")) << out;
	EXPECT_TRUE(Contains(out, "button 10013 \"Delete Set\" enabled shown"));
	// A cancelled name dialog saves nothing.
	ASSERT_EQ(Run("answer-dialog set 10016 Other click 10015\nclick 10011\nprint-dialog\n"), 0) << err;
	EXPECT_TRUE(Contains(out, "button 10023 \"Furniture\""));

	// Closing and running the command again opens the same dialog object, built afresh.
	ASSERT_EQ(Run("close-dialog\nrun-command 1039103\nprint-tree 10003\n"), 0) << err;
	EXPECT_EQ(standin::dialogs::FindOpenDialog(1039103), dialog);
	EXPECT_EQ(standin::dialogs::OpenCount(dialog), 2);
	EXPECT_TRUE(Contains(out, "tree 10003: 0 rows")) << out;
	// A restored window layout brings the same dialog back.
	ASSERT_EQ(Run("close-dialog\nrestore-layout 1039103\n"), 0) << err;
	EXPECT_EQ(standin::dialogs::FindOpenDialog(1039103), dialog);
	EXPECT_EQ(standin::dialogs::OpenCount(dialog), 3);
	// Disabled buttons take no clicks.
	EXPECT_EQ(Run("click 10013\n"), 1);
	EXPECT_TRUE(Contains(err, "disabled")) << err;
}

TEST_F(Manager, TheVisibilityColumnSplitsEachRowAndCtrlReachesDescendants)
{
	HoldScene();
	ASSERT_EQ(Run("tree-click 10003 0 100 arrow\nprint-tree 10003\n"), 0) << err;
	ASSERT_TRUE(Contains(out, "row 1 depth 1 folded \"Seat\"")) << out;
	ASSERT_EQ(Run("tree-click 10003 0 102 2 10\nprint-element Chair\n"), 0) << err;
	EXPECT_TRUE(Contains(out, "editor default render default")) << out;
	ASSERT_EQ(Run("tree-click 10003 0 102 2 8\nprint-element Chair\n"), 0) << err;
	EXPECT_TRUE(Contains(out, "editor on render default")) << out;
	ASSERT_EQ(Run("tree-click 10003 0 102 2 13\nprint-element Chair\n"), 0) << err;
	EXPECT_TRUE(Contains(out, "editor on render on")) << out;
	// Without Ctrl the children keep theirs; with it, each descendant gets the value with an undo step.
	ASSERT_EQ(Run("print-element Chair/Seat/Leg\nprint-undo\n"), 0) << err;
	EXPECT_TRUE(Contains(out, "editor default render default"));
	ASSERT_EQ(Run("tree-click 10003 0 102 2 14 ctrl\nprint-element Chair/Seat\nprint-element Chair/Seat/Leg\nprint-element Chair\nprint-undo\n"), 0) << err;
	EXPECT_TRUE(Contains(LineStarting(out, "Chair/Seat:"), "render off")) << out;
	EXPECT_TRUE(Contains(LineStarting(out, "Chair/Seat/Leg:"), "render off"));
	EXPECT_TRUE(Contains(LineStarting(out, "Chair:"), "render off"));
	EXPECT_TRUE(Contains(out, "undo step 1: 40 change \"Seat\"\nundo step 1: 40 change \"Leg\"\n")) << out;
	EXPECT_FALSE(Contains(out, "change \"Chair\"")) << out;
	// The enable box inverts the enable switch.
	ASSERT_EQ(Run("tree-click 10003 2 103\nprint-element Lamp\n"), 0) << err;
	EXPECT_TRUE(Contains(out, "disabled")) << out;
}

TEST_F(Manager, DragsMoveObjectsInTheSceneButNeverBelowThemselves)
{
	HoldScene();
	ASSERT_EQ(Run("tree-click 10003 0 100 arrow\ntree-click 10003 1 100 arrow\nprint-tree 10003\n"), 0) << err;
	ASSERT_TRUE(Contains(out, "row 2 depth 2 leaf \"Leg\"")) << out;
	// Chair onto its own grandchild: refused, the scene is unchanged.
	ASSERT_EQ(Run("tree-drag 10003 0 under 2\nprint-element Chair\n"), 0) << err;
	EXPECT_TRUE(Contains(out, "was refused")) << out;
	EXPECT_TRUE(Contains(out, "Chair: editor default render default parent none")) << out;
	// Lamp under Leg keeps its place in the world.
	ASSERT_EQ(Run("tree-drag 10003 3 under 2\nprint-element Chair/Seat/Leg/Lamp\n"), 0) << err;
	EXPECT_FALSE(Contains(out, "refused")) << out;
	EXPECT_TRUE(Contains(out, "parent \"Chair/Seat/Leg\" world 50,0,0")) << out;
}

TEST_F(Manager, ContextMenusOfferWhatTheSelectionAllows)
{
	ASSERT_EQ(Run("run-command 1039103\ntree-menu 10003 none 100\n"), 0) << err;
	EXPECT_TRUE(Contains(out, "menu: (empty)")) << out;
	HoldScene();
	ASSERT_EQ(Run("tree-menu 10003 0 100\n"), 0) << err;
	EXPECT_TRUE(Contains(out, "Unfold Under")) << out;
	EXPECT_FALSE(Contains(out, "All Remove"));
	ASSERT_EQ(Run("tree-click 10003 0 100 40 4\ntree-menu 10003 0 100\n"), 0) << err;
	EXPECT_TRUE(Contains(out, "[900000 \"Remove\"] [900001 \"All Remove\"]")) << out;
	// Materials get only Select (and the removal while the first entry is selected).
	ASSERT_EQ(Run("tree-menu 10003 2 100\n"), 0) << err;
	EXPECT_FALSE(Contains(out, "Unfold")) << out;
	EXPECT_TRUE(Contains(out, "Select")) << out;

	// Unfold Under opens the whole subtree and, on OM-3, sets bit 16 of every object in it.
	ASSERT_EQ(Run("choose 10006 OM-3\ntree-menu 10003 0 100 \"Unfold Under\"\nprint-tree 10003\nprint-element Chair/Seat\n"), 0) << err;
	EXPECT_TRUE(Contains(out, "row 1 depth 1 open \"Seat\"")) << out;
	EXPECT_TRUE(Contains(out, "row 2 depth 2 leaf \"Leg\""));
	EXPECT_TRUE(Contains(LineStarting(out, "Chair/Seat:"), "fold 16")) << out;

	ASSERT_EQ(Run("tree-menu 10003 0 100 Remove\nprint-tree 10003\n"), 0) << err;
	EXPECT_TRUE(Contains(out, "tree 10003: 2 rows")) << out;
	ASSERT_EQ(Run("tree-click 10003 0 100 40 4\ntree-menu 10003 0 100 \"All Remove\"\nprint-tree 10003\n"), 0) << err;
	EXPECT_TRUE(Contains(out, "tree 10003: 0 rows")) << out;
}

TEST_F(Manager, TheTagColumnGrowsAndNeverShrinks)
{
	ASSERT_EQ(Run("add-null Bare\nadd-null Tagged\nadd-material Wood\nadd-tag Tagged phong\nadd-tag Tagged texture Wood\nadd-tag Tagged uvw\n"
	              "run-command 1039103\ndrop 10003 Bare\nprint-tree 10003\n"),
		0) << err;
	EXPECT_TRUE(Contains(out, "104@") && Contains(out, "+24\n")) << out;
	ASSERT_EQ(Run("drop 10003 Tagged\nprint-tree 10003\nprint-tree 10003\n"), 0) << err;
	EXPECT_TRUE(Contains(LineStarting(out, "tree 10003"), "+60")) << out;
	// An object without tags drawn after never lowers the width.
	ASSERT_EQ(Run("tree-click 10003 0 100 40 4\nprint-tree 10003\n"), 0) << err;
	EXPECT_TRUE(Contains(LineStarting(out, "tree 10003"), "+60")) << out;

}

TEST_F(Manager, SceneChangesReachTheTreeOnlyThroughTheHostsUpdate)
{
	ASSERT_EQ(Run("add-null Bare\nadd-null Lamp\nadd-null Rug\nrun-command 1039103\ndrop 10003 Bare Lamp Rug\n"), 0) << err;
	// A scene verb is an edit in the host's own managers: the update that follows drops the row.
	ASSERT_EQ(Run("delete-object Lamp\nprint-tree 10003\n"), 0) << err;
	EXPECT_TRUE(Contains(out, "tree 10003: 2 rows")) << out;
	EXPECT_FALSE(Contains(out, "\"Lamp\"")) << out;

	// Removed behind the host's back, with no update: the row stays but draws nothing but its
	// separator lines, and a change notice the host does not confirm changes nothing.
	BaseDocument* doc = GetActiveDocument();
	ASSERT_NE(doc, nullptr);
	BaseObject* bare = doc->GetFirstObject();
	ASSERT_NE(bare, nullptr);
	ASSERT_EQ(bare->GetName(), String("Bare"));
	BaseObject::Free(bare);
	GeDialog* dialog = standin::dialogs::FindOpenDialog(1039103);
	ASSERT_NE(dialog, nullptr);
	BaseContainer forged(EVMSG_CHANGE);
	dialog->CoreMessage(EVMSG_CHANGE, forged);
	ASSERT_EQ(Run("print-tree 10003\n"), 0) << err;
	EXPECT_TRUE(Contains(out, "\"Bare\"\n  100: lines 2\n  101: lines 2\n  102: lines 2\n  103: lines 2\n  104: lines 2\n")) << out;
	// A click on the gone row opens no popup; the tree's change afterwards drops the entry.
	ASSERT_EQ(Run("tree-click 10003 0 101\nprint-shown\nprint-tree 10003\n"), 0) << err;
	EXPECT_FALSE(Contains(out, "popup")) << out;
	EXPECT_TRUE(Contains(out, "tree 10003: 1 rows")) << out;

	// A new document: nothing held resolves there, so the tree empties.
	ASSERT_EQ(Run("new-document\nprint-tree 10003\n"), 0) << err;
	EXPECT_TRUE(Contains(out, "tree 10003: 0 rows")) << out;
}

TEST_F(Manager, TheLayerColumnAssignsLayersFromItsPopup)
{
	HoldScene();
	ASSERT_EQ(Run("answer-popup \"Add to New Layer\"\ntree-click 10003 0 101\nprint-element Chair\nprint-shown\n"), 0) << err;
	EXPECT_TRUE(Contains(out, "[900010 Add to New Layer] [900011 Layer Manager...] [900012 Select Layer] -> 900010")) << out;
	EXPECT_FALSE(Contains(LineStarting(out, "Chair:"), "layer none")) << out;
	ASSERT_EQ(Run("add-layer Props\nanswer-popup \"Add to Layer/Props\"\ntree-click 10003 1 101\nprint-element Lamp\n"
	              "answer-popup \"Layer Manager...\"\ntree-click 10003 1 101\nprint-shown\n"),
		0) << err;
	EXPECT_TRUE(Contains(out, "layer \"Props\"")) << out;
	EXPECT_TRUE(Contains(out, "host command 100004704")) << out;
	// A dismissed popup changes nothing.
	ASSERT_EQ(Run("tree-click 10003 1 101\nprint-element Lamp\nprint-shown\n"), 0) << err;
	EXPECT_TRUE(Contains(out, "-> dismissed")) << out;
	EXPECT_TRUE(Contains(out, "layer \"Props\""));
}

TEST_F(Manager, RenamingInPlaceRenamesTheElement)
{
	HoldScene();
	ASSERT_EQ(Run("tree-rename 10003 1 Stool\nprint-tree 10003\nprint-element Stool\n"), 0) << err;
	EXPECT_TRUE(Contains(out, "\"Stool\"")) << out;
	EXPECT_EQ(Run("tree-rename 10003 9 X\n"), 1);
	// A rename leaves the tree busy, but the next drop from the scene is still taken; a drag inside
	// the tree is not taken as one from outside.
	ASSERT_EQ(Run("add-null Stand\ndrop 10003 Stand\nprint-tree 10003\n"), 0) << err;
	EXPECT_TRUE(Contains(out, "\"Stand\"")) << out;
	ASSERT_EQ(Run("tree-drag 10003 1 after 0\nprint-tree 10003\n"), 0) << err;
	int stools = 0;
	std::istringstream lines(out);
	for (std::string line; std::getline(lines, line);)
		stools += line.rfind("row ", 0) == 0 && Contains(line, "\"Stool\"") ? 1 : 0;
	EXPECT_EQ(stools, 1) << out;
}

TEST_F(Manager, TheCrashHandlerChainReachesTheHostAndIsUndoneAtTheEnd)
{
	standin::RunCrashHandler("fault at 0x10");
	EXPECT_EQ(standin::LastCrashHandlerText(), "fault at 0x10");
	host.Shutdown();
	// The plug-in's forwarder went with its library; the host's own handler is back.
	standin::RunCrashHandler("second");
	EXPECT_EQ(standin::LastCrashHandlerText(), "second");
}

TEST_F(Manager, TheTabsSwitchPagesAndTheirButtons)
{
	ASSERT_EQ(Run("run-command 1039103\nchoose 10063 PRS\nprint-dialog\n"), 0) << err;
	EXPECT_TRUE(Contains(out, "group 10066 enabled hidden")) << out;
	EXPECT_TRUE(Contains(out, "group 10067 enabled shown"));
	EXPECT_TRUE(Contains(out, "button 10030 \"Save As...\" enabled shown"));
	// Gadgets of the hidden page take nothing.
	EXPECT_EQ(Run("drop 10003 Nothing\n"), 1);
	ASSERT_EQ(Run("add-null Box\n"), 0);
	EXPECT_EQ(Run("drop 10003 Box\n"), 1);
	EXPECT_TRUE(Contains(err, "hidden")) << err;
	ASSERT_EQ(Run("choose 10063 OM\nprint-dialog\n"), 0) << err;
	EXPECT_TRUE(Contains(out, "group 10066 enabled shown"));
	EXPECT_TRUE(Contains(out, "button 10030 \"Save As...\" disabled hidden"));
}

TEST_F(Manager, ScriptMistakesAreReportedNotActedOn)
{
	// Checked before anything runs.
	EXPECT_EQ(Run("tree-click 10003 -1 100\n"), 1);
	EXPECT_EQ(Run("tree-drag 10003 0 beside 1\n"), 1);
	EXPECT_EQ(Run("answer-dialog set 10016\n"), 1);
	EXPECT_EQ(Run("answer-dialog press 10014\n"), 1);
	EXPECT_EQ(Run("check 10005 maybe\n"), 1);
	EXPECT_EQ(Run("tree-click 10003 0 100 5\n"), 1);
	// At run time: no dialog, then things the dialog does not have.
	EXPECT_EQ(Run("print-dialog\n"), 1);
	EXPECT_TRUE(Contains(err, "no dialog is open")) << err;
	EXPECT_EQ(Run("run-command 424242\n"), 1);
	HoldScene();
	EXPECT_EQ(Run("tree-click 10003 99 100\n"), 1);
	EXPECT_EQ(Run("tree-click 10003 0 555\n"), 1);
	EXPECT_EQ(Run("tree-click 10003 0 100 9999 2\n"), 1);
	EXPECT_EQ(Run("choose 10006 OM-9\n"), 1);
	EXPECT_EQ(Run("type 10011 x\n"), 1);
	EXPECT_EQ(Run("drop 10003 Ghost\n"), 1);
	EXPECT_EQ(Run("tree-menu 10003 0 100 \"No such entry\"\n"), 1);
	EXPECT_EQ(Run("print-tree 10010\n"), 1);
	// A menu answer naming nothing is a dismissed menu.
	ASSERT_EQ(Run("answer-popup \"No such layer\"\ntree-click 10003 0 101\nprint-element Chair\nprint-shown\n"), 0) << err;
	EXPECT_TRUE(Contains(out, "layer none")) << out;
	EXPECT_TRUE(Contains(out, "no entry 'No such layer', dismissed")) << out;
}

TEST_F(Manager, DraggingTheSplitWidensTheNameColumn)
{
	HoldScene();
	ASSERT_EQ(Run("print-tree 10003\n"), 0) << err;
	const std::string before = LineStarting(out, "tree 10003");
	// Away from the split nothing moves.
	ASSERT_EQ(Run("tree-drag-split 10003 102 30\nprint-tree 10003\n"), 0) << err;
	EXPECT_EQ(LineStarting(out, "tree 10003"), before);
	// On it (where the tag column starts) the name column follows the mouse, and keeps its width
	// through the clicks after.
	ASSERT_EQ(Run("tree-drag-split 10003 104 30\ntree-click 10003 0 100 40 4\nprint-tree 10003\n"), 0) << err;
	const std::string after = LineStarting(out, "tree 10003");
	const auto NameWidth = [](const std::string& line) {
		const size_t at = line.find("100@0+");
		return at == std::string::npos ? -1 : std::stoi(line.substr(at + 6));
	};
	EXPECT_EQ(NameWidth(after), NameWidth(before) + 30) << before << "\n" << after;
}

} // namespace
