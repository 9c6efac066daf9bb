#include "standin/printable.h"

namespace standin
{

namespace
{

// Length of the well-formed UTF-8 sequence at text[i] that is safe to show (no C1 control);
// 0 when the byte there has to be escaped.
size_t SafeSequence(std::string_view text, size_t i)
{
	const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
	const unsigned char lead = byte(i);
	size_t length = 0;
	unsigned int code = 0;
	if (lead >= 0xC2 && lead <= 0xDF)
	{
		length = 2;
		code = lead & 0x1Fu;
	}
	else if (lead >= 0xE0 && lead <= 0xEF)
	{
		length = 3;
		code = lead & 0x0Fu;
	}
	else if (lead >= 0xF0 && lead <= 0xF4)
	{
		length = 4;
		code = lead & 0x07u;
	}
	else
		return 0;
	if (i + length > text.size())
		return 0;
	for (size_t k = 1; k < length; ++k)
	{
		if ((byte(i + k) & 0xC0u) != 0x80u)
			return 0;
		code = (code << 6) | (byte(i + k) & 0x3Fu);
	}
	const bool overlong = (length == 3 && code < 0x800) || (length == 4 && code < 0x10000);
	const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
	const bool c1 = code >= 0x80 && code <= 0x9F;
	if (overlong || surrogate || c1 || code > 0x10FFFF)
		return 0;
	return length;
}

void Escape(std::string& out, unsigned char c)
{
	switch (c)
	{
		case '\n': out += "\\n"; return;
		case '\r': out += "\\r"; return;
		case '\t': out += "\\t"; return;
		default: break;
	}
	static const char kHex[] = "0123456789abcdef";
	out += "\\x";
	out += kHex[c >> 4];
	out += kHex[c & 0x0F];
}

std::string Convert(std::string_view text, bool keepLineBreaks)
{
	std::string out;
	out.reserve(text.size());
	size_t i = 0;
	while (i < text.size())
	{
		const auto c = static_cast<unsigned char>(text[i]);
		if (c >= 0x20 && c < 0x7F)
		{
			out += static_cast<char>(c);
			++i;
		}
		else if (c == '\n' && keepLineBreaks)
		{
			out += '\n';
			++i;
		}
		else if (const size_t length = c >= 0x80 ? SafeSequence(text, i) : 0)
		{
			out.append(text.substr(i, length));
			i += length;
		}
		else
		{
			Escape(out, c);
			++i;
		}
	}
	return out;
}

} // namespace

std::string Printable(std::string_view text, size_t maxBytes)
{
	if (text.size() <= maxBytes)
		return Convert(text, false);
	return Convert(text.substr(0, maxBytes), false) + "...";
}

std::string Quoted(std::string_view text, size_t maxBytes)
{
	std::string out = "\"";
	for (char c : Printable(text, maxBytes))
	{
		if (c == '"' || c == '\\')
			out += '\\';
		out += c;
	}
	return out + "\"";
}

std::string PrintableLines(std::string_view text)
{
	return Convert(text, true);
}

} // namespace standin
