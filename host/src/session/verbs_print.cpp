// Commands that print: the scene, the host console, a text; and expect-console, which turns an
// example script into a check of what the plug-ins printed.
#include <cstdint>

#include "standin/printable.h"
#include "session/words.h"
#include "standin/console.h"
#include "standin/scene.h"

namespace standin::session
{

namespace
{

const char* kExpectUsage = "expect-console <text>";

bool RunPrintScene(Context& ctx, const Words&, std::string* error)
{
	if (!RequireDocument(ctx, error))
		return false;
	const std::string text = DescribeScene(ctx.document);
	*ctx.out << text;
	if (!text.empty() && text.back() != '\n')
		*ctx.out << '\n';
	return true;
}

bool RunPrintConsole(Context& ctx, const Words&, std::string*)
{
	for (const std::string& line : ConsoleLines())
		*ctx.out << Printable(line) << '\n';
	return true;
}

bool RunPrint(Context& ctx, const Words& args, std::string*)
{
	for (size_t i = 0; i < args.size(); ++i)
		*ctx.out << (i ? " " : "") << Printable(args[i]);
	*ctx.out << '\n';
	return true;
}

bool RunExpect(Context&, const Words& args, std::string* error)
{
	if (ConsoleContains(args[0]))
		return true;
	*error = "no console line contains \"" + args[0] + "\"";
	return false;
}

VerbRegistration printScene(Verb{
	"print-scene",
	"print-scene",
	"Prints the document's objects and materials.",
	[](const Words& args, std::string* error) { return CheckArity(args, 0, 0, "print-scene", error); },
	RunPrintScene,
});

VerbRegistration printConsole(Verb{
	"print-console",
	"print-console",
	"Prints every host console line so far.",
	[](const Words& args, std::string* error) { return CheckArity(args, 0, 0, "print-console", error); },
	RunPrintConsole,
});

VerbRegistration print(Verb{
	"print",
	"print <text>...",
	"Prints its words, separated by blanks.",
	[](const Words& args, std::string* error) { return CheckArity(args, 1, SIZE_MAX, "print <text>...", error); },
	RunPrint,
});

VerbRegistration expectConsole(Verb{
	"expect-console",
	kExpectUsage,
	"Fails the run unless some console line contains the text.",
	[](const Words& args, std::string* error) { return CheckArity(args, 1, 1, kExpectUsage, error); },
	RunExpect,
});

} // namespace

} // namespace standin::session
