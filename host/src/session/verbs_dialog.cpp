// Session verbs for plug-in dialogs as a user meets them: running a command, printing the open
// dialog, clicking, checking, choosing and typing into its gadgets, dropping scene elements onto
// a gadget, closing it, and queueing the answers of the popups and modal dialogs that come next.
#include <sstream>

#include "hostapi/document.h"
#include "session/lookup.h"
#include "session/verbs_dialog.h"
#include "session/words.h"
#include "standin/dialogs.h"
#include "standin/plugins.h"
#include "standin/printable.h"
#include "standin/scene.h"

namespace standin::session
{

bool CurrentDialog(GeDialog** dialog, std::string* error)
{
	const std::vector<GeDialog*> open = dialogs::OpenDialogs();
	if (open.empty())
	{
		*error = "no dialog is open (run-command opens one)";
		return false;
	}
	*dialog = open.back();
	return true;
}

bool ParseGadget(const std::string& word, Int32* id, std::string* error)
{
	return ParseInt(word, "gadget ID", 0, 0x7fffffff, id, error);
}

namespace
{

struct IdArgs
{
	Int32 id = 0;
};

struct GadgetValueArgs
{
	Int32 id = 0;
	std::string value;
};

bool ParseId(const Words& args, IdArgs* out, std::string* error, const char* usage)
{
	return CheckArity(args, 1, 1, usage, error) && ParseGadget(args[0], &out->id, error);
}

bool RunCommand(Session& session, const IdArgs& args, std::string* error)
{
	Registration reg;
	if (!FindRegistration(args.id, &reg) || reg.kind != PluginKind::Command)
	{
		*error = "no command is registered with ID " + std::to_string(args.id);
		return false;
	}
	auto* command = static_cast<CommandData*>(RegisteredData(args.id));
	if (!command)
	{
		*error = "command " + std::to_string(args.id) + " has no data";
		return false;
	}
	if (command->GetState(session.Document()) == 0)
	{
		*error = "command " + std::to_string(args.id) + " is disabled";
		return false;
	}
	if (!command->Execute(session.Document()))
	{
		*error = "command " + std::to_string(args.id) + " failed";
		return false;
	}
	return true;
}

bool RunPrintDialog(Session& session, const NoArgs&, std::string* error)
{
	GeDialog* dialog = nullptr;
	if (!CurrentDialog(&dialog, error))
		return false;
	for (const std::string& line : dialogs::DescribeDialog(dialog))
		session.Out() << line << "\n";
	return true;
}

template <typename Act>
bool Act_(Session& session, Act act, std::string* error)
{
	GeDialog* dialog = nullptr;
	if (!CurrentDialog(&dialog, error))
		return false;
	(void)session;
	return act(dialog);
}

bool RunClick(Session& session, const IdArgs& args, std::string* error)
{
	return Act_(session, [&](GeDialog* d) { return dialogs::Click(d, args.id, error); }, error);
}

bool ParseCheck(const Words& args, GadgetValueArgs* out, std::string* error)
{
	bool on = false;
	if (!CheckArity(args, 2, 2, "check <gadget> on|off", error) || !ParseGadget(args[0], &out->id, error) || !ParseOnOff(args[1], &on, error))
		return false;
	out->value = on ? "on" : "off";
	return true;
}

bool RunCheck(Session& session, const GadgetValueArgs& args, std::string* error)
{
	return Act_(session, [&](GeDialog* d) {
		dialogs::GadgetView view;
		if (!dialogs::FindGadgetView(d, args.id, &view) || view.kind != dialogs::GadgetKind::CheckBox)
		{
			*error = "gadget " + std::to_string(args.id) + " is no check box";
			return false;
		}
		// A check box already in that state is left alone, as a user would.
		return view.value == args.value || dialogs::Click(d, args.id, error);
	}, error);
}

bool ParseGadgetValue(const Words& args, GadgetValueArgs* out, std::string* error, const char* usage)
{
	if (!CheckArity(args, 2, 2, usage, error) || !ParseGadget(args[0], &out->id, error))
		return false;
	out->value = args[1];
	return true;
}

bool RunChoose(Session& session, const GadgetValueArgs& args, std::string* error)
{
	return Act_(session, [&](GeDialog* d) {
		dialogs::GadgetView view;
		if (!dialogs::FindGadgetView(d, args.id, &view))
		{
			*error = "the dialog has no gadget " + std::to_string(args.id);
			return false;
		}
		for (const auto& [id, caption] : view.children)
			if (caption == args.value || std::to_string(id) == args.value)
				return dialogs::Choose(d, args.id, id, error);
		*error = "gadget " + std::to_string(args.id) + " has no choice '" + Printable(args.value, 80) + "'";
		return false;
	}, error);
}

bool RunType(Session& session, const GadgetValueArgs& args, std::string* error)
{
	return Act_(session, [&](GeDialog* d) { return dialogs::TypeText(d, args.id, args.value, error); }, error);
}

struct DropArgs
{
	Int32 id = 0;
	Words names;
};

bool ParseDrop(const Words& args, DropArgs* out, std::string* error)
{
	if (args.size() < 2 || args.size() > 100001)
	{
		*error = "usage: drop <gadget> <element>...";
		return false;
	}
	if (!ParseGadget(args[0], &out->id, error))
		return false;
	out->names.assign(args.begin() + 1, args.end());
	return true;
}

bool RunDrop(Session& session, const DropArgs& args, std::string* error)
{
	std::vector<BaseList2D*> elements;
	for (const std::string& name : args.names)
	{
		BaseList2D* element = nullptr;
		if (!FindSceneElement(session, name, &element, error))
			return false;
		elements.push_back(element);
	}
	return Act_(session, [&](GeDialog* d) { return dialogs::Drop(d, args.id, elements, error); }, error);
}

bool RunClose(Session& session, const NoArgs&, std::string* error)
{
	return Act_(session, [&](GeDialog* d) { return dialogs::AskClose(d, error); }, error);
}

bool RunPrintShown(Session& session, const NoArgs&, std::string*)
{
	for (const std::string& line : dialogs::ShownLog())
		session.Out() << line << "\n";
	dialogs::ClearShownLog();
	return true;
}

VerbRegistration runCommand(MakeVerb<IdArgs>("run-command", "run-command <id>",
	"Runs a registered command as a user picking it from a menu (the manager opens with 1039103).",
	[](const Words& a, IdArgs* o, std::string* e) { return ParseId(a, o, e, "run-command <id>"); }, RunCommand));

VerbRegistration printDialog(MakeVerb<NoArgs>("print-dialog", "print-dialog",
	"Prints the open dialog: every gadget with its kind, ID, caption, value, choices and whether it is enabled and shown.",
	NoWords("print-dialog"), RunPrintDialog));

VerbRegistration click(MakeVerb<IdArgs>("click", "click <gadget>",
	"Clicks a button or check box of the open dialog; hidden and disabled gadgets take no clicks.",
	[](const Words& a, IdArgs* o, std::string* e) { return ParseId(a, o, e, "click <gadget>"); }, RunClick));

VerbRegistration check(MakeVerb<GadgetValueArgs>("check", "check <gadget> on|off",
	"Sets a check box of the open dialog as a user clicking it would (no click when it already is so).", ParseCheck, RunCheck));

VerbRegistration choose(MakeVerb<GadgetValueArgs>("choose", "choose <gadget> <choice>",
	"Chooses an entry of a combo box, radio group or tab gadget by its ID or caption.",
	[](const Words& a, GadgetValueArgs* o, std::string* e) { return ParseGadgetValue(a, o, e, "choose <gadget> <choice>"); }, RunChoose));

VerbRegistration type(MakeVerb<GadgetValueArgs>("type", "type <gadget> <text>",
	"Types a text into an edit field of the open dialog (replacing what it held).",
	[](const Words& a, GadgetValueArgs* o, std::string* e) { return ParseGadgetValue(a, o, e, "type <gadget> <text>"); }, RunType));

VerbRegistration drop(MakeVerb<DropArgs>("drop", "drop <gadget> <element>...",
	"Drags scene objects and materials (object:<path>, material:<name> or a bare name) onto a gadget of the open dialog and drops them.",
	ParseDrop, RunDrop));

VerbRegistration closeDialog(MakeVerb<NoArgs>("close-dialog", "close-dialog",
	"Asks the open dialog to close, as its window's close box does.", NoWords("close-dialog"), RunClose));

VerbRegistration printShown(MakeVerb<NoArgs>("print-shown", "print-shown",
	"Prints the popup menus, message boxes, modal dialogs and host commands shown since the last print-shown, and forgets them.",
	NoWords("print-shown"), RunPrintShown));

VerbRegistration answerPopup(MakeVerb<TextArgs>("answer-popup", "answer-popup <entry>|cancel",
	"Queues the choice of the next popup menu: an entry ID or caption (a submenu's entry as \"Sub/Entry\"), or cancel.",
	TextWords(1, 1, "answer-popup <entry>|cancel"),
	[](Session& session, const TextArgs& a, std::string*) {
		session.Dialogs().popups.push_back(a.words[0]);
		return true;
	}));

VerbRegistration answerDialog(MakeVerb<TextArgs>("answer-dialog", "answer-dialog <action>...",
	"Queues what the user does in the next modal dialog, in order: set <gadget> <text>, choose <gadget> <choice or row ID>, "
	"click <gadget>, print (its gadgets go to print-shown); a dialog the actions leave open is cancelled.",
	[](const Words& args, TextArgs* out, std::string* error) {
		size_t i = 0;
		while (i < args.size())
		{
			const std::string& w = args[i];
			if (w == "print")
			{
				++i;
				continue;
			}
			const size_t need = w == "click" ? 2 : (w == "set" || w == "choose") ? 3 : 0;
			Int32 id = 0;
			if (need == 0 || i + need > args.size() || !ParseGadget(args[i + 1], &id, error))
			{
				if (error->empty())
					*error = "expected set <gadget> <text>, choose <gadget> <choice>, click <gadget> or print at word " + std::to_string(i + 1);
				return false;
			}
			// List rows may have negative IDs.
			if (w == "choose" && !ParseInt(args[i + 2], "choice ID", -0x7fffffff, 0x7fffffff, &id, error))
				return false;
			i += need;
		}
		if (args.empty())
		{
			*error = "usage: answer-dialog <action>...";
			return false;
		}
		out->words = args;
		return true;
	},
	[](Session& session, const TextArgs& a, std::string*) {
		session.Dialogs().modals.push_back(a.words);
		return true;
	}));

VerbRegistration answerQuestion(MakeVerb<TextArgs>("answer-question", "answer-question yes|no",
	"Queues the answer of the next yes/no question.",
	[](const Words& args, TextArgs* out, std::string* error) {
		if (!CheckArity(args, 1, 1, "answer-question yes|no", error))
			return false;
		if (args[0] != "yes" && args[0] != "no")
		{
			*error = "expected yes or no";
			return false;
		}
		out->words = args;
		return true;
	},
	[](Session& session, const TextArgs& a, std::string*) {
		session.Dialogs().questions.push_back(a.words[0]);
		return true;
	}));

} // namespace

} // namespace standin::session

#include <filesystem>

#include "dialog/dialog_picture.h"
#include "standin/plugins.h"
#include "standin/scene.h"

namespace standin::session
{

namespace
{

bool RunRenderDialog(Session& session, const TextArgs& args, std::string* error)
{
	GeDialog* dialog = nullptr;
	if (!CurrentDialog(&dialog, error))
		return false;
	if (args.words[0].empty())
	{
		*error = "the picture needs a file name";
		return false;
	}
	std::string path;
	if (!ResolveOutputFile(session, args.words[0], &path, error))
		return false;
	std::unique_ptr<picture::Canvas> canvas = dialogs::PaintDialog(dialog, error);
	return canvas && canvas->WritePng(path, error);
}

bool RunRestoreLayout(Session& session, const TextArgs& args, std::string* error)
{
	Int32 id = 0;
	if (!ParseGadget(args.words[0], &id, error))
		return false;
	Registration reg;
	auto* command = FindRegistration(id, &reg) && reg.kind == PluginKind::Command ? static_cast<CommandData*>(RegisteredData(id)) : nullptr;
	if (!command)
	{
		*error = "no command is registered with ID " + std::to_string(id);
		return false;
	}
	// The saved layout's own data stays the host's; the command only hears that it is restored.
	if (!command->RestoreLayout(nullptr))
	{
		*error = "command " + std::to_string(id) + " did not restore a window";
		return false;
	}
	(void)session;
	return true;
}

VerbRegistration restoreLayout(MakeVerb<TextArgs>("restore-layout", "restore-layout <command id>",
	"Restores a command's window as the host does when it restores a saved window layout.",
	TextWords(1, 1, "restore-layout <command id>"), RunRestoreLayout));

bool RunPrintArea(Session& session, const TextArgs& args, std::string* error)
{
	Int32 id = 0;
	GeDialog* dialog = nullptr;
	std::vector<dialogs::DrawOp> ops;
	if (!ParseGadget(args.words[0], &id, error) || !CurrentDialog(&dialog, error) || !dialogs::AreaDrawing(dialog, id, &ops, error))
		return false;
	session.Out() << "area " << id << ": " << DescribeDrawing(ops, 0, 0) << "\n";
	return true;
}

VerbRegistration printArea(MakeVerb<TextArgs>("print-area", "print-area <gadget>",
	"Prints what a user area of the open dialog draws now: pictures by file and size, texts, fills and the number of lines.",
	TextWords(1, 1, "print-area <gadget>"), RunPrintArea));

VerbRegistration renderDialog(MakeVerb<TextArgs>("render-dialog", "render-dialog <file.png>",
	"Writes a picture of the open dialog as PNG: its gadgets with captions and states, and the trees' cells as their adapters draw them.",
	TextWords(1, 1, "render-dialog <file.png>"), RunRenderDialog));

} // namespace

} // namespace standin::session
