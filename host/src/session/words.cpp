#include "session/words.h"

#include <charconv>
#include <cmath>

#include "hostapi/input.h"

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

bool ParseReals(const Words& args, size_t first, size_t count, const char* what, Float* values, std::string* error)
{
	for (size_t i = 0; i < count; ++i)
		if (!ParseReal(args[first + i], what, &values[i], error))
			return false;
	return true;
}

bool ParsePixel(const std::string& word, const char* what, Float* value, std::string* error)
{
	// Views are at most 16384 pixels wide; this leaves room for points beside them.
	constexpr Float kPixelLimit = 1 << 20;
	if (!ParseReal(word, what, value, error))
		return false;
	if (*value < -kPixelLimit || *value > kPixelLimit)
	{
		*error = std::string(what) + " " + word + " is outside -1048576..1048576";
		return false;
	}
	return true;
}

bool ParseOnOff(const std::string& word, bool* value, std::string* error)
{
	if (word == "on" || word == "true" || word == "1")
		*value = true;
	else if (word == "off" || word == "false" || word == "0")
		*value = false;
	else
	{
		*error = "expected on or off, not '" + word + "'";
		return false;
	}
	return true;
}

bool ParseQualifier(const std::string& word, Int32* bit)
{
	if (word == "shift")
		*bit = QSHIFT;
	else if (word == "ctrl")
		*bit = QCTRL;
	else if (word == "alt")
		*bit = QALT;
	else
		return false;
	return true;
}

std::string QualifierWords(Int32 qualifiers)
{
	std::string words;
	const struct
	{
		Int32 bit;
		const char* word;
	} names[] = {{QSHIFT, "shift"}, {QCTRL, "ctrl"}, {QALT, "alt"}};
	for (const auto& n : names)
		if (qualifiers & n.bit)
			words += (words.empty() ? "" : " ") + std::string(n.word);
	return words.empty() ? "none" : words;
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

std::function<bool(const Words&, NoArgs*, std::string*)> NoWords(std::string usage)
{
	return [usage = std::move(usage)](const Words& args, NoArgs*, std::string* error) { return CheckArity(args, 0, 0, usage, error); };
}

std::function<bool(const Words&, TextArgs*, std::string*)> TextWords(size_t lo, size_t hi, std::string usage)
{
	return [lo, hi, usage = std::move(usage)](const Words& args, TextArgs* out, std::string* error) {
		if (!CheckArity(args, lo, hi, usage, error))
			return false;
		out->words = args;
		return true;
	};
}

} // namespace standin::session
