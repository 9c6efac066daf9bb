// Commands that work the active tool as a user does: picking it, editing its settings panel,
// pressing its buttons, and reading what it holds.
#include <charconv>
#include <limits>

#include "hostapi/plugin.h"
#include "session/lookup.h"
#include "session/words.h"
#include "standin/plugins.h"
#include "standin/printable.h"
#include "standin/tools.h"

namespace standin::session
{

namespace
{

const char* kActivateUsage = "activate-tool <id|name>";
const char* kSetUsage = "set-tool-setting <id|SYMBOL> <value>";
const char* kPressUsage = "press-button <id|SYMBOL>";

constexpr Int32 kMaxId = std::numeric_limits<Int32>::max();

// Digits with an optional sign: a number, though perhaps out of range; anything else is a name.
bool LooksNumeric(const std::string& word)
{
	const size_t first = (!word.empty() && (word[0] == '-' || word[0] == '+')) ? 1 : 0;
	if (first == word.size())
		return false;
	for (size_t i = first; i < word.size(); ++i)
		if (word[i] < '0' || word[i] > '9')
			return false;
	return true;
}

bool IsSymbol(const std::string& word)
{
	if (word.empty() || word.size() > 128 || (word[0] >= '0' && word[0] <= '9'))
		return false;
	for (char c : word)
		if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_'))
			return false;
	return true;
}

// A panel entry named by its number or its symbol.
struct EntryRef
{
	Int32 id = 0;
	std::string symbol;
};

bool ParseEntryRef(const std::string& word, EntryRef* out, std::string* error)
{
	if (LooksNumeric(word))
		return ParseInt(word, "entry", 1, kMaxId, &out->id, error);
	if (!IsSymbol(word))
	{
		*error = "'" + word + "' is neither an entry number nor a symbol";
		return false;
	}
	out->symbol = word;
	return true;
}

std::string RefText(const EntryRef& ref)
{
	return ref.symbol.empty() ? std::to_string(ref.id) : ref.symbol;
}

// The active tool's panel and the entry the reference names in it.
bool FindEntry(Session& session, const EntryRef& ref, std::vector<tools::PanelEntry>* entries, const tools::PanelEntry** entry, std::string* error)
{
	if (!RequireDocument(session, error) || !tools::ReadPanel(session.Document(), entries, error))
		return false;
	for (const tools::PanelEntry& e : *entries)
		if (ref.symbol.empty() ? e.id == ref.id : e.symbol == ref.symbol)
		{
			*entry = &e;
			return true;
		}
	*error = "the settings panel has no entry " + RefText(ref);
	return false;
}

// ---- activate-tool ---------------------------------------------------------------------------

struct ActivateArgs
{
	Int32 id = 0;
	std::string name; // when the tool is named instead of numbered
};

bool ParseActivate(const Words& args, ActivateArgs* out, std::string* error)
{
	if (!CheckArity(args, 1, 1, kActivateUsage, error))
		return false;
	if (LooksNumeric(args[0]))
		return ParseInt(args[0], "tool ID", 1, kMaxId, &out->id, error);
	out->name = args[0];
	return true;
}

bool RunActivate(Session& session, const ActivateArgs& args, std::string* error)
{
	if (!RequireDocument(session, error))
		return false;
	Int32 id = args.id;
	if (!args.name.empty())
	{
		for (const Registration& reg : Registrations())
			if (reg.kind == PluginKind::Tool && reg.name == args.name)
			{
				if (id != 0)
				{
					*error = "several tools are named '" + args.name + "'; name it by its ID";
					return false;
				}
				id = reg.id;
			}
		if (id == 0)
		{
			*error = "no tool is named '" + args.name + "'";
			return false;
		}
	}
	return tools::ActivateTool(session.Document(), id, error);
}

// ---- set-tool-setting ------------------------------------------------------------------------

struct SetArgs
{
	EntryRef entry;
	std::string value; // read by the entry's kind, which only the loaded tool knows
};

bool ParseSet(const Words& args, SetArgs* out, std::string* error)
{
	if (!CheckArity(args, 2, 2, kSetUsage, error) || !ParseEntryRef(args[0], &out->entry, error))
		return false;
	out->value = args[1];
	return true;
}

std::string ChoiceList(const tools::PanelEntry& entry)
{
	std::string list;
	for (const tools::PanelChoice& c : entry.choices)
		list += (list.empty() ? "" : ", ") + std::to_string(c.id) + " " + c.symbol;
	return list;
}

// The word as a value of the entry's kind.
bool ReadValue(Session& session, const tools::PanelEntry& entry, const std::string& word, GeData* value, std::string* error)
{
	const std::string& kind = entry.kind;
	if (kind == "LONG")
	{
		Int32 v = 0;
		if (!ParseInt(word, "value", std::numeric_limits<Int32>::min(), kMaxId, &v, error))
			return false;
		*value = GeData(v);
	}
	else if (kind == "REAL")
	{
		Float v = 0.0;
		if (!ParseReal(word, "value", &v, error))
			return false;
		*value = GeData(v);
	}
	else if (kind == "BOOL")
	{
		bool v = false;
		if (!ParseOnOff(word, &v, error))
			return false;
		*value = GeData(v);
	}
	else if (kind == "STRING")
		*value = GeData(String(word));
	else if (kind == "LINK")
	{
		if (word == "none")
			*value = GeData();
		else
		{
			BaseObject* op = nullptr;
			if (!FindObject(session, word, &op, error))
				return false;
			value->SetLink(op);
		}
	}
	else if (kind == "CYCLE")
	{
		for (const tools::PanelChoice& c : entry.choices)
			if (c.symbol == word || std::to_string(c.id) == word)
			{
				*value = GeData(c.id);
				return true;
			}
		*error = "'" + word + "' is not a choice of " + entry.symbol + " (" + ChoiceList(entry) + ")";
		return false;
	}
	else if (kind == "GRADIENT" || kind == "SPLINE")
	{
		*error = entry.symbol + " is a " + kind + ", which a script cannot type in";
		return false;
	}
	else
	{
		*error = entry.symbol + " is a " + kind + " and holds no value";
		return false;
	}
	return true;
}

bool RunSet(Session& session, const SetArgs& args, std::string* error)
{
	std::vector<tools::PanelEntry> entries;
	const tools::PanelEntry* entry = nullptr;
	GeData value;
	if (!FindEntry(session, args.entry, &entries, &entry, error))
		return false;
	if (!ReadValue(session, *entry, args.value, &value, error))
	{
		*error = std::to_string(entry->id) + " (" + entry->symbol + "): " + *error;
		return false;
	}
	return tools::PanelChange(session.Document(), entry->id, value, error);
}

// ---- press-button ----------------------------------------------------------------------------

struct PressArgs
{
	EntryRef entry;
};

bool ParsePress(const Words& args, PressArgs* out, std::string* error)
{
	return CheckArity(args, 1, 1, kPressUsage, error) && ParseEntryRef(args[0], &out->entry, error);
}

bool RunPress(Session& session, const PressArgs& args, std::string* error)
{
	std::vector<tools::PanelEntry> entries;
	const tools::PanelEntry* entry = nullptr;
	if (!FindEntry(session, args.entry, &entries, &entry, error))
		return false;
	return tools::PanelButton(session.Document(), entry->id, error);
}

// ---- printing ----------------------------------------------------------------------------------

bool RequireActiveTool(Session& session, std::string* error)
{
	if (!RequireDocument(session, error))
		return false;
	if (!tools::ActiveTool() || !tools::ActiveToolSettings())
	{
		*error = "no tool is active";
		return false;
	}
	return true;
}

bool RunPrintSettings(Session& session, const NoArgs&, std::string* error)
{
	if (!RequireActiveTool(session, error))
		return false;
	session.Out() << tools::DescribeSettings(session.Document(), *tools::ActiveToolSettings());
	return true;
}

bool RunPrintPanel(Session& session, const NoArgs&, std::string* error)
{
	std::vector<tools::PanelEntry> entries;
	if (!RequireDocument(session, error) || !tools::ReadPanel(session.Document(), &entries, error))
		return false;
	session.Out() << tools::DescribePanel(entries);
	return true;
}

bool RunPrintStrokes(Session& session, const NoArgs&, std::string* error)
{
	if (!RequireActiveTool(session, error))
		return false;
	String text;
	if (!tools::ActiveTool()->Message(session.Document(), *tools::ActiveToolSettings(), MSG_TOOL_INSPECT, &text))
	{
		*error = "the active tool has no working state to show";
		return false;
	}
	session.Out() << PrintableLines(text.Get());
	if (text.Get().empty() || text.Get().back() != '\n')
		session.Out() << '\n';
	return true;
}

bool RunPrintCursor(Session& session, const NoArgs&, std::string* error)
{
	if (!RequireActiveTool(session, error))
		return false;
	const std::string help = tools::CursorHelp();
	session.Out() << "help " << (help.empty() ? std::string("none") : "\"" + Printable(help) + "\"") << '\n';
	String text;
	if (tools::ActiveTool()->Message(session.Document(), *tools::ActiveToolSettings(), MSG_TOOL_INSPECT_CURSOR, &text) && !text.Get().empty())
	{
		session.Out() << PrintableLines(text.Get());
		if (text.Get().back() != '\n')
			session.Out() << '\n';
	}
	return true;
}

VerbRegistration activate(MakeVerb<ActivateArgs>("activate-tool", kActivateUsage,
	"Makes a registered tool the active one, by its ID or its name: the tool left is freed, the new one started with its settings.",
	ParseActivate, RunActivate));

VerbRegistration set(MakeVerb<SetArgs>("set-tool-setting", kSetUsage,
	"Edits a setting in the active tool's panel, by number or symbol, and leaves the field: integers, numbers, on/off, texts, "
	"an object path or none for links, a choice's ID or symbol for cycles.",
	ParseSet, RunSet));

VerbRegistration press(MakeVerb<PressArgs>("press-button", kPressUsage,
	"Presses a button of the active tool's panel; a hidden or disabled button cannot be pressed.", ParsePress, RunPress));

VerbRegistration printSettings(MakeVerb<NoArgs>("print-tool-settings", "print-tool-settings",
	"Prints the active tool's settings container: id, type and value, one a line.", NoWords("print-tool-settings"), RunPrintSettings));

VerbRegistration printPanel(MakeVerb<NoArgs>("print-panel", "print-panel",
	"Prints the active tool's settings panel as the user sees it: id, symbol, label, kind, value, shown/hidden, enabled/disabled.",
	NoWords("print-panel"), RunPrintPanel));

VerbRegistration printCursor(MakeVerb<NoArgs>("print-cursor", "print-cursor",
	"Prints the bubble help the view shows beside the pointer (help \"<text>\" or help none), then what the active tool reports of "
	"its cursor (the stroke tool: position, operation, on-plane and snapped flags, the stored erase position).",
	NoWords("print-cursor"), RunPrintCursor));

VerbRegistration printStrokes(MakeVerb<NoArgs>("print-strokes", "print-strokes",
	"Prints what the active tool reports of its working state (the stroke tool: its strokes and their points).", NoWords("print-strokes"),
	RunPrintStrokes));

} // namespace

} // namespace standin::session
