// The user's mouse and keyboard in the active view, reaching the active tool: moving the pointer
// (the cursor query a view makes on every move), the pointer leaving, a key press and a drag with
// a button; and what the host was asked to show and record meanwhile (redraws, update events,
// undo steps).
//
// Every action holds its qualifiers, button or key only while it lasts: at its end nothing is held
// any more and an unused drag path is dropped.
#include <deque>
#include <sstream>

#include "hostapi/input.h"
#include "session/lookup.h"
#include "session/words.h"
#include "standin/printable.h"
#include "standin/redraws.h"
#include "standin/scene.h"
#include "standin/tools.h"

namespace standin::session
{

namespace
{

const char* kMoveUsage = "move-mouse <x> <y> [shift] [ctrl] [alt]";
const char* kKeyUsage = "press-key escape|<key code>";
const char* kDragUsage = "drag left|right|middle [shift] [ctrl] [alt] <x> <y> [<x> <y> ...] [escape]";

// The document, its active view and an active tool: what every input verb needs.
bool RequireToolAndView(const Session& session, std::string* error)
{
	BaseDraw* bd = nullptr;
	if (!RequireView(session, &bd, error))
		return false;
	if (!tools::ActiveTool())
	{
		*error = "no tool is active";
		return false;
	}
	return true;
}

// Qualifier words from args[*at] on, up to the first word that is none.
Int32 ReadQualifiers(const Words& args, size_t* at)
{
	Int32 qualifiers = 0;
	Int32 bit = 0;
	while (*at < args.size() && ParseQualifier(args[*at], &bit))
	{
		qualifiers |= bit;
		++*at;
	}
	return qualifiers;
}

// ---- move-mouse, mouse-leave --------------------------------------------------------------------

struct MoveArgs
{
	Float x = 0.0;
	Float y = 0.0;
	Int32 qualifiers = 0;
};

bool ParseMove(const Words& args, MoveArgs* out, std::string* error)
{
	if (!CheckArity(args, 2, 5, kMoveUsage, error) || !ParsePixel(args[0], "x", &out->x, error) || !ParsePixel(args[1], "y", &out->y, error))
		return false;
	size_t at = 2;
	out->qualifiers = ReadQualifiers(args, &at);
	if (at != args.size())
	{
		*error = "expected shift, ctrl or alt, not '" + Printable(args[at], 64) + "'; usage: " + kMoveUsage;
		return false;
	}
	return true;
}

bool RunMove(Session& session, const MoveArgs& args, std::string* error)
{
	if (!RequireToolAndView(session, error))
		return false;
	input::ScriptedInput& in = session.Input();
	in.Hold(args.qualifiers, 0, 0);
	in.MoveTo(args.x, args.y);
	tools::PointerMove(session.Document(), args.x, args.y, nullptr);
	in.ReleaseAll();
	return true;
}

bool RunLeave(Session& session, const NoArgs&, std::string* error)
{
	if (!RequireToolAndView(session, error))
		return false;
	tools::PointerLeave(session.Document());
	return true;
}

// ---- press-key ----------------------------------------------------------------------------------

struct KeyArgs
{
	Int32 key = 0;
};

bool ParseKey(const Words& args, KeyArgs* out, std::string* error)
{
	if (!CheckArity(args, 1, 1, kKeyUsage, error))
		return false;
	if (args[0] == "escape")
	{
		out->key = KEY_ESC;
		return true;
	}
	return ParseInt(args[0], "key code", 1, 0x7fffffff, &out->key, error);
}

bool RunKey(Session& session, const KeyArgs& args, std::string* error)
{
	if (!RequireToolAndView(session, error))
		return false;
	input::ScriptedInput& in = session.Input();
	in.Hold(0, 0, args.key);
	tools::KeyDown(session.Document(), args.key);
	in.ReleaseAll();
	return true;
}

// ---- drag ---------------------------------------------------------------------------------------

struct DragArgs
{
	Int32 button = 0;
	Int32 qualifiers = 0;
	std::deque<input::ScriptedInput::Point> points; // the press, then one point a step
	bool escape = false;
};

bool ParseDrag(const Words& args, DragArgs* out, std::string* error)
{
	if (args.size() < 3)
	{
		*error = std::string("a drag needs a button and a point; usage: ") + kDragUsage;
		return false;
	}
	if (args[0] == "left")
		out->button = BFM_INPUT_MOUSELEFT;
	else if (args[0] == "right")
		out->button = BFM_INPUT_MOUSERIGHT;
	else if (args[0] == "middle")
		out->button = BFM_INPUT_MOUSEMIDDLE;
	else
	{
		*error = "expected left, right or middle, not '" + Printable(args[0], 64) + "'";
		return false;
	}
	size_t at = 1;
	out->qualifiers = ReadQualifiers(args, &at);
	size_t end = args.size();
	if (args[end - 1] == "escape")
	{
		out->escape = true;
		--end;
	}
	const size_t numbers = end > at ? end - at : 0;
	if (numbers == 0 || numbers % 2 != 0)
	{
		*error = std::string("a drag takes points as pairs of x and y, at least one; usage: ") + kDragUsage;
		return false;
	}
	for (size_t i = at; i < end; i += 2)
	{
		input::ScriptedInput::Point p;
		if (!ParsePixel(args[i], "x", &p.x, error) || !ParsePixel(args[i + 1], "y", &p.y, error))
			return false;
		out->points.push_back(p);
	}
	return true;
}

bool RunDrag(Session& session, const DragArgs& args, std::string* error)
{
	if (!RequireToolAndView(session, error))
		return false;
	BaseDocument* doc = session.Document();
	input::ScriptedInput& in = session.Input();
	const input::ScriptedInput::Point press = args.points.front();
	// The user reaches the first point with the keys held: the view asks the tool for the cursor
	// there, as it does on every move.
	in.Hold(args.qualifiers, 0, 0);
	in.MoveTo(press.x, press.y);
	tools::PointerMove(doc, press.x, press.y, nullptr);
	// Then the button goes down and stays down along the rest of the path.
	in.Hold(args.qualifiers, args.button, 0);
	in.QueueDrag(std::deque<input::ScriptedInput::Point>(args.points.begin() + 1, args.points.end()), args.escape);
	const bool answer = tools::MouseDown(doc, args.button, press.x, press.y);
	in.ReleaseAll();
	if (!answer)
		session.Out() << "the tool answered false\n";
	return true;
}

// ---- print-redraws, print-undo ------------------------------------------------------------------

std::string DescribeRequest(const RedrawRequest& r)
{
	return r.kind == RedrawRequest::Kind::Update ? "update" : "redraw " + std::to_string(r.flags);
}

bool RunPrintRedraws(Session& session, const NoArgs&, std::string*)
{
	const Int64 dropped = RedrawsDropped();
	const std::vector<RedrawRequest> requests = TakeRedraws();
	std::ostream& out = session.Out();
	if (dropped > 0)
		out << "(" << dropped << " older requests not kept)\n";
	if (requests.empty())
		out << "no redraws\n";
	// Runs of the same request are one line with their count, so a long drag stays readable.
	for (size_t i = 0; i < requests.size();)
	{
		size_t j = i + 1;
		while (j < requests.size() && requests[j].kind == requests[i].kind && requests[j].flags == requests[i].flags)
			++j;
		out << DescribeRequest(requests[i]);
		if (j - i > 1)
			out << " x" << (j - i);
		out << '\n';
		i = j;
	}
	return true;
}

const char* UndoKindName(Int32 type)
{
	switch (type)
	{
		case UNDOTYPE_CHANGE:
			return "change";
		case UNDOTYPE_NEW:
			return "new object";
		case UNDOTYPE_DELETE:
			return "delete";
		default:
			return "other";
	}
}

bool RunPrintUndo(Session& session, const NoArgs&, std::string* error)
{
	if (!RequireDocument(session, error))
		return false;
	const std::vector<UndoStep> steps = TakeUndoRecords(session.Document());
	std::ostream& out = session.Out();
	if (steps.empty())
		out << "no undo steps\n";
	for (const UndoStep& s : steps)
	{
		out << "undo step " << s.group << ": " << s.type << " " << UndoKindName(s.type) << " ";
		if (s.element)
			out << '"' << Printable(s.element->GetName().Get(), 200) << '"';
		else
			out << "(freed)";
		out << '\n';
	}
	return true;
}

VerbRegistration moveMouse(MakeVerb<MoveArgs>("move-mouse", kMoveUsage,
	"Moves the pointer to a pixel of the active view with the qualifiers held; the active tool answers the cursor query there.", ParseMove,
	RunMove));

VerbRegistration mouseLeave(MakeVerb<NoArgs>("mouse-leave", "mouse-leave", "The pointer leaves the active view; the active tool is told so.",
	NoWords("mouse-leave"), RunLeave));

VerbRegistration pressKey(MakeVerb<KeyArgs>("press-key", kKeyUsage, "Presses a key (Escape, or a key code) for the active tool.", ParseKey, RunKey));

VerbRegistration drag(MakeVerb<DragArgs>("drag", kDragUsage,
	"Moves to the first point with the qualifiers held, presses the button, moves through the later points one drag step each, then "
	"releases it, or presses Escape instead when the line ends with escape.",
	ParseDrag, RunDrag));

VerbRegistration printRedraws(MakeVerb<NoArgs>("print-redraws", "print-redraws",
	"Prints the redraw requests (with their flags) and update events since the last print-redraws, in order, and forgets them.",
	NoWords("print-redraws"), RunPrintRedraws));

VerbRegistration printUndo(MakeVerb<NoArgs>("print-undo", "print-undo",
	"Prints the document's undo records (step, type and element) added since the last print-undo.", NoWords("print-undo"), RunPrintUndo));

} // namespace

} // namespace standin::session
