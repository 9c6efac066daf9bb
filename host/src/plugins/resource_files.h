// Readers of a plug-in's resource files: the string table (res/strings.str) and description
// layouts (res/description/<Name>.res). Errors name the file and line: "<path>:<line>: <what>".
#pragma once

#include <map>
#include <string>

#include "standin/plugins.h"

namespace standin::resfiles
{

// Reads a whole file that is expected to be small; false with *error when it is missing,
// unreadable or larger than maxBytes.
bool ReadSmallFile(const std::string& path, size_t maxBytes, std::string* text, std::string* error);

// `<id> "<text>"` lines; blank lines and # comments ignored; \" \\ \n escapes.
bool ParseStringTable(const std::string& text, const std::string& path, std::map<Int32, std::string>* out, std::string* error);

// `<id> <KIND> <SYMBOL> "<label>"` lines; CHOICE lines follow their CYCLE.
bool ParseDescription(const std::string& text, const std::string& path, DescriptionResource* out, std::string* error);

} // namespace standin::resfiles
