// CRC-32 (the common reflected polynomial 0xEDB88320) guarding hyper file payloads.
#pragma once

#include <cstddef>
#include <cstdint>

namespace standin::file
{

std::uint32_t Crc32(const std::uint8_t* data, size_t size);

} // namespace standin::file
