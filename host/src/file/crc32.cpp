#include "file/crc32.h"

#include <array>
#include <cstring>

namespace standin::file
{
namespace
{
using Tables = std::array<std::array<std::uint32_t, 256>, 8>;

// Table 0 is the classic byte-at-a-time table; table k gives the effect of a byte followed by k
// zero bytes, so eight bytes are folded in with eight lookups and no dependency between them.
constexpr Tables MakeTables()
{
	Tables t{};
	for (std::uint32_t i = 0; i < 256; ++i)
	{
		std::uint32_t c = i;
		for (int k = 0; k < 8; ++k)
			c = (c & 1u) ? (0xEDB88320u ^ (c >> 1)) : (c >> 1);
		t[0][i] = c;
	}
	for (std::uint32_t i = 0; i < 256; ++i)
		for (size_t k = 1; k < 8; ++k)
			t[k][i] = (t[k - 1][i] >> 8) ^ t[0][t[k - 1][i] & 0xFFu];
	return t;
}
constexpr Tables kTables = MakeTables();

std::uint32_t LittleEndian32(const std::uint8_t* p)
{
	return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
		(static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
} // namespace

std::uint32_t Crc32(const std::uint8_t* data, size_t size)
{
	std::uint32_t c = 0xFFFFFFFFu;
	size_t i = 0;
	for (; i + 8 <= size; i += 8)
	{
		const std::uint32_t lo = LittleEndian32(data + i) ^ c;
		const std::uint32_t hi = LittleEndian32(data + i + 4);
		c = kTables[7][lo & 0xFFu] ^ kTables[6][(lo >> 8) & 0xFFu] ^ kTables[5][(lo >> 16) & 0xFFu] ^
			kTables[4][lo >> 24] ^ kTables[3][hi & 0xFFu] ^ kTables[2][(hi >> 8) & 0xFFu] ^
			kTables[1][(hi >> 16) & 0xFFu] ^ kTables[0][hi >> 24];
	}
	for (; i < size; ++i)
		c = kTables[0][(c ^ data[i]) & 0xFFu] ^ (c >> 8);
	return c ^ 0xFFFFFFFFu;
}

} // namespace standin::file
