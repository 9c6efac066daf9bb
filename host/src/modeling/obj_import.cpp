// Wavefront OBJ reader: one polygon object from the v, vt and f statements of a file.
//
// Accepted: "v x y z [w]" (further numbers, such as vertex colours, are read and ignored),
// "vt u [v [w]]", "vn" (counted so that face references can be checked), faces with corners
// "v", "v/vt", "v//vn" or "v/vt/vn", indices counted from 1 or backwards from -1. A face with
// more than four corners becomes a fan of triangles around its first corner. Grouping,
// material and smoothing statements are ignored; anything else is an error, so that a file that
// is not an OBJ file is not read as an empty one. References must name elements defined above.
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "scene/object_data.h"
#include "scene/tag_data.h"
#include "standin/scene.h"

namespace
{

// Files larger than this are refused before reading (a scene file for a stand-in host).
constexpr std::streamoff kMaxFileBytes = std::streamoff{256} << 20;

const std::set<std::string_view> kIgnored = {
	"o", "g", "s", "usemtl", "mtllib", "vp", "l", "p", "cstype", "deg", "bmat", "step", "curv", "curv2", "surf",
	"parm", "trim", "hole", "scrv", "sp", "end", "con", "mg", "bevel", "c_interp", "d_interp", "lod",
	"shadow_obj", "trace_obj", "ctech", "stech", "maplib", "usemap",
};

struct Corner
{
	Int32 v = -1;
	Int32 vt = -1; // -1: none
};

struct Reader
{
	std::vector<Vector> points;
	std::vector<Vector> uvs;
	Int64 normalCount = 0;
	std::vector<CPolygon> polygons;
	std::vector<UVWStruct> polygonUVs;
	bool anyUV = false;
	std::string error;
	Int64 line = 0;

	bool Fail(const std::string& what)
	{
		error = "line " + std::to_string(line) + ": " + what;
		return false;
	}
};

// A token as it may be shown in a message: at most 24 characters, control bytes as '?'.
std::string Printable(std::string_view token)
{
	std::string out;
	for (char c : token.substr(0, 24))
		out += (static_cast<unsigned char>(c) < 32 || c == 127) ? '?' : c;
	if (token.size() > 24)
		out += "...";
	return out;
}

std::vector<std::string_view> Split(std::string_view line)
{
	std::vector<std::string_view> words;
	size_t i = 0;
	while (i < line.size())
	{
		while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
			++i;
		const size_t start = i;
		while (i < line.size() && line[i] != ' ' && line[i] != '\t')
			++i;
		if (i > start)
			words.push_back(line.substr(start, i - start));
	}
	return words;
}

bool ParseNumber(std::string_view word, Float* out)
{
	// strtod accepts forms from_chars does not ("+1"); a copy keeps it from reading past the word.
	const std::string text(word);
	if (text.empty() || text.size() > 64)
		return false;
	char* end = nullptr;
	errno = 0;
	const double v = std::strtod(text.c_str(), &end);
	if (end != text.c_str() + text.size() || errno == ERANGE || !std::isfinite(v))
		return false;
	*out = v;
	return true;
}

// Resolves an OBJ reference (1-based, or negative from the end) against count elements.
bool ResolveIndex(Reader& r, std::string_view word, Int64 count, const char* what, Int32* out)
{
	Int64 value = 0;
	auto [ptr, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
	if (ec != std::errc() || ptr != word.data() + word.size())
		return r.Fail(std::string("bad ") + what + " index '" + Printable(word) + "'");
	const Int64 resolved = value < 0 ? count + value : value - 1;
	if (value == 0 || resolved < 0 || resolved >= count)
		return r.Fail(std::string(what) + " index " + std::string(word) + " out of range (" + std::to_string(count) + " defined)");
	*out = static_cast<Int32>(resolved);
	return true;
}

bool ParseCorner(Reader& r, std::string_view word, Corner* corner)
{
	std::string_view parts[3];
	int n = 0;
	size_t start = 0;
	for (size_t i = 0; i <= word.size(); ++i)
	{
		if (i == word.size() || word[i] == '/')
		{
			if (n == 3)
				return r.Fail("bad face corner '" + Printable(word) + "'");
			parts[n++] = word.substr(start, i - start);
			start = i + 1;
		}
	}
	if (!ResolveIndex(r, parts[0], static_cast<Int64>(r.points.size()), "vertex", &corner->v))
		return false;
	if (n >= 2 && !parts[1].empty() && !ResolveIndex(r, parts[1], static_cast<Int64>(r.uvs.size()), "texture", &corner->vt))
		return false;
	Int32 normal = 0;
	if (n == 3 && !parts[2].empty() && !ResolveIndex(r, parts[2], r.normalCount, "normal", &normal))
		return false;
	if (n >= 2 && parts[1].empty() && (n < 3 || parts[2].empty()))
		return r.Fail("bad face corner '" + Printable(word) + "'");
	return true;
}

bool AddPolygon(Reader& r, const Corner& a, const Corner& b, const Corner& c, const Corner* d)
{
	if (r.polygons.size() >= static_cast<size_t>(scene::kMaxElements))
		return r.Fail("too many faces");
	const Corner& last = d ? *d : c;
	r.polygons.push_back(CPolygon(a.v, b.v, c.v, last.v));
	auto uv = [&r](const Corner& k) { return k.vt >= 0 ? r.uvs[static_cast<size_t>(k.vt)] : Vector(); };
	r.polygonUVs.push_back({uv(a), uv(b), uv(c), uv(last)});
	r.anyUV = r.anyUV || a.vt >= 0 || b.vt >= 0 || c.vt >= 0 || last.vt >= 0;
	return true;
}

bool ReadLine(Reader& r, std::string_view text)
{
	const std::vector<std::string_view> words = Split(text);
	if (words.empty() || words[0][0] == '#')
		return true;
	const std::string_view key = words[0];
	if (key == "v" || key == "vt" || key == "vn")
	{
		const size_t minimum = key == "vt" ? 1 : 3;
		if (words.size() - 1 < minimum || words.size() - 1 > 7)
			return r.Fail("'" + std::string(key) + "' needs " + (key == "vt" ? "1 to 3" : "3") + " numbers");
		Float values[7] = {};
		for (size_t i = 1; i < words.size(); ++i)
		{
			if (!ParseNumber(words[i], &values[i - 1]))
				return r.Fail("bad number '" + Printable(words[i]) + "'");
		}
		if (key == "vn")
		{
			++r.normalCount;
			return true;
		}
		std::vector<Vector>& list = key == "v" ? r.points : r.uvs;
		if (list.size() >= static_cast<size_t>(scene::kMaxElements))
			return r.Fail("too many vertices");
		list.push_back(key == "v" ? Vector(values[0], values[1], values[2]) : Vector(values[0], values[1], 0.0));
		return true;
	}
	if (key == "f")
	{
		if (words.size() < 4)
			return r.Fail("a face needs at least 3 corners");
		std::vector<Corner> corners(words.size() - 1);
		for (size_t i = 1; i < words.size(); ++i)
		{
			if (!ParseCorner(r, words[i], &corners[i - 1]))
				return false;
		}
		if (corners.size() == 3)
			return AddPolygon(r, corners[0], corners[1], corners[2], nullptr);
		if (corners.size() == 4)
			return AddPolygon(r, corners[0], corners[1], corners[2], &corners[3]);
		for (size_t i = 1; i + 1 < corners.size(); ++i)
		{
			if (!AddPolygon(r, corners[0], corners[i], corners[i + 1], nullptr))
				return false;
		}
		return true;
	}
	if (kIgnored.count(key))
		return true;
	return r.Fail("unknown statement '" + Printable(key) + "'");
}

std::string BaseName(const std::string& path)
{
	const size_t slash = path.find_last_of("/\\");
	std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
	const size_t dot = name.find_last_of('.');
	if (dot != std::string::npos && dot > 0)
		name.erase(dot);
	return name;
}

} // namespace

namespace standin
{

PolygonObject* ImportObj(const std::string& path, std::string* error)
{
	auto fail = [error](std::string text) -> PolygonObject* {
		if (error)
			*error = std::move(text);
		return nullptr;
	};
	std::error_code ec;
	if (!std::filesystem::is_regular_file(path, ec))
		return fail(std::filesystem::exists(path, ec) ? "'" + path + "' is not a file" : "cannot open '" + path + "'");
	std::ifstream in(path, std::ios::binary | std::ios::ate);
	if (!in)
		return fail("cannot open '" + path + "'");
	const std::streamoff size = in.tellg();
	if (size < 0)
		return fail("cannot read '" + path + "'");
	if (size > kMaxFileBytes)
		return fail("'" + path + "' is too large for an OBJ file");
	std::string content(static_cast<size_t>(size), '\0');
	in.seekg(0);
	if (size > 0 && !in.read(content.data(), size))
		return fail("cannot read '" + path + "'");

	Reader r;
	std::string_view rest(content);
	if (rest.substr(0, 3) == "\xEF\xBB\xBF")
		rest.remove_prefix(3);
	try
	{
		while (!rest.empty())
		{
			++r.line;
			const size_t end = rest.find('\n');
			std::string_view text = rest.substr(0, end);
			rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
			if (!text.empty() && text.back() == '\r')
				text.remove_suffix(1);
			if (text.find('\0') != std::string_view::npos)
				return fail("line " + std::to_string(r.line) + ": binary data");
			if (!ReadLine(r, text))
				return fail(r.error);
		}
	}
	catch (const std::bad_alloc&)
	{
		return fail("not enough memory for '" + path + "'");
	}

	PolygonObject* op = PolygonObject::Alloc(static_cast<Int32>(r.points.size()), static_cast<Int32>(r.polygons.size()));
	if (!op)
		return fail("not enough memory for '" + path + "'");
	scene::PolygonObjectData* data = scene::PolygonDataOf(op);
	data->points = std::move(r.points);
	data->polygons = std::move(r.polygons);
	data->name = BaseName(path);
	if (r.anyUV)
	{
		BaseTag* tag = op->MakeTag(Tuvw);
		if (!tag)
		{
			BaseObject* dead = op;
			BaseObject::Free(dead);
			return fail("not enough memory for '" + path + "'");
		}
		static_cast<scene::UVWTagData*>(scene::CoreOf(tag))->uvw = std::move(r.polygonUVs);
	}
	return op;
}

} // namespace standin
