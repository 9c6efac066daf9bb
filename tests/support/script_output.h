// Reading what a session script printed: its lines, the lines under a marker the script printed
// ("== name"), and counts of lines by how they start.
#pragma once

#include <sstream>
#include <string>
#include <vector>

inline bool Contains(const std::string& text, const std::string& part)
{
	return text.find(part) != std::string::npos;
}

inline std::vector<std::string> Lines(const std::string& text)
{
	std::vector<std::string> lines;
	std::istringstream in(text);
	std::string line;
	while (std::getline(in, line))
		lines.push_back(line);
	return lines;
}

// The lines after the n-th occurrence (from 0) of a marker line, up to the next line that starts
// with "== " (the scripts print their markers so).
inline std::vector<std::string> Section(const std::string& output, const std::string& marker, int n = 0)
{
	std::vector<std::string> out;
	int seen = -1;
	bool inside = false;
	for (const std::string& line : Lines(output))
	{
		if (line.rfind("== ", 0) == 0)
		{
			seen += line == marker ? 1 : 0;
			inside = line == marker && seen == n;
			continue;
		}
		if (inside)
			out.push_back(line);
	}
	return out;
}

inline int CountPrefix(const std::vector<std::string>& lines, const std::string& prefix)
{
	int n = 0;
	for (const std::string& l : lines)
		n += l.rfind(prefix, 0) == 0 ? 1 : 0;
	return n;
}
