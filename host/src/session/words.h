// Helpers shared by the session runner and the verbs: splitting a line into words and reading
// numbers, names and object paths from them.
#pragma once

#include <string>

#include "hostapi/types.h"
#include "session/verb.h"

class BaseObject;
struct Matrix;

namespace standin::session
{

// Splits one script line into words (see standin/session.h for the rules).
bool SplitWords(const std::string& line, Words* words, std::string* error);

// A finite number; false with *error naming what the word was for.
bool ParseReal(const std::string& word, const char* what, Float* value, std::string* error);
// An integer in [lo, hi].
bool ParseInt(const std::string& word, const char* what, Int32 lo, Int32 hi, Int32* value, std::string* error);
// An object name: not empty, no '/' (which separates path components).
bool CheckName(const std::string& word, std::string* error);
// Argument count in [lo, hi].
bool CheckArity(const Words& args, size_t lo, size_t hi, const std::string& usage, std::string* error);
// One name, optionally followed by the keyword "add" (select commands).
bool CheckNameThenOptionalAdd(const Words& args, const std::string& usage, std::string* error);

// The session's document; false with *error when new-document has not run.
bool RequireDocument(const Context& ctx, std::string* error);
// The object at a name path; false with *error when none.
bool FindObject(const Context& ctx, const std::string& path, BaseObject** op, std::string* error);
// True when another child of parent (nullptr: top level) is called name.
bool NameTaken(const Context& ctx, BaseObject* parent, const std::string& name, const BaseObject* except);
// Appends a free object as the last child of parent (nullptr: top level).
void AppendObject(const Context& ctx, BaseObject* op, BaseObject* parent);
// True when no part of m is a NaN or infinity.
bool FiniteMatrix(const Matrix& m);
// False with *error (naming the object) when giving op the local matrix ml under a parent whose
// world matrix is parentMg would make the world matrix of op (and, with descendants, of anything
// below it) overflow. A move that keeps op's world matrix need not look below it.
bool CheckPlacement(BaseObject* op, const Matrix& parentMg, const Matrix& ml, bool descendants, std::string* error);
// A report of several lines as one error message: the lines joined by "; ".
std::string OneLine(const std::string& report);
// A file name from the script: absolute, or relative to the script's folder.
std::string ResolveScriptFile(const Context& ctx, const std::string& file);

} // namespace standin::session
