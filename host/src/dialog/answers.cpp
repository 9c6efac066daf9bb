// Popup menus, message boxes and modal dialogs as the host shows them headless: each one is logged
// as a line, and its answer comes from the answer source (scripts queue them). Without an answer a
// menu is dismissed (0) and a question answered no, as a user closing them would.
#include <cstdlib>

#include "dialog/modal_answers.h"
#include "standin/printable.h"

namespace standin::dialogs
{

namespace
{

AnswerSource* g_source = nullptr;

std::vector<std::string>& Log()
{
	static auto* log = new std::vector<std::string>;
	return *log;
}

struct MenuEntry
{
	Int32 id = 0;
	std::string path; // captions joined by '/'
};

void Flatten(const BaseContainer& menu, const std::string& prefix, std::vector<MenuEntry>* out, int depth)
{
	if (depth > 16)
		return;
	for (Int32 i = 0; i < menu.GetCount(); ++i)
	{
		Int32 id = 0;
		const GeData* value = nullptr;
		if (!menu.GetIndex(i, &id, &value))
			break;
		// A submenu's own caption is no entry of it.
		if (depth > 0 && id == MENURESOURCE_SUBTITLE)
			continue;
		if (value->GetType() == DA_STRING)
			out->push_back({id, prefix + value->GetString().Get()});
		else if (value->GetType() == DA_CONTAINER && value->GetContainer())
		{
			const BaseContainer* sub = value->GetContainer();
			Flatten(*sub, prefix + sub->GetString(MENURESOURCE_SUBTITLE).Get() + "/", out, depth + 1);
		}
	}
}

bool ParseInt(const std::string& word, Int32* out)
{
	if (word.empty() || word.size() > 11)
		return false;
	char* end = nullptr;
	const long v = std::strtol(word.c_str(), &end, 10);
	if (*end != '\0' || v < INT32_MIN || v > INT32_MAX)
		return false;
	*out = static_cast<Int32>(v);
	return true;
}

} // namespace

AnswerSource* UseAnswerSource(AnswerSource* source)
{
	AnswerSource* old = g_source;
	g_source = source;
	return old;
}

const std::vector<std::string>& ShownLog()
{
	return Log();
}

void ClearShownLog()
{
	Log().clear();
}

void LogShown(std::string line)
{
	// A script running for hours must not grow the log without bound.
	if (Log().size() >= 100000)
		Log().erase(Log().begin(), Log().begin() + 50000);
	Log().push_back(std::move(line));
}

std::vector<std::pair<Int32, std::string>> MenuEntries(const BaseContainer& menu)
{
	std::vector<MenuEntry> flat;
	Flatten(menu, "", &flat, 0);
	std::vector<std::pair<Int32, std::string>> out;
	for (auto& e : flat)
		out.emplace_back(e.id, e.path);
	return out;
}

Int32 ChooseFromMenu(const BaseContainer& menu, const std::string& answer)
{
	std::vector<MenuEntry> flat;
	Flatten(menu, "", &flat, 0);
	Int32 id = 0;
	const bool numeric = ParseInt(answer, &id);
	for (const MenuEntry& e : flat)
		if ((numeric && e.id == id) || e.path == answer)
			return e.id;
	// A caption alone finds an entry of a submenu when it names exactly one.
	Int32 found = 0;
	int count = 0;
	for (const MenuEntry& e : flat)
	{
		const size_t slash = e.path.find_last_of('/');
		if (slash != std::string::npos && e.path.substr(slash + 1) == answer)
		{
			found = e.id;
			++count;
		}
	}
	return count == 1 ? found : 0;
}

void RunModalAnswer(DialogState& state)
{
	// Where the dialog was asked to open, when its owner placed it.
	std::string shown = "modal dialog \"" + Printable(state.title, 80) + "\"";
	if (state.x != -1 || state.y != -1)
		shown += " at (" + std::to_string(state.x) + ", " + std::to_string(state.y) + ")";
	if (state.w > 0 || state.h > 0)
		shown += " size " + std::to_string(state.w) + "x" + std::to_string(state.h);
	std::vector<std::string> words;
	if (!g_source || !g_source->TakeModalAnswer(&words))
	{
		LogShown(shown + ": no answer queued, cancelled");
		return;
	}
	LogShown(shown + " answered");
	GeDialog* dialog = state.dialog;
	// The dialog stays open while the user works in it (a list whose rows are clicked one after the
	// other); every action finds it again, and the rest is skipped once it closed.
	for (size_t i = 0; i < words.size() && Find(dialog) && state.open;)
	{
		std::string error;
		Int32 id = 0;
		const std::string& verb = words[i];
		if (verb == "print")
		{
			for (const std::string& line : DescribeDialog(dialog))
				LogShown("  " + line);
			++i;
			continue;
		}
		const size_t need = verb == "click" ? 2 : 3;
		if (i + need > words.size() || !ParseInt(words[i + 1], &id))
		{
			LogShown("modal answer: cannot read '" + Printable(verb, 40) + "'; the rest is skipped");
			return;
		}
		bool ok = false;
		Int32 child = 0;
		if (verb == "click")
			ok = Click(dialog, id, &error);
		else if (verb == "set")
			ok = TypeText(dialog, id, words[i + 2], &error);
		else if (verb == "choose" && ParseInt(words[i + 2], &child))
			ok = Choose(dialog, id, child, &error);
		else
			error = "unknown action '" + Printable(verb, 40) + "'";
		if (!ok)
		{
			LogShown("modal answer: " + error + "; the rest is skipped");
			return;
		}
		i += need;
	}
}

} // namespace standin::dialogs

using namespace standin::dialogs;

Int32 ShowPopupMenu(GeDialog* owner, Int32 x, Int32 y, const BaseContainer& menu, Int32 flags)
{
	(void)flags;
	// The owner is resolved now: a menu anchored to a dialog that is gone or closed is not shown.
	if (owner)
	{
		DialogState* state = Find(owner);
		if (!state || !state->open)
		{
			LogShown("popup refused: its dialog is not open");
			return 0;
		}
	}
	std::string answer;
	std::string line = "popup at (" + std::to_string(x) + ", " + std::to_string(y) + "):";
	for (auto& [id, caption] : MenuEntries(menu))
		line += " [" + std::to_string(id) + " " + standin::Printable(caption, 80) + "]";
	if (!g_source || !g_source->TakePopupAnswer(&answer) || answer == "cancel")
	{
		LogShown(line + " -> dismissed");
		return 0;
	}
	const Int32 chosen = ChooseFromMenu(menu, answer);
	LogShown(line + " -> " + (chosen ? std::to_string(chosen) : "no entry '" + standin::Printable(answer, 80) + "', dismissed"));
	return chosen;
}

void MessageDialog(const String& text)
{
	LogShown("message: " + standin::Printable(text.Get(), 200));
}

bool QuestionDialog(const String& text)
{
	std::string answer;
	const bool yes = g_source && g_source->TakeQuestionAnswer(&answer) && answer == "yes";
	LogShown("question: " + standin::Printable(text.Get(), 200) + " -> " + (yes ? "yes" : "no"));
	return yes;
}

void CallCommand(Int32 id)
{
	LogShown("host command " + std::to_string(id));
}

void ActiveObjectManager_SetMode(Int32 mode, bool openManager)
{
	LogShown("attribute manager mode " + std::to_string(mode) + (openManager ? " shown" : ""));
}
