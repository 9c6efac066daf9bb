// What the manager's tree selection reaches: the tag strip at the end of each interaction, the
// scene's selection while "Select in Scene" is on, the attribute manager's tag mode, the context
// menu's removal entries, folding and the layer popup's remaining commands.
#include "manager_fixture.h"

namespace
{

using namespace manager_test;

TEST_F(Manager, TheTagStripAndTheSceneFollowTheTreeSelection)
{
	ASSERT_EQ(Run("add-null Chair\nadd-material Wood\nadd-tag Chair texture Wood\nadd-tag Chair phong\nadd-null Lamp\n"
	              "run-command 1039103\ndrop 10003 Chair Lamp\nprint-area 10002\n"),
		0) << err;
	EXPECT_TRUE(Contains(out, "area 10002: fill 1000\n")) << out;
	// Selecting Chair ends an interaction: the strip shows its tags, the texture tag by its
	// material's icon, and Chair is selected in the scene.
	ASSERT_EQ(Run("tree-click 10003 0 100 40 4\nprint-area 10002\nprint-element Chair\n"), 0) << err;
	EXPECT_TRUE(Contains(out, "area 10002: fill 1000, host:material:5703 24x24 at 0,0 flags 3, host:tag:5612 24x24 at 26,0 flags 3\n")) << out;
	EXPECT_TRUE(Contains(LineStarting(out, "Chair:"), " selected")) << out;
	// With "Select in Scene" off the tree's selection stays in the tree; the strip still follows it.
	ASSERT_EQ(Run("check 10005 off\ntree-click 10003 1 100 40 4\nprint-area 10002\nprint-element Lamp\nprint-tree 10003\n"), 0) << err;
	EXPECT_TRUE(Contains(out, "area 10002: fill 1000\n")) << out;
	EXPECT_FALSE(Contains(LineStarting(out, "Lamp:"), " selected")) << out;
	EXPECT_TRUE(Contains(out, "row 1 depth 0 leaf selected \"Lamp\"")) << out;
	// A click on a tag icon switches the attribute manager to its tag mode.
	ASSERT_EQ(Run("print-shown\ntree-click 10003 0 104 6 4\nprint-shown\nprint-element Chair\n"), 0) << err;
	EXPECT_TRUE(Contains(out, "attribute manager mode 2 shown")) << out;
	EXPECT_TRUE(Contains(out, "tags 5616* 5612")) << out;
}

TEST_F(Manager, MenusFoldAndLayerCommandsActOnTheClickedEntry)
{
	HoldScene();
	// Removal is offered only while the first entry is selected, not for a later one.
	ASSERT_EQ(Run("tree-click 10003 1 100 40 4\ntree-menu 10003 1 100\n"), 0) << err;
	EXPECT_TRUE(Contains(out, "Select")) << out;
	EXPECT_FALSE(Contains(out, "Remove")) << out;

	// Fold Under leaves the entry open but clears its object's fold bit, and folds what is below.
	ASSERT_EQ(Run("tree-menu 10003 0 100 \"Unfold Under\"\ntree-menu 10003 0 100 \"Fold Under\"\nprint-tree 10003\nprint-element Chair\nprint-element Chair/Seat\n"), 0) << err;
	EXPECT_TRUE(Contains(out, "row 0 depth 0 open \"Chair\"")) << out;
	EXPECT_TRUE(Contains(out, "row 1 depth 1 folded \"Seat\"")) << out;
	EXPECT_EQ(LineStarting(out, "Chair:").substr(LineStarting(out, "Chair:").size() - 5), " fold") << out;
	EXPECT_EQ(LineStarting(out, "Chair/Seat:").substr(LineStarting(out, "Chair/Seat:").size() - 5), " fold") << out;
	// Fold All folds every entry.
	ASSERT_EQ(Run("tree-menu 10003 0 100 \"Unfold All\"\ntree-menu 10003 2 100 \"Fold All\"\nprint-tree 10003\n"), 0) << err;
	EXPECT_TRUE(Contains(out, "tree 10003: 3 rows")) << out;
	EXPECT_TRUE(Contains(out, "row 0 depth 0 folded \"Chair\"")) << out;

	// The layer popup: put Chair on a layer, select that layer, take Chair off it again (with an
	// undo step).
	ASSERT_EQ(Run("add-layer Props\nadd-layer Other\nanswer-popup \"Add to Layer/Props\"\ntree-click 10003 0 101\n"
	              "answer-popup \"Select Layer\"\ntree-click 10003 0 101\nprint-layers\nprint-undo\n"
	              "answer-popup \"Remove from Layer\"\ntree-click 10003 0 101\nprint-element Chair\nprint-undo\n"),
		0) << err;
	EXPECT_TRUE(Contains(out, "layer \"Props\" selected\nlayer \"Other\"\n")) << out;
	EXPECT_TRUE(Contains(LineStarting(out, "Chair:"), "layer none")) << out;
	EXPECT_TRUE(Contains(out, "undo step 1: 40 change \"Chair\"")) << out;
}

} // namespace
