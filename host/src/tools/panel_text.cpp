#include "tools/panel_text.h"

#include <vector>

#include "hostapi/baselist.h"
#include "hostapi/customdata.h"
#include "hostapi/objects.h"
#include "standin/printable.h"
#include "standin/tools.h"

namespace standin::tools
{

namespace
{

// Longest text shown on a panel or inspector line; the rest is cut, as a field would.
constexpr size_t kMaxShown = 256;

std::string ObjectPathText(const BaseObject* op)
{
	std::vector<std::string> names;
	for (const BaseObject* up = op; up; up = up->GetUp())
		names.push_back(up->GetName().Get());
	std::string path;
	for (auto it = names.rbegin(); it != names.rend(); ++it)
		path += (path.empty() ? "" : "/") + *it;
	return path;
}

std::string Number(Float v)
{
	return String::FloatToString(v).Get();
}

std::string Integer(Int64 v)
{
	return String::IntToString(v).Get();
}

std::string KnotsText(Int32 count)
{
	return Integer(count) + (count == 1 ? " knot" : " knots");
}

// The custom data's text, or empty when the cell holds another custom type.
std::string CustomText(const GeData& value)
{
	if (const auto* gradient = static_cast<const Gradient*>(value.GetCustomDataType(CUSTOMDATATYPE_GRADIENT)))
		return KnotsText(gradient->GetKnotCount());
	if (const auto* spline = static_cast<const SplineData*>(value.GetCustomDataType(CUSTOMDATATYPE_SPLINE)))
		return KnotsText(spline->GetKnotCount());
	return std::string();
}

} // namespace

std::string DegreesText(Float radians)
{
	return Number(radians * (180.0 / PI)) + "\u00b0";
}

Float DegreesToRadians(Float degrees)
{
	return degrees * (PI / 180.0);
}

std::string QuotedText(const std::string& text)
{
	std::string escaped;
	escaped.reserve(text.size() + 2);
	for (char c : text)
	{
		if (c == '\\' || c == '"')
			escaped += '\\';
		escaped += c;
	}
	return "\"" + Printable(escaped, kMaxShown) + "\"";
}

std::string LinkText(const GeData& value, BaseDocument* doc)
{
	BaseList2D* element = value.GetType() == DA_ALIASLINK ? value.GetLink(doc) : nullptr;
	if (!element)
		return "none";
	if (element->IsInstanceOf(Obase))
		return QuotedText(ObjectPathText(static_cast<const BaseObject*>(element)));
	if (element->IsInstanceOf(Mbase))
		return "material " + QuotedText(element->GetName().Get());
	if (element->IsInstanceOf(Tbase))
		return "tag " + QuotedText(element->GetName().Get());
	return "element " + QuotedText(element->GetName().Get());
}

std::string EntryValueText(const DescriptionEntry& entry, const BaseContainer& settings, BaseDocument* doc)
{
	const std::string& kind = entry.kind;
	if (kind == "BUTTON" || kind == "GROUP")
		return "-";
	const GeData* value = settings.GetDataPointer(entry.id);
	if (!value || value->GetType() == DA_NIL)
		return kind == "LINK" ? "none" : "unset";
	const Int32 type = value->GetType();
	if (kind == "LONG" && type == DA_LONG)
		return Integer(value->GetInt32());
	if (kind == "REAL" && type == DA_REAL)
		return Number(value->GetFloat());
	if (kind == "BOOL" && type == DA_LONG)
		return value->GetInt32() ? "on" : "off";
	if (kind == "STRING" && type == DA_STRING)
		return QuotedText(value->GetString().Get());
	if (kind == "LINK" && type == DA_ALIASLINK)
		return LinkText(*value, doc);
	if (kind == "CYCLE" && type == DA_LONG)
	{
		const Int32 chosen = value->GetInt32();
		for (const DescriptionEntry& choice : entry.choices)
			if (choice.id == chosen)
				return QuotedText(choice.label) + " " + Integer(chosen);
		return "unknown " + Integer(chosen);
	}
	if ((kind == "GRADIENT" || kind == "SPLINE") && type == DA_CUSTOMDATA)
	{
		const Int32 wanted = kind == "GRADIENT" ? CUSTOMDATATYPE_GRADIENT : CUSTOMDATATYPE_SPLINE;
		if (value->GetCustomDataTypeId() == wanted)
			return CustomText(*value);
	}
	return "invalid";
}

std::string DescribeSettings(BaseDocument* doc, const BaseContainer& settings)
{
	std::string text;
	for (Int32 i = 0; i < settings.GetCount(); ++i)
	{
		Int32 id = 0;
		const GeData* value = nullptr;
		if (!settings.GetIndex(i, &id, &value) || !value)
			continue;
		std::string line = Integer(id) + " ";
		switch (value->GetType())
		{
			case DA_NIL: line += "NIL"; break;
			case DA_LONG: line += "LONG " + Integer(value->GetInt32()); break;
			case DA_LLONG: line += "LLONG " + Integer(value->GetInt64()); break;
			case DA_REAL: line += "REAL " + Number(value->GetFloat()); break;
			case DA_VECTOR:
			{
				const Vector v = value->GetVector();
				line += "VECTOR " + Number(v.x) + " " + Number(v.y) + " " + Number(v.z);
				break;
			}
			case DA_MATRIX:
			{
				const Matrix m = value->GetMatrix();
				line += "MATRIX off " + Number(m.off.x) + " " + Number(m.off.y) + " " + Number(m.off.z);
				break;
			}
			case DA_STRING: line += "STRING " + QuotedText(value->GetString().Get()); break;
			case DA_ALIASLINK: line += "LINK " + LinkText(*value, doc); break;
			case DA_CONTAINER:
			{
				const BaseContainer* inner = value->GetContainer();
				line += "CONTAINER " + Integer(inner ? inner->GetCount() : 0) + " entries";
				break;
			}
			case DA_CUSTOMDATA:
			{
				const Int32 custom = value->GetCustomDataTypeId();
				const std::string knots = CustomText(*value);
				if (custom == CUSTOMDATATYPE_GRADIENT)
					line += "GRADIENT " + knots;
				else if (custom == CUSTOMDATATYPE_SPLINE)
					line += "SPLINE " + knots;
				else
					line += "CUSTOM " + Integer(custom);
				break;
			}
			default: line += "TYPE " + Integer(value->GetType()); break;
		}
		text += line + "\n";
	}
	return text;
}

} // namespace standin::tools
