// Commands that print: the scene, the host console, a text; and expect-console, which turns an
// example script into a check of what the plug-ins printed.
#include <cstdint>

#include "session/lookup.h"
#include "session/words.h"
#include "standin/console.h"
#include "standin/printable.h"
#include "standin/scene.h"

namespace standin::session
{

namespace
{

const char* kExpectUsage = "expect-console <text>";

bool RunPrintScene(Session& session, const NoArgs&, std::string* error)
{
	if (!RequireDocument(session, error))
		return false;
	const std::string text = DescribeScene(session.Document());
	session.Out() << text;
	if (!text.empty() && text.back() != '\n')
		session.Out() << '\n';
	return true;
}

bool RunPrintConsole(Session& session, const NoArgs&, std::string*)
{
	for (const std::string& line : ConsoleLines())
		session.Out() << Printable(line) << '\n';
	return true;
}

bool RunPrint(Session& session, const TextArgs& args, std::string*)
{
	for (size_t i = 0; i < args.words.size(); ++i)
		session.Out() << (i ? " " : "") << Printable(args.words[i]);
	session.Out() << '\n';
	return true;
}

bool RunExpect(Session&, const TextArgs& args, std::string* error)
{
	if (ConsoleContains(args.words[0]))
		return true;
	*error = "no console line contains \"" + args.words[0] + "\"";
	return false;
}

VerbRegistration printScene(MakeVerb<NoArgs>("print-scene", "print-scene", "Prints the document's objects and materials.", NoWords("print-scene"),
	RunPrintScene));

VerbRegistration printConsole(MakeVerb<NoArgs>("print-console", "print-console", "Prints every host console line so far.", NoWords("print-console"),
	RunPrintConsole));

VerbRegistration print(MakeVerb<TextArgs>("print", "print <text>...", "Prints its words, separated by blanks.", TextWords(1, SIZE_MAX, "print <text>..."),
	RunPrint));

VerbRegistration expectConsole(MakeVerb<TextArgs>("expect-console", kExpectUsage, "Fails the run unless some console line contains the text.",
	TextWords(1, 1, kExpectUsage), RunExpect));

} // namespace

} // namespace standin::session
