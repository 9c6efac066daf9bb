// The host's registry of plug-in classes. It owns the tool and command data objects handed to it
// and tracks every scene-hook and tag data object made through it, so all plug-in code objects
// can be destroyed while the plug-in's library is still loaded.
#include <algorithm>
#include <mutex>
#include <string>
#include <vector>

#include "hostapi/resource.h"
#include "registry_state.h"
#include "standin/console.h"
#include "standin/memory.h"
#include "standin/plugins.h"
#include "standin/tools.h"

namespace standin
{

namespace
{

struct Registry
{
	std::recursive_mutex mutex; // plug-in destructors may call back into the registry
	std::vector<Registration> entries;
	std::vector<NodeData*> instances;
	std::string owner;
};

Registry& State()
{
	static Registry* registry = new Registry;
	return *registry;
}

const char* KindName(PluginKind kind)
{
	switch (kind)
	{
		case PluginKind::Tool: return "tool";
		case PluginKind::Command: return "command";
		case PluginKind::SceneHook: return "scene hook";
		case PluginKind::Tag: return "tag";
	}
	return "plug-in";
}

bool Refuse(PluginKind kind, Int32 id, const String& name, const std::string& why)
{
	GePrint(String(std::string("Registration of ") + KindName(kind) + " " + std::to_string(id) + " \"" + name.Get() + "\" refused: " + why));
	return false;
}

// Checks shared by every registration; the caller frees what it was handed when this fails.
bool Acceptable(PluginKind kind, Int32 id, const String& name)
{
	if (id <= 0)
		return Refuse(kind, id, name, "the plug-in ID must be positive");
	if (name.IsEmpty())
		return Refuse(kind, id, name, "the name is empty");
	Registry& r = State();
	std::lock_guard<std::recursive_mutex> lock(r.mutex);
	for (const Registration& e : r.entries)
		if (e.id == id)
			return Refuse(kind, id, name, "the ID is already registered by \"" + e.name + "\"");
	return true;
}

void SetIcon(Registration* reg, const BaseBitmap* icon)
{
	if (!icon || icon->GetBw() <= 0)
		return;
	reg->hasIcon = true;
	reg->iconWidth = icon->GetBw();
	reg->iconHeight = icon->GetBh();
}

void Add(Registration reg)
{
	Registry& r = State();
	std::lock_guard<std::recursive_mutex> lock(r.mutex);
	reg.owner = r.owner;
	r.entries.push_back(std::move(reg));
}

} // namespace

void FreePluginData(BaseData* data)
{
	if (!data)
		return;
	// The most-derived object starts the block the plug-in allocated.
	void* block = dynamic_cast<void*>(data);
	if (QueryAllocation(block, nullptr))
	{
		data->~BaseData();
		HostFree(block);
	}
	else
		delete data; // made with the plug-in's own operator new
}

std::vector<Registration> Registrations()
{
	Registry& r = State();
	std::lock_guard<std::recursive_mutex> lock(r.mutex);
	return r.entries;
}

bool FindRegistration(Int32 id, Registration* out)
{
	Registry& r = State();
	std::lock_guard<std::recursive_mutex> lock(r.mutex);
	for (const Registration& e : r.entries)
		if (e.id == id)
		{
			if (out)
				*out = e;
			return true;
		}
	return false;
}

BaseData* RegisteredData(Int32 id)
{
	Registry& r = State();
	std::lock_guard<std::recursive_mutex> lock(r.mutex);
	for (const Registration& e : r.entries)
		if (e.id == id)
			return e.data;
	return nullptr;
}

NodeData* NewNodeData(Int32 id)
{
	Registry& r = State();
	std::lock_guard<std::recursive_mutex> lock(r.mutex);
	for (const Registration& e : r.entries)
		if (e.id == id && e.alloc)
		{
			NodeData* data = e.alloc();
			if (data)
				r.instances.push_back(data);
			return data;
		}
	return nullptr;
}

void FreeNodeData(NodeData*& data)
{
	if (!data)
		return;
	Registry& r = State();
	bool tracked = false;
	{
		std::lock_guard<std::recursive_mutex> lock(r.mutex);
		tracked = std::erase(r.instances, data) > 0;
	}
	// An untracked object was already freed with the registry (its plug-in is gone); freeing it
	// again would corrupt the heap.
	if (tracked)
		FreePluginData(data);
	data = nullptr;
}

void ClearRegistry()
{
	// The tool runtime lets go of the active tool (FreeTool) and the settings containers while
	// the tool objects still exist.
	tools::ResetToolRuntime();
	Registry& r = State();
	std::vector<NodeData*> instances;
	std::vector<Registration> entries;
	{
		std::lock_guard<std::recursive_mutex> lock(r.mutex);
		instances.swap(r.instances);
		entries.swap(r.entries);
	}
	for (NodeData* data : instances)
		FreePluginData(data);
	for (Registration& e : entries)
		FreePluginData(e.data);
}

namespace registry
{

void SetCurrentOwner(const std::string& name)
{
	Registry& r = State();
	std::lock_guard<std::recursive_mutex> lock(r.mutex);
	r.owner = name;
}

} // namespace registry

} // namespace standin

using standin::PluginKind;
using standin::Registration;

namespace
{

// Tools and commands hand the host one data object; the host owns it from here on, also when it
// refuses the registration.
bool RegisterDataPlugin(PluginKind kind, Int32 id, const String& name, Int32 info, BaseBitmap* icon, const String& help, BaseData* data, const char* missing)
{
	if (!data)
		return standin::Refuse(kind, id, name, missing);
	if (!standin::Acceptable(kind, id, name))
	{
		standin::FreePluginData(data);
		return false;
	}
	Registration reg;
	reg.id = id;
	reg.kind = kind;
	reg.name = name.Get();
	reg.help = help.Get();
	reg.info = info;
	reg.data = data;
	standin::SetIcon(&reg, icon);
	standin::Add(std::move(reg));
	return true;
}

} // namespace

bool RegisterToolPlugin(Int32 id, const String& name, Int32 info, BaseBitmap* icon, const String& help, ToolData* data)
{
	return RegisterDataPlugin(PluginKind::Tool, id, name, info, icon, help, data, "no tool data");
}

bool RegisterCommandPlugin(Int32 id, const String& name, Int32 info, BaseBitmap* icon, const String& help, CommandData* data)
{
	return RegisterDataPlugin(PluginKind::Command, id, name, info, icon, help, data, "no command data");
}

bool RegisterSceneHookPlugin(Int32 id, const String& name, Int32 info, DataAllocator alloc, Int32 priority, Int32 diskLevel)
{
	if (!alloc)
		return standin::Refuse(PluginKind::SceneHook, id, name, "no allocator");
	if (!standin::Acceptable(PluginKind::SceneHook, id, name))
		return false;
	Registration reg;
	reg.id = id;
	reg.kind = PluginKind::SceneHook;
	reg.name = name.Get();
	reg.info = info;
	reg.alloc = alloc;
	reg.priority = priority;
	reg.diskLevel = diskLevel;
	standin::Add(std::move(reg));
	return true;
}

bool RegisterTagPlugin(Int32 id, const String& name, Int32 info, DataAllocator alloc, const String& description, BaseBitmap* icon, Int32 diskLevel)
{
	if (!alloc)
		return standin::Refuse(PluginKind::Tag, id, name, "no allocator");
	if (!standin::Acceptable(PluginKind::Tag, id, name))
		return false;
	// The tag's description must be registered first; a tag without one cannot be shown.
	if (!standin::FindDescription(description.Get(), nullptr))
		return standin::Refuse(PluginKind::Tag, id, name, "description \"" + description.Get() + "\" is not loaded");
	Registration reg;
	reg.id = id;
	reg.kind = PluginKind::Tag;
	reg.name = name.Get();
	reg.description = description.Get();
	reg.info = info;
	reg.alloc = alloc;
	reg.diskLevel = diskLevel;
	standin::SetIcon(&reg, icon);
	standin::Add(std::move(reg));
	return true;
}
