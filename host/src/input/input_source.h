// Where the host gets the user's mouse and keyboard from. The tool runtime, the editor window's
// drag loop and GetInputState ask the current source and never know who answers: session scripts
// plug in a scripted source now, and a live one (a window system's events) can plug in later
// without any change to the tools that read it.
#pragma once

#include "hostapi/types.h"

namespace standin::input
{

// One step of a mouse drag as the source reports it.
struct DragStep
{
	enum class Kind
	{
		Move,     // the pointer moved to (x, y); the button is still held
		Released, // the button went up: the drag is over
		Escaped,  // the user pressed Escape: the drag is over and cancelled
	};
	Kind kind = Kind::Released;
	Float x = 0.0;
	Float y = 0.0;
};

class InputSource
{
public:
	virtual ~InputSource() = default;

	// Qualifier bits held now (QSHIFT | QCTRL | QALT).
	virtual Int32 Qualifiers() const = 0;
	// The mouse channel held now (BFM_INPUT_MOUSELEFT, ...), 0 when no button is down.
	virtual Int32 HeldButton() const = 0;
	// The key held now (a key channel such as KEY_ESC), 0 when none.
	virtual Int32 HeldKey() const = 0;
	// The pointer position in pixels of the view.
	virtual Float PointerX() const = 0;
	virtual Float PointerY() const = 0;
	// The next step of the drag in progress; the pointer is at the step's position afterwards.
	// Once it has answered Released or Escaped it keeps answering that until a new drag begins.
	virtual DragStep NextDragStep() = 0;
};

// The source the host reads now. Never fails: when none is plugged in, a source that holds
// nothing and ends every drag at once answers.
InputSource& CurrentSource();
// Plugs a source in (nullptr: none); answers the one it replaces.
InputSource* UseSource(InputSource* source);

} // namespace standin::input
