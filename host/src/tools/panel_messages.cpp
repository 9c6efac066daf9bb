// What a settings panel tells its tool when the user presses a button or edits a field. The
// panel is read first, as the user sees it: a hidden or disabled entry cannot be used.
#include <cmath>

#include "hostapi/customdata.h"
#include "hostapi/description.h"
#include "standin/tools.h"
#include "tools/panel_text.h"
#include "tools/panel_tool.h"

namespace standin::tools
{

namespace
{

std::string EntryName(const PanelEntry& entry)
{
	return std::to_string(entry.id) + " (" + entry.symbol + ")";
}

// The entry a user can reach now; false with *error when it is not in the panel or cannot be used.
bool UsableEntry(BaseDocument* doc, Int32 id, PanelEntry* out, std::string* error)
{
	std::vector<PanelEntry> entries;
	if (!ReadPanel(doc, &entries, error))
		return false;
	for (PanelEntry& entry : entries)
		if (entry.id == id)
		{
			if (!entry.shown)
			{
				*error = "entry " + EntryName(entry) + " is hidden";
				return false;
			}
			if (!entry.enabled)
			{
				*error = "entry " + EntryName(entry) + " is disabled";
				return false;
			}
			*out = std::move(entry);
			return true;
		}
	*error = "the settings panel has no entry " + std::to_string(id);
	return false;
}

bool IsChoice(const PanelEntry& entry, Int32 value)
{
	for (const PanelChoice& choice : entry.choices)
		if (choice.id == value)
			return true;
	return false;
}

// The value as the entry's kind stores it; false with *error when it does not fit.
bool FitValue(BaseDocument* doc, const PanelEntry& entry, const GeData& value, GeData* stored, std::string* error)
{
	const Int32 type = value.GetType();
	const std::string& kind = entry.kind;
	const std::string name = EntryName(entry);
	if (kind == "LONG" || kind == "BOOL" || kind == "CYCLE")
	{
		if (type != DA_LONG)
		{
			*error = "entry " + name + " takes " + (kind == "BOOL" ? "on or off" : kind == "CYCLE" ? "one of its choices" : "an integer");
			return false;
		}
		const Int32 v = value.GetInt32();
		if (kind == "BOOL" && v != 0 && v != 1)
		{
			*error = "entry " + name + " takes on or off";
			return false;
		}
		if (kind == "CYCLE" && !IsChoice(entry, v))
		{
			*error = std::to_string(v) + " is not a choice of entry " + name;
			return false;
		}
		*stored = GeData(v);
		return true;
	}
	if (kind == "REAL")
	{
		if (type != DA_REAL && type != DA_LONG)
		{
			*error = "entry " + name + " takes a number";
			return false;
		}
		const Float v = value.GetFloat();
		if (!std::isfinite(v))
		{
			*error = "entry " + name + " takes a finite number";
			return false;
		}
		*stored = GeData(entry.degrees ? DegreesToRadians(v) : v);
		return true;
	}
	if (kind == "STRING")
	{
		if (type != DA_STRING)
		{
			*error = "entry " + name + " takes a text";
			return false;
		}
		*stored = value;
		return true;
	}
	if (kind == "LINK")
	{
		if (type == DA_NIL)
		{
			stored->SetLink(nullptr);
			return true;
		}
		// A link field only takes what the user can drop into it: an element of this document.
		BaseList2D* element = type == DA_ALIASLINK ? value.GetLink(doc) : nullptr;
		if (!element)
		{
			*error = "entry " + name + " takes an element of the document, or none";
			return false;
		}
		stored->SetLink(element);
		return true;
	}
	if (kind == "GRADIENT" || kind == "SPLINE")
	{
		const Int32 wanted = kind == "GRADIENT" ? CUSTOMDATATYPE_GRADIENT : CUSTOMDATATYPE_SPLINE;
		if (type != DA_CUSTOMDATA || value.GetCustomDataTypeId() != wanted)
		{
			*error = "entry " + name + " takes a " + (kind == "GRADIENT" ? "gradient" : "spline curve");
			return false;
		}
		*stored = value;
		return true;
	}
	*error = "entry " + name + " is a " + kind + " and holds no value";
	return false;
}

} // namespace

bool PanelButton(BaseDocument* doc, Int32 id, std::string* error)
{
	std::string ignored;
	if (!error)
		error = &ignored;
	PanelTool active;
	PanelEntry entry;
	if (!ActivePanelTool(&active, error) || !UsableEntry(doc, id, &entry, error))
		return false;
	if (entry.kind != "BUTTON")
	{
		*error = "entry " + EntryName(entry) + " is no button";
		return false;
	}
	DescriptionCommand command;
	command.id = DescID(id);
	// The panel does not wait for an answer: the tool says what became of the press itself.
	active.tool->Message(doc, *active.settings, MSG_DESCRIPTION_COMMAND, &command);
	return true;
}

bool PanelChange(BaseDocument* doc, Int32 id, const GeData& value, std::string* error)
{
	std::string ignored;
	if (!error)
		error = &ignored;
	PanelTool active;
	PanelEntry entry;
	GeData stored;
	if (!ActivePanelTool(&active, error) || !UsableEntry(doc, id, &entry, error) || !FitValue(doc, entry, value, &stored, error))
		return false;
	active.settings->SetData(id, stored);
	// The field was changed, then left: the tool checks the settings, then ends the interaction.
	const DescID descid(id);
	DescriptionCheckUpdate update;
	update.doc = doc;
	update.descid = &descid;
	active.tool->Message(doc, *active.settings, MSG_DESCRIPTION_CHECKUPDATE, &update);
	active.tool->Message(doc, *active.settings, MSG_DESCRIPTION_USERINTERACTION_END, nullptr);
	return true;
}

} // namespace standin::tools
