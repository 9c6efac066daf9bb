// dump-hyperfile and dump-set-file: show what a hyper file holds (keys, types, values), so a user
// can look into the files plug-ins store.
#include "hostapi/file.h"
#include "session/lookup.h"
#include "session/words.h"
#include "standin/hyperfile_dump.h"
#include "standin/paths.h"

namespace standin::session
{

namespace
{

const char* kDumpUsage = "dump-hyperfile <path>";
const char* kSetFileUsage = "dump-set-file";

bool Dump(Session& session, const std::string& path, std::string* error)
{
	std::string text;
	std::string problem;
	if (!DescribeHyperFile(path, &text, &problem))
	{
		*error = path + ": " + problem;
		return false;
	}
	session.Out() << text;
	if (!text.empty() && text.back() != '\n')
		session.Out() << "\n";
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

VerbRegistration dumpHyperFile(MakeVerb<TextArgs>("dump-hyperfile", kDumpUsage, "Prints the identification and every key, type and value of a hyper file.",
	TextWords(1, 1, kDumpUsage),
	[](Session& session, const TextArgs& args, std::string* error) { return Dump(session, ResolveScriptFile(session, args.words[0]), error); }));

VerbRegistration dumpSetFile(MakeVerb<NoArgs>("dump-set-file", kSetFileUsage, "Prints the set manager's saved sets file (Tarnwick.dat) like dump-hyperfile.",
	NoWords(kSetFileUsage), [](Session& session, const NoArgs&, std::string* error) { return Dump(session, SetFilePath(), error); }));

} // namespace

} // namespace standin::session
