// A text listing of a hyper file's containers, one line per key.
#include "standin/hyperfile_dump.h"

#include <charconv>
#include <cstdio>
#include <vector>

#include "data/custom_types.h"
#include "data/serialize.h"
#include "file/hyperfile_format.h"

namespace standin
{
namespace
{

// Shortest text that reads back as the same double, so that stored values can be compared.
std::string Real(Float v)
{
	char buf[64];
	const auto res = std::to_chars(buf, buf + sizeof buf, v);
	return std::string(buf, res.ptr);
}

std::string Vec(const Vector& v)
{
	// Appended in place: prepending to a temporary ("(" + ...) sets off a false -Wrestrict in GCC 12.
	std::string out = "(";
	out += Real(v.x);
	out += ", ";
	out += Real(v.y);
	out += ", ";
	out += Real(v.z);
	out += ")";
	return out;
}

std::string Quoted(const std::string& s)
{
	std::string out = "\"";
	for (const unsigned char c : s)
	{
		if (c == '"' || c == '\\')
		{
			out += '\\';
			out += static_cast<char>(c);
		}
		else if (c == '\n')
			out += "\\n";
		else if (c < 0x20 || c == 0x7F)
		{
			char hex[8];
			std::snprintf(hex, sizeof hex, "\\x%02X", c);
			out += hex;
		}
		else
			out += static_cast<char>(c);
	}
	return out + "\"";
}

void DescribeContainer(const BaseContainer& bc, const std::string& indent, std::string& out);

void DescribeValue(Int32 key, const GeData& value, const std::string& indent, std::string& out)
{
	const std::string head = indent + std::to_string(key) + " ";
	switch (value.GetType())
	{
		case DA_NIL: out += head + "NIL -\n"; return;
		case DA_LONG: out += head + "INT32 " + std::to_string(value.GetInt32()) + "\n"; return;
		case DA_LLONG: out += head + "INT64 " + std::to_string(value.GetInt64()) + "\n"; return;
		case DA_REAL: out += head + "FLOAT " + Real(value.GetFloat()) + "\n"; return;
		case DA_VECTOR: out += head + "VECTOR " + Vec(value.GetVector()) + "\n"; return;
		case DA_MATRIX:
		{
			const Matrix m = value.GetMatrix();
			out += head + "MATRIX off " + Vec(m.off) + " v1 " + Vec(m.v1) + " v2 " + Vec(m.v2) + " v3 " + Vec(m.v3) + "\n";
			return;
		}
		case DA_STRING: out += head + "STRING " + Quoted(value.GetString().Get()) + "\n"; return;
		case DA_ALIASLINK: out += head + "LINK -\n"; return;
		case DA_CONTAINER:
		{
			const BaseContainer* nested = value.GetContainer();
			out += head + "CONTAINER id " + std::to_string(nested->GetId()) + ", " + std::to_string(nested->GetCount()) + " keys\n";
			DescribeContainer(*nested, indent + "  ", out);
			return;
		}
		default: break;
	}

	const Int32 customId = value.GetCustomDataTypeId();
	const CustomDataType* custom = value.GetCustomDataType(customId);
	if (const auto* g = dynamic_cast<const data::GradientData*>(custom))
	{
		out += head + "GRADIENT " + std::to_string(g->knots.size()) + " knots\n";
		for (size_t i = 0; i < g->knots.size(); ++i)
		{
			const GradientKnot& k = g->knots[i];
			out += indent + "  knot " + std::to_string(i) + " col " + Vec(k.col) + " brightness " + Real(k.brightness) + " pos " + Real(k.pos)
				+ " bias " + Real(k.bias) + " index " + std::to_string(k.index) + "\n";
		}
		DescribeContainer(g->properties, indent + "  ", out);
	}
	else if (const auto* s = dynamic_cast<const data::SplineCurveData*>(custom))
	{
		out += head + "SPLINE " + std::to_string(s->knots.size()) + " knots\n";
		for (size_t i = 0; i < s->knots.size(); ++i)
		{
			const CustomSplineKnot& k = s->knots[i];
			out += indent + "  knot " + std::to_string(i) + " pos " + Vec(k.vPos) + " left " + Vec(k.vTangentLeft) + " right " + Vec(k.vTangentRight)
				+ " interpolation " + std::to_string(k.interpol) + "\n";
		}
	}
	else if (const auto* p = dynamic_cast<const data::PriorityValues*>(custom))
	{
		out += head + "PRIORITY " + std::to_string(p->values.GetCount()) + " keys\n";
		DescribeContainer(p->values, indent + "  ", out);
	}
	else
		out += head + "CUSTOM " + std::to_string(customId) + "\n";
}

void DescribeContainer(const BaseContainer& bc, const std::string& indent, std::string& out)
{
	for (Int32 i = 0; i < bc.GetCount(); ++i)
	{
		Int32 key = 0;
		const GeData* value = nullptr;
		if (bc.GetIndex(i, &key, &value))
			DescribeValue(key, *value, indent, out);
	}
}

std::string IdentLetters(Int32 ident)
{
	const auto u = static_cast<std::uint32_t>(ident);
	std::string letters;
	for (int shift = 24; shift >= 0; shift -= 8)
	{
		const auto c = static_cast<unsigned char>(u >> shift);
		letters += (c >= 0x20 && c < 0x7F) ? static_cast<char>(c) : '.';
	}
	return letters;
}

} // namespace

bool DescribeHyperFile(const std::string& path, std::string* text, std::string* error)
{
	Int32 ident = 0;
	std::vector<std::uint8_t> payload;
	std::string why;
	if (!file::LoadHyperFile(path, &ident, &payload, &why, file::kMaxDocumentPayload))
	{
		if (error)
			*error = path + ": " + why;
		return false;
	}

	std::string out = "ident " + std::to_string(ident) + " '" + IdentLetters(ident) + "'\n";
	size_t pos = 0;
	for (int n = 1; pos < payload.size(); ++n)
	{
		std::uint32_t kind = 0;
		const std::uint8_t* body = nullptr;
		size_t length = 0;
		BaseContainer bc;
		if (!file::NextRecord(payload, &pos, &kind, &body, &length, &why))
		{
			if (error)
				*error = path + ": " + why;
			return false;
		}
		if (kind != file::kRecordContainer)
		{
			if (error)
				*error = path + ": unknown record kind " + std::to_string(kind);
			return false;
		}
		if (!data::DecodeContainer(body, length, &bc, &why))
		{
			if (error)
				*error = path + ": container " + std::to_string(n) + ": " + why;
			return false;
		}
		out += "container " + std::to_string(n) + " id " + std::to_string(bc.GetId()) + "\n";
		DescribeContainer(bc, "", out);
	}
	if (text)
		*text = std::move(out);
	return true;
}

} // namespace standin
