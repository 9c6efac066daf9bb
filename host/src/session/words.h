// Reading a script line's words, shared by the runner and every verb: splitting a line into words,
// numbers, names, keywords and the argument counts. Each helper answers false with *error saying
// what is wrong with the word.
#pragma once

#include <functional>
#include <string>

#include "hostapi/types.h"
#include "session/verb.h"

namespace standin::session
{

// Splits one script line into words (see standin/session.h for the rules).
bool SplitWords(const std::string& line, Words* words, std::string* error);

// A finite number; false with *error naming what the word was for.
bool ParseReal(const std::string& word, const char* what, Float* value, std::string* error);
// count finite numbers from args[first] on.
bool ParseReals(const Words& args, size_t first, size_t count, const char* what, Float* values, std::string* error);
// An integer in [lo, hi].
bool ParseInt(const std::string& word, const char* what, Int32 lo, Int32 hi, Int32* value, std::string* error);
// A pixel coordinate of a view (a finite number within the range a script may name).
bool ParsePixel(const std::string& word, const char* what, Float* value, std::string* error);
// on, off, true, false, 1 or 0.
bool ParseOnOff(const std::string& word, bool* value, std::string* error);
// shift, ctrl or alt as its qualifier bit (QSHIFT, QCTRL, QALT); false without an error for any
// other word, so a caller can read qualifiers until the first word that is none.
bool ParseQualifier(const std::string& word, Int32* bit);
// The qualifiers as words ("shift ctrl"), "none" for 0.
std::string QualifierWords(Int32 qualifiers);
// An object name: not empty, no '/' (which separates path components).
bool CheckName(const std::string& word, std::string* error);
// Argument count in [lo, hi].
bool CheckArity(const Words& args, size_t lo, size_t hi, const std::string& usage, std::string* error);
// One name, optionally followed by the keyword "add" (select commands).
bool CheckNameThenOptionalAdd(const Words& args, const std::string& usage, std::string* error);

// A report of several lines as one error message: the lines joined by "; ".
std::string OneLine(const std::string& report);

// The argument record of verbs that take no words, and of verbs whose words are texts used as
// they are.
struct NoArgs
{
};
struct TextArgs
{
	Words words;
};
// Parsers for MakeVerb: no words at all; between lo and hi words kept as texts.
std::function<bool(const Words&, NoArgs*, std::string*)> NoWords(std::string usage);
std::function<bool(const Words&, TextArgs*, std::string*)> TextWords(size_t lo, size_t hi, std::string usage);

} // namespace standin::session
