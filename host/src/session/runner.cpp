// Runs a session script: parse and check every line first, then run line by line and stop at the
// first line that fails.
#include <exception>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "standin/printable.h"
#include "hostapi/document.h"
#include "session/session.h"
#include "session/verb.h"
#include "session/words.h"
#include "standin/dialogs.h"
#include "standin/plugins.h"
#include "standin/scene.h"
#include "standin/session.h"

namespace standin
{

namespace
{

// A session script is a hand-written text; this bounds what a wrong file can make us read.
constexpr std::streamoff kMaxScriptBytes = 16 << 20;

struct ScriptLine
{
	int number = 0;
	const session::Verb* verb = nullptr;
	// What the verb's check made of the line's words; its run gets this.
	session::Parsed parsed;
};

bool Parse(const std::string& text, const std::string& name, std::vector<ScriptLine>* lines, std::ostream& err)
{
	bool ok = true;
	// Editors on some systems start a UTF-8 file with a byte-order mark; it is no part of the
	// first command.
	std::istringstream in(text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? text.substr(3) : text);
	std::string raw;
	int number = 0;
	while (std::getline(in, raw))
	{
		++number;
		session::Words words;
		std::string error;
		auto fail = [&](const std::string& what) {
			err << Printable(name) << ":" << number << ": " << Printable(what) << "\n";
			ok = false;
		};
		if (!session::SplitWords(raw, &words, &error))
		{
			fail(error);
			continue;
		}
		if (words.empty())
			continue;
		const session::Verb* verb = session::FindVerb(words[0]);
		if (!verb)
		{
			fail("unknown command '" + words[0] + "'");
			continue;
		}
		ScriptLine line;
		line.number = number;
		line.verb = verb;
		const session::Words args(words.begin() + 1, words.end());
		if (!verb->check(args, &line.parsed, &error))
		{
			fail(verb->name + ": " + error);
			continue;
		}
		lines->push_back(std::move(line));
	}
	return ok;
}

// As on screen: once a user's action is over, the open dialogs hear the host's document-changed
// message when the action posted update events. Each round of messages may post more; a plug-in
// that posts one for every message it hears must not keep the host here for ever.
void DeliverUpdates(Int64 eventsBefore)
{
	for (int round = 0; round < 8 && EventCount() != eventsBefore; ++round)
	{
		eventsBefore = EventCount();
		dialogs::SendCoreChange();
	}
}

} // namespace

int RunSessionText(const std::string& text, const std::string& name, std::ostream& out, std::ostream& err, const SessionOptions& options)
{
	std::vector<ScriptLine> lines;
	if (!Parse(text, name, &lines, err))
		return 1;
	PluginHost own;
	session::Session session(out, name, options.pluginsFolder, options.plugins ? *options.plugins : own);
	// A script that follows another in the same run continues in the document it left active.
	session.SetDocument(GetActiveDocument());
	for (const ScriptLine& line : lines)
	{
		std::string error;
		bool ok = false;
		const Int64 events = EventCount();
		try
		{
			ok = line.verb->run(session, line.parsed, &error);
			// An edit in the host's own managers posts the host's update event.
			if (ok && line.verb->editsScene)
				EventAdd();
			DeliverUpdates(events);
		}
		catch (const std::exception& e)
		{
			error = std::string("internal error: ") + e.what();
		}
		// Whatever a line held down (keys, a mouse button, a drag path) is let go when it ends.
		session.Input().ReleaseAll();
		if (!ok)
		{
			err << Printable(name) << ":" << line.number << ": " << line.verb->name << ": " << Printable(error) << "\n";
			return 1;
		}
	}
	out.flush();
	return 0;
}

int RunSessionFile(const std::string& path, std::ostream& out, std::ostream& err, const SessionOptions& options)
{
	std::error_code ec;
	if (!std::filesystem::is_regular_file(path, ec))
	{
		err << Printable(path) << ": " << (std::filesystem::exists(path, ec) ? "not a file" : "no such file") << "\n";
		return 1;
	}
	std::ifstream in(path, std::ios::binary);
	if (!in)
	{
		err << Printable(path) << ": cannot be opened\n";
		return 1;
	}
	in.seekg(0, std::ios::end);
	const std::streamoff size = in.tellg();
	if (size < 0 || size > kMaxScriptBytes)
	{
		err << Printable(path) << ": " << (size < 0 ? "cannot be read" : "too large for a session script") << "\n";
		return 1;
	}
	in.seekg(0, std::ios::beg);
	std::string text(static_cast<size_t>(size), '\0');
	if (size > 0 && !in.read(text.data(), size))
	{
		err << Printable(path) << ": cannot be read\n";
		return 1;
	}
	return RunSessionText(text, path, out, err, options);
}

std::string SessionCommandHelp()
{
	std::string help;
	for (const session::Verb* verb : session::AllVerbs())
		help += "  " + verb->usage + "\n      " + verb->help + "\n";
	return help;
}

} // namespace standin
