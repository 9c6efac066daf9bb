// set-tool-gradient: the knots a user places in a gradient entry of the active tool's panel.
#include <cmath>

#include "hostapi/customdata.h"
#include "session/lookup.h"
#include "session/words.h"
#include "standin/printable.h"
#include "standin/tools.h"

namespace standin::session
{

namespace
{

const char* kUsage = "set-tool-gradient <setting symbol or id> [<knot position 0..1> ...]";
// More knots than a panel could show are refused.
constexpr size_t kMaxKnots = 256;
// The gradient property that holds its interpolation mode.
constexpr Int32 kInterpolation = 1002;

struct GradientArgs
{
	std::string entry;
	std::vector<Float> positions;
};

bool ParseGradient(const Words& args, GradientArgs* out, std::string* error)
{
	if (args.empty() || args.size() > kMaxKnots + 1)
	{
		*error = std::string("expected a setting and up to 256 knot positions; usage: ") + kUsage;
		return false;
	}
	out->entry = args[0];
	for (size_t i = 1; i < args.size(); ++i)
	{
		Float pos = 0.0;
		if (!ParseReal(args[i], "knot position", &pos, error))
			return false;
		if (!(pos >= 0.0 && pos <= 1.0))
		{
			*error = "a knot position lies in 0..1, not " + Printable(args[i], 64);
			return false;
		}
		out->positions.push_back(pos);
	}
	return true;
}

bool RunGradient(Session& session, const GradientArgs& args, std::string* error)
{
	std::vector<tools::PanelEntry> entries;
	if (!RequireDocument(session, error) || !tools::ReadPanel(session.Document(), &entries, error))
		return false;
	const tools::PanelEntry* entry = nullptr;
	for (const tools::PanelEntry& e : entries)
		if (e.symbol == args.entry || std::to_string(e.id) == args.entry)
			entry = &e;
	if (!entry)
	{
		*error = "the panel has no entry '" + Printable(args.entry, 64) + "'";
		return false;
	}
	if (entry->kind != "GRADIENT")
	{
		*error = entry->symbol + " is a " + entry->kind + ", not a GRADIENT";
		return false;
	}
	Gradient* gradient = Gradient::Alloc();
	if (!gradient)
	{
		*error = "out of memory";
		return false;
	}
	// The other properties (interpolation) stay as the setting has them.
	const BaseContainer* settings = tools::ActiveToolSettings();
	const auto* old = settings ? static_cast<const Gradient*>(settings->GetCustomDataType(entry->id, CUSTOMDATATYPE_GRADIENT)) : nullptr;
	if (old)
		gradient->SetData(kInterpolation, old->GetData(kInterpolation));
	bool ok = true;
	for (size_t i = 0; i < args.positions.size() && ok; ++i)
	{
		GradientKnot k;
		k.col = Vector(1.0, 1.0, 1.0);
		k.pos = args.positions[i];
		k.index = static_cast<Int32>(i);
		ok = gradient->InsertKnot(k) >= 0;
	}
	if (ok)
		ok = tools::PanelChange(session.Document(), entry->id, GeData(*gradient), error);
	else
		*error = "out of memory";
	Gradient::Free(gradient);
	return ok;
}

VerbRegistration setGradient(MakeVerb<GradientArgs>("set-tool-gradient", kUsage,
	"Gives a gradient setting of the active tool's panel knots at the positions given, in that order (none: no knots).", ParseGradient,
	RunGradient));

} // namespace

} // namespace standin::session
