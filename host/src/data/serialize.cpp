// Encoding and decoding of BaseContainer (layout in serialize.h).
#include "data/serialize.h"

#include <limits>
#include <new>

#include "data/bytes.h"
#include "data/custom_types.h"

namespace standin::data
{
namespace
{

// The smallest encodings, used to reject counts that the remaining bytes cannot hold.
constexpr size_t kMinEntryBytes = 8;          // key + type of a DA_NIL entry
constexpr size_t kGradientKnotBytes = 6 * 8 + 4; // colour, brightness, pos, bias, index
constexpr size_t kSplineKnotBytes = 9 * 8 + 4;   // three vectors and the interpolation

void WriteVector(ByteWriter& w, const Vector& v)
{
	w.F64(v.x);
	w.F64(v.y);
	w.F64(v.z);
}

void WriteContainerBody(ByteWriter& w, const BaseContainer& bc);

void WriteValue(ByteWriter& w, const GeData& value)
{
	const Int32 type = value.GetType();
	switch (type)
	{
		case DA_LONG:
			w.I32(DA_LONG);
			w.I32(value.GetInt32());
			return;
		case DA_LLONG:
			w.I32(DA_LLONG);
			w.I64(value.GetInt64());
			return;
		case DA_REAL:
			w.I32(DA_REAL);
			w.F64(value.GetFloat());
			return;
		case DA_VECTOR:
			w.I32(DA_VECTOR);
			WriteVector(w, value.GetVector());
			return;
		case DA_MATRIX:
		{
			const Matrix m = value.GetMatrix();
			w.I32(DA_MATRIX);
			WriteVector(w, m.off);
			WriteVector(w, m.v1);
			WriteVector(w, m.v2);
			WriteVector(w, m.v3);
			return;
		}
		case DA_STRING:
		{
			const String text = value.GetString();
			const std::string& s = text.Get();
			if (s.size() > std::numeric_limits<std::uint32_t>::max())
				throw std::bad_alloc();
			w.I32(DA_STRING);
			w.U32(static_cast<std::uint32_t>(s.size()));
			w.Bytes(s.data(), s.size());
			return;
		}
		case DA_CONTAINER:
			w.I32(DA_CONTAINER);
			WriteContainerBody(w, *value.GetContainer());
			return;
		case DA_CUSTOMDATA:
		{
			const Int32 customId = value.GetCustomDataTypeId();
			if (const auto* g = dynamic_cast<const GradientData*>(value.GetCustomDataType(customId)))
			{
				w.I32(DA_CUSTOMDATA);
				w.I32(CUSTOMDATATYPE_GRADIENT);
				w.U32(static_cast<std::uint32_t>(g->knots.size()));
				for (const GradientKnot& k : g->knots)
				{
					WriteVector(w, k.col);
					w.F64(k.brightness);
					w.F64(k.pos);
					w.F64(k.bias);
					w.I32(k.index);
				}
				WriteContainerBody(w, g->properties);
				return;
			}
			if (const auto* s = dynamic_cast<const SplineCurveData*>(value.GetCustomDataType(customId)))
			{
				w.I32(DA_CUSTOMDATA);
				w.I32(CUSTOMDATATYPE_SPLINE);
				w.U32(static_cast<std::uint32_t>(s->knots.size()));
				for (const CustomSplineKnot& k : s->knots)
				{
					WriteVector(w, k.vPos);
					WriteVector(w, k.vTangentLeft);
					WriteVector(w, k.vTangentRight);
					w.I32(k.interpol);
				}
				return;
			}
			if (const auto* p = dynamic_cast<const PriorityValues*>(value.GetCustomDataType(customId)))
			{
				w.I32(DA_CUSTOMDATA);
				w.I32(CUSTOMDATATYPE_PRIORITY);
				WriteContainerBody(w, p->values);
				return;
			}
			w.I32(DA_NIL);
			return;
		}
		default:
			// DA_NIL, links, and anything without a stored form.
			w.I32(DA_NIL);
			return;
	}
}

void WriteContainerBody(ByteWriter& w, const BaseContainer& bc)
{
	w.I32(bc.GetId());
	const Int32 count = bc.GetCount();
	w.U32(static_cast<std::uint32_t>(count));
	for (Int32 i = 0; i < count; ++i)
	{
		Int32 key = 0;
		const GeData* value = nullptr;
		bc.GetIndex(i, &key, &value);
		w.I32(key);
		WriteValue(w, *value);
	}
}

class Decoder
{
public:
	Decoder(const std::uint8_t* data, size_t size) : _r(data, size) {}

	bool Container(BaseContainer* bc, int depth)
	{
		if (depth > kMaxContainerDepth)
			return Fail("containers nested too deeply");
		Int32 id = 0;
		std::uint32_t count = 0;
		if (!_r.I32(&id) || !_r.U32(&count))
			return Fail("truncated container header");
		if (count > _r.Remaining() / kMinEntryBytes)
			return Fail("entry count " + std::to_string(count) + " exceeds the data");
		bc->SetId(id);
		for (std::uint32_t i = 0; i < count; ++i)
		{
			Int32 key = 0;
			if (!_r.I32(&key))
				return Fail("truncated entry key");
			GeData value;
			if (!Value(&value, depth))
				return false;
			bc->SetData(key, value);
		}
		return true;
	}

	bool Fail(const std::string& what)
	{
		if (_error.empty())
			_error = what + " at byte " + std::to_string(_r.Position());
		return false;
	}

	const std::string& Error() const { return _error; }
	ByteReader& Reader() { return _r; }

private:
	bool ReadVector(Vector* v) { return _r.F64(&v->x) && _r.F64(&v->y) && _r.F64(&v->z); }

	bool Value(GeData* out, int depth)
	{
		Int32 type = 0;
		if (!_r.I32(&type))
			return Fail("truncated value type");
		switch (type)
		{
			case DA_NIL:
				*out = GeData();
				return true;
			case DA_LONG:
			{
				Int32 v = 0;
				if (!_r.I32(&v))
					return Fail("truncated integer");
				*out = GeData(v);
				return true;
			}
			case DA_LLONG:
			{
				Int64 v = 0;
				if (!_r.I64(&v))
					return Fail("truncated 64-bit integer");
				*out = GeData(v);
				return true;
			}
			case DA_REAL:
			{
				Float v = 0.0;
				if (!_r.F64(&v))
					return Fail("truncated real");
				*out = GeData(v);
				return true;
			}
			case DA_VECTOR:
			{
				Vector v;
				if (!ReadVector(&v))
					return Fail("truncated vector");
				*out = GeData(v);
				return true;
			}
			case DA_MATRIX:
			{
				Matrix m;
				if (!ReadVector(&m.off) || !ReadVector(&m.v1) || !ReadVector(&m.v2) || !ReadVector(&m.v3))
					return Fail("truncated matrix");
				*out = GeData(m);
				return true;
			}
			case DA_STRING:
			{
				std::uint32_t length = 0;
				const std::uint8_t* bytes = nullptr;
				if (!_r.U32(&length))
					return Fail("truncated string length");
				if (!_r.View(length, &bytes))
					return Fail("string length " + std::to_string(length) + " exceeds the data");
				*out = GeData(String(std::string(reinterpret_cast<const char*>(bytes), length)));
				return true;
			}
			case DA_CONTAINER:
			{
				BaseContainer nested;
				if (!Container(&nested, depth + 1))
					return false;
				*out = GeData(nested);
				return true;
			}
			case DA_CUSTOMDATA:
				return Custom(out, depth);
			default:
				return Fail("unknown value type " + std::to_string(type));
		}
	}

	bool Custom(GeData* out, int depth)
	{
		Int32 customId = 0;
		if (!_r.I32(&customId))
			return Fail("truncated custom data type");
		std::uint32_t count = 0;
		switch (customId)
		{
			case CUSTOMDATATYPE_GRADIENT:
			{
				GradientData g;
				if (!_r.U32(&count))
					return Fail("truncated gradient");
				if (count > _r.Remaining() / kGradientKnotBytes)
					return Fail("gradient knot count " + std::to_string(count) + " exceeds the data");
				g.knots.reserve(count);
				for (std::uint32_t i = 0; i < count; ++i)
				{
					GradientKnot k;
					if (!ReadVector(&k.col) || !_r.F64(&k.brightness) || !_r.F64(&k.pos) || !_r.F64(&k.bias) || !_r.I32(&k.index))
						return Fail("truncated gradient knot");
					g.knots.push_back(k);
				}
				if (!Container(&g.properties, depth + 1))
					return false;
				out->SetCustomDataType(g);
				return true;
			}
			case CUSTOMDATATYPE_SPLINE:
			{
				SplineCurveData s;
				if (!_r.U32(&count))
					return Fail("truncated spline");
				if (count > _r.Remaining() / kSplineKnotBytes)
					return Fail("spline knot count " + std::to_string(count) + " exceeds the data");
				s.knots.reserve(count);
				for (std::uint32_t i = 0; i < count; ++i)
				{
					CustomSplineKnot k;
					if (!ReadVector(&k.vPos) || !ReadVector(&k.vTangentLeft) || !ReadVector(&k.vTangentRight) || !_r.I32(&k.interpol))
						return Fail("truncated spline knot");
					s.knots.push_back(k);
				}
				out->SetCustomDataType(s);
				return true;
			}
			case CUSTOMDATATYPE_PRIORITY:
			{
				PriorityValues p;
				if (!Container(&p.values, depth + 1))
					return false;
				out->SetCustomDataType(p);
				return true;
			}
			default:
				return Fail("unknown custom data type " + std::to_string(customId));
		}
	}

	ByteReader _r;
	std::string _error;
};

} // namespace

namespace
{

// Counts as the decoder does: bc itself is at depth, each container inside one more. Stops as
// soon as the limit is passed, so a pathological nesting costs no more than the limit.
bool Deeper(const BaseContainer& bc, int depth)
{
	if (depth > kMaxContainerDepth)
		return true;
	for (Int32 i = 0; i < bc.GetCount(); ++i)
	{
		Int32 key = 0;
		const GeData* value = nullptr;
		if (!bc.GetIndex(i, &key, &value))
			break;
		const BaseContainer* inner = nullptr;
		if (value->GetType() == DA_CONTAINER)
			inner = value->GetContainer();
		else if (value->GetType() == DA_CUSTOMDATA)
		{
			const CustomDataType* custom = value->GetCustomDataType(value->GetCustomDataTypeId());
			if (const auto* g = dynamic_cast<const GradientData*>(custom))
				inner = &g->properties;
			else if (const auto* p = dynamic_cast<const PriorityValues*>(custom))
				inner = &p->values;
		}
		if (inner && Deeper(*inner, depth + 1))
			return true;
	}
	return false;
}

} // namespace

bool NestsTooDeeply(const BaseContainer& bc)
{
	return Deeper(bc, 0);
}

bool EncodeContainer(const BaseContainer& bc, std::vector<std::uint8_t>& out)
{
	// What the decoder would refuse is never written: the file would be lost on its next read.
	if (NestsTooDeeply(bc))
		return false;
	const size_t start = out.size();
	try
	{
		ByteWriter w(out);
		w.U32(kContainerEncodingVersion);
		WriteContainerBody(w, bc);
	}
	catch (const std::bad_alloc&)
	{
		out.resize(start);
		return false;
	}
	return true;
}

bool DecodeContainerPrefix(const std::uint8_t* data, size_t size, BaseContainer* bc, size_t* used, std::string* error)
{
	BaseContainer result;
	Decoder d(data, size);
	bool ok = false;
	try
	{
		std::uint32_t version = 0;
		if (!d.Reader().U32(&version))
			d.Fail("missing encoding version");
		else if (version != kContainerEncodingVersion)
			d.Fail("unsupported encoding version " + std::to_string(version));
		else
			ok = d.Container(&result, 0);
	}
	catch (const std::bad_alloc&)
	{
		ok = d.Fail("out of memory");
	}
	if (!ok)
	{
		if (error)
			*error = d.Error();
		if (bc)
			*bc = BaseContainer();
		return false;
	}
	if (used)
		*used = d.Reader().Position();
	if (bc)
		*bc = std::move(result);
	return true;
}

bool DecodeContainer(const std::uint8_t* data, size_t size, BaseContainer* bc, std::string* error)
{
	size_t used = 0;
	if (!DecodeContainerPrefix(data, size, bc, &used, error))
		return false;
	if (used != size)
	{
		if (error)
			*error = std::to_string(size - used) + " stray bytes after the container";
		if (bc)
			*bc = BaseContainer();
		return false;
	}
	return true;
}

} // namespace standin::data
