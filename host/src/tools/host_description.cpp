#include "tools/host_description.h"

namespace standin::tools
{

namespace
{

BaseContainer PropertiesOf(const DescriptionEntry& entry)
{
	BaseContainer properties(entry.id);
	properties.SetString(DESC_NAME, String(entry.label));
	properties.SetBool(DESC_HIDE, false);
	if (entry.kind == "REAL")
		properties.SetInt32(DESC_UNIT, entry.unit == "DEGREE" ? DESC_UNIT_DEGREE : DESC_UNIT_FLOAT);
	return properties;
}

} // namespace

bool HostDescription::Load(const std::string& name)
{
	DescriptionResource resource;
	if (!FindDescription(name, &resource))
		return false;
	_entries.clear();
	_entries.reserve(resource.entries.size());
	for (DescriptionEntry& e : resource.entries)
	{
		Entry entry;
		entry.properties = PropertiesOf(e);
		for (const DescriptionEntry& choice : e.choices)
			entry.choiceProperties.push_back(PropertiesOf(choice));
		entry.resource = std::move(e);
		_entries.push_back(std::move(entry));
	}
	_name = name;
	_loaded = true;
	return true;
}

BaseContainer* HostDescription::Properties(Int32 id)
{
	// Entries first: an entry and a choice of another entry never share a number in a sound
	// resource, and if they do the entry is what a panel would change.
	for (Entry& entry : _entries)
		if (entry.resource.id == id)
			return &entry.properties;
	for (Entry& entry : _entries)
		for (size_t i = 0; i < entry.resource.choices.size(); ++i)
			if (entry.resource.choices[i].id == id)
				return &entry.choiceProperties[i];
	return nullptr;
}

} // namespace standin::tools

// The plug-ins' view of it: every Description the host hands out is a HostDescription.
bool Description::LoadDescription(const String& name)
{
	return static_cast<standin::tools::HostDescription*>(this)->Load(name.Get());
}

BaseContainer* Description::GetParameterI(const DescID& id, AtomArray* ar)
{
	(void)ar;
	if (id.GetDepth() < 1)
		return nullptr;
	return static_cast<standin::tools::HostDescription*>(this)->Properties(id[0].id);
}

String Description::GetName() const
{
	return String(static_cast<const standin::tools::HostDescription*>(this)->Name());
}
