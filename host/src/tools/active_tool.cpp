// Which tool is active and the settings container of each tool. The runtime keeps only the active
// tool's ID and looks its data object up in the registry at each use, so a tool freed with the
// registry can never be called through a stale pointer. Main thread only, as the host's views and
// panels are.
#include <map>
#include <memory>

#include "standin/plugins.h"
#include "standin/tools.h"
#include "tools/cursor_help.h"

namespace standin::tools
{

namespace
{

struct Runtime
{
	Int32 activeId = 0;
	// Made on a tool's first use and kept across tool changes; the tools keep their choices there.
	std::map<Int32, std::unique_ptr<BaseContainer>> settings;
};

Runtime& State()
{
	static Runtime* runtime = new Runtime;
	return *runtime;
}

ToolData* RegisteredTool(Int32 id)
{
	Registration reg;
	if (id == 0 || !FindRegistration(id, &reg) || reg.kind != PluginKind::Tool)
		return nullptr;
	return dynamic_cast<ToolData*>(reg.data);
}

// The container of a registered tool, made by its InitDefaultSettings the first time. A container
// whose defaults failed is not kept, so the next use tries again.
BaseContainer* SettingsOf(BaseDocument* doc, Int32 id, ToolData* tool)
{
	Runtime& r = State();
	auto it = r.settings.find(id);
	if (it != r.settings.end())
		return it->second.get();
	auto made = std::make_unique<BaseContainer>(id);
	if (!tool->InitDefaultSettings(doc, *made))
		return nullptr;
	return r.settings.emplace(id, std::move(made)).first->second.get();
}

} // namespace

bool ActivateTool(BaseDocument* doc, Int32 id, std::string* error)
{
	ToolData* tool = RegisteredTool(id);
	if (!tool)
	{
		if (error)
			*error = "no tool is registered under " + std::to_string(id);
		return false;
	}
	// A disabled tool cannot be picked at all, so the active one stays.
	if (!(tool->GetCommandFlags() & CMD_ENABLED))
	{
		if (error)
			*error = "tool " + std::to_string(id) + " is disabled and cannot be picked";
		return false;
	}
	// The tool left goes first, even when the new one then refuses: a user who picked another
	// tool has left this one.
	DeactivateTool(doc);
	BaseContainer* settings = SettingsOf(doc, id, tool);
	if (!settings)
	{
		if (error)
			*error = "tool " + std::to_string(id) + " could not make its default settings";
		return false;
	}
	if (!tool->InitTool(doc, *settings, nullptr))
	{
		if (error)
			*error = "tool " + std::to_string(id) + " refused to start (InitTool failed)";
		return false;
	}
	State().activeId = id;
	return true;
}

void DeactivateTool(BaseDocument* doc)
{
	Runtime& r = State();
	const Int32 id = r.activeId;
	// Forgotten before the call, so a tool that reaches back into the runtime sees none active.
	r.activeId = 0;
	ShownCursorHelp().clear();
	ToolData* tool = RegisteredTool(id);
	if (!tool)
		return;
	auto it = r.settings.find(id);
	if (it != r.settings.end())
		tool->FreeTool(doc, *it->second);
}

Int32 ActiveToolId()
{
	Runtime& r = State();
	// A registry cleared behind the runtime's back leaves no active tool.
	if (r.activeId != 0 && !RegisteredTool(r.activeId))
		r.activeId = 0;
	return r.activeId;
}

ToolData* ActiveTool()
{
	return RegisteredTool(ActiveToolId());
}

BaseContainer* ActiveToolSettings()
{
	const Int32 id = ActiveToolId();
	if (id == 0)
		return nullptr;
	auto it = State().settings.find(id);
	return it == State().settings.end() ? nullptr : it->second.get();
}

BaseContainer* ToolSettings(Int32 id)
{
	ToolData* tool = RegisteredTool(id);
	if (!tool)
		return nullptr;
	return SettingsOf(GetActiveDocument(), id, tool);
}

void ResetToolRuntime()
{
	// The tools are still alive here; one still active is left without a document, as when its
	// document is gone.
	DeactivateTool(nullptr);
	State().settings.clear();
}

} // namespace standin::tools
