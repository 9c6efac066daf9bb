// A binary glTF (GLB) file's layout, checked before Assimp reads the file. Assimp (5.2) takes the
// lengths in the header and in each chunk's head at their word and allocates that much before it
// looks at the file's size, so twenty bytes can ask it for gigabytes. The host reads the heads
// itself and hands Assimp only files whose lengths fit: the whole length is the file's, and every
// chunk (version 2) or the scene (version 1) lies inside it.
#pragma once

#include <string>

namespace meshio
{

// True when the lengths fit; false with *error saying which length does not.
bool CheckGlbHeader(const std::string& path, std::string* error);

} // namespace meshio
