// The host's binary encoding of a BaseContainer, shared by hyper files and document files.
//
// Layout (little-endian): u32 encoding version, then the container: i32 id, u32 entry count, and
// per entry i32 key, i32 DataType, value. Values: DA_LONG i32; DA_LLONG i64; DA_REAL f64;
// DA_VECTOR 3 f64; DA_MATRIX 12 f64 (off, v1, v2, v3); DA_STRING u32 length + bytes;
// DA_CONTAINER a nested container; DA_CUSTOMDATA i32 custom type id + its body. Links name scene
// elements of one running session only, so they are stored as DA_NIL; so are custom types the
// host does not know.
//
// Decoding trusts nothing: every count is checked against the bytes that remain, nesting is
// limited, and any unknown type ends decoding with an error.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "hostapi/container.h"

namespace standin::data
{

constexpr std::uint32_t kContainerEncodingVersion = 1;
// Deepest nesting of containers (and custom data holding containers) that decoding accepts.
constexpr int kMaxContainerDepth = 64;

// Whether containers nest in bc (through nested containers, gradient properties or priority
// values) deeper than decoding accepts: its encoding would not decode, so writers refuse it.
bool NestsTooDeeply(const BaseContainer& bc);

// Appends the encoding of bc to out. False only when memory ran short (out is then restored).
bool EncodeContainer(const BaseContainer& bc, std::vector<std::uint8_t>& out);

// Decodes a container that fills exactly size bytes. On failure bc is left empty and *error
// (when given) says what was wrong and where.
bool DecodeContainer(const std::uint8_t* data, size_t size, BaseContainer* bc, std::string* error);

// Decodes a container from the front of data and reports how many bytes it used.
bool DecodeContainerPrefix(const std::uint8_t* data, size_t size, BaseContainer* bc, size_t* used, std::string* error);

} // namespace standin::data
