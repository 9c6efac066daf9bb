// The scripted user's mouse, the dialog input the host reads unless another is plugged in: each
// dialog's pointer, button and qualifiers as the dialog verbs left them, and the path a scripted
// drag takes while the plug-in polls.
#include "dialog/dialog_state.h"
#include "standin/dialog_input.h"

namespace standin::dialogs
{

namespace
{

class ScriptedInput final : public DialogInput
{
public:
	MouseState PollMouse(GeDialog* dialog) override
	{
		DialogState* state = Find(dialog);
		if (!state)
			return MouseState();
		ScriptedMouse& m = state->mouse;
		if (!m.path.empty())
		{
			m.now.x = m.path.front().x;
			m.now.y = m.path.front().y;
			m.now.down = m.path.front().down;
			m.path.erase(m.path.begin());
		}
		else
			m.now.down = false; // a drag loop that polls past its path sees the button released
		return m.now;
	}
	void DropEvents(GeDialog*) override {}
};

ScriptedInput g_scripted;
DialogInput* g_input = nullptr;

} // namespace

DialogInput& CurrentDialogInput()
{
	return g_input ? *g_input : g_scripted;
}

DialogInput* UseDialogInput(DialogInput* input)
{
	DialogInput* old = g_input;
	g_input = input;
	return old;
}

} // namespace standin::dialogs
