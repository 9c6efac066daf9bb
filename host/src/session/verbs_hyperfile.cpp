// dump-hyperfile and dump-set-file: show what a hyper file holds (keys, types, values), so a user
// can look into the files plug-ins store.
#include "hostapi/file.h"
#include "session/words.h"
#include "standin/hyperfile_dump.h"
#include "standin/paths.h"

namespace standin::session
{

namespace
{

const char* kDumpUsage = "dump-hyperfile <path>";
const char* kSetFileUsage = "dump-set-file";

bool Dump(Context& ctx, const std::string& path, std::string* error)
{
	std::string text;
	std::string problem;
	if (!DescribeHyperFile(path, &text, &problem))
	{
		*error = path + ": " + problem;
		return false;
	}
	*ctx.out << text;
	if (!text.empty() && text.back() != '\n')
		*ctx.out << "\n";
	return true;
}

// The set manager keeps its file in plugins/Tarnwick beside the preference folder.
std::string SetFilePath()
{
	Filename prefs{String(PrefsFolder())};
	if (prefs.GetFileString().IsEmpty())
		prefs = prefs.GetDirectory();
	return (prefs.GetDirectory() + "plugins" + "Tarnwick" + "Tarnwick.dat").GetString().Get();
}

VerbRegistration dumpHyperFile(Verb{
	"dump-hyperfile",
	kDumpUsage,
	"Prints the identification and every key, type and value of a hyper file.",
	[](const Words& args, std::string* error) { return CheckArity(args, 1, 1, kDumpUsage, error); },
	[](Context& ctx, const Words& args, std::string* error) { return Dump(ctx, ResolveScriptFile(ctx, args[0]), error); },
});

VerbRegistration dumpSetFile(Verb{
	"dump-set-file",
	kSetFileUsage,
	"Prints the set manager's saved sets file (Tarnwick.dat) like dump-hyperfile.",
	[](const Words& args, std::string* error) { return CheckArity(args, 0, 0, kSetFileUsage, error); },
	[](Context& ctx, const Words&, std::string* error) { return Dump(ctx, SetFilePath(), error); },
});

} // namespace

} // namespace standin::session
