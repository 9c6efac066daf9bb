// Mesh files for the executable, session scripts and tests (not for plug-ins): a polygon object
// written as Wavefront OBJ, and OBJ, PLY, STL and glTF files read as one polygon object.
#pragma once

#include <string>

#include "hostapi/objects.h"

namespace standin
{

// Writes a polygon object to a Wavefront OBJ file: its points in world space (the object's global
// matrix applied, so that the file shows the object where the scene shows it), its polygons as
// faces with three or four corners in their order, and, when the object has a UVW tag, one
// texture coordinate (vt) per polygon corner. The file replaces path only once it is complete, so
// a failed export leaves an older file as it was. False with *error for anything but a polygon
// object with polygons, for polygon corners that name no point, for points that are not finite in
// world space, or when the file cannot be written.
bool ExportObj(const BaseObject* op, const std::string& path, std::string* error);

// Reads a mesh file as one polygon object named after the file, with an identity matrix:
// .obj with the host's own reader (ImportObj: line-numbered errors, double precision, streamed),
// .ply, .stl, .gltf and .glb through Assimp. Every mesh of the file is merged, each placed by its
// node's transformation; faces of three or four corners are kept, larger ones become fans of
// triangles, points and lines are left out. STL repeats the corners of every triangle, so its
// points are merged where their positions are equal. Texture coordinates become a UVW tag only
// when the file has some. nullptr with *error naming the reason for a missing, empty or unknown
// file, a file the reader rejects, one without polygons, coordinates that are not finite, or more
// points or polygons than an object may hold.
PolygonObject* ImportMesh(const std::string& path, std::string* error);

} // namespace standin
