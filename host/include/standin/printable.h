// Text that came from users, files or plug-ins (names, script words, file names), made safe to
// show on a terminal or in a one-line message.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace standin
{

// Control bytes become escapes (\n, \r, \t, otherwise \xNN, e.g. \x1b), and so does every byte
// that is not part of well-formed UTF-8 and each byte of a C1 control character; all other text,
// backslashes included, stays as it is. When the text is longer than maxBytes, only its first
// maxBytes are shown, followed by "...".
std::string Printable(std::string_view text, size_t maxBytes = std::string_view::npos);

// Printable text in double quotes, with quotes and backslashes inside escaped by a backslash, as
// listings show names.
std::string Quoted(std::string_view text, size_t maxBytes = 200);

// The same for a listing of several lines: line breaks stay line breaks.
std::string PrintableLines(std::string_view text);

} // namespace standin
