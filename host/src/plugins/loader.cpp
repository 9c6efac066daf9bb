// PluginHost: finds, opens, enters and finally unloads the plug-ins of one folder.
#include <dlfcn.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>

#include "registry_state.h"
#include "standin/console.h"
#include "standin/plugins.h"
#include "standin/scene.h"
#include "standin/tools.h"

namespace standin
{

namespace
{

void Note(std::string* report, const std::string& line)
{
	GePrint(String(line));
	if (report)
		*report += line + "\n";
}

// Calls a plug-in's entry with its name recorded as the owner of what it registers.
Int32 Enter(const std::string& name, Int32 (*entry)(Int32, void*, void*, void*), Int32 action, void* p1, void* p2)
{
	registry::SetCurrentOwner(name);
	const Int32 answer = entry(action, p1, p2, nullptr);
	registry::SetCurrentOwner(std::string());
	return answer;
}

void* MessageId(Int32 id)
{
	return reinterpret_cast<void*>(static_cast<std::intptr_t>(id));
}

} // namespace

const char* PluginStateName(PluginState state)
{
	switch (state)
	{
		case PluginState::Failed: return "failed";
		case PluginState::Initialised: return "initialised";
		case PluginState::Refused: return "not started";
		case PluginState::StartFailed: return "start failed";
		case PluginState::Started: return "started";
		case PluginState::Ended: return "ended";
	}
	return "unknown";
}

PluginHost::~PluginHost()
{
	Shutdown();
}

void PluginHost::SetCommandLine(std::vector<std::string> args)
{
	_args = std::move(args);
}

bool PluginHost::LoadFolder(const std::string& folder, std::string* report)
{
	if (_loaded)
	{
		if (report)
			*report += "plug-ins are already loaded from " + _folder + "\n";
		return false;
	}
	namespace fs = std::filesystem;
	std::error_code ec;
	if (!fs::is_directory(folder, ec))
	{
		Note(report, "Plug-ins folder " + folder + " does not exist");
		return false;
	}
	std::vector<std::string> names;
	for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
	{
		std::error_code dirEc;
		if (it->is_directory(dirEc))
			names.push_back(it->path().filename().string());
	}
	if (ec)
	{
		Note(report, "Plug-ins folder " + folder + " cannot be read: " + ec.message());
		return false;
	}
	std::sort(names.begin(), names.end());
	_plugins.clear();
	_modules.clear();
	_loaded = true;
	_folder = folder;
	for (const std::string& name : names)
		LoadOne(folder, name, report);
	SendCommandLine();
	return true;
}

void PluginHost::LoadOne(const std::string& folder, const std::string& name, std::string* report)
{
	namespace fs = std::filesystem;
	LoadedPlugin plugin;
	plugin.name = name;
	std::error_code ec;
	fs::path dir = fs::absolute(fs::path(folder) / name, ec);
	if (ec)
		dir = fs::path(folder) / name;
	plugin.folder = dir.lexically_normal().string();
	plugin.library = (dir / (name + ".so")).lexically_normal().string();
	Module module;

	auto fail = [&](const std::string& problem) {
		plugin.state = PluginState::Failed;
		plugin.problem = problem;
		Note(report, "Plug-in " + name + " skipped: " + problem);
		if (module.handle)
			dlclose(module.handle);
		_plugins.push_back(std::move(plugin));
		_modules.push_back(Module{});
	};

	if (!fs::is_regular_file(plugin.library, ec))
		return fail(plugin.library + " is missing");
	dlerror();
	module.handle = dlopen(plugin.library.c_str(), RTLD_NOW | RTLD_LOCAL);
	if (!module.handle)
	{
		const char* why = dlerror();
		return fail(std::string("cannot be opened: ") + (why ? why : "unknown error"));
	}
	module.entry = reinterpret_cast<Module::Entry>(dlsym(module.handle, "c4d_main"));
	if (!module.entry)
		return fail("it has no entry point c4d_main");

	HostEntryInfo info;
	info.version = HOST_API_VERSION;
	const Int32 init = Enter(name, module.entry, ENTRY_INIT, &info, const_cast<char*>(plugin.folder.c_str()));
	if (init != 1)
		return fail("initialise answered " + std::to_string(init));
	plugin.state = PluginState::Initialised;

	Enter(name, module.entry, ENTRY_MESSAGE, MessageId(PLUGINMSG_PRIORITY), nullptr);
	if (Enter(name, module.entry, ENTRY_MESSAGE, MessageId(PLUGINMSG_INIT_SYS), nullptr) != 1)
	{
		plugin.state = PluginState::Refused;
		plugin.problem = "system initialisation failed";
		Note(report, "Plug-in " + name + " not started: system initialisation failed");
	}
	else if (Enter(name, module.entry, ENTRY_START, nullptr, nullptr) != 1)
	{
		plugin.state = PluginState::StartFailed;
		plugin.problem = "start failed";
		Note(report, "Plug-in " + name + " start failed");
	}
	else
		plugin.state = PluginState::Started;
	_plugins.push_back(std::move(plugin));
	_modules.push_back(module);
}

void PluginHost::SendCommandLine()
{
	// The plug-ins get writable copies; a handler empties an entry it has dealt with.
	std::vector<std::vector<char>> buffers;
	buffers.reserve(_args.size());
	std::vector<char*> argv;
	for (const std::string& a : _args)
	{
		buffers.emplace_back(a.begin(), a.end());
		buffers.back().push_back('\0');
		argv.push_back(buffers.back().data());
	}
	PLUGINMSG_CommandLineArgs args;
	args.argc = static_cast<Int32>(argv.size());
	args.argv = argv.empty() ? nullptr : argv.data();
	for (size_t i = 0; i < _plugins.size(); ++i)
		if (_plugins[i].state == PluginState::Started)
			Enter(_plugins[i].name, _modules[i].entry, ENTRY_MESSAGE, MessageId(PLUGINMSG_COMMANDLINEARGS), &args);
	_argsAfter.clear();
	for (size_t i = 0; i < argv.size(); ++i)
		_argsAfter.emplace_back(argv[i] ? argv[i] : "");
}

void PluginHost::Shutdown()
{
	if (!_loaded)
		return;
	// A user quitting leaves the active tool first: it gets FreeTool with its document while its
	// plug-in is still running.
	tools::DeactivateTool(GetActiveDocument());
	for (size_t i = _plugins.size(); i-- > 0;)
	{
		LoadedPlugin& plugin = _plugins[i];
		if (plugin.state == PluginState::Failed || !_modules[i].entry)
			continue;
		Enter(plugin.name, _modules[i].entry, ENTRY_END, nullptr, nullptr);
		plugin.state = PluginState::Ended;
	}
	// Documents hold scene-hook and tag data objects, whose code lives in the plug-ins: every
	// plug-in object goes before any library does.
	CloseAllDocuments();
	ClearRegistry();
	for (size_t i = _modules.size(); i-- > 0;)
		if (_modules[i].handle)
		{
			dlclose(_modules[i].handle);
			_modules[i] = Module{};
		}
	_modules.clear();
	_loaded = false;
}

} // namespace standin
