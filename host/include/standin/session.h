// Session scripts: plain-text command files that drive the host (load plug-ins, build a scene,
// print it). One command a line; words separated by blanks; "double quoted" words may hold blanks
// and the escapes \" and \\; # starts a comment; blank lines are ignored.
//
// The whole script is checked before anything runs; errors read "<file>:<line>: <what>" on err.
#pragma once

#include <ostream>
#include <string>

namespace standin
{

class PluginHost;

struct SessionOptions
{
	// The folder load-plugins uses when the script names none.
	std::string pluginsFolder;
	// The loader shared by several scripts; nullptr: the run has its own, which it shuts down
	// when the script ends (if it loaded plug-ins, that ends them and closes every document).
	PluginHost* plugins = nullptr;
};

// Runs one script file; answers 0 on success and 1 when the script is wrong or a line fails.
int RunSessionFile(const std::string& path, std::ostream& out, std::ostream& err, const SessionOptions& options);
// The same for a script held in memory; name stands for the file in messages and relative file
// names are taken relative to its folder.
int RunSessionText(const std::string& text, const std::string& name, std::ostream& out, std::ostream& err, const SessionOptions& options);

// Every command's usage line and help sentence, for --help.
std::string SessionCommandHelp();

} // namespace standin
