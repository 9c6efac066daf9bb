// A PLY file's header, checked before Assimp reads the file. Assimp (5.2) is not safe on headers
// it does not expect: one without its end_header line makes it read on forever, taking memory as
// it goes, and a repeated element corrupts its heap. So the host reads the header itself and
// hands Assimp only files whose header is well formed: "ply", the format, then elements with
// their properties, each named once, of known types, with counts the rest of the file can hold,
// and end_header; comment and obj_info lines anywhere.
#pragma once

#include <cstddef>
#include <string>

namespace meshio
{

// Headers longer than this are refused (a real one takes a few hundred bytes).
constexpr size_t kMaxPlyHeaderBytes = size_t{1} << 20;

// True when the header is well formed; false with *error naming the line and what is wrong.
bool CheckPlyHeader(const std::string& path, std::string* error);

} // namespace meshio
