#include "file/crc32.h"

#include <array>

namespace standin::file
{
namespace
{
constexpr std::array<std::uint32_t, 256> MakeTable()
{
	std::array<std::uint32_t, 256> table{};
	for (std::uint32_t i = 0; i < 256; ++i)
	{
		std::uint32_t c = i;
		for (int k = 0; k < 8; ++k)
			c = (c & 1u) ? (0xEDB88320u ^ (c >> 1)) : (c >> 1);
		table[i] = c;
	}
	return table;
}
constexpr std::array<std::uint32_t, 256> kTable = MakeTable();
} // namespace

std::uint32_t Crc32(const std::uint8_t* data, size_t size)
{
	std::uint32_t c = 0xFFFFFFFFu;
	for (size_t i = 0; i < size; ++i)
		c = kTable[(c ^ data[i]) & 0xFFu] ^ (c >> 8);
	return c ^ 0xFFFFFFFFu;
}

} // namespace standin::file
