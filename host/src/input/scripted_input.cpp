#include "input/scripted_input.h"

#include "hostapi/input.h"

namespace standin::input
{

void ScriptedInput::Hold(Int32 qualifiers, Int32 button, Int32 key)
{
	_qualifiers = qualifiers;
	_button = button;
	_key = key;
}

void ScriptedInput::MoveTo(Float x, Float y)
{
	_x = x;
	_y = y;
}

void ScriptedInput::QueueDrag(std::deque<Point> path, bool escape)
{
	_path = std::move(path);
	_escape = escape;
	_ended = DragStep::Kind::Released;
}

void ScriptedInput::ReleaseAll()
{
	Hold(0, 0, 0);
	_path.clear();
	_escape = false;
}

DragStep ScriptedInput::NextDragStep()
{
	DragStep step;
	if (!_path.empty())
	{
		const Point p = _path.front();
		_path.pop_front();
		_x = p.x;
		_y = p.y;
		step.kind = DragStep::Kind::Move;
		step.x = p.x;
		step.y = p.y;
		return step;
	}
	if (_button != 0)
	{
		// The path is done: the button goes up, or Escape is pressed while it is still down (the
		// key counts as held from then on, as it is for the tool that asks).
		_ended = _escape ? DragStep::Kind::Escaped : DragStep::Kind::Released;
		_button = 0;
		if (_escape)
			_key = KEY_ESC;
		_escape = false;
	}
	step.kind = _ended;
	step.x = _x;
	step.y = _y;
	return step;
}

} // namespace standin::input
