#include "meshio/ply_header.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "standin/printable.h"

namespace meshio
{

namespace
{

// Bytes of a binary value of the type; 0 for no type.
size_t TypeBytes(const std::string& type)
{
	static const std::pair<const char*, size_t> types[] = {{"char", 1}, {"uchar", 1}, {"int8", 1}, {"uint8", 1},
		{"short", 2}, {"ushort", 2}, {"int16", 2}, {"uint16", 2}, {"int", 4}, {"uint", 4}, {"int32", 4},
		{"uint32", 4}, {"float", 4}, {"float32", 4}, {"double", 8}, {"float64", 8}};
	for (const auto& [name, bytes] : types)
		if (type == name)
			return bytes;
	return 0;
}

bool IsIntegerType(const std::string& type)
{
	return TypeBytes(type) > 0 && type.find("float") == std::string::npos && type != "double";
}

struct Element
{
	std::string name;
	std::uint64_t count = 0;
	std::vector<std::string> properties;
	// The least bytes one element takes in the body: binary, the scalar values and the list
	// counts; ASCII, a digit and a separator for each.
	std::uint64_t leastBytes = 0;
};

std::vector<std::string> Words(const std::string& line)
{
	std::istringstream in(line);
	std::vector<std::string> words;
	for (std::string word; in >> word;)
		words.push_back(word);
	return words;
}

} // namespace

bool CheckPlyHeader(const std::string& path, std::string* error)
{
	std::ifstream in(path, std::ios::binary);
	std::error_code ec;
	const std::uintmax_t fileBytes = std::filesystem::file_size(path, ec);
	if (!in || ec)
	{
		*error = "cannot read the file";
		return false;
	}
	std::string head(kMaxPlyHeaderBytes, '\0');
	in.read(head.data(), static_cast<std::streamsize>(head.size()));
	head.resize(static_cast<size_t>(in.gcount()));

	size_t lineNumber = 0;
	auto fail = [&](const std::string& what) {
		*error = "line " + std::to_string(lineNumber) + " of the PLY header: " + what;
		return false;
	};
	bool format = false;
	bool binary = false;
	std::vector<Element> elements;
	size_t pos = 0;
	while (true)
	{
		const size_t end = head.find('\n', pos);
		++lineNumber;
		if (end == std::string::npos)
		{
			*error = head.size() == kMaxPlyHeaderBytes
				? "the PLY header does not end within its first " + std::to_string(kMaxPlyHeaderBytes >> 10) + " KiB"
				: "the PLY header has no end_header line";
			return false;
		}
		std::string line = head.substr(pos, end - pos);
		pos = end + 1;
		if (!line.empty() && line.back() == '\r')
			line.pop_back();
		const std::vector<std::string> words = Words(line);
		const std::string first = words.empty() ? std::string() : words[0];
		if (lineNumber == 1)
		{
			if (words.size() != 1 || first != "ply")
				return fail("a PLY file starts with a line \"ply\"");
			continue;
		}
		if (first == "comment" || first == "obj_info")
			continue;
		if (!format)
		{
			if (words.size() != 3 || first != "format" || words[2] != "1.0" ||
				(words[1] != "ascii" && words[1] != "binary_little_endian" && words[1] != "binary_big_endian"))
				return fail("the format comes after \"ply\" (format ascii|binary_little_endian|binary_big_endian 1.0)");
			binary = words[1] != "ascii";
			format = true;
			continue;
		}
		if (first == "end_header" && words.size() == 1)
			break;
		if (first == "element")
		{
			if (words.size() != 3 || words[2].empty() || words[2].size() > 10 ||
				!std::all_of(words[2].begin(), words[2].end(), [](char c) { return c >= '0' && c <= '9'; }))
				return fail("an element line is \"element <name> <count>\"");
			if (std::any_of(elements.begin(), elements.end(), [&](const Element& e) { return e.name == words[1]; }))
				return fail("the element '" + standin::Printable(words[1], 40) + "' is declared twice");
			elements.push_back({words[1], std::stoull(words[2]), {}, 0});
			continue;
		}
		if (first == "property")
		{
			if (elements.empty())
				return fail("a property before any element");
			Element& element = elements.back();
			const bool list = words.size() == 5 && words[1] == "list";
			if (list ? !IsIntegerType(words[2]) || TypeBytes(words[3]) == 0 : words.size() != 3 || TypeBytes(words[1]) == 0)
				return fail("a property line is \"property <type> <name>\" or \"property list <count type> <type> <name>\", with known types");
			const std::string& name = words.back();
			if (std::find(element.properties.begin(), element.properties.end(), name) != element.properties.end())
				return fail("the property '" + standin::Printable(name, 40) + "' is declared twice");
			element.properties.push_back(name);
			element.leastBytes += binary ? TypeBytes(words[list ? 2 : 1]) : 2;
			continue;
		}
		return fail(words.empty() ? "an empty line" : "'" + standin::Printable(first, 40) + "' is no header keyword");
	}
	// Counts the body cannot hold would only make the reader reserve memory for nothing.
	const std::uint64_t bodyBytes = fileBytes - std::min<std::uintmax_t>(fileBytes, pos);
	for (const Element& element : elements)
	{
		if (element.properties.empty() && element.count > 0)
			return fail("the element '" + standin::Printable(element.name, 40) + "' has no properties");
		if (element.leastBytes > 0 && element.count > bodyBytes / element.leastBytes)
		{
			*error = "the PLY header promises " + std::to_string(element.count) + " " + standin::Printable(element.name, 40) +
				" elements, more than the file holds";
			return false;
		}
	}
	return true;
}

} // namespace meshio
