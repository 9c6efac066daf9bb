// Whole documents on disk in the host's own format, so a session can save a scene, quit and open it
// again: objects with their hierarchy, types, names, node bits, local matrices, identities,
// parameters, unique-ID entries, visibility, layers, tags (UVW and texture data included), point,
// polygon, selection and spline data; materials and layers likewise. Links between elements of the
// document are kept; links to anything outside it are dropped.
#pragma once

#include <string>

class BaseDocument;

namespace standin
{

// Writes doc to path. The file is written beside the target first and replaces it only when
// complete, so a failed save leaves an older file as it was. False with *error when it fails.
bool SaveDocument(BaseDocument* doc, const std::string& path, std::string* error);

// Reads a document file into a new document, adds it to the open documents and makes it the
// active one. nullptr with *error when the file is missing, not a document or damaged, or holds
// what the host could not have made (unknown object or tag types, numbers that are not finite,
// world matrices that overflow); nothing is opened then. Repeated or empty sibling names,
// repeated identities and UVW tags whose record count differs from the polygon count are
// repaired instead, with a console line that says what was changed.
BaseDocument* LoadDocument(const std::string& path, std::string* error);

// Closes one open document (frees it); the active document becomes none when it was the active one.
void CloseDocument(BaseDocument* doc);

} // namespace standin
