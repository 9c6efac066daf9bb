// Wavefront OBJ reader: one polygon object from the v, vt and f statements of a file.
//
// Accepted: "v x y z" with up to four further numbers (w, or vertex colours), which are read and
// ignored, "vt u [v [w]]", "vn" (counted so that face references can be checked), faces with
// corners "v", "v/vt", "v//vn" or "v/vt/vn", indices counted from 1 or backwards from -1. A face
// with more than four corners becomes a fan of triangles around its first corner. "#" starts a
// comment anywhere on a line. Grouping, material and smoothing statements are ignored; anything
// else is an error, so that a file that is not an OBJ file is not read as an empty one.
// References must name elements defined above.
//
// The file is read in chunks, never whole, and texture coordinates are kept per polygon only
// once some face has them: a scan of millions of triangles without them costs its points and
// polygons and nothing more.
#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "scene/object_data.h"
#include "scene/tag_data.h"
#include "standin/printable.h"
#include "standin/scene.h"

namespace
{

// Files larger than this are refused before reading. The file is streamed, so what bounds the
// memory is the element limit (kMaxElements points and faces); a file holding that many faces
// with full corners is a few GiB.
constexpr std::uintmax_t kMaxFileBytes = std::uintmax_t{8} << 30;
// Bytes read from the file at a time, and the longest line accepted (a face of a million corners
// fits).
constexpr size_t kChunkBytes = size_t{1} << 20;
constexpr size_t kMaxLineBytes = size_t{64} << 20;

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

constexpr Int64 kMaxElements = scene::kMaxElements;

struct Reader
{
	std::vector<Vector> points;
	std::vector<Vector> uvs;
	Int64 normalCount = 0;
	std::vector<CPolygon> polygons;
	// One entry per polygon from the first face that has a texture coordinate on (earlier faces
	// get zeros then); empty while no face has any.
	std::vector<UVWStruct> polygonUVs;
	std::string error;
	Int64 line = 0;
	// Reused for every line, so that reading a line allocates nothing.
	std::vector<std::string_view> words;
	std::vector<Corner> corners;

	bool Fail(const std::string& what)
	{
		error = "line " + std::to_string(line) + ": " + what;
		return false;
	}
};

// A token as it may be shown in a message: at most 24 bytes, control bytes escaped.
std::string Printable(std::string_view token)
{
	return standin::Printable(token, 24);
}

void Split(std::string_view line, std::vector<std::string_view>& words)
{
	words.clear();
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
}

// A finite number. Values too small for a normal double (1e-320, 1e-400) are read as the nearest
// subnormal or zero; only values beyond the largest double are refused.
bool ParseNumber(std::string_view word, Float* out)
{
	if (word.empty() || word.size() > 64)
		return false;
	double v = 0.0;
	const auto [ptr, ec] = std::from_chars(word.data(), word.data() + word.size(), v);
	if (ec == std::errc() && ptr == word.data() + word.size())
	{
		if (!std::isfinite(v))
			return false;
		*out = v;
		return true;
	}
	// strtod also takes forms from_chars does not ("+1", hexadecimal) and tells underflow from
	// overflow; a copy keeps it from reading past the word.
	char text[72];
	word.copy(text, word.size());
	text[word.size()] = '\0';
	char* end = nullptr;
	errno = 0;
	v = std::strtod(text, &end);
	if (end != text + word.size() || !std::isfinite(v) || (errno == ERANGE && std::abs(v) > 1.0))
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
		return r.Fail(std::string(what) + " index " + Printable(word) + " out of range (" + std::to_string(count) + " defined)");
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
	if (r.polygons.size() >= static_cast<size_t>(kMaxElements))
		return r.Fail("too many faces (at most " + std::to_string(kMaxElements) + ")");
	const Corner& last = d ? *d : c;
	r.polygons.push_back(CPolygon(a.v, b.v, c.v, last.v));
	const bool hasUV = a.vt >= 0 || b.vt >= 0 || c.vt >= 0 || last.vt >= 0;
	if (!hasUV && r.polygonUVs.empty())
		return true;
	// The first face with coordinates starts the array; the faces before it get zeros.
	r.polygonUVs.resize(r.polygons.size() - 1);
	auto uv = [&r](const Corner& k) { return k.vt >= 0 ? r.uvs[static_cast<size_t>(k.vt)] : Vector(); };
	r.polygonUVs.push_back({uv(a), uv(b), uv(c), uv(last)});
	return true;
}

bool ReadVector(Reader& r, std::string_view key, const std::vector<std::string_view>& words)
{
	const bool texture = key == "vt";
	const size_t least = texture ? 1 : 3;
	const size_t most = texture ? 3 : 7;
	const size_t given = words.size() - 1;
	if (given < least || given > most)
	{
		const std::string expected = texture ? "1 to 3 numbers (u [v [w]])" : "3 to 7 numbers (x y z, then w or colours)";
		std::string what(1, '\'');
		what.append(key).append("' needs ").append(expected).append(", not ").append(std::to_string(given));
		return r.Fail(what);
	}
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
	std::vector<Vector>& list = texture ? r.uvs : r.points;
	if (list.size() >= static_cast<size_t>(kMaxElements))
		return r.Fail(std::string(texture ? "too many texture coordinates" : "too many points") + " (at most " + std::to_string(kMaxElements) + ")");
	list.push_back(texture ? Vector(values[0], values[1], 0.0) : Vector(values[0], values[1], values[2]));
	return true;
}

bool ReadFace(Reader& r, const std::vector<std::string_view>& words)
{
	if (words.size() < 4)
		return r.Fail("a face needs at least 3 corners");
	std::vector<Corner>& corners = r.corners;
	corners.assign(words.size() - 1, Corner{});
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

// The lines of a scan are nearly all "v x y z" and "f a b c" (or with /vt and /vn parts). These
// read such a line in one pass; anything they do not expect (other counts, signs, bad or
// out-of-range numbers) leaves the line to the general reader, which also words the errors.
bool IsBlank(char c)
{
	return c == ' ' || c == '\t';
}

const char* SkipBlanks(const char* p, const char* end)
{
	while (p < end && IsBlank(*p))
		++p;
	return p;
}

bool FastVertex(Reader& r, const char* p, const char* end)
{
	Float values[3];
	for (Float& v : values)
	{
		p = SkipBlanks(p, end);
		const auto [next, ec] = std::from_chars(p, end, v);
		if (ec != std::errc() || next == p || (next < end && !IsBlank(*next)) || !std::isfinite(v))
			return false;
		p = next;
	}
	if (SkipBlanks(p, end) != end || r.points.size() >= static_cast<size_t>(kMaxElements))
		return false;
	r.points.push_back(Vector(values[0], values[1], values[2]));
	return true;
}

// One index of a corner: a whole number from 1 to count (0: the part is empty).
bool FastIndex(const char*& p, const char* end, Int64 count, Int32* index)
{
	if (p == end || *p == '/' || IsBlank(*p))
	{
		*index = -1;
		return true;
	}
	Int64 value = 0;
	const auto [next, ec] = std::from_chars(p, end, value);
	if (ec != std::errc() || value < 1 || value > count)
		return false;
	p = next;
	*index = static_cast<Int32>(value - 1);
	return true;
}

bool FastFace(Reader& r, const char* p, const char* end)
{
	Corner corners[4];
	int n = 0;
	while (true)
	{
		p = SkipBlanks(p, end);
		if (p == end)
			break;
		if (n == 4)
			return false;
		Corner& k = corners[n++];
		Int32 normal = -1;
		if (!FastIndex(p, end, static_cast<Int64>(r.points.size()), &k.v) || k.v < 0)
			return false;
		if (p < end && *p == '/')
		{
			++p;
			if (!FastIndex(p, end, static_cast<Int64>(r.uvs.size()), &k.vt))
				return false;
			if (p < end && *p == '/')
			{
				++p;
				if (!FastIndex(p, end, r.normalCount, &normal) || normal < 0)
					return false;
			}
			else if (k.vt < 0)
				return false; // "1/" alone
		}
		if (p < end && !IsBlank(*p))
			return false;
	}
	if (n < 3 || r.polygons.size() >= static_cast<size_t>(kMaxElements))
		return false;
	return AddPolygon(r, corners[0], corners[1], corners[2], n == 4 ? &corners[3] : nullptr);
}

bool ReadLine(Reader& r, std::string_view text)
{
	if (text.find('\0') != std::string_view::npos)
		return r.Fail("binary data");
	// A comment may follow the data of a line.
	const size_t hash = text.find('#');
	if (hash != std::string_view::npos)
		text = text.substr(0, hash);
	if (text.size() > 2 && IsBlank(text[1]))
	{
		const char* end = text.data() + text.size();
		if (text[0] == 'v' && FastVertex(r, text.data() + 2, end))
			return true;
		if (text[0] == 'f' && FastFace(r, text.data() + 2, end))
			return true;
	}
	Split(text, r.words);
	if (r.words.empty())
		return true;
	const std::string_view key = r.words[0];
	if (key == "v" || key == "vt" || key == "vn")
		return ReadVector(r, key, r.words);
	if (key == "f")
		return ReadFace(r, r.words);
	if (kIgnored.count(key))
		return true;
	return r.Fail("unknown statement '" + Printable(key) + "'");
}

// Reads the file a chunk at a time and hands each line (without its line break) to ReadLine.
// False with r.error set, or with *ioError when the file cannot be read. A file of fileBytes
// smaller than a chunk is read with a buffer of its size (a byte more, to see its end): small
// files are the many, and a megabyte taken and given back for each costs more than reading it.
bool ReadLines(std::FILE* file, std::uintmax_t fileBytes, Reader& r, bool* ioError)
{
	const auto chunkBytes = static_cast<size_t>(std::min<std::uintmax_t>(kChunkBytes, fileBytes + 1));
	std::unique_ptr<char[]> chunk(new char[chunkBytes]);
	std::string carry; // the start of a line that continues in the next chunk
	bool first = true;
	while (true)
	{
		const size_t got = std::fread(chunk.get(), 1, chunkBytes, file);
		if (got < chunkBytes && std::ferror(file))
		{
			*ioError = true;
			return false;
		}
		std::string_view data(chunk.get(), got);
		if (first)
		{
			if (data.substr(0, 3) == "\xEF\xBB\xBF")
				data.remove_prefix(3);
			first = false;
		}
		const bool atEnd = got < chunkBytes;
		while (!data.empty())
		{
			const size_t end = data.find('\n');
			if (end == std::string_view::npos)
			{
				if (carry.size() + data.size() > kMaxLineBytes)
				{
					++r.line;
					return r.Fail("line longer than " + std::to_string(kMaxLineBytes >> 20) + " MiB");
				}
				carry.append(data);
				break;
			}
			std::string_view text = data.substr(0, end);
			data.remove_prefix(end + 1);
			if (!carry.empty())
			{
				carry.append(text);
				text = carry;
			}
			++r.line;
			if (!text.empty() && text.back() == '\r')
				text.remove_suffix(1);
			const bool ok = ReadLine(r, text);
			carry.clear();
			if (!ok)
				return false;
		}
		if (atEnd)
			break;
	}
	if (carry.empty())
		return true;
	++r.line;
	std::string_view text = carry;
	if (text.back() == '\r')
		text.remove_suffix(1);
	return ReadLine(r, text);
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
	std::string shown(1, '\'');
	shown.append(standin::Printable(path)).append(1, '\'');
	std::error_code ec;
	if (!std::filesystem::is_regular_file(path, ec))
		return fail(std::filesystem::exists(path, ec) ? shown + " is not a file" : "cannot open " + shown);
	const std::uintmax_t size = std::filesystem::file_size(path, ec);
	if (ec)
		return fail("cannot read " + shown);
	if (size > kMaxFileBytes)
		return fail(shown + " is too large for an OBJ file (" + std::to_string(size >> 20) + " MiB; at most " + std::to_string(kMaxFileBytes >> 20) + " MiB)");
	std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
	if (!file)
		return fail("cannot open " + shown);

	Reader r;
	try
	{
		bool ioError = false;
		if (!ReadLines(file.get(), size, r, &ioError))
			return fail(ioError ? "cannot read " + shown : r.error);
	}
	catch (const std::bad_alloc&)
	{
		return fail("not enough memory for " + shown + " (after " + std::to_string(r.points.size()) + " points and " +
			std::to_string(r.polygons.size()) + " faces)");
	}
	file.reset();

	PolygonObject* op = PolygonObject::Alloc(0, 0);
	if (!op)
		return fail("not enough memory for " + shown);
	scene::PolygonObjectData* data = scene::PolygonDataOf(op);
	data->points = std::move(r.points);
	data->polygons = std::move(r.polygons);
	data->name = BaseName(path);
	if (!r.polygonUVs.empty())
	{
		BaseTag* tag = op->MakeTag(Tuvw);
		if (!tag)
		{
			BaseObject* dead = op;
			BaseObject::Free(dead);
			return fail("not enough memory for " + shown);
		}
		// Faces after the last one with coordinates still need their (zero) entries.
		auto& uvw = static_cast<scene::UVWTagData*>(scene::CoreOf(tag))->uvw;
		try
		{
			r.polygonUVs.resize(data->polygons.size());
		}
		catch (const std::bad_alloc&)
		{
			BaseObject* dead = op;
			BaseObject::Free(dead);
			return fail("not enough memory for " + shown);
		}
		uvw = std::move(r.polygonUVs);
	}
	return op;
}

} // namespace standin
