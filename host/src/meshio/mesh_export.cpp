// Wavefront OBJ export. Numbers are written in their shortest form that reads back to the same
// double, and the text goes to the file a buffer at a time, so a mesh of millions of polygons
// never sits in memory as text.
#include <charconv>
#include <cmath>
#include <new>
#include <string>

#include "file/atomic_write.h"
#include "scene/object_data.h"
#include "scene/tag_data.h"
#include "standin/meshio.h"
#include "standin/printable.h"

namespace
{

constexpr size_t kBufferBytes = size_t{1} << 20;

class Output
{
public:
	explicit Output(standin::file::AtomicFile& file) : _file(file) { _buffer.reserve(kBufferBytes + 256); }

	void Text(const char* text) { _buffer.append(text); }
	void Text(const std::string& text) { _buffer.append(text); }

	void Number(Float v)
	{
		char digits[32];
		const auto result = std::to_chars(digits, digits + sizeof digits, v);
		_buffer.push_back(' ');
		_buffer.append(digits, result.ptr);
	}

	void Index(Int64 v)
	{
		char digits[24];
		const auto result = std::to_chars(digits, digits + sizeof digits, v);
		_buffer.append(digits, result.ptr);
	}

	void Char(char c) { _buffer.push_back(c); }

	// Hands the buffer to the file once it is full (and at the end).
	bool Flush(bool force, std::string* error)
	{
		if (_buffer.empty() || (!force && _buffer.size() < kBufferBytes))
			return true;
		const bool ok = _file.Write(_buffer.data(), _buffer.size(), error);
		_buffer.clear();
		return ok;
	}

private:
	standin::file::AtomicFile& _file;
	std::string _buffer;
};

const scene::UVWTagData* FirstUVW(const scene::PolygonObjectData& poly)
{
	for (const scene::NodeCore* t = poly.tags.first; t; t = t->next)
	{
		if (t->type == Tuvw)
			return static_cast<const scene::UVWTagData*>(t);
	}
	return nullptr;
}

bool Finite(const Vector& v)
{
	return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

} // namespace

namespace standin
{

bool ExportObj(const BaseObject* op, const std::string& path, std::string* error)
{
	auto fail = [error](const std::string& text) {
		if (error)
			*error = text;
		return false;
	};
	const scene::PolygonObjectData* poly = scene::PolygonDataOf(op);
	if (!poly)
		return fail("only polygon objects can be exported as meshes");
	const std::string name = standin::Printable(poly->name.Get());
	if (poly->polygons.empty())
		return fail("'" + name + "' has no polygons to export");
	const Int64 pointCount = static_cast<Int64>(poly->points.size());
	for (size_t i = 0; i < poly->polygons.size(); ++i)
	{
		const CPolygon& p = poly->polygons[i];
		for (Int32 v : {p.a, p.b, p.c, p.d})
		{
			if (v < 0 || v >= pointCount)
				return fail("polygon " + std::to_string(i) + " of '" + name + "' names point " + std::to_string(v) + ", which does not exist");
		}
	}
	const Matrix mg = op->GetMg();
	for (size_t i = 0; i < poly->points.size(); ++i)
	{
		if (!Finite(mg * poly->points[i]))
			return fail("point " + std::to_string(i) + " of '" + name + "' is not finite in world space");
	}
	const scene::UVWTagData* uvw = FirstUVW(*poly);

	std::string why;
	try
	{
		file::AtomicFile out;
		if (!out.Begin(path, &why))
			return fail(why);
		Output w(out);
		w.Text("# standin-host mesh: ");
		w.Index(pointCount);
		w.Text(" points, ");
		w.Index(static_cast<Int64>(poly->polygons.size()));
		w.Text(" polygons\no ");
		// One line: a name with line breaks or other control bytes is written escaped.
		w.Text(name);
		w.Char('\n');
		for (const Vector& p : poly->points)
		{
			const Vector world = mg * p;
			w.Text("v");
			w.Number(world.x);
			w.Number(world.y);
			w.Number(world.z);
			w.Char('\n');
			if (!w.Flush(false, &why))
				return fail(why);
		}
		if (uvw)
		{
			for (size_t i = 0; i < poly->polygons.size(); ++i)
			{
				const UVWStruct r = i < uvw->uvw.size() ? uvw->uvw[i] : UVWStruct();
				const Vector corners[4] = {r.a, r.b, r.c, r.d};
				const Int32 count = poly->polygons[i].IsTriangle() ? 3 : 4;
				for (Int32 k = 0; k < count; ++k)
				{
					w.Text("vt");
					w.Number(corners[k].x);
					w.Number(corners[k].y);
					if (corners[k].z != 0.0)
						w.Number(corners[k].z);
					w.Char('\n');
				}
				if (!w.Flush(false, &why))
					return fail(why);
			}
		}
		Int64 corner = 0;
		for (const CPolygon& p : poly->polygons)
		{
			const Int32 indices[4] = {p.a, p.b, p.c, p.d};
			const Int32 count = p.IsTriangle() ? 3 : 4;
			w.Char('f');
			for (Int32 k = 0; k < count; ++k)
			{
				w.Char(' ');
				w.Index(Int64{indices[k]} + 1);
				if (uvw)
				{
					w.Char('/');
					w.Index(++corner);
				}
			}
			w.Char('\n');
			if (!w.Flush(false, &why))
				return fail(why);
		}
		if (!w.Flush(true, &why) || !out.Commit(&why))
			return fail(why);
		return true;
	}
	catch (const std::bad_alloc&)
	{
		return fail("not enough memory to export '" + name + "'");
	}
}

} // namespace standin
