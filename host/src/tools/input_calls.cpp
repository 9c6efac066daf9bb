// The user's mouse and keyboard reaching the active tool: the messages a view sends it for a key,
// a pointer move, the pointer leaving and a button press. What is held (qualifiers, button, key)
// and the path of a drag come from the current input source.
#include "hostapi/input.h"
#include "hostapi/view.h"
#include "input/editor_window.h"
#include "input/input_source.h"
#include "standin/tools.h"
#include "tools/cursor_help.h"

namespace standin::tools
{

namespace
{

// The active tool with its settings and the view input arrives in; false when one is missing.
struct Target
{
	ToolData* tool = nullptr;
	BaseContainer* settings = nullptr;
	BaseDraw* view = nullptr;
};

bool FindTarget(BaseDocument* doc, Target* t)
{
	if (!doc)
		return false;
	t->tool = ActiveTool();
	t->settings = ActiveToolSettings();
	t->view = doc->GetActiveBaseDraw();
	return t->tool && t->settings && t->view;
}


} // namespace

std::string& ShownCursorHelp()
{
	static std::string* help = new std::string;
	return *help;
}

bool KeyDown(BaseDocument* doc, Int32 key)
{
	Target t;
	if (!FindTarget(doc, &t))
		return false;
	BaseContainer msg(BFM_INPUT_KEYBOARD);
	msg.SetInt32(BFM_INPUT_DEVICE, BFM_INPUT_KEYBOARD);
	msg.SetInt32(BFM_INPUT_CHANNEL, key);
	msg.SetInt32(BFM_INPUT_QUALIFIER, input::CurrentSource().Qualifiers());
	msg.SetInt32(BFM_INPUT_VALUE, 1);
	input::HostEditorWindow win;
	return t.tool->KeyboardInput(doc, *t.settings, t.view, &win, msg);
}

bool PointerMove(BaseDocument* doc, Float x, Float y, std::string* bubble)
{
	Target t;
	if (!FindTarget(doc, &t))
		return false;
	BaseContainer result(0);
	const bool answer = t.tool->GetCursorInfo(doc, *t.settings, t.view, x, y, result);
	ShownCursorHelp() = result.GetString(RESULT_BUBBLEHELP).Get();
	if (bubble)
		*bubble = ShownCursorHelp();
	return answer;
}

bool PointerLeave(BaseDocument* doc)
{
	Target t;
	ShownCursorHelp().clear();
	if (!FindTarget(doc, &t))
		return false;
	// The notice says so twice, in the container's ID and in the position, so a tool that looks
	// at either one sees it.
	BaseContainer result(BFM_CURSORINFO_REMOVE);
	const Float notice = static_cast<Float>(BFM_CURSORINFO_REMOVE);
	return t.tool->GetCursorInfo(doc, *t.settings, t.view, notice, notice, result);
}

std::string CursorHelp()
{
	return ShownCursorHelp();
}

bool MouseDown(BaseDocument* doc, Int32 button, Float x, Float y)
{
	Target t;
	if (!FindTarget(doc, &t))
		return false;
	BaseContainer msg(BFM_INPUT_MOUSE);
	msg.SetInt32(BFM_INPUT_DEVICE, BFM_INPUT_MOUSE);
	msg.SetInt32(BFM_INPUT_CHANNEL, button);
	msg.SetInt32(BFM_INPUT_QUALIFIER, input::CurrentSource().Qualifiers());
	msg.SetInt32(BFM_INPUT_VALUE, 1);
	msg.SetFloat(BFM_INPUT_X, x);
	msg.SetFloat(BFM_INPUT_Y, y);
	input::HostEditorWindow win;
	return t.tool->MouseInput(doc, *t.settings, t.view, &win, msg);
}

} // namespace standin::tools
