// Commands for the document's editing mode and its snapping switches.
#include "hostapi/document.h"
#include "hostapi/snapping.h"
#include "session/lookup.h"
#include "session/words.h"

namespace standin::session
{

namespace
{

const char* kModeUsage = "set-mode points|edges|polygons|model";
const char* kSnapUsage = "set-snap all|115|123|125|127 on|off";

struct ModeName
{
	const char* name;
	Int32 mode;
};
constexpr ModeName kModes[] = {{"points", Mpoints}, {"edges", Medges}, {"polygons", Mpolygons}, {"model", Mmodel}};

struct ModeArgs
{
	Int32 mode = Mmodel;
};

bool ParseMode(const Words& args, ModeArgs* out, std::string* error)
{
	if (!CheckArity(args, 1, 1, kModeUsage, error))
		return false;
	for (const ModeName& m : kModes)
		if (args[0] == m.name)
		{
			out->mode = m.mode;
			return true;
		}
	*error = "unknown mode '" + args[0] + "'";
	return false;
}

bool RunSetMode(Session& session, const ModeArgs& args, std::string* error)
{
	if (!RequireDocument(session, error))
		return false;
	session.Document()->SetMode(args.mode);
	return true;
}

struct SnapArgs
{
	Int32 mode = SNAPMODE_ALL;
	bool on = false;
};

bool ParseSnap(const Words& args, SnapArgs* out, std::string* error)
{
	if (!CheckArity(args, 2, 2, kSnapUsage, error))
		return false;
	if (args[0] == "all")
		out->mode = SNAPMODE_ALL;
	else if (args[0] == "115" || args[0] == "123" || args[0] == "125" || args[0] == "127")
		out->mode = 440000000 + std::stoi(args[0]);
	else
	{
		*error = "unknown snap mode '" + args[0] + "'";
		return false;
	}
	return ParseOnOff(args[1], &out->on, error);
}

bool RunSetSnap(Session& session, const SnapArgs& args, std::string* error)
{
	if (!RequireDocument(session, error))
		return false;
	EnableSnap(args.on, session.Document(), args.mode);
	return true;
}

VerbRegistration setMode(MakeVerb<ModeArgs>("set-mode", kModeUsage, "Switches the document's editing mode.", ParseMode, RunSetMode));

VerbRegistration setSnap(MakeVerb<SnapArgs>("set-snap", kSnapUsage, "Switches a snap mode (all: snapping as a whole) of the document on or off.", ParseSnap,
	RunSetSnap));

} // namespace

} // namespace standin::session
