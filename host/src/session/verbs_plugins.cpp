// load-plugins: loads and starts the plug-ins of a folder; restart-plugins: a quit and restart of
// the plug-ins; set-prefs: the preference folder plug-ins keep their files beside.
#include <filesystem>

#include "session/lookup.h"
#include "session/words.h"
#include "standin/paths.h"
#include "standin/plugins.h"
#include "standin/printable.h"

namespace standin::session
{

namespace
{

const char* kUsage = "load-plugins [folder]";

bool SameFolder(const std::string& a, const std::string& b)
{
	std::error_code ec;
	return std::filesystem::equivalent(a, b, ec);
}

bool Run(Session& session, const TextArgs& args, std::string* error)
{
	const std::string folder = args.words.empty() ? session.PluginsFolder() : ResolveScriptFile(session, args.words[0]);
	if (folder.empty())
	{
		*error = "no plug-ins folder: name one or start the host with --plugins";
		return false;
	}
	PluginHost& plugins = session.Plugins();
	if (plugins.IsLoaded())
	{
		if (SameFolder(folder, plugins.Folder()))
			return true;
		*error = "plug-ins are already loaded from " + plugins.Folder();
		return false;
	}
	std::error_code ec;
	if (!std::filesystem::is_directory(folder, ec))
	{
		*error = "plug-ins folder " + folder + " does not exist";
		return false;
	}
	std::string report;
	if (!plugins.LoadFolder(folder, &report))
	{
		*error = OneLine(report);
		return false;
	}
	for (const LoadedPlugin& plugin : plugins.Plugins())
		session.Out() << "plug-in " << Printable(plugin.name) << ": " << PluginStateName(plugin.state)
					  << (plugin.problem.empty() ? "" : " (" + Printable(plugin.problem) + ")") << "\n";
	return true;
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

VerbRegistration registration(MakeVerb<TextArgs>("load-plugins", kUsage,
	"Loads and starts every plug-in of the folder (default: the host's plug-ins folder).", TextWords(0, 1, kUsage), Run));

VerbRegistration restart(MakeVerb<NoArgs>("restart-plugins", "restart-plugins",
	"Ends and unloads every plug-in and closes every document, then loads the same plug-ins again: a quit and restart.",
	NoWords("restart-plugins"), RunRestart));

VerbRegistration setPrefs(MakeVerb<TextArgs>("set-prefs", "set-prefs <folder>",
	"Makes <folder> the host's user preference folder; plug-ins keep their files beside it.", TextWords(1, 1, "set-prefs <folder>"),
	[](Session& session, const TextArgs& args, std::string*) {
		SetPrefsFolder(ResolveScriptFile(session, args.words[0]));
		return true;
	}));

} // namespace

} // namespace standin::session
