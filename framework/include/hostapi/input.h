// User input as a tool receives it: the keys of input containers, mouse buttons and qualifier
// bits, the current input state, mouse drags through the editor window, and redraw flags.
//
// An input message (ToolData::MouseInput, KeyboardInput) is a container holding the position
// (BFM_INPUT_X/Y, pixels of the view), the device, the channel (which button or key) and the
// qualifiers held at that moment.
#pragma once

#include "hostapi/container.h"

// Four letters packed into one identifier, as the host names its input keys ('ipvx').
constexpr Int32 HostFourCC(const char (&s)[5])
{
	return static_cast<Int32>((static_cast<UInt32>(static_cast<unsigned char>(s[0])) << 24) |
		(static_cast<UInt32>(static_cast<unsigned char>(s[1])) << 16) |
		(static_cast<UInt32>(static_cast<unsigned char>(s[2])) << 8) | static_cast<UInt32>(static_cast<unsigned char>(s[3])));
}

// Keys of an input container.
enum : Int32
{
	BFM_INPUT_X = HostFourCC("ipvx"),         // Float: pixel x in the view
	BFM_INPUT_Y = HostFourCC("ipvy"),         // Float: pixel y in the view
	BFM_INPUT_CHANNEL = HostFourCC("ipca"),   // Int32: the button or key (1768973153)
	BFM_INPUT_QUALIFIER = HostFourCC("ipqu"), // Int32: QSHIFT | QCTRL | QALT
	BFM_INPUT_DEVICE = HostFourCC("ipdv"),    // Int32: BFM_INPUT_MOUSE or BFM_INPUT_KEYBOARD
	BFM_INPUT_VALUE = HostFourCC("ipva"),     // Int32: 1 while the button or key is down
};

// Input devices. Asking the keyboard for channel BFM_INPUT_CHANNEL asks for whatever key is down.
enum : Int32
{
	BFM_INPUT_MOUSE = HostFourCC("mous"),
	BFM_INPUT_KEYBOARD = HostFourCC("keyb"), // 1801812322
};

// Mouse channels of an input message.
enum : Int32
{
	BFM_INPUT_MOUSELEFT = 1,
	BFM_INPUT_MOUSERIGHT = 2,
	BFM_INPUT_MOUSEMIDDLE = 3,
};

// Button keys, as a drag is started with them.
enum : Int32
{
	KEY_MLEFT = 0xF000,
	KEY_MRIGHT = 0xF001,
	KEY_MMIDDLE = 0xF002,
	KEY_ESC = 61723,
};

// Qualifier bits.
enum : Int32
{
	QSHIFT = 1,
	QCTRL = 2,
	QALT = 4,
};

// The state of a device and channel right now (for the mouse: BFM_INPUT_QUALIFIER and
// BFM_INPUT_VALUE of the button; for the keyboard with channel BFM_INPUT_CHANNEL: BFM_INPUT_CHANNEL
// of a key that is down, or none). False when the host cannot tell.
bool GetInputState(Int32 device, Int32 channel, BaseContainer& result);

// The cursor query (ToolData::GetCursorInfo): x is BFM_CURSORINFO_REMOVE when the host tells the
// tool that the cursor left the view; the tool answers into the result container.
enum : Int32
{
	BFM_CURSORINFO_REMOVE = HostFourCC("cirm"),
	RESULT_BUBBLEHELP = 2,  // String: help text shown beside the cursor
	RESULT_CURSOR = 3,      // Int32: cursor shape
};

// Flags of EditorWindow::MouseDragStart.
enum : Int32
{
	MOUSEDRAGFLAGS_DONTHIDEMOUSE = 1,
	MOUSEDRAGFLAGS_NOMOVE = 2,
};

// Answers of EditorWindow::MouseDrag and MouseDragEnd.
enum : Int32
{
	MOUSEDRAGRESULT_ESCAPE = 1,
	MOUSEDRAGRESULT_FINISHED = 2,
	MOUSEDRAGRESULT_CONTINUE = 3,
};

// Flags of DrawViews.
enum : Int32
{
	DRAWFLAGS_ONLY_ACTIVE_VIEW = 2,
	DRAWFLAGS_NO_THREAD = 256,
	DRAWFLAGS_NO_ANIMATION = 1024,
	// What the tools ask for while they drag: the active view only, now, without animation.
	DRAWFLAGS_TOOL_REDRAW = DRAWFLAGS_ONLY_ACTIVE_VIEW | DRAWFLAGS_NO_THREAD | DRAWFLAGS_NO_ANIMATION, // 1282
};

// The editor window a tool's input arrives through. A drag is a modal loop: start it with the
// pressed button, then step until the step stops answering MOUSEDRAGRESULT_CONTINUE; each step gives
// the mouse movement since the step before. MouseDragEnd tells whether the drag ended normally
// (MOUSEDRAGRESULT_FINISHED) or was escaped.
class EditorWindow
{
public:
	void MouseDragStart(Int32 button, Float mx, Float my, Int32 flags);
	// dx, dy: the movement since the last step; channels: the input state of this step (qualifiers).
	Int32 MouseDrag(Float* dx, Float* dy, BaseContainer* channels);
	Int32 MouseDragEnd();

protected:
	EditorWindow() = default;
	~EditorWindow() = default;
};
