// Line readers for the plug-in resource formats. Both formats are line based with quoted texts,
// so they share one small lexer.
#include "resource_files.h"

#include <cctype>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <set>

namespace standin::resfiles
{

namespace
{

struct Line
{
	const std::string& s;
	size_t pos = 0;

	bool AtEnd() const { return pos >= s.size(); }
	void SkipBlanks()
	{
		while (pos < s.size() && (s[pos] == ' ' || s[pos] == '\t'))
			++pos;
	}
	std::string Word()
	{
		const size_t start = pos;
		while (pos < s.size() && s[pos] != ' ' && s[pos] != '\t')
			++pos;
		return s.substr(start, pos - start);
	}
};

bool ParseId(const std::string& word, Int32* id)
{
	if (word.empty())
		return false;
	const char* end = word.data() + word.size();
	auto [p, ec] = std::from_chars(word.data(), end, *id);
	return ec == std::errc() && p == end;
}

// A double-quoted text with \" \\ \n escapes, then nothing but blanks to the end of the line.
bool ParseQuoted(Line& line, std::string* text, std::string* what)
{
	line.SkipBlanks();
	if (line.AtEnd() || line.s[line.pos] != '"')
	{
		*what = "expected a quoted text";
		return false;
	}
	++line.pos;
	text->clear();
	while (true)
	{
		if (line.AtEnd())
		{
			*what = "missing closing quote";
			return false;
		}
		const char c = line.s[line.pos++];
		if (c == '"')
			break;
		if (c != '\\')
		{
			text->push_back(c);
			continue;
		}
		if (line.AtEnd())
		{
			*what = "missing closing quote";
			return false;
		}
		const char e = line.s[line.pos++];
		if (e == '"' || e == '\\')
			text->push_back(e);
		else if (e == 'n')
			text->push_back('\n');
		else
		{
			*what = std::string("unknown escape \\") + e;
			return false;
		}
	}
	line.SkipBlanks();
	if (!line.AtEnd())
	{
		*what = "unexpected text after the closing quote";
		return false;
	}
	return true;
}

bool IsSymbol(const std::string& w)
{
	if (w.empty() || !(std::isalpha(static_cast<unsigned char>(w[0])) || w[0] == '_'))
		return false;
	for (char c : w)
		if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_'))
			return false;
	return true;
}

// Upper-case letters only: what a unit after an entry's label looks like.
bool IsUnitWord(const std::string& w)
{
	if (w.empty())
		return false;
	for (char c : w)
		if (c < 'A' || c > 'Z')
			return false;
	return true;
}

const std::set<std::string>& Kinds()
{
	static const std::set<std::string> kinds = {"GROUP", "LONG", "REAL", "BOOL", "STRING", "BUTTON", "LINK", "CYCLE", "GRADIENT", "SPLINE"};
	return kinds;
}

// Calls fn(line text, line number) for every line that is not blank or a comment; stops with the
// first false. A leading UTF-8 byte order mark and CR line ends are tolerated.
template <typename Fn>
bool ForEachLine(const std::string& text, Fn fn)
{
	size_t start = 0;
	if (text.compare(0, 3, "\xEF\xBB\xBF") == 0)
		start = 3;
	Int32 number = 0;
	while (start <= text.size())
	{
		size_t end = text.find('\n', start);
		if (end == std::string::npos)
			end = text.size();
		++number;
		std::string line = text.substr(start, end - start);
		if (!line.empty() && line.back() == '\r')
			line.pop_back();
		const size_t first = line.find_first_not_of(" \t");
		if (first != std::string::npos && line[first] != '#')
		{
			if (!fn(line, number))
				return false;
		}
		if (end == text.size())
			break;
		start = end + 1;
	}
	return true;
}

std::string Where(const std::string& path, Int32 line)
{
	return path + ":" + std::to_string(line) + ": ";
}

} // namespace

bool ReadSmallFile(const std::string& path, size_t maxBytes, std::string* text, std::string* error)
{
	std::error_code ec;
	if (!std::filesystem::is_regular_file(path, ec))
	{
		*error = path + ": missing";
		return false;
	}
	std::ifstream in(path, std::ios::binary);
	if (!in)
	{
		*error = path + ": cannot be opened";
		return false;
	}
	in.seekg(0, std::ios::end);
	const std::streamoff size = in.tellg();
	if (size < 0)
	{
		*error = path + ": cannot be read";
		return false;
	}
	if (static_cast<unsigned long long>(size) > maxBytes)
	{
		*error = path + ": too large (" + std::to_string(size) + " bytes)";
		return false;
	}
	in.seekg(0, std::ios::beg);
	text->assign(static_cast<size_t>(size), '\0');
	if (size > 0 && !in.read(text->data(), size))
	{
		*error = path + ": cannot be read";
		return false;
	}
	return true;
}

bool ParseStringTable(const std::string& text, const std::string& path, std::map<Int32, std::string>* out, std::string* error)
{
	out->clear();
	return ForEachLine(text, [&](const std::string& s, Int32 number) {
		Line line{s};
		line.SkipBlanks();
		const std::string idWord = line.Word();
		Int32 id = 0;
		if (!ParseId(idWord, &id))
		{
			*error = Where(path, number) + "'" + idWord + "' is not a string number";
			return false;
		}
		std::string value, what;
		if (!ParseQuoted(line, &value, &what))
		{
			*error = Where(path, number) + what;
			return false;
		}
		if (!out->emplace(id, std::move(value)).second)
		{
			*error = Where(path, number) + "string " + std::to_string(id) + " is defined twice";
			return false;
		}
		return true;
	});
}

bool ParseDescription(const std::string& text, const std::string& path, DescriptionResource* out, std::string* error)
{
	out->entries.clear();
	return ForEachLine(text, [&](const std::string& s, Int32 number) {
		Line line{s};
		line.SkipBlanks();
		DescriptionEntry entry;
		const std::string idWord = line.Word();
		if (!ParseId(idWord, &entry.id))
		{
			*error = Where(path, number) + "'" + idWord + "' is not an entry number";
			return false;
		}
		line.SkipBlanks();
		entry.kind = line.Word();
		const bool choice = entry.kind == "CHOICE";
		if (!choice && !Kinds().count(entry.kind))
		{
			*error = Where(path, number) + "unknown kind '" + entry.kind + "'";
			return false;
		}
		line.SkipBlanks();
		entry.symbol = line.Word();
		if (!IsSymbol(entry.symbol))
		{
			*error = Where(path, number) + "'" + entry.symbol + "' is not a symbol";
			return false;
		}
		// A unit may follow the label: the line's last word, after its last quote.
		const size_t firstQuote = s.find('"', line.pos);
		const size_t lastQuote = s.rfind('"');
		std::string labelPart = s;
		if (firstQuote != std::string::npos && lastQuote > firstQuote)
		{
			Line tail{s, lastQuote + 1};
			tail.SkipBlanks();
			const std::string word = tail.Word();
			tail.SkipBlanks();
			if (IsUnitWord(word))
			{
				entry.unit = word;
				const char* problem = entry.kind != "REAL" ? "only a REAL entry takes a unit"
					: entry.unit != "DEGREE"             ? "unknown unit (DEGREE is the one there is)"
					: !tail.AtEnd()                      ? "unexpected text after the unit"
														 : nullptr;
				if (problem)
				{
					*error = Where(path, number) + problem;
					return false;
				}
				labelPart = s.substr(0, lastQuote + 1);
			}
		}
		Line label{labelPart, line.pos};
		std::string what;
		if (!ParseQuoted(label, &entry.label, &what))
		{
			*error = Where(path, number) + what;
			return false;
		}
		if (choice)
		{
			if (out->entries.empty() || out->entries.back().kind != "CYCLE")
			{
				*error = Where(path, number) + "CHOICE outside a CYCLE";
				return false;
			}
			out->entries.back().choices.push_back(std::move(entry));
		}
		else
			out->entries.push_back(std::move(entry));
		return true;
	});
}

} // namespace standin::resfiles
