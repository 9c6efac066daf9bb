// Basic value types of the host interface, shared by the host and every plug-in.
#pragma once

#include <cstdint>

using Int32 = std::int32_t;
using UInt32 = std::uint32_t;
using Int64 = std::int64_t;
using UInt64 = std::uint64_t;
using Float = double;
using Float32 = float;
using Bool = bool;
using Char = char;
using UChar = unsigned char;

// Host version handed to c4d_main on initialise; plug-ins refuse hosts older than 19024.
constexpr Int32 HOST_API_VERSION = 19024;

constexpr Int32 NOTOK = -1;
