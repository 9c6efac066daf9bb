// The draw log's text of each record.
#include "standin/draw_records.h"

#include "hostapi/text.h"
#include "standin/printable.h"
#include "view/draw_text.h"

namespace standin
{

std::string DescribeVector(const Vector& v)
{
	return "(" + String::FloatToString(v.x).Get() + ";" + String::FloatToString(v.y).Get() + ";" + String::FloatToString(v.z).Get() + ")";
}

std::string DescribeMatrix(const Matrix& m)
{
	return "off " + DescribeVector(m.off) + " v1 " + DescribeVector(m.v1) + " v2 " + DescribeVector(m.v2) + " v3 " + DescribeVector(m.v3);
}

namespace
{
struct Describe
{
	std::string operator()(const PenRecord& r) const { return "pen " + DescribeVector(r.colour); }
	std::string operator()(const MatrixRecord& r) const { return "matrix " + DescribeMatrix(r.Mg()); }
	std::string operator()(const LineRecord& r) const
	{
		return "line " + DescribeVector(r.a) + " " + DescribeVector(r.b) + " flags " + std::to_string(r.flags);
	}
	std::string operator()(const HandleRecord& r) const
	{
		return "handle " + DescribeVector(r.point) + " kind " + std::to_string(r.kind) + " flags " + std::to_string(r.flags);
	}
	std::string operator()(const CircleRecord& r) const
	{
		return "circle " + std::to_string(r.x) + " " + std::to_string(r.y) + " radius " + String::FloatToString(r.radius).Get();
	}
	std::string operator()(const TextRecord& r) const
	{
		return "text " + std::to_string(r.x) + " " + std::to_string(r.y) + " \"" + Printable(r.text) + "\"";
	}
	std::string operator()(const DrawParamRecord& r) const { return "param " + std::to_string(r.id) + " = " + Printable(r.value); }
	std::string operator()(const ObjectDrawing& drawing) const
	{
		if (!drawing)
			return "object (none)";
		const ObjectRecord& r = *drawing;
		return "object \"" + Printable(r.name) + "\" polygons " + std::to_string(r.polygons.size()) + " flags " + std::to_string(r.flags) + " colour " +
			DescribeVector(r.colour) + " at " + DescribeMatrix(r.mg);
	}
};
} // namespace

std::string DescribeDrawRecord(const DrawRecord& record)
{
	return std::visit(Describe{}, record);
}

} // namespace standin
