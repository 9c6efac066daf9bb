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
#include <vector>

#include "input/scripted_input.h"
#include "standin/dialogs.h"

class BaseDocument;

namespace standin
{
class PluginHost;
}

namespace standin::session
{

// Answers that scripts queue for the popup menus, modal dialogs and questions the plug-ins show,
// taken in order by the next one of each kind. While the session exists it is the host's answer
// source.
class DialogQueue : public dialogs::AnswerSource
{
public:
	std::deque<std::string> popups;
	std::deque<std::vector<std::string>> modals;
	std::deque<std::string> questions;

	bool TakePopupAnswer(std::string* answer) override;
	bool TakeModalAnswer(std::vector<std::string>* words) override;
	bool TakeQuestionAnswer(std::string* answer) override;
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
	dialogs::AnswerSource* _previousAnswers = nullptr;
};

} // namespace standin::session
