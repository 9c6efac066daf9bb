// The entry protocol, the host classes that plug-ins implement, and plug-in registration.
#pragma once

#include "hostapi/document.h"
#include "hostapi/file.h"

class BaseDraw;
class BaseDrawHelp;
class BaseThread;
class EditorWindow;
class Description;
class BaseBitmap;
class BaseSceneHook;

// ---- Entry protocol -------------------------------------------------------------------------
// c4d_main(action, p1, p2, p3):
//   1 initialise: p1 = const HostEntryInfo*, p2 = resource argument (the plug-in's folder, const char*)
//   2 start, 3 end, 4 version query, 6 message: p1 = message id (as an integer), p2 = data.
enum : Int32
{
	ENTRY_INIT = 1,
	ENTRY_START = 2,
	ENTRY_END = 3,
	ENTRY_VERSION = 4,
	ENTRY_MESSAGE = 6,
};

struct HostEntryInfo
{
	Int32 version = 0;
};

// Plug-in messages (c4d_main action 6).
enum : Int32
{
	PLUGINMSG_PRIORITY = 0,
	PLUGINMSG_INIT_SYS = 1,
	PLUGINMSG_COMMANDLINEARGS = 1002,
	PLUGINMSG_EDITIMAGE = 1003,
};

struct PLUGINMSG_CommandLineArgs
{
	Int32 argc = 0;
	char** argv = nullptr; // entries may be null or empty; a handler clears an entry by emptying it
};

struct PLUGINMSG_EditImage
{
	const char* imagefn = nullptr;
	bool return_processed = false;
};

// Each plug-in defines these three; the binding's c4d_main calls them.
bool PluginStart();
void PluginEnd();
bool PluginMessage(Int32 id, void* data);

// The plug-in's folder (the resource argument of initialise).
Filename GeGetPluginPath();
// The name the binding reports in its WARNING/CRITICAL lines (the plug-in folder's last part).
String GeGetPluginName();

// ---- Plug-in data classes ---------------------------------------------------------------------
class BaseData
{
public:
	virtual ~BaseData() = default;
};

class NodeData : public BaseData
{
public:
	virtual bool Init(GeListNode* node) { (void)node; return true; }
	virtual bool Message(GeListNode* node, Int32 type, void* data) { (void)node; (void)type; (void)data; return true; }
};

// Tool draw results and flags.
enum : Int32
{
	TOOLDRAW_NONE = 0,
	TOOLDRAW_HANDLES = 1,
	TOOLDRAW_AXIS = 2,
	TOOLDRAWFLAGS_HIGHLIGHT = 2,
	CMD_ENABLED = 0x40000000,
};

class ToolData : public BaseData
{
public:
	virtual bool InitTool(BaseDocument* doc, BaseContainer& data, BaseThread* bt) { (void)doc; (void)data; (void)bt; return true; }
	virtual void FreeTool(BaseDocument* doc, BaseContainer& data) { (void)doc; (void)data; }
	virtual bool MouseInput(BaseDocument* doc, BaseContainer& data, BaseDraw* bd, EditorWindow* win, const BaseContainer& msg) { (void)doc; (void)data; (void)bd; (void)win; (void)msg; return false; }
	virtual bool KeyboardInput(BaseDocument* doc, BaseContainer& data, BaseDraw* bd, EditorWindow* win, const BaseContainer& msg) { (void)doc; (void)data; (void)bd; (void)win; (void)msg; return false; }
	virtual Int32 Draw(BaseDocument* doc, BaseContainer& data, BaseDraw* bd, BaseDrawHelp* bh, BaseThread* bt, Int32 flags) { (void)doc; (void)data; (void)bd; (void)bh; (void)bt; (void)flags; return TOOLDRAW_NONE; }
	virtual Int32 GetState(BaseDocument* doc) { (void)doc; return CMD_ENABLED; }
	virtual bool GetCursorInfo(BaseDocument* doc, BaseContainer& data, BaseDraw* bd, Float x, Float y, BaseContainer& bc) { (void)doc; (void)data; (void)bd; (void)x; (void)y; (void)bc; return true; }
	// How the host lists the tool among its commands (CMD_ bits), asked when the user picks it: a
	// tool whose answer lacks CMD_ENABLED cannot be made active.
	virtual Int32 GetCommandFlags() { return CMD_ENABLED; }
	// Asked before each draw pass with the pass's flags (TOOLDRAWFLAGS_, one byte): whether the tool
	// draws in that pass. Its Draw is called only when it does.
	virtual bool WantsDrawPass(UChar passFlags) { (void)passFlags; return true; }
	virtual bool InitDefaultSettings(BaseDocument* doc, BaseContainer& data) { (void)doc; (void)data; return true; }
	virtual bool Message(BaseDocument* doc, BaseContainer& data, Int32 type, void* t_data) { (void)doc; (void)data; (void)type; (void)t_data; return true; }
};

// Sent to a tool's Message by the host's inspector (session scripts, tests): the tool writes a plain
// text of its working state (for the stroke tool, its strokes) into the String that data points to.
// A tool with nothing to report answers false. MSG_TOOL_INSPECT_CURSOR asks the same way for what
// the tool's last cursor query decided (where the cursor stands, the operation a press would start).
enum : Int32
{
	MSG_TOOL_INSPECT = 1000600,
	MSG_TOOL_INSPECT_CURSOR = 1000601,
};

class DescriptionToolData : public ToolData
{
public:
	virtual Int32 GetToolPluginId() = 0;
	virtual const String GetResourceSymbol() = 0;
	virtual bool GetDDescription(BaseDocument* doc, BaseContainer& data, Description* description, Int32& flags) { (void)doc; (void)data; (void)description; (void)flags; return true; }
	virtual bool GetDEnabling(BaseDocument* doc, BaseContainer& data, Int32 id, const GeData& t_data, Int32 flags, const BaseContainer* itemdesc) { (void)doc; (void)data; (void)id; (void)t_data; (void)flags; (void)itemdesc; return true; }
};

class CommandData : public BaseData
{
public:
	virtual bool Execute(BaseDocument* doc) = 0;
	virtual Int32 GetState(BaseDocument* doc) { (void)doc; return CMD_ENABLED; }
	virtual bool RestoreLayout(void* secret) { (void)secret; return false; }
};

class SceneHookData : public NodeData
{
public:
	virtual bool Draw(BaseSceneHook* node, BaseDocument* doc, BaseDraw* bd, BaseDrawHelp* bh, BaseThread* bt, Int32 flags) { (void)node; (void)doc; (void)bd; (void)bh; (void)bt; (void)flags; return true; }
};

enum : Int32
{
	EXECUTIONRESULT_OK = 0,
};

class TagData : public NodeData
{
public:
	virtual bool GetDDescription(GeListNode* node, Description* description, Int32& flags) { (void)node; (void)description; (void)flags; return true; }
	virtual Int32 Execute(BaseTag* tag, BaseDocument* doc, BaseObject* op, BaseThread* bt, Int32 priority, Int32 flags) { (void)tag; (void)doc; (void)op; (void)bt; (void)priority; (void)flags; return EXECUTIONRESULT_OK; }
};

// The data object of a scene-hook or tag instance (the plug-in's NodeData).
class BaseSceneHook : public BaseList2D
{
public:
	NodeData* GetNodeData() const;

protected:
	BaseSceneHook() = default;
};

// Makes a new data object for each instance of a scene hook or tag; the host owns it.
using DataAllocator = NodeData* (*)();

// ---- Registration -----------------------------------------------------------------------------
// The host takes ownership of the data objects handed in (also when it refuses the registration).
bool RegisterToolPlugin(Int32 id, const String& name, Int32 info, BaseBitmap* icon, const String& help, ToolData* data);
bool RegisterCommandPlugin(Int32 id, const String& name, Int32 info, BaseBitmap* icon, const String& help, CommandData* data);
bool RegisterSceneHookPlugin(Int32 id, const String& name, Int32 info, DataAllocator alloc, Int32 priority, Int32 diskLevel);
bool RegisterTagPlugin(Int32 id, const String& name, Int32 info, DataAllocator alloc, const String& description, BaseBitmap* icon, Int32 diskLevel);

// ---- Crash handler ---------------------------------------------------------------------------
// The callback the host calls with a text about a crash. A plug-in may put its own in front,
// keeping the one it replaced to pass the text on.
using CrashHandler = void (*)(Char* text);
CrashHandler GeGetCrashHandler();
void GeSetCrashHandler(CrashHandler handler);

// The host's processor thread count.
Int32 GeGetCurrentThreadCount();
