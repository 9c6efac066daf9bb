#include "input/editor_window.h"

#include "input/input_source.h"

namespace standin::input
{

namespace
{

// The mouse channel of the button key a drag is started with (KEY_MLEFT ...); a channel given as
// it is stays itself.
Int32 ChannelOfButton(Int32 button)
{
	switch (button)
	{
		case KEY_MLEFT:
			return BFM_INPUT_MOUSELEFT;
		case KEY_MRIGHT:
			return BFM_INPUT_MOUSERIGHT;
		case KEY_MMIDDLE:
			return BFM_INPUT_MOUSEMIDDLE;
		default:
			return button;
	}
}

void FillChannels(BaseContainer* channels, Int32 button, bool held, Float x, Float y)
{
	if (!channels)
		return;
	channels->FlushAll();
	channels->SetInt32(BFM_INPUT_DEVICE, BFM_INPUT_MOUSE);
	channels->SetInt32(BFM_INPUT_CHANNEL, ChannelOfButton(button));
	channels->SetInt32(BFM_INPUT_QUALIFIER, CurrentSource().Qualifiers());
	channels->SetInt32(BFM_INPUT_VALUE, held ? 1 : 0);
	channels->SetFloat(BFM_INPUT_X, x);
	channels->SetFloat(BFM_INPUT_Y, y);
}

} // namespace

void HostEditorWindow::Start(Int32 button, Float mx, Float my, Int32 flags)
{
	_state = State::Running;
	_started = true;
	_button = button;
	_flags = flags;
	_startX = _lastX = mx;
	_startY = _lastY = my;
	_steps = 0;
}

Int32 HostEditorWindow::Step(Float* dx, Float* dy, BaseContainer* channels)
{
	Float moveX = 0.0, moveY = 0.0;
	if (_state == State::Running)
	{
		if (++_steps > kMaxDragSteps)
			_state = State::Escaped;
		else
		{
			const DragStep step = CurrentSource().NextDragStep();
			switch (step.kind)
			{
				case DragStep::Kind::Move:
					moveX = step.x - _lastX;
					moveY = step.y - _lastY;
					_lastX = step.x;
					_lastY = step.y;
					break;
				case DragStep::Kind::Released:
					_state = State::Finished;
					break;
				case DragStep::Kind::Escaped:
					_state = State::Escaped;
					break;
			}
		}
	}
	else if (_state == State::Idle)
	{
		// Stepping a drag that was never started: there is nothing to follow, and it did not end
		// the way a drag ends normally.
		_state = State::Escaped;
	}
	if (dx)
		*dx = moveX;
	if (dy)
		*dy = moveY;
	FillChannels(channels, _button, _state == State::Running, _lastX, _lastY);
	switch (_state)
	{
		case State::Running:
			return MOUSEDRAGRESULT_CONTINUE;
		case State::Finished:
			return MOUSEDRAGRESULT_FINISHED;
		default:
			return MOUSEDRAGRESULT_ESCAPE;
	}
}

Int32 HostEditorWindow::End()
{
	// A tool that leaves its loop while the button is still down ends the drag where it stands,
	// as a user letting go would.
	const Int32 result = _state == State::Escaped || _state == State::Idle ? MOUSEDRAGRESULT_ESCAPE : MOUSEDRAGRESULT_FINISHED;
	_state = State::Idle;
	return result;
}

} // namespace standin::input

// The tools see only EditorWindow; every window the host hands out is a HostEditorWindow.
void EditorWindow::MouseDragStart(Int32 button, Float mx, Float my, Int32 flags)
{
	static_cast<standin::input::HostEditorWindow*>(this)->Start(button, mx, my, flags);
}

Int32 EditorWindow::MouseDrag(Float* dx, Float* dy, BaseContainer* channels)
{
	return static_cast<standin::input::HostEditorWindow*>(this)->Step(dx, dy, channels);
}

Int32 EditorWindow::MouseDragEnd()
{
	return static_cast<standin::input::HostEditorWindow*>(this)->End();
}
