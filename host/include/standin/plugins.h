// The host's plug-in side, for the executable and tests: the loader (PluginHost), the registry of
// what plug-ins registered, and the description resources they loaded.
#pragma once

#include <string>
#include <vector>

#include "hostapi/plugin.h"

namespace standin
{

// ---- Loader ----------------------------------------------------------------------------------

enum class PluginState
{
	Failed,      // not loaded or refused initialise; never entered again
	Initialised, // initialise answered 1 (transient while loading)
	Refused,     // system initialisation answered false: not started, still ended at shutdown
	StartFailed, // start answered 0: its earlier registrations stay, still ended at shutdown
	Started,
	Ended,
};

const char* PluginStateName(PluginState state);

struct LoadedPlugin
{
	std::string name;    // the folder name
	std::string folder;  // the plug-in folder handed to initialise
	std::string library; // <folder>/<name>.so
	PluginState state = PluginState::Failed;
	std::string problem; // why it failed or was not started; empty otherwise
};

// Loads the plug-ins of one folder, starts them, and ends and unloads them again at Shutdown.
// One PluginHost is active at a time (the registry it fills is the host's, process-wide).
class PluginHost
{
public:
	PluginHost() = default;
	~PluginHost();
	PluginHost(const PluginHost&) = delete;
	PluginHost& operator=(const PluginHost&) = delete;

	// The arguments sent to every started plug-in (message 1002) after loading.
	void SetCommandLine(std::vector<std::string> args);
	// The arguments as the plug-ins left them (handled entries emptied).
	const std::vector<std::string>& CommandLineAfterPlugins() const { return _argsAfter; }

	// Each subfolder <name> holding <name>.so, in name order: open, initialise, priority and system
	// initialisation messages, start; then the command line to the started ones. Broken plug-ins
	// are skipped with a console line. False (with *report) when the folder cannot be read or
	// plug-ins are already loaded; *report also lists each plug-in's problem.
	bool LoadFolder(const std::string& folder, std::string* report);
	bool IsLoaded() const { return _loaded; }
	const std::string& Folder() const { return _folder; }
	const std::vector<LoadedPlugin>& Plugins() const { return _plugins; }

	// End messages in reverse order for every initialised plug-in, then documents, plug-in data
	// objects and registrations are freed, and only then are the libraries closed.
	void Shutdown();

private:
	struct Module
	{
		void* handle = nullptr;
		using Entry = Int32 (*)(Int32, void*, void*, void*);
		Entry entry = nullptr;
	};

	void LoadOne(const std::string& folder, const std::string& name, std::string* report);
	void SendCommandLine();

	bool _loaded = false;
	std::string _folder;
	std::vector<LoadedPlugin> _plugins;
	std::vector<Module> _modules; // parallel to _plugins
	std::vector<std::string> _args;
	std::vector<std::string> _argsAfter;
};

// ---- Registry --------------------------------------------------------------------------------

enum class PluginKind
{
	Tool,
	Command,
	SceneHook,
	Tag,
};

struct Registration
{
	Int32 id = 0;
	PluginKind kind = PluginKind::Tool;
	std::string name;
	std::string help;
	std::string description; // tags: the description resource name
	Int32 info = 0;
	bool hasIcon = false;
	Int32 iconWidth = 0;
	Int32 iconHeight = 0;
	BaseData* data = nullptr;        // tools and commands: the data object the host owns
	DataAllocator alloc = nullptr;   // scene hooks and tags
	Int32 priority = 0;
	Int32 diskLevel = 0;
	std::string owner;               // the plug-in that registered it (empty: registered directly)
};

// Every registration, in registration order.
std::vector<Registration> Registrations();
// A copy of one registration; false when the ID is not registered.
bool FindRegistration(Int32 id, Registration* out);
// The tool or command data object registered under id (nullptr otherwise).
BaseData* RegisteredData(Int32 id);

// A new data object of a registered scene hook or tag (nullptr when id is none or the allocator
// fails). The host tracks it, so what a document forgets is still freed before plug-ins unload.
NodeData* NewNodeData(Int32 id);
// Frees a data object made by NewNodeData; one the registry no longer tracks (freed when the
// registry was cleared) is left alone.
void FreeNodeData(NodeData*& data);
// Frees a plug-in data object (a tool, command or node data) made in host memory.
void FreePluginData(BaseData* data);

// Frees every tracked node data object and every registration with its data object.
void ClearRegistry();

// ---- Resources ---------------------------------------------------------------------------------

struct DescriptionEntry
{
	Int32 id = 0;
	std::string kind;   // GROUP LONG REAL BOOL STRING BUTTON LINK CYCLE GRADIENT SPLINE (CHOICE)
	std::string symbol;
	std::string label;
	std::string unit;   // REAL entries: empty, or DEGREE (radians kept, degrees shown)
	std::vector<DescriptionEntry> choices; // CYCLE entries only
};

struct DescriptionResource
{
	std::string name; // the file name without ".res"
	std::vector<DescriptionEntry> entries;
};

// A copy of a description that a loaded plug-in resource holds; false when none is loaded.
bool FindDescription(const std::string& name, DescriptionResource* out);

// ---- Crash handler -------------------------------------------------------------------------
// Calls the crash-handler chain as the host would on a crash; the host's own handler (at the end of
// the chain) keeps the text.
void RunCrashHandler(const std::string& text);
std::string LastCrashHandlerText();
// Puts the host's own handler back (plug-ins that chained in front are forgotten).
void ResetCrashHandler();

} // namespace standin
