// The state one run of a script works in: where it prints, where its files are, the plug-ins, the
// document, and the user's side of the session. The verbs act as a user would: what they type,
// click and drag goes into the session's input queue, which the host's tool runtime reads through
// its input source; answers for dialogs wait in the dialog queue.
//
// The active tool is the host's (standin/tools.h): it lives across scripts, as the active document
// and the plug-ins do, so the session reaches it rather than owning it.
#pragma once

#include <deque>
#include <ostream>
#include <string>

#include "input/scripted_input.h"

class BaseDocument;

namespace standin
{
class PluginHost;
}

namespace standin::session
{

// Answers that scripts queue for dialogs the plug-ins open (a name prompt, a yes/no question),
// taken in order by the dialog that asks next.
struct DialogQueue
{
	std::deque<std::string> answers;
};

class Session
{
public:
	// out: where print verbs write; scriptPath: the running script (relative file names are taken
	// from its folder); plugins: the loader that load-plugins fills. While the session exists its
	// scripted input is the host's input source.
	Session(std::ostream& out, std::string scriptPath, std::string pluginsFolder, PluginHost& plugins);
	~Session();
	Session(const Session&) = delete;
	Session& operator=(const Session&) = delete;

	std::ostream& Out() const { return *_out; }
	const std::string& ScriptPath() const { return _scriptPath; }
	// The folder load-plugins uses when the script names none (may be empty).
	const std::string& PluginsFolder() const { return _pluginsFolder; }
	PluginHost& Plugins() const { return *_plugins; }

	// The document the verbs work in, also the host's active one; nullptr when there is none.
	BaseDocument* Document() const { return _document; }
	void SetDocument(BaseDocument* doc) { _document = doc; }

	// What the user does with mouse and keyboard, as the verbs script it.
	input::ScriptedInput& Input() { return _input; }
	DialogQueue& Dialogs() { return _dialogs; }

private:
	std::ostream* _out;
	std::string _scriptPath;
	std::string _pluginsFolder;
	PluginHost* _plugins;
	BaseDocument* _document = nullptr;
	input::ScriptedInput _input;
	input::InputSource* _previousSource = nullptr;
	DialogQueue _dialogs;
};

} // namespace standin::session
