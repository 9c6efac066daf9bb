// Session-script verbs. Every verb lives in its own file (verbs_<topic>.cpp) and registers itself
// with a static VerbRegistration, so new topics add files instead of editing the runner.
//
// A script runs in two steps: the whole file is parsed first and every line's words are checked by
// its verb's `check` (arity, number formats, known keywords) before anything runs; then each line
// runs in order: its `run` first looks everything up (named objects, files, plug-ins) and reports a
// problem before it changes anything, so a failing line leaves the scene as it was, and the run
// stops with "file:line: what is wrong".
#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <vector>

class BaseDocument;

namespace standin
{
class PluginHost;
}

namespace standin::session
{

struct Context
{
	std::ostream* out = nullptr;     // where print verbs write
	std::string scriptPath;          // the running script (for relative file names)
	std::string pluginsFolder;       // default folder for load-plugins
	BaseDocument* document = nullptr; // the session's current document (also the host's active one)
	PluginHost* plugins = nullptr;    // the loader that load-plugins fills
};

using Words = std::vector<std::string>;

struct Verb
{
	std::string name;
	std::string usage; // one line: "add-object cube|plane <name> [size]"
	std::string help;  // one sentence for --help
	// Static check of the words after the verb name; false with *error set when they are wrong.
	std::function<bool(const Words& args, std::string* error)> check;
	// Runs the line; false with *error set when it cannot, having changed nothing.
	std::function<bool(Context& ctx, const Words& args, std::string* error)> run;
};

void RegisterVerb(Verb verb);
const Verb* FindVerb(const std::string& name);
std::vector<const Verb*> AllVerbs();

struct VerbRegistration
{
	explicit VerbRegistration(Verb verb) { RegisterVerb(std::move(verb)); }
};

} // namespace standin::session
