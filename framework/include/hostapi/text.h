// The host's text type. A thin value wrapper so that plug-in code reads like host code while the
// storage stays a standard string.
#pragma once

#include <string>
#include <string_view>

#include "hostapi/types.h"

class String
{
public:
	String() = default;
	String(const char* s) : _s(s ? s : "") {}
	String(std::string s) : _s(std::move(s)) {}
	String(std::string_view s) : _s(s) {}

	const std::string& Get() const { return _s; }
	std::string& Get() { return _s; }
	const char* c_str() const { return _s.c_str(); }
	Int32 GetLength() const { return static_cast<Int32>(_s.size()); }
	bool IsEmpty() const { return _s.empty(); }

	String operator+(const String& o) const { return String(_s + o._s); }
	String& operator+=(const String& o) { _s += o._s; return *this; }
	bool operator==(const String& o) const { return _s == o._s; }
	bool operator!=(const String& o) const { return _s != o._s; }
	bool operator<(const String& o) const { return _s < o._s; }

	// The host's default number formatting: integers in decimal; reals with up to three decimals,
	// trailing zeros and a trailing point removed, no exponent ("2.5", "1000", "-0.125").
	static String IntToString(Int64 v);
	static String FloatToString(Float v);

private:
	std::string _s;
};
