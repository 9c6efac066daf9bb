// Host-side scene services for the executable, session scripts and tests (not for plug-ins).
#pragma once

#include <string>
#include <vector>

#include "hostapi/document.h"

namespace standin
{

// Creates a document, adds it to the host's open documents and makes it the active one.
BaseDocument* NewDocument();
// Makes an open document the active one (nullptr: none active).
void SetActiveDocument(BaseDocument* doc);
// Frees every open document (shutdown, tests).
void CloseAllDocuments();

// A polygon object with the geometry of a primitive: Ocube (edge length size, 6 quads, 8 points) or
// Oplane (size x size in the object's X-Z plane, segments x segments quads, normal +Y). Named
// "Cube" / "Plane". nullptr with *error set for other types or sizes that are not finite and > 0.
PolygonObject* MakePrimitive(Int32 type, Float size, Int32 segments, std::string* error);
// Reads a Wavefront OBJ file (v, vt, f with 3 or 4 corners; negative indices) as one polygon
// object named after the file; nullptr with *error ("line N: ...", or why the file cannot be
// taken: too large, too many points or faces, out of memory) on a bad or missing file. Faces
// with more than 4 corners become fans of triangles; texture coordinates (vt) used by the faces
// go into a UVW tag, which the object gets only when some face has them. The file is streamed.
PolygonObject* ImportObj(const std::string& path, std::string* error);

// Finds an object by its name path ("Parent/Child"); nullptr when none.
BaseObject* FindObjectByPath(BaseDocument* doc, const std::string& path);
// Finds a material by name; nullptr when none.
BaseMaterial* FindMaterial(BaseDocument* doc, const std::string& name);

// The scene as text: one line per object, indented by depth, with type, name, identity, global
// position and point/polygon counts; then the materials. The same for a given script, but for
// the identities, which differ from run to run. Indentation stops growing 32 levels down; deeper
// lines show "(depth N)" instead. Control bytes in names appear as escapes (\n, \x1b).
std::string DescribeScene(BaseDocument* doc);

// Number of EventAdd calls so far (tests observe host update events through it).
Int64 EventCount();
// Number of DrawViews calls so far, and the flags of the last one.
Int64 DrawViewsCount();
Int32 LastDrawViewsFlags();
// Number of update messages (MSG_UPDATE) the element has received.
Int64 UpdateMessageCount(const BaseList2D* element);
// Number of undo records added to doc so far, and the kind and element of record i.
Int32 UndoRecordCount(BaseDocument* doc);
bool UndoRecord(BaseDocument* doc, Int32 i, Int32* type, BaseList2D** element);
// One undo record: its kind (UNDOTYPE_*), the undo step it belongs to (records of one
// StartUndo/EndUndo pair share it) and the element, nullptr once that has been freed.
struct UndoStep
{
	Int32 type = 0;
	Int32 group = 0;
	BaseList2D* element = nullptr;
};
// The records added to doc since the last call for it, oldest first.
std::vector<UndoStep> TakeUndoRecords(BaseDocument* doc);

} // namespace standin
