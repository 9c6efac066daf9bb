// The editor window a tool's mouse input arrives through. The tool runtime makes one for each
// press and hands it to MouseInput; the tool's drag loop then steps it, and every step takes the
// next step of the current input source (input_source.h).
//
// A drag always ends: a step asked for before MouseDragStart, after the drag has ended, or after
// more steps than any user could make (a source that never lets go) answers that the drag is
// over instead of waiting.
#pragma once

#include "hostapi/input.h"

namespace standin::input
{

class HostEditorWindow final : public EditorWindow
{
public:
	// A drag that has run this many steps is taken as escaped.
	static constexpr Int64 kMaxDragSteps = Int64(1) << 24;

	HostEditorWindow() = default;
	~HostEditorWindow() = default;
	HostEditorWindow(const HostEditorWindow&) = delete;
	HostEditorWindow& operator=(const HostEditorWindow&) = delete;

	// What the tool said at MouseDragStart, for tests and the inspector.
	bool DragStarted() const { return _started; }
	Int32 DragButton() const { return _button; }
	Int32 DragFlags() const { return _flags; }
	Float DragStartX() const { return _startX; }
	Float DragStartY() const { return _startY; }
	// Steps taken since the last start.
	Int64 DragSteps() const { return _steps; }

	void Start(Int32 button, Float mx, Float my, Int32 flags);
	Int32 Step(Float* dx, Float* dy, BaseContainer* channels);
	Int32 End();

private:
	enum class State
	{
		Idle,    // no drag started
		Running, // started, the last step moved
		Finished,
		Escaped,
	};

	State _state = State::Idle;
	bool _started = false;
	Int32 _button = 0;
	Int32 _flags = 0;
	Float _startX = 0.0;
	Float _startY = 0.0;
	Float _lastX = 0.0;
	Float _lastY = 0.0;
	Int64 _steps = 0;
};

} // namespace standin::input
