// The input source of session scripts: the verbs say what is held and where the pointer is, and
// queue the path of a drag; the editor window's drag loop then takes the path one point a step.
//
// A drag path is never split into smaller steps or merged: every point after the press is one
// step, its movement the difference to the point before (a repeated point is a step that does not
// move). After the last point the button goes up, or, when the script says so, Escape ends it.
#pragma once

#include <cstddef>
#include <deque>

#include "input/input_source.h"

namespace standin::input
{

class ScriptedInput final : public InputSource
{
public:
	struct Point
	{
		Float x = 0.0;
		Float y = 0.0;
	};

	// What is held from now on (0: nothing).
	void Hold(Int32 qualifiers, Int32 button, Int32 key);
	void MoveTo(Float x, Float y);
	// The path the pointer takes while the held button stays down: the points after the press.
	// escape: the drag ends with Escape instead of the button going up.
	void QueueDrag(std::deque<Point> path, bool escape);
	// The end of a user action: nothing is held any more and an unused drag path is dropped (the
	// pointer stays where it is).
	void ReleaseAll();
	// Points of the queued path the drag has not taken yet.
	std::size_t PendingSteps() const { return _path.size(); }

	Int32 Qualifiers() const override { return _qualifiers; }
	Int32 HeldButton() const override { return _button; }
	Int32 HeldKey() const override { return _key; }
	Float PointerX() const override { return _x; }
	Float PointerY() const override { return _y; }
	DragStep NextDragStep() override;

private:
	Int32 _qualifiers = 0;
	Int32 _button = 0;
	Int32 _key = 0;
	Float _x = 0.0;
	Float _y = 0.0;
	std::deque<Point> _path;
	bool _escape = false;
	// What the drag ended with, answered again to every later step.
	DragStep::Kind _ended = DragStep::Kind::Released;
};

} // namespace standin::input
