// The set button's list of saved sets and the delete button, as a user works them: the list shows
// every set with the members still in the scene, a click on a set row loads it while the list
// stays open, and deleting makes the set before the current one current.
#include "manager_fixture.h"

#include "hostapi/document.h"

namespace
{

using namespace manager_test;

class SetList : public Manager
{
protected:
	// Set 1 "Pair" holds Chair and Wood, set 2 "Single" holds Lamp; set 2 is current.
	void SaveTwoSets()
	{
		HoldScene();
		ASSERT_EQ(Run("tree-click 10003 1 100 40 4\ntree-delete 10003\n"
		              "answer-dialog set 10016 Pair click 10014\nclick 10011\n"
		              "answer-dialog choose 10021 0 click 10024\nclick 10023\n"
		              "drop 10003 Lamp\nanswer-dialog set 10016 Single click 10014\nclick 10011\nprint-shown\n"),
			0) << err;
	}
	// Opens the list, prints it, does what is given, closes it; the printed list is in out.
	int List(const std::string& actions = "")
	{
		return Run("answer-dialog print " + actions + (actions.empty() ? "" : " ") + "click 10024\nclick 10023\nprint-shown\n");
	}
};

TEST_F(SetList, ListsSetsWithTheirMembersAndLoadsWhileItStaysOpen)
{
	SaveTwoSets();
	ASSERT_EQ(List(), 0) << err;
	EXPECT_TRUE(Contains(out, "listview 10021 = \"\" [0:\"None\" 1:\"Pair\" -1:\"     Chair\" -2:\"     Wood\" 2:\"Single\" -3:\"     Lamp\"]")) << out;
	// Opened below the set button, in the screen's coordinates.
	EXPECT_TRUE(Contains(out, "modal dialog \"Sets\" at (262, 127) size 200x400 answered")) << out;

	// Rows clicked one after the other in the open list: each set row loads its set, a member row
	// loads nothing.
	ASSERT_EQ(List("choose 10021 2 choose 10021 1 choose 10021 -3"), 0) << err;
	ASSERT_EQ(Run("print-tree 10003\nprint-dialog\n"), 0) << err;
	EXPECT_TRUE(Contains(out, "tree 10003: 2 rows")) << out;
	EXPECT_TRUE(Contains(out, "\"Chair\"") && Contains(out, "\"Wood\"")) << out;
	EXPECT_TRUE(Contains(out, "button 10023 \"Pair\" enabled shown")) << out;
	EXPECT_TRUE(Contains(out, "button 10013 \"Delete Set\" enabled shown")) << out;
	// The None row empties the held list.
	ASSERT_EQ(List("choose 10021 0"), 0) << err;
	ASSERT_EQ(Run("print-tree 10003\nprint-dialog\n"), 0) << err;
	EXPECT_TRUE(Contains(out, "tree 10003: 0 rows")) << out;
	EXPECT_TRUE(Contains(out, "button 10023 \"None\" enabled shown")) << out;
	EXPECT_TRUE(Contains(out, "button 10013 \"Delete Set\" disabled shown")) << out;

	// Lamp removed behind the host's back (no update yet): its set still has its row, with no
	// member row below it.
	BaseDocument* doc = GetActiveDocument();
	ASSERT_NE(doc, nullptr);
	BaseObject* lamp = doc->SearchObject(String("Lamp"));
	ASSERT_NE(lamp, nullptr);
	BaseObject::Free(lamp);
	ASSERT_EQ(List(), 0) << err;
	EXPECT_TRUE(Contains(out, "-2:\"     Wood\" 2:\"Single\"]")) << out;
}

TEST_F(SetList, DeletingTheCurrentSetMakesTheOneBeforeItCurrent)
{
	SaveTwoSets();
	ASSERT_EQ(Run("click 10013\nprint-dialog\n"), 0) << err;
	// The held list and the caption stay; set 1 is current now.
	EXPECT_TRUE(Contains(out, "button 10023 \"Single\" enabled shown")) << out;
	EXPECT_TRUE(Contains(out, "button 10013 \"Delete Set\" enabled shown")) << out;
	ASSERT_EQ(List(), 0) << err;
	EXPECT_TRUE(Contains(out, "[0:\"None\" 1:\"Pair\" -1:\"     Chair\" -2:\"     Wood\"]")) << out;
	ASSERT_EQ(Run("print-tree 10003\n"), 0) << err;
	EXPECT_TRUE(Contains(out, "tree 10003: 1 rows")) << out;
	// Deleting set 1 leaves no set: no current one, nothing to list.
	ASSERT_EQ(Run("click 10013\nprint-dialog\n"), 0) << err;
	EXPECT_TRUE(Contains(out, "button 10023 \"Single\" disabled shown")) << out;
	EXPECT_TRUE(Contains(out, "button 10013 \"Delete Set\" disabled shown")) << out;
	EXPECT_EQ(Run("click 10013\n"), 1);
}

} // namespace
