// The settings panel's layout: the description with the entries this state hides.
#include "Dtool.h"
#include "LoomSurface.h"
#include "ToolRules.h"
#include "hostapi/description.h"

bool LoomS::DescribeSettings(BaseDocument* doc, BaseContainer& data, Description* description, Int32& flags)
{
	if (!description || !description->LoadDescription(GetResourceSymbol()))
		return false;
	// The panel opening is the moment the tool takes over the document's snapping.
	DTOOL().ConfigureSnapping(doc, data);
	HidingRule rules[HIDING_RULE_COUNT];
	HidingRules(data, rules);
	for (const HidingRule& rule : rules)
	{
		if (BaseContainer* properties = description->GetParameterI(DescID(rule.id), nullptr))
			properties->SetBool(DESC_HIDE, rule.hidden);
	}
	// Loaded: the two bits of DESCFLAGS_DESC_LOADED (6) set. Or-ed, not added, so flags the host
	// passed in (the loaded bits among them) stay as they are and no bit carries into another.
	flags |= DESCFLAGS_DESC_LOADED;
	return DescriptionToolData::GetDDescription(doc, data, description, flags);
}

bool LoomS::GetDDescription(BaseDocument* doc, BaseContainer& data, Description* description, Int32& flags)
{
	return DescribeSettings(doc, data, description, flags);
}
