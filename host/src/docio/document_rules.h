// What a document file may hold, shared by the reader (which refuses anything else) and the writer
// (which checks the scene before it writes, so that a save never makes a file the reader refuses).
#pragma once

#include <string>

#include "hostapi/types.h"
#include "hostapi/vector.h"
#include "scene/node_data.h"

namespace standin::docio
{

bool Finite(const Vector& v);
bool Finite(const Matrix& m);
bool ValidEditingMode(Int32 mode);
// An object's editor or render visibility.
bool ValidVisibility(Int32 mode);
bool ValidSplineType(Int32 type);

// A name as messages show it: quoted, control bytes escaped, cut after 64 bytes.
std::string Quoted(const String& name);

// Why the reader would refuse this object's own data (its matrix, visibility, geometry and
// texture coordinates) with world as its world matrix; empty when it would not. Selections are
// not judged: the writer stores only the part of them that names existing elements.
std::string ObjectProblem(const scene::NodeCore& object, const Matrix& world);

} // namespace standin::docio
