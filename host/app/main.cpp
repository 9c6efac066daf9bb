// standin-host: the stand-in host application. It runs session scripts, which load the plug-ins,
// build scenes and print them; at the end it ends and unloads the plug-ins and frees documents.
#include <unistd.h>

#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "standin/console.h"
#include "standin/paths.h"
#include "standin/plugins.h"
#include "standin/printable.h"
#include "standin/scene.h"
#include "standin/session.h"

namespace
{

constexpr int kExitScriptFailed = 1;
constexpr int kExitBadArguments = 2;

struct Arguments
{
	std::string pluginsFolder;
	std::string prefsFolder;
	bool quiet = false;
	bool help = false;
	std::vector<std::string> scripts;
	std::vector<std::string> pluginArgs;
};

std::string ExecutableFolder()
{
	std::error_code ec;
	const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
	return ec ? std::string() : exe.parent_path().string();
}

std::string DefaultPluginsFolder()
{
	const std::string exeFolder = ExecutableFolder();
	if (exeFolder.empty())
		return "plugins";
	return (std::filesystem::path(exeFolder) / ".." / "plugins").lexically_normal().string();
}

void PrintHelp(std::ostream& out)
{
	out << "usage: standin-host [options] script.session [more scripts] [-- plug-in arguments]\n"
		   "\n"
		   "Runs session scripts in order. Plug-ins are loaded when a script says load-plugins,\n"
		   "and are ended and unloaded after the last script.\n"
		   "\n"
		   "options:\n"
		   "  --plugins DIR  folder that load-plugins uses when the script names none\n"
		   "                 (default: <folder of this program>/../plugins)\n"
		   "  --prefs DIR    the host's user preference folder\n"
		   "                 (default: $STANDIN_HOST_PREFS, else $HOME/.standin-host/prefs)\n"
		   "  --quiet        do not echo console lines to standard output\n"
		   "  --help         this text\n"
		   "  --             every later argument goes to the plug-ins as their command line\n"
		   "\n"
		   "Script format: one command a line; words separated by blanks; \"double quoted\" words\n"
		   "may hold blanks and the escapes \\\" and \\\\; # starts a comment. The whole script is\n"
		   "checked before it runs; errors read <file>:<line>: <what>.\n"
		   "\n"
		   "commands:\n"
		<< standin::SessionCommandHelp();
}

// True when path names a folder; otherwise false with *problem saying what it is instead.
bool IsFolder(const std::string& path, std::string* problem)
{
	std::error_code ec;
	const std::filesystem::file_status status = std::filesystem::status(path, ec);
	if (std::filesystem::is_directory(status))
		return true;
	*problem = std::filesystem::exists(status) ? "is not a folder" : "does not exist";
	return false;
}

// Answers false with *error on a bad command line.
bool ParseArguments(int argc, char** argv, Arguments* args, std::string* error)
{
	for (int i = 1; i < argc; ++i)
	{
		const std::string a = argv[i];
		auto value = [&](std::string* dst) {
			if (i + 1 >= argc || std::string(argv[i + 1]).empty())
			{
				*error = a + " needs a folder";
				return false;
			}
			*dst = argv[++i];
			return true;
		};
		if (a == "--")
		{
			args->pluginArgs.assign(argv + i + 1, argv + argc);
			break;
		}
		if (a == "--help" || a == "-h")
			args->help = true;
		else if (a == "--quiet")
			args->quiet = true;
		else if (a == "--plugins")
		{
			if (!value(&args->pluginsFolder))
				return false;
		}
		else if (a == "--prefs")
		{
			if (!value(&args->prefsFolder))
				return false;
		}
		else if (a.size() > 1 && a[0] == '-')
		{
			*error = "unknown option " + a;
			return false;
		}
		else
			args->scripts.push_back(a);
	}
	if (!args->help && args->scripts.empty())
	{
		*error = "no session script given";
		return false;
	}
	return true;
}

} // namespace

int main(int argc, char** argv)
{
	Arguments args;
	std::string error;
	if (!ParseArguments(argc, argv, &args, &error))
	{
		std::cerr << "standin-host: " << standin::Printable(error) << "\n(standin-host --help lists the options)\n";
		return kExitBadArguments;
	}
	if (args.help)
	{
		PrintHelp(std::cout);
		return 0;
	}
	std::string problem;
	if (!args.pluginsFolder.empty() && !IsFolder(args.pluginsFolder, &problem))
	{
		std::cerr << "standin-host: plug-ins folder " << standin::Printable(args.pluginsFolder) << " " << problem << "\n";
		return kExitBadArguments;
	}
	if (!args.prefsFolder.empty())
	{
		if (!IsFolder(args.prefsFolder, &problem))
		{
			std::cerr << "standin-host: preference folder " << standin::Printable(args.prefsFolder) << " " << problem << "\n";
			return kExitBadArguments;
		}
		standin::SetPrefsFolder(args.prefsFolder);
	}

	standin::SetConsoleEcho(!args.quiet);
	standin::PluginHost plugins;
	plugins.SetCommandLine(args.pluginArgs);
	standin::SessionOptions options;
	options.pluginsFolder = args.pluginsFolder.empty() ? DefaultPluginsFolder() : args.pluginsFolder;
	options.plugins = &plugins;

	int status = 0;
	for (const std::string& script : args.scripts)
	{
		status = standin::RunSessionFile(script, std::cout, std::cerr, options);
		if (status != 0)
			break;
	}
	plugins.Shutdown();
	standin::CloseAllDocuments();
	std::cout.flush();
	return status == 0 ? 0 : kExitScriptFailed;
}
