// load-plugins: loads and starts the plug-ins of a folder.
#include <filesystem>

#include "standin/printable.h"
#include "session/words.h"
#include "standin/plugins.h"

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

bool Run(Context& ctx, const Words& args, std::string* error)
{
	const std::string folder = args.empty() ? ctx.pluginsFolder : ResolveScriptFile(ctx, args[0]);
	if (folder.empty())
	{
		*error = "no plug-ins folder: name one or start the host with --plugins";
		return false;
	}
	if (ctx.plugins->IsLoaded())
	{
		if (SameFolder(folder, ctx.plugins->Folder()))
			return true;
		*error = "plug-ins are already loaded from " + ctx.plugins->Folder();
		return false;
	}
	std::error_code ec;
	if (!std::filesystem::is_directory(folder, ec))
	{
		*error = "plug-ins folder " + folder + " does not exist";
		return false;
	}
	std::string report;
	if (!ctx.plugins->LoadFolder(folder, &report))
	{
		*error = OneLine(report);
		return false;
	}
	for (const LoadedPlugin& plugin : ctx.plugins->Plugins())
		*ctx.out << "plug-in " << Printable(plugin.name) << ": " << PluginStateName(plugin.state)
				 << (plugin.problem.empty() ? "" : " (" + Printable(plugin.problem) + ")") << "\n";
	return true;
}

VerbRegistration registration(Verb{
	"load-plugins",
	kUsage,
	"Loads and starts every plug-in of the folder (default: the host's plug-ins folder).",
	[](const Words& args, std::string* error) { return CheckArity(args, 0, 1, kUsage, error); },
	Run,
});

} // namespace

} // namespace standin::session
