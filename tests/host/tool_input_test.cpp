// The user's mouse and keyboard reaching the active tool: the editor window's drag loop over a
// queued path, the messages a key, a pointer move, the pointer leaving and a press carry, and what
// the host records meanwhile (redraw requests, update events, undo records).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hostapi/api.h"
#include "input/editor_window.h"
#include "input/scripted_input.h"
#include "standin/plugins.h"
#include "standin/redraws.h"
#include "standin/scene.h"
#include "standin/tools.h"
#include "standin/views.h"
#include "standin/redraw_target.h"

namespace
{

using standin::input::HostEditorWindow;
using standin::input::ScriptedInput;

constexpr Int32 kInputTool = 1990600;

// Plugs a scripted source in for one test and takes it out again.
class ScriptedSource
{
public:
	ScriptedSource() { _before = standin::input::UseSource(&input); }
	~ScriptedSource() { standin::input::UseSource(_before); }
	ScriptedInput input;

private:
	standin::input::InputSource* _before = nullptr;
};

struct StepAnswer
{
	Int32 result = 0;
	Float dx = 0.0;
	Float dy = 0.0;
	Int32 qualifiers = 0;
	Int32 held = 0;
};

StepAnswer Step(HostEditorWindow& win)
{
	StepAnswer a;
	BaseContainer channels;
	a.result = win.MouseDrag(&a.dx, &a.dy, &channels);
	a.qualifiers = channels.GetInt32(BFM_INPUT_QUALIFIER);
	a.held = channels.GetInt32(BFM_INPUT_VALUE);
	return a;
}

TEST(EditorWindowDrag, QueuedPathGivesDeltasThenFinishes)
{
	ScriptedSource source;
	source.input.Hold(QSHIFT | QALT, BFM_INPUT_MOUSELEFT, 0);
	source.input.QueueDrag({{13, 20}, {13, 20}, {10, 24}}, false);
	HostEditorWindow win;
	win.MouseDragStart(KEY_MLEFT, 10, 20, MOUSEDRAGFLAGS_DONTHIDEMOUSE | MOUSEDRAGFLAGS_NOMOVE);
	EXPECT_EQ(win.DragFlags(), 3);
	EXPECT_EQ(win.DragButton(), KEY_MLEFT);

	StepAnswer a = Step(win);
	EXPECT_EQ(a.result, MOUSEDRAGRESULT_CONTINUE);
	EXPECT_DOUBLE_EQ(a.dx, 3.0);
	EXPECT_DOUBLE_EQ(a.dy, 0.0);
	EXPECT_EQ(a.qualifiers, QSHIFT | QALT);
	EXPECT_EQ(a.held, 1);
	// A repeated point is a step that does not move.
	a = Step(win);
	EXPECT_EQ(a.result, MOUSEDRAGRESULT_CONTINUE);
	EXPECT_DOUBLE_EQ(a.dx, 0.0);
	EXPECT_DOUBLE_EQ(a.dy, 0.0);
	// Deltas are to the step before, not to the press.
	a = Step(win);
	EXPECT_DOUBLE_EQ(a.dx, -3.0);
	EXPECT_DOUBLE_EQ(a.dy, 4.0);
	// The path is done: the button goes up, without movement; asking again never waits.
	for (int i = 0; i < 3; ++i)
	{
		a = Step(win);
		EXPECT_EQ(a.result, MOUSEDRAGRESULT_FINISHED);
		EXPECT_DOUBLE_EQ(a.dx, 0.0);
		EXPECT_DOUBLE_EQ(a.dy, 0.0);
		EXPECT_EQ(a.held, 0);
	}
	EXPECT_EQ(win.MouseDragEnd(), MOUSEDRAGRESULT_FINISHED);
}

TEST(EditorWindowDrag, EscapeEndsTheDragAsEscaped)
{
	ScriptedSource source;
	source.input.Hold(0, BFM_INPUT_MOUSELEFT, 0);
	source.input.QueueDrag({{5, 5}}, true);
	HostEditorWindow win;
	win.MouseDragStart(KEY_MLEFT, 0, 0, 3);
	EXPECT_EQ(Step(win).result, MOUSEDRAGRESULT_CONTINUE);
	const StepAnswer a = Step(win);
	EXPECT_EQ(a.result, MOUSEDRAGRESULT_ESCAPE);
	EXPECT_DOUBLE_EQ(a.dx, 0.0);
	EXPECT_EQ(win.MouseDragEnd(), MOUSEDRAGRESULT_ESCAPE);
	// The key counts as held for a tool that asks afterwards.
	EXPECT_EQ(source.input.HeldKey(), KEY_ESC);
}

TEST(EditorWindowDrag, DragsThatNeverStartedOrNeverStopEnd)
{
	ScriptedSource source;
	source.input.Hold(0, BFM_INPUT_MOUSELEFT, 0);
	source.input.QueueDrag({{5, 5}}, false);
	{
		// Stepped without a start: over at once, not finished normally, and the path stays.
		HostEditorWindow win;
		EXPECT_EQ(Step(win).result, MOUSEDRAGRESULT_ESCAPE);
		EXPECT_EQ(win.MouseDragEnd(), MOUSEDRAGRESULT_ESCAPE);
		EXPECT_EQ(source.input.PendingSteps(), 1u);
	}
	{
		HostEditorWindow win;
		EXPECT_EQ(win.MouseDragEnd(), MOUSEDRAGRESULT_ESCAPE);
	}
	{
		// A tool that leaves its loop early: the drag ends where it stands, and a step after the
		// end does not reach the source.
		HostEditorWindow win;
		win.MouseDragStart(KEY_MLEFT, 0, 0, 3);
		EXPECT_EQ(win.MouseDragEnd(), MOUSEDRAGRESULT_FINISHED);
		EXPECT_EQ(Step(win).result, MOUSEDRAGRESULT_ESCAPE);
		EXPECT_EQ(source.input.PendingSteps(), 1u);
	}

	// A source that never lets the button go: the window gives up and calls it escaped.
	class EndlessSource final : public standin::input::InputSource
	{
	public:
		Int32 Qualifiers() const override { return 0; }
		Int32 HeldButton() const override { return BFM_INPUT_MOUSELEFT; }
		Int32 HeldKey() const override { return 0; }
		Float PointerX() const override { return 0.0; }
		Float PointerY() const override { return 0.0; }
		standin::input::DragStep NextDragStep() override { return {standin::input::DragStep::Kind::Move, 1.0, 1.0}; }
	} endless;
	standin::input::InputSource* before = standin::input::UseSource(&endless);
	HostEditorWindow win;
	win.MouseDragStart(KEY_MLEFT, 0, 0, 3);
	Int64 steps = 0;
	while (win.MouseDrag(nullptr, nullptr, nullptr) == MOUSEDRAGRESULT_CONTINUE)
		++steps;
	standin::input::UseSource(before);
	EXPECT_EQ(steps, HostEditorWindow::kMaxDragSteps);
	EXPECT_EQ(win.MouseDragEnd(), MOUSEDRAGRESULT_ESCAPE);
}

// ---- The tool runtime's input calls ------------------------------------------------------------

// What reached the fixture tool.
struct Seen
{
	std::vector<std::string> calls;
	BaseContainer msg;
	Int32 resultId = -1;
	Float x = 0.0, y = 0.0;
	std::vector<Float> dragX; // pointer position after every step
	Int32 dragEnd = 0;
	bool viewGiven = false;
};

Seen& Record()
{
	static Seen seen;
	return seen;
}

class InputTool : public ToolData
{
public:
	bool KeyboardInput(BaseDocument* doc, BaseContainer& data, BaseDraw* bd, EditorWindow* win, const BaseContainer& msg) override
	{
		(void)doc;
		(void)data;
		Record().calls.push_back("key");
		Record().msg = msg;
		Record().viewGiven = bd != nullptr && win != nullptr;
		return msg.GetInt32(BFM_INPUT_CHANNEL) == 'K';
	}
	bool GetCursorInfo(BaseDocument* doc, BaseContainer& data, BaseDraw* bd, Float x, Float y, BaseContainer& bc) override
	{
		(void)doc;
		(void)data;
		Record().calls.push_back("cursor");
		Record().resultId = bc.GetId();
		Record().x = x;
		Record().y = y;
		Record().viewGiven = bd != nullptr;
		if (bc.GetId() != BFM_CURSORINFO_REMOVE)
			bc.SetString(RESULT_BUBBLEHELP, "Draw here");
		return true;
	}
	bool MouseInput(BaseDocument* doc, BaseContainer& data, BaseDraw* bd, EditorWindow* win, const BaseContainer& msg) override
	{
		(void)doc;
		(void)data;
		(void)bd;
		Record().calls.push_back("mouse");
		Record().msg = msg;
		Float mx = msg.GetFloat(BFM_INPUT_X);
		win->MouseDragStart(KEY_MLEFT, mx, msg.GetFloat(BFM_INPUT_Y), 3);
		Float dx = 0.0, dy = 0.0;
		BaseContainer channels;
		while (win->MouseDrag(&dx, &dy, &channels) == MOUSEDRAGRESULT_CONTINUE)
		{
			mx += dx;
			Record().dragX.push_back(mx);
		}
		Record().dragEnd = win->MouseDragEnd();
		return true;
	}
};

class ToolInput : public ::testing::Test
{
protected:
	void SetUp() override
	{
		Record() = Seen();
		doc = standin::NewDocument();
		std::string error;
		ASSERT_TRUE(RegisterToolPlugin(kInputTool, "Input", 0, nullptr, "", NewObjTagged(InputTool, "test")));
		ASSERT_NE(standin::AddView(doc, 0, &error), nullptr) << error;
		ASSERT_TRUE(standin::tools::ActivateTool(doc, kInputTool, &error)) << error;
	}
	void TearDown() override
	{
		standin::tools::DeactivateTool(doc);
		standin::ClearRegistry();
		standin::CloseAllDocuments();
	}
	BaseDocument* doc = nullptr;
	ScriptedSource source;
};

TEST_F(ToolInput, KeyMessageCarriesDeviceKeyAndQualifiers)
{
	source.input.Hold(QCTRL, 0, 'K');
	EXPECT_TRUE(standin::tools::KeyDown(doc, 'K'));
	EXPECT_EQ(Record().msg.GetInt32(BFM_INPUT_DEVICE), BFM_INPUT_KEYBOARD);
	EXPECT_EQ(Record().msg.GetInt32(BFM_INPUT_CHANNEL), 'K');
	EXPECT_EQ(Record().msg.GetInt32(BFM_INPUT_QUALIFIER), QCTRL);
	EXPECT_TRUE(Record().viewGiven);
	// The tool's answer is whether it took the key.
	EXPECT_FALSE(standin::tools::KeyDown(doc, KEY_ESC));
	EXPECT_EQ(Record().msg.GetInt32(BFM_INPUT_CHANNEL), KEY_ESC);
}

TEST_F(ToolInput, CursorQueryAndTheNoticeThatThePointerLeft)
{
	std::string bubble;
	EXPECT_TRUE(standin::tools::PointerMove(doc, 12.5, 40, &bubble));
	EXPECT_EQ(bubble, "Draw here");
	EXPECT_EQ(Record().resultId, 0);
	EXPECT_DOUBLE_EQ(Record().x, 12.5);
	EXPECT_DOUBLE_EQ(Record().y, 40.0);
	EXPECT_TRUE(Record().viewGiven);

	EXPECT_TRUE(standin::tools::PointerLeave(doc));
	EXPECT_EQ(Record().resultId, BFM_CURSORINFO_REMOVE);
	EXPECT_DOUBLE_EQ(Record().x, static_cast<Float>(BFM_CURSORINFO_REMOVE));
}

TEST_F(ToolInput, PressCarriesPositionButtonAndQualifiersAndTheDragFollowsThePath)
{
	source.input.Hold(QSHIFT, BFM_INPUT_MOUSEMIDDLE, 0);
	source.input.QueueDrag({{12, 0}, {15, 0}}, false);
	EXPECT_TRUE(standin::tools::MouseDown(doc, BFM_INPUT_MOUSEMIDDLE, 10, 7));
	const BaseContainer& msg = Record().msg;
	EXPECT_EQ(msg.GetInt32(BFM_INPUT_DEVICE), BFM_INPUT_MOUSE);
	EXPECT_EQ(msg.GetInt32(BFM_INPUT_CHANNEL), BFM_INPUT_MOUSEMIDDLE);
	EXPECT_EQ(msg.GetInt32(BFM_INPUT_QUALIFIER), QSHIFT);
	EXPECT_DOUBLE_EQ(msg.GetFloat(BFM_INPUT_X), 10.0);
	EXPECT_DOUBLE_EQ(msg.GetFloat(BFM_INPUT_Y), 7.0);
	EXPECT_EQ(Record().dragX, (std::vector<Float>{12.0, 15.0}));
	EXPECT_EQ(Record().dragEnd, MOUSEDRAGRESULT_FINISHED);

	// A press with an escaped path.
	Record().dragX.clear();
	source.input.Hold(0, BFM_INPUT_MOUSELEFT, 0);
	source.input.QueueDrag({{11, 0}}, true);
	EXPECT_TRUE(standin::tools::MouseDown(doc, BFM_INPUT_MOUSELEFT, 10, 0));
	EXPECT_EQ(Record().dragX, (std::vector<Float>{11.0}));
	EXPECT_EQ(Record().dragEnd, MOUSEDRAGRESULT_ESCAPE);
}

TEST_F(ToolInput, NothingReachesAToolWhenNoneIsActive)
{
	standin::tools::DeactivateTool(doc);
	EXPECT_FALSE(standin::tools::KeyDown(doc, 'K'));
	EXPECT_FALSE(standin::tools::PointerMove(doc, 1, 1, nullptr));
	EXPECT_FALSE(standin::tools::PointerLeave(doc));
	EXPECT_FALSE(standin::tools::MouseDown(doc, BFM_INPUT_MOUSELEFT, 1, 1));
	EXPECT_FALSE(standin::tools::MouseDown(nullptr, BFM_INPUT_MOUSELEFT, 1, 1));
	EXPECT_TRUE(Record().calls.empty());
}

// ---- What the host records ---------------------------------------------------------------------

TEST(HostRecords, RedrawsAndUpdatesInOrderThroughTheTarget)
{
	standin::TakeRedraws();
	const Int64 draws = standin::DrawViewsCount();
	const Int64 events = standin::EventCount();
	DrawViews(DRAWFLAGS_TOOL_REDRAW);
	EventAdd();
	DrawViews(DRAWFLAGS_ONLY_ACTIVE_VIEW);
	std::vector<standin::RedrawRequest> got = standin::TakeRedraws();
	ASSERT_EQ(got.size(), 3u);
	EXPECT_EQ(got[0].kind, standin::RedrawRequest::Kind::Redraw);
	EXPECT_EQ(got[0].flags, 1282);
	EXPECT_EQ(got[1].kind, standin::RedrawRequest::Kind::Update);
	EXPECT_EQ(got[2].flags, DRAWFLAGS_ONLY_ACTIVE_VIEW);
	EXPECT_TRUE(standin::TakeRedraws().empty()); // taken once
	EXPECT_EQ(standin::DrawViewsCount(), draws + 2);
	EXPECT_EQ(standin::EventCount(), events + 1);
	EXPECT_EQ(standin::LastDrawViewsFlags(), DRAWFLAGS_ONLY_ACTIVE_VIEW);

	// Another output takes the requests instead of the log; the counters go on counting.
	struct Screen final : standin::view::RedrawTarget
	{
		std::vector<Int32> seen;
		void Redraw(Int32 flags) override { seen.push_back(flags); }
		void Update() override { seen.push_back(-1); }
	} screen;
	standin::view::RedrawTarget* before = standin::view::UseRedrawTarget(&screen);
	DrawViews(7);
	EventAdd();
	standin::view::UseRedrawTarget(before);
	EXPECT_EQ(screen.seen, (std::vector<Int32>{7, -1}));
	EXPECT_TRUE(standin::TakeRedraws().empty());
	EXPECT_EQ(standin::DrawViewsCount(), draws + 3);
}

TEST(HostRecords, UndoRecordsAreTakenOnceWithTheirSteps)
{
	BaseDocument* doc = standin::NewDocument();
	BaseObject* op = BaseObject::Alloc(Onull);
	ASSERT_NE(op, nullptr);
	op->SetName("Box");
	doc->InsertObject(op, nullptr, nullptr);
	doc->StartUndo();
	doc->AddUndo(UNDOTYPE_NEW, op);
	doc->AddUndo(UNDOTYPE_CHANGE, op);
	doc->EndUndo();
	doc->AddUndo(UNDOTYPE_CHANGE, op);
	std::vector<standin::UndoStep> steps = standin::TakeUndoRecords(doc);
	ASSERT_EQ(steps.size(), 3u);
	EXPECT_EQ(steps[0].type, UNDOTYPE_NEW);
	EXPECT_EQ(steps[1].type, UNDOTYPE_CHANGE);
	EXPECT_EQ(steps[0].group, steps[1].group);
	EXPECT_NE(steps[2].group, steps[1].group);
	EXPECT_EQ(steps[0].element, op);
	EXPECT_TRUE(standin::TakeUndoRecords(doc).empty());
	EXPECT_TRUE(standin::TakeUndoRecords(nullptr).empty());
	standin::CloseAllDocuments();
}

} // namespace
