// What the verbs look up in the session before they change anything: the document, its views,
// objects by name path, free names among siblings, and files named relative to the script. Each
// lookup answers false with *error saying what is missing.
#pragma once

#include <string>

#include "session/session.h"

class BaseDraw;
class BaseList2D;
class BaseObject;
class PolygonObject;

namespace standin::session
{

// The session's document; false with *error when new-document has not run.
bool RequireDocument(const Session& session, std::string* error);
// The document's active view.
bool RequireView(const Session& session, BaseDraw** bd, std::string* error);
// The object at a name path.
bool FindObject(const Session& session, const std::string& path, BaseObject** op, std::string* error);
// The polygon object at a name path.
bool FindPolygonObject(const Session& session, const std::string& path, PolygonObject** op, std::string* error);
// A scene element named by the script: "object:<path>", "material:<name>", or a bare name that
// names exactly one of the two.
bool FindSceneElement(Session& session, const std::string& word, BaseList2D** element, std::string* error);
// The name path of an object ("Parent/Child"), as the verbs take it.
std::string ObjectPath(const BaseObject* op);
// True when another child of parent (nullptr: top level) is called name.
bool NameTaken(const Session& session, BaseObject* parent, const std::string& name, const BaseObject* except);
// Appends a free object as the last child of parent (nullptr: top level).
void AppendObject(const Session& session, BaseObject* op, BaseObject* parent);
// A file name from the script: absolute, or relative to the script's folder.
std::string ResolveScriptFile(const Session& session, const std::string& file);
// A file the script writes: resolved as above, its folder made when missing (as a save dialog that
// offers a new folder does). False with *error when the folder cannot be made.
bool ResolveOutputFile(const Session& session, const std::string& file, std::string* path, std::string* error);

} // namespace standin::session

// Verb files written before the placement checks had their own header include only words.h.
#include "session/placement.h"
