// Session-script verbs. Every verb lives in a file of its topic (verbs_<topic>.cpp) and registers
// itself with a static VerbRegistration, so new topics add files instead of editing the runner.
//
// A script runs in two steps. First the whole file is read and every line's words go through its
// verb's check, which reads them into the verb's own argument record (numbers, keywords, names)
// and reports what is wrong (arity, number formats, unknown keywords) before anything runs. Then
// each line runs in order with the record its check made, so no verb reads its words twice: its
// run first looks everything up (named objects, files, plug-ins) and reports a problem before it
// changes anything, so a failing line leaves the scene as it was, and the run stops with
// "file:line: what is wrong".
//
// A verb is made with MakeVerb<Args>(name, usage, help, parse, run): parse turns the words into an
// Args, run receives that Args.
#pragma once

#include <any>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "session/session.h"

namespace standin::session
{

using Words = std::vector<std::string>;

// What a check made of a line's words; the verb's own argument record.
using Parsed = std::any;

struct Verb
{
	Verb() = default;

	using Check = std::function<bool(const Words& args, Parsed* parsed, std::string* error)>;
	using Run = std::function<bool(Session& session, const Parsed& parsed, std::string* error)>;

	std::string name;
	std::string usage; // one line: "add-object cube|plane <name> [size]"
	std::string help;  // one sentence for --help
	// Static check of the words after the verb name: false with *error set when they are wrong,
	// otherwise *parsed holds what run needs.
	Check check;
	// Runs the line with what check made of it; false with *error set when it cannot, having
	// changed nothing.
	Run run;
	// The verb edits the scene as a user does in the host's own managers, after which the host
	// posts its update event (the runner does, once the line ran).
	bool editsScene = false;
};

// The verb, marked as one that edits the scene.
inline Verb SceneEdit(Verb verb)
{
	verb.editsScene = true;
	return verb;
}

template <typename Args>
Verb MakeVerb(std::string name, std::string usage, std::string help, std::function<bool(const Words&, Args*, std::string*)> parse,
	std::function<bool(Session&, const Args&, std::string*)> run)
{
	Verb verb;
	verb.name = std::move(name);
	verb.usage = std::move(usage);
	verb.help = std::move(help);
	verb.check = [parse = std::move(parse)](const Words& words, Parsed* parsed, std::string* error) {
		Args args{};
		if (!parse(words, &args, error))
			return false;
		*parsed = std::move(args);
		return true;
	};
	verb.run = [run = std::move(run)](Session& session, const Parsed& parsed, std::string* error) {
		const Args* args = std::any_cast<Args>(&parsed);
		if (!args)
		{
			*error = "internal error: the line was not checked before it ran";
			return false;
		}
		return run(session, *args, error);
	};
	return verb;
}

void RegisterVerb(Verb verb);
const Verb* FindVerb(const std::string& name);
std::vector<const Verb*> AllVerbs();

struct VerbRegistration
{
	explicit VerbRegistration(Verb verb) { RegisterVerb(std::move(verb)); }
};

} // namespace standin::session
