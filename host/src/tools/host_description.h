// The host's settings-panel description: the entries of a description resource, each with a
// properties container that the tool may change while it describes its panel (hiding, labels).
// Plug-ins see it only as Description (hostapi/description.h).
#pragma once

#include <string>
#include <vector>

#include "hostapi/container.h"
#include "hostapi/description.h"
#include "standin/plugins.h"

namespace standin::tools
{

class HostDescription : public Description
{
public:
	struct Entry
	{
		DescriptionEntry resource; // id, kind, symbol, label as the resource has them
		BaseContainer properties;
		std::vector<BaseContainer> choiceProperties; // parallel to resource.choices
	};

	HostDescription() = default;
	~HostDescription() = default;
	HostDescription(const HostDescription&) = delete;
	HostDescription& operator=(const HostDescription&) = delete;

	// The description resource of that name, every property back to the resource's; false, with
	// the description as it was, when no loaded plug-in resource holds it.
	bool Load(const std::string& name);
	bool IsLoaded() const { return _loaded; }
	const std::string& Name() const { return _name; }
	const std::vector<Entry>& Entries() const { return _entries; }
	// The properties of an entry or of a cycle's choice; nullptr when there is none.
	BaseContainer* Properties(Int32 id);

private:
	bool _loaded = false;
	std::string _name;
	std::vector<Entry> _entries;
};

} // namespace standin::tools
