// Number formatting of the host's text type.
#include "hostapi/text.h"

#include <cmath>
#include <cstdio>
#include <vector>

String String::IntToString(Int64 v)
{
	return String(std::to_string(v));
}

String String::FloatToString(Float v)
{
	if (std::isnan(v))
		return String("nan");
	if (std::isinf(v))
		return String(v < 0.0 ? "-inf" : "inf");

	// Fixed notation never switches to an exponent; a very large value just gets long.
	const int needed = std::snprintf(nullptr, 0, "%.3f", v);
	if (needed <= 0)
		return String("0");
	std::vector<char> buf(static_cast<size_t>(needed) + 1);
	std::snprintf(buf.data(), buf.size(), "%.3f", v);
	std::string s(buf.data(), static_cast<size_t>(needed));

	const size_t point = s.find('.');
	if (point != std::string::npos)
	{
		size_t end = s.size();
		while (end > point + 1 && s[end - 1] == '0')
			--end;
		if (end == point + 1)
			--end;
		s.resize(end);
	}
	// Values that round to zero keep no sign: "-0" reads as a different number to a user.
	if (s == "-0")
		s = "0";
	return String(std::move(s));
}
