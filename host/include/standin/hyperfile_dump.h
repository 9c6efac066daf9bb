// A readable listing of a hyper file, for users who want to see what a plug-in stored.
#pragma once

#include <string>

namespace standin
{

// Reads the hyper file at path and describes it: a first line "ident <number> '<letters>'", then
// for each container a line "container <n> id <id>" followed by one line per key,
// "<key> <TYPE> <value>", where nested containers and the parts of custom data follow on lines
// indented by two more spaces. False with *error set when the file is missing or damaged.
bool DescribeHyperFile(const std::string& path, std::string* text, std::string* error);

} // namespace standin
