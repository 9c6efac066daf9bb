// The host's tool runtime, for the executable, the session verbs and the tests: which registered
// tool is active, its settings container, the settings panel a user would see, and the user's
// mouse and keyboard reaching the tool. Plug-ins never see this header; they see only ToolData
// and DescriptionToolData (hostapi/plugin.h).
//
// The runtime calls the tool as the host's views and panels would:
//   - ActivateTool: FreeTool on the tool left (with the document), then InitTool on the new one.
//     A tool's settings container is made once, by InitDefaultSettings on first activation, and
//     kept across tool changes until the registry is cleared.
//   - The panel: GetDDescription on a description loaded from the tool's resource symbol, then
//     GetDEnabling for every entry; PanelButton / PanelChange send messages 18, 31 and 19 as a
//     panel sends them.
//   - Input: KeyDown, PointerMove (the cursor query), PointerLeave ('cirm') and MouseDown
//     (MouseInput, whose drag loop reads the current input source, input/input_source.h).
#pragma once

#include <string>
#include <vector>

#include "hostapi/document.h"
#include "hostapi/plugin.h"

namespace standin::tools
{

// ---- Activation --------------------------------------------------------------------------------

// Makes the tool registered under id the active tool of doc. The tool left gets FreeTool, the new
// one InitTool (with its settings container, made by InitDefaultSettings the first time). False
// with *error when id is not a registered tool, when the tool's GetCommandFlags lacks CMD_ENABLED
// (the active tool stays), or InitTool answers false (no tool is active then).
bool ActivateTool(BaseDocument* doc, Int32 id, std::string* error);
// Leaves the active tool (FreeTool), if any.
void DeactivateTool(BaseDocument* doc);
// The active tool's ID, 0 when none is active.
Int32 ActiveToolId();
// The active tool's data object and settings container; nullptr when none is active.
ToolData* ActiveTool();
BaseContainer* ActiveToolSettings();
// The settings container of the tool registered under id (made on first use); nullptr when id
// is no registered tool or InitDefaultSettings answered false.
BaseContainer* ToolSettings(Int32 id);
// Forgets active tool and settings containers; the registry calls it before it frees the tools.
void ResetToolRuntime();

// ---- The settings panel ------------------------------------------------------------------------

struct PanelChoice
{
	Int32 id = 0;
	std::string symbol;
	std::string label;
};

struct PanelEntry
{
	Int32 id = 0;
	std::string kind;   // the description entry's kind: LONG REAL BOOL STRING BUTTON LINK CYCLE ...
	std::string symbol;
	std::string label;   // the entry's DESC_NAME after GetDDescription
	bool shown = true;   // DESC_HIDE not set by GetDDescription
	bool enabled = true; // GetDEnabling's answer
	// The setting's value as a user reads it: LONG 5, REAL 0.5, BOOL on/off, STRING "text"
	// (escaped), LINK "Parent/Child" or none, CYCLE "Freehand" 3022, GRADIENT and SPLINE
	// "2 knots", BUTTON and GROUP "-"; "unset" when the container has no value, "invalid" when
	// its value does not fit the kind.
	std::string value;
	// REAL entries whose DESC_UNIT is DESC_UNIT_DEGREE: the value is shown ("15°") and typed in
	// degrees; the container keeps radians.
	bool degrees = false;
	std::vector<PanelChoice> choices; // CYCLE entries: their choices in order
};

// The active tool's panel as a user would see it now, in description order. False with *error
// when no description tool is active or its description cannot be loaded.
bool ReadPanel(BaseDocument* doc, std::vector<PanelEntry>* entries, std::string* error);
// The panel as text, one entry a line:
//   <id> <SYMBOL> "<label>" <KIND> <value> shown|hidden enabled|disabled
// e.g. 3000 LOOM_STROKE_SEGMENTS "Stroke segments" LONG 5 shown enabled
std::string DescribePanel(const std::vector<PanelEntry>& entries);
// A settings container as text, one value a line in the container's order:
//   <id> <TYPE> <value>   (TYPE: LONG REAL LLONG VECTOR MATRIX STRING LINK CONTAINER GRADIENT
//   SPLINE CUSTOM NIL; links resolve in doc)
std::string DescribeSettings(BaseDocument* doc, const BaseContainer& settings);

// A press of the panel button id: message 18 with that identifier. False with *error when the
// active tool's panel has no such button, or it is hidden or disabled.
bool PanelButton(BaseDocument* doc, Int32 id, std::string* error);
// The user changed setting id in the panel to value: the container is written, then message 31
// (DescriptionCheckUpdate) and message 19 follow. False with *error when the entry is not in
// the panel, hidden, disabled, or value does not fit its type.
bool PanelChange(BaseDocument* doc, Int32 id, const GeData& value, std::string* error);

// ---- Input ---------------------------------------------------------------------------------------

// A key press reaching the active tool's KeyboardInput; answers whether the tool consumed it.
bool KeyDown(BaseDocument* doc, Int32 key);
// The pointer moved to (x, y) of the active view: the cursor query (GetCursorInfo). *bubble gets
// the bubble help the tool set (may be nullptr).
bool PointerMove(BaseDocument* doc, Float x, Float y, std::string* bubble);
// The pointer left the view: the cursor query with 'cirm'.
bool PointerLeave(BaseDocument* doc);
// The bubble help the view shows beside the pointer: what the last cursor query put there; empty
// before any, once the pointer has left the view and once the tool is left.
std::string CursorHelp();
// A mouse button (BFM_INPUT_MOUSELEFT, ...) pressed at (x, y) of the active view: MouseInput. A
// drag the tool starts takes its steps from the current input source. Answers the tool's answer.
bool MouseDown(BaseDocument* doc, Int32 button, Float x, Float y);

} // namespace standin::tools
