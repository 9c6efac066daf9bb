#include "meshio/glb_header.h"

#include <cstdint>
#include <filesystem>
#include <fstream>

namespace meshio
{

namespace
{

constexpr std::uint32_t kMagic = 0x46546C67;     // "glTF"
constexpr std::uint32_t kJsonChunk = 0x4E4F534A; // "JSON"

std::uint32_t LittleEndian32(const unsigned char* bytes)
{
	return std::uint32_t{bytes[0]} | std::uint32_t{bytes[1]} << 8 | std::uint32_t{bytes[2]} << 16 |
		std::uint32_t{bytes[3]} << 24;
}

// Reads 4-byte words from the file at offset; false when the file ends before them.
bool ReadWords(std::ifstream& in, std::uint64_t offset, std::uint32_t* words, int count)
{
	unsigned char bytes[20];
	in.clear();
	in.seekg(static_cast<std::streamoff>(offset));
	in.read(reinterpret_cast<char*>(bytes), 4 * count);
	if (in.gcount() != 4 * count)
		return false;
	for (int i = 0; i < count; ++i)
		words[i] = LittleEndian32(bytes + 4 * i);
	return true;
}

} // namespace

bool CheckGlbHeader(const std::string& path, std::string* error)
{
	auto fail = [&](const std::string& what) {
		*error = "the GLB file " + what;
		return false;
	};
	std::ifstream in(path, std::ios::binary);
	std::error_code ec;
	const std::uintmax_t fileBytes = std::filesystem::file_size(path, ec);
	if (!in || ec)
	{
		*error = "cannot read the file";
		return false;
	}
	std::uint32_t head[3];
	if (!ReadWords(in, 0, head, 3))
		return fail("ends inside its 12-byte header");
	if (head[0] != kMagic)
		return fail("does not start with \"glTF\"");
	if (head[2] != fileBytes)
		return fail("header gives a length of " + std::to_string(head[2]) + " bytes; the file has " + std::to_string(fileBytes));
	if (head[1] == 1)
	{
		// Version 1: the header goes on with the scene's length and format, and the scene follows.
		std::uint32_t scene[2];
		if (!ReadWords(in, 12, scene, 2))
			return fail("ends inside its 20-byte header");
		if (scene[0] > fileBytes - 20)
			return fail("header gives a scene of " + std::to_string(scene[0]) + " bytes, more than the file holds");
		return true;
	}
	if (head[1] != 2)
		return fail("has version " + std::to_string(head[1]) + "; versions 1 and 2 are read");
	// Version 2: chunks, each a length, a type and that many bytes; the first is the JSON text.
	std::uint64_t offset = 12;
	for (int chunk = 0; offset < fileBytes; ++chunk)
	{
		std::uint32_t chunkHead[2];
		if (!ReadWords(in, offset, chunkHead, 2))
			return fail("ends inside the head of chunk " + std::to_string(chunk));
		offset += 8;
		if (chunkHead[0] > fileBytes - offset)
			return fail("gives chunk " + std::to_string(chunk) + " a length of " + std::to_string(chunkHead[0]) +
				" bytes, more than the file holds");
		if (chunk == 0 && chunkHead[1] != kJsonChunk)
			return fail("does not start with a JSON chunk");
		offset += chunkHead[0];
	}
	if (offset == 12)
		return fail("has no chunks");
	return true;
}

} // namespace meshio
