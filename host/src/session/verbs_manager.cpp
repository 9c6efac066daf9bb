// The set manager's model operations for scripts, until its dialog drives them: each verb sends
// the Tarnwick plug-in its private automation message (the command's plug-in ID) with a container
// naming the operation, and reads the outcome back from the same container. Also set-prefs and
// restart-plugins, which a script needs to show that sets survive a restart.
#include "standin/printable.h"
#include "hostapi/document.h"
#include "session/lookup.h"
#include "session/words.h"
#include "standin/paths.h"
#include "standin/plugins.h"
#include "standin/scene.h"

namespace standin::session
{

namespace
{

// The request protocol the plug-in answers (its message, keys and operations).
constexpr Int32 kAutomationMessage = 1039103;
constexpr Int32 kKeyOperation = 1;
constexpr Int32 kKeyNumber = 2;
constexpr Int32 kKeyText = 3;
constexpr Int32 kKeyLinkCount = 10;
constexpr Int32 kKeyLinkFirst = 100;
constexpr Int32 kKeyResult = 1000;
constexpr Int32 kKeyWritten = 1001;
constexpr Int32 kKeyReport = 1002;

enum : Int32
{
	kOpen = 1,
	kGather = 2,
	kSaveSet = 3,
	kLoadSet = 4,
	kRemoveSet = 5,
	kUpdateSet = 6,
	kRefresh = 7,
	kDescribe = 8,
};

constexpr const char* kPluginName = "tarnwick";
// A script names its elements one by one; this bounds a line's request.
constexpr size_t kMaxGather = 100000;

bool Send(Session& session, BaseContainer& request, std::string* error)
{
	Int32 answer = 0;
	if (!session.Plugins().SendPluginMessage(kPluginName, kAutomationMessage, &request, &answer))
	{
		*error = "the tarnwick plug-in is not loaded and started (run load-plugins first)";
		return false;
	}
	if (!request.Contains(kKeyResult))
	{
		*error = "the tarnwick plug-in does not answer manager requests";
		return false;
	}
	return true;
}

bool Simple(Session& session, Int32 operation, const char* refusal, std::string* error, BaseContainer request = BaseContainer())
{
	request.SetInt32(kKeyOperation, operation);
	if (!Send(session, request, error))
		return false;
	if (!request.GetBool(kKeyResult))
	{
		*error = refusal;
		return false;
	}
	return true;
}

bool RunGather(Session& session, const TextArgs& args, std::string* error)
{
	if (!RequireDocument(session, error))
		return false;
	BaseContainer request;
	for (size_t i = 0; i < args.words.size(); ++i)
	{
		BaseList2D* element = nullptr;
		if (!FindSceneElement(session, args.words[i], &element, error))
			return false;
		request.SetLink(kKeyLinkFirst + static_cast<Int32>(i), element);
	}
	request.SetInt32(kKeyLinkCount, static_cast<Int32>(args.words.size()));
	return Simple(session, kGather, "the elements could not be added (out of memory)", error, request);
}

bool RunSaveSet(Session& session, const TextArgs& args, std::string* error)
{
	BaseContainer request;
	request.SetString(kKeyText, String(args.words[0]));
	request.SetInt32(kKeyOperation, kSaveSet);
	if (!Send(session, request, error))
		return false;
	if (!request.GetBool(kKeyResult))
	{
		*error = "nothing held is still in the scene, so there is no set to save";
		return false;
	}
	// The set exists in the manager, but the user's work is not on disk: that is a failure to say,
	// not a warning beside a successful run.
	if (!request.GetBool(kKeyWritten))
	{
		*error = "the set was made in the manager, but the set file could not be written (see the console)";
		return false;
	}
	return true;
}

struct SetNumberArgs
{
	Int32 number = 0;
};

bool ParseLoadSet(const Words& args, SetNumberArgs* out, std::string* error)
{
	return CheckArity(args, 1, 1, "manager-load-set <number>", error) && ParseInt(args[0], "set number", 0, 0x7fffffff, &out->number, error);
}

bool RunLoadSet(Session& session, const SetNumberArgs& args, std::string* error)
{
	BaseContainer request;
	request.SetInt32(kKeyNumber, args.number);
	return Simple(session, kLoadSet, "there is no such set", error, request);
}

bool RunPrint(Session& session, const NoArgs&, std::string* error)
{
	BaseContainer request;
	request.SetInt32(kKeyOperation, kDescribe);
	if (!Send(session, request, error))
		return false;
	// Names in the listing come from the scene and the set file; control bytes in them must not
	// reach the terminal.
	session.Out() << PrintableLines(request.GetString(kKeyReport).Get());
	return true;
}

bool RunOpen(Session& session, const TextArgs& args, std::string* error)
{
	BaseContainer request;
	if (!args.words.empty())
		request.SetString(kKeyText, String(args.words[0]));
	return Simple(session, kOpen, "the manager could not be opened", error, request);
}

bool RunRestart(Session& session, const NoArgs&, std::string* error)
{
	PluginHost& plugins = session.Plugins();
	if (!plugins.IsLoaded())
	{
		*error = "no plug-ins are loaded";
		return false;
	}
	const std::string folder = plugins.Folder();
	// Like quitting: every document goes with the plug-ins.
	plugins.Shutdown();
	session.SetDocument(nullptr);
	std::string report;
	if (!plugins.LoadFolder(folder, &report))
	{
		*error = OneLine(report);
		return false;
	}
	for (const LoadedPlugin& plugin : plugins.Plugins())
		session.Out() << "plug-in " << Printable(plugin.name) << ": " << PluginStateName(plugin.state) << "\n";
	return true;
}

Verb NoArguments(const char* name, const char* help, std::function<bool(Session&, const NoArgs&, std::string*)> run)
{
	return MakeVerb<NoArgs>(name, name, help, NoWords(name), std::move(run));
}

VerbRegistration gather(MakeVerb<TextArgs>("manager-gather", "manager-gather <name>...",
	"Adds objects (with their children) and materials to the manager's held list, in the order given; "
	"prefix object: or material: where a name is both.",
	[](const Words& args, TextArgs* out, std::string* error) {
		if (args.empty() || args.size() > kMaxGather)
		{
			*error = "usage: manager-gather <name>...";
			return false;
		}
		out->words = args;
		return true;
	},
	RunGather));

VerbRegistration saveSet(MakeVerb<TextArgs>("manager-save-set", "manager-save-set <name>",
	"Saves the held list's top level as a new set with that name, makes it current and writes the set file.",
	TextWords(1, 1, "manager-save-set <name>"), RunSaveSet));

VerbRegistration loadSet(MakeVerb<SetNumberArgs>("manager-load-set", "manager-load-set <number>",
	"Replaces the held list by the members of set <number> that still exist (0: none).", ParseLoadSet, RunLoadSet));

VerbRegistration open(MakeVerb<TextArgs>("manager-open", "manager-open [caption]",
	"Does what opening the manager does: no current set, the set button's default caption, the sets read from the set file.",
	TextWords(0, 1, "manager-open [caption]"), RunOpen));

VerbRegistration removeSet(NoArguments("manager-remove-set",
	"Removes the current set; the one before it becomes current. The set file is written at the next save.",
	[](Session& session, const NoArgs&, std::string* error) { return Simple(session, kRemoveSet, "there is no current set", error); }));

VerbRegistration updateSet(NoArguments("manager-update-set",
	"Makes the held list's top level the current set's members.",
	[](Session& session, const NoArgs&, std::string* error) { return Simple(session, kUpdateSet, "there is no current set", error); }));

VerbRegistration refresh(NoArguments("manager-refresh",
	"Does what a document change does: the held list is rebuilt against the scene, then sets lose members that are gone.",
	[](Session& session, const NoArgs&, std::string* error) { return Simple(session, kRefresh, "the held list could not be rebuilt (out of memory)", error); }));

VerbRegistration print(NoArguments("manager-print", "Prints the manager's sets, current set, set button caption and held list.", RunPrint));

VerbRegistration restart(NoArguments("restart-plugins",
	"Ends and unloads every plug-in and closes every document, then loads the same plug-ins again: a quit and restart.",
	RunRestart));

VerbRegistration setPrefs(MakeVerb<TextArgs>("set-prefs", "set-prefs <folder>",
	"Makes <folder> the host's user preference folder; plug-ins keep their files beside it.", TextWords(1, 1, "set-prefs <folder>"),
	[](Session& session, const TextArgs& args, std::string*) {
		SetPrefsFolder(ResolveScriptFile(session, args.words[0]));
		return true;
	}));

} // namespace

} // namespace standin::session
