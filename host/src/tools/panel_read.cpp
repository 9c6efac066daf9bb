// The settings panel as a user sees it: the tool describes it (GetDDescription), then says for
// every entry whether it can be used (GetDEnabling), and each entry shows its setting's value.
#include "standin/tools.h"
#include "tools/host_description.h"
#include "tools/panel_text.h"
#include "tools/panel_tool.h"

namespace standin::tools
{

bool ActivePanelTool(PanelTool* out, std::string* error)
{
	ToolData* tool = ActiveTool();
	BaseContainer* settings = ActiveToolSettings();
	if (!tool || !settings)
	{
		*error = "no tool is active";
		return false;
	}
	out->tool = dynamic_cast<DescriptionToolData*>(tool);
	out->settings = settings;
	if (!out->tool)
	{
		*error = "the active tool " + std::to_string(ActiveToolId()) + " has no settings panel";
		return false;
	}
	return true;
}

bool ReadPanel(BaseDocument* doc, std::vector<PanelEntry>* entries, std::string* error)
{
	std::string ignored;
	if (!error)
		error = &ignored;
	PanelTool active;
	if (!ActivePanelTool(&active, error))
		return false;
	HostDescription description;
	Int32 flags = DESCFLAGS_DESC_NONE;
	if (!active.tool->GetDDescription(doc, *active.settings, &description, flags))
	{
		*error = "the active tool could not describe its settings panel";
		return false;
	}
	// A tool that leaves the loading to the host gets the layout its resource symbol names.
	if (!description.IsLoaded())
	{
		const std::string symbol = active.tool->GetResourceSymbol().Get();
		if (!description.Load(symbol))
		{
			*error = "the settings panel's description \"" + symbol + "\" is not loaded";
			return false;
		}
	}
	entries->clear();
	entries->reserve(description.Entries().size());
	for (const HostDescription::Entry& e : description.Entries())
	{
		PanelEntry entry;
		entry.id = e.resource.id;
		entry.kind = e.resource.kind;
		entry.symbol = e.resource.symbol;
		entry.label = e.properties.GetString(DESC_NAME).Get();
		entry.shown = !e.properties.GetBool(DESC_HIDE);
		entry.value = EntryValueText(e.resource, *active.settings, doc);
		const GeData current = active.settings->GetData(entry.id);
		entry.degrees = entry.kind == "REAL" && e.properties.GetInt32(DESC_UNIT) == DESC_UNIT_DEGREE;
		if (entry.degrees && current.GetType() == DA_REAL)
			entry.value = DegreesText(current.GetFloat());
		entry.enabled = active.tool->GetDEnabling(doc, *active.settings, entry.id, current, 0, &e.properties);
		for (const DescriptionEntry& c : e.resource.choices)
			entry.choices.push_back(PanelChoice{c.id, c.symbol, c.label});
		entries->push_back(std::move(entry));
	}
	return true;
}

std::string DescribePanel(const std::vector<PanelEntry>& entries)
{
	std::string text;
	for (const PanelEntry& e : entries)
	{
		text += std::to_string(e.id) + " " + e.symbol + " " + QuotedText(e.label) + " " + e.kind + " " + e.value;
		text += e.shown ? " shown" : " hidden";
		text += e.enabled ? " enabled\n" : " disabled\n";
	}
	return text;
}

} // namespace standin::tools
