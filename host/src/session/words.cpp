#include "session/words.h"

#include <charconv>
#include <cmath>
#include <filesystem>

#include "hostapi/document.h"
#include "scene/document_data.h"
#include "standin/scene.h"

namespace standin::session
{

bool SplitWords(const std::string& line, Words* words, std::string* error)
{
	words->clear();
	size_t i = 0;
	const size_t n = line.size();
	auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
	while (true)
	{
		while (i < n && blank(line[i]))
			++i;
		if (i >= n || line[i] == '#')
			return true;
		std::string word;
		if (line[i] == '"')
		{
			++i;
			bool closed = false;
			while (i < n)
			{
				const char c = line[i++];
				if (c == '"')
				{
					closed = true;
					break;
				}
				if (c == '\\')
				{
					if (i >= n)
						break;
					const char e = line[i++];
					if (e != '"' && e != '\\')
					{
						*error = std::string("unknown escape \\") + e + " in a quoted word";
						return false;
					}
					word.push_back(e);
				}
				else
					word.push_back(c);
			}
			if (!closed)
			{
				*error = "missing closing quote";
				return false;
			}
			if (i < n && !blank(line[i]))
			{
				*error = "a closing quote must end its word";
				return false;
			}
		}
		else
		{
			while (i < n && !blank(line[i]))
			{
				if (line[i] == '"')
				{
					*error = "a quote inside a word (quote the whole word)";
					return false;
				}
				word.push_back(line[i++]);
			}
		}
		words->push_back(std::move(word));
	}
}

bool ParseReal(const std::string& word, const char* what, Float* value, std::string* error)
{
	const char* begin = word.data();
	const char* end = begin + word.size();
	if (begin != end && *begin == '+')
		++begin;
	auto [p, ec] = std::from_chars(begin, end, *value);
	if (word.empty() || ec != std::errc() || p != end || !std::isfinite(*value))
	{
		*error = std::string(what) + " '" + word + "' is not a number";
		return false;
	}
	return true;
}

bool ParseInt(const std::string& word, const char* what, Int32 lo, Int32 hi, Int32* value, std::string* error)
{
	const char* end = word.data() + word.size();
	auto [p, ec] = std::from_chars(word.data(), end, *value);
	if (word.empty() || ec != std::errc() || p != end)
	{
		*error = std::string(what) + " '" + word + "' is not a whole number";
		return false;
	}
	if (*value < lo || *value > hi)
	{
		*error = std::string(what) + " " + word + " is outside " + std::to_string(lo) + ".." + std::to_string(hi);
		return false;
	}
	return true;
}

bool CheckName(const std::string& word, std::string* error)
{
	if (word.empty())
	{
		*error = "an object name cannot be empty";
		return false;
	}
	if (word.find('/') != std::string::npos)
	{
		*error = "object name '" + word + "' contains '/', which separates path parts";
		return false;
	}
	return true;
}

bool CheckArity(const Words& args, size_t lo, size_t hi, const std::string& usage, std::string* error)
{
	if (args.size() < lo || args.size() > hi)
	{
		*error = (args.size() < lo ? "too few words; usage: " : "too many words; usage: ") + usage;
		return false;
	}
	return true;
}

bool RequireDocument(const Context& ctx, std::string* error)
{
	if (ctx.document)
		return true;
	*error = "there is no document yet (use new-document first)";
	return false;
}

bool FindObject(const Context& ctx, const std::string& path, BaseObject** op, std::string* error)
{
	if (!RequireDocument(ctx, error))
		return false;
	*op = FindObjectByPath(ctx.document, path);
	if (!*op)
	{
		*error = "no object '" + path + "'";
		return false;
	}
	return true;
}

namespace
{

// The list that holds the children of parent, or the document's top level.
scene::ListHead* ChildList(const Context& ctx, BaseObject* parent)
{
	if (parent)
		return &scene::CoreOf(parent)->children;
	scene::DocumentData* doc = scene::DocumentDataOf(ctx.document);
	return doc ? &doc->children : nullptr;
}

} // namespace

bool NameTaken(const Context& ctx, BaseObject* parent, const std::string& name, const BaseObject* except)
{
	scene::ListHead* list = ChildList(ctx, parent);
	return list && scene::CountNamed(*list, name, scene::CoreOf(except)) > 0;
}

void AppendObject(const Context& ctx, BaseObject* op, BaseObject* parent)
{
	scene::ListHead* list = ChildList(ctx, parent);
	ctx.document->InsertObject(op, parent, list ? scene::ApiOf<BaseObject>(list->last) : nullptr);
}

std::string OneLine(const std::string& report)
{
	std::string line;
	size_t start = 0;
	while (start < report.size())
	{
		size_t end = report.find('\n', start);
		if (end == std::string::npos)
			end = report.size();
		if (end > start)
			line += (line.empty() ? "" : "; ") + report.substr(start, end - start);
		start = end + 1;
	}
	return line;
}

std::string ResolveScriptFile(const Context& ctx, const std::string& file)
{
	namespace fs = std::filesystem;
	fs::path p(file);
	if (p.is_absolute())
		return p.string();
	return (fs::path(ctx.scriptPath).parent_path() / p).lexically_normal().string();
}

} // namespace standin::session

namespace standin::session
{

bool CheckNameThenOptionalAdd(const Words& args, const std::string& usage, std::string* error)
{
	if (!CheckArity(args, 1, 2, usage, error))
		return false;
	if (args.size() == 2 && args[1] != "add")
	{
		*error = "expected 'add', not '" + args[1] + "'";
		return false;
	}
	return true;
}

} // namespace standin::session
