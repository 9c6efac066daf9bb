// GeData: one typed value cell. An empty cell (DA_NIL) carries no storage at all, so default
// construction and moves never allocate.
#include <cmath>
#include <limits>
#include <new>

#include "hostapi/baselist.h"
#include "hostapi/document.h"

struct GeData::Impl
{
	Int32 type = DA_NIL;
	Int64 integer = 0; // DA_LONG and DA_LLONG
	Float real = 0.0;
	Vector vec;
	Matrix mat;
	String str;
	BaseContainer* container = nullptr;
	BaseLink* link = nullptr; // owned; may be nullptr for an empty link
	CustomDataType* custom = nullptr;

	Impl() = default;
	Impl(const Impl&) = delete;
	Impl& operator=(const Impl&) = delete;
	~Impl()
	{
		delete container;
		if (link)
			BaseLink::Free(link);
		delete custom;
	}

	Impl* Copy() const
	{
		Impl* c = new Impl();
		c->type = type;
		c->integer = integer;
		c->real = real;
		c->vec = vec;
		c->mat = mat;
		c->str = str;
		if (container)
			c->container = new BaseContainer(*container);
		if (link)
			c->link = link->GetClone();
		if (custom)
		{
			c->custom = custom->Clone();
			// A clone that could not be made leaves an empty cell rather than a dangling type.
			if (!c->custom)
				c->type = DA_NIL;
		}
		return c;
	}
};

namespace
{

template <typename T>
T ClampFloat(Float v)
{
	if (std::isnan(v))
		return 0;
	constexpr Float lo = static_cast<Float>(std::numeric_limits<T>::min());
	constexpr Float hi = static_cast<Float>(std::numeric_limits<T>::max());
	if (v <= lo)
		return std::numeric_limits<T>::min();
	// hi may round up past the type's range (2^63 for Int64), so compare with >=.
	if (v >= hi)
		return std::numeric_limits<T>::max();
	return static_cast<T>(v);
}

Int32 ClampInt64(Int64 v)
{
	if (v < std::numeric_limits<Int32>::min())
		return std::numeric_limits<Int32>::min();
	if (v > std::numeric_limits<Int32>::max())
		return std::numeric_limits<Int32>::max();
	return static_cast<Int32>(v);
}

} // namespace

GeData::GeData() : _d(nullptr) {}

GeData::GeData(Int32 v) : _d(new Impl())
{
	_d->type = DA_LONG;
	_d->integer = v;
}

GeData::GeData(bool v) : GeData(static_cast<Int32>(v ? 1 : 0)) {}

GeData::GeData(Int64 v) : _d(new Impl())
{
	_d->type = DA_LLONG;
	_d->integer = v;
}

GeData::GeData(Float v) : _d(new Impl())
{
	_d->type = DA_REAL;
	_d->real = v;
}

GeData::GeData(const Vector& v) : _d(new Impl())
{
	_d->type = DA_VECTOR;
	_d->vec = v;
}

GeData::GeData(const Matrix& v) : _d(new Impl())
{
	_d->type = DA_MATRIX;
	_d->mat = v;
}

GeData::GeData(const String& v) : _d(new Impl())
{
	_d->type = DA_STRING;
	_d->str = v;
}

GeData::GeData(const char* v) : GeData(String(v)) {}

GeData::GeData(const BaseContainer& v) : _d(new Impl())
{
	_d->type = DA_CONTAINER;
	_d->container = new BaseContainer(v);
}

GeData::GeData(const CustomDataType& v) : _d(nullptr)
{
	SetCustomDataType(v);
}

GeData::GeData(const GeData& o) : _d(o._d ? o._d->Copy() : nullptr) {}

GeData& GeData::operator=(const GeData& o)
{
	if (this != &o)
	{
		Impl* copy = o._d ? o._d->Copy() : nullptr;
		delete _d;
		_d = copy;
	}
	return *this;
}

GeData::GeData(GeData&& o) noexcept : _d(o._d)
{
	o._d = nullptr;
}

GeData& GeData::operator=(GeData&& o) noexcept
{
	if (this != &o)
	{
		delete _d;
		_d = o._d;
		o._d = nullptr;
	}
	return *this;
}

GeData::~GeData()
{
	delete _d;
}

Int32 GeData::GetType() const
{
	return _d ? _d->type : DA_NIL;
}

Int32 GeData::GetCustomDataTypeId() const
{
	return (_d && _d->type == DA_CUSTOMDATA && _d->custom) ? _d->custom->GetCustomTypeId() : 0;
}

Int32 GeData::GetInt32() const
{
	switch (GetType())
	{
		case DA_LONG: return static_cast<Int32>(_d->integer);
		case DA_LLONG: return ClampInt64(_d->integer);
		case DA_REAL: return ClampFloat<Int32>(_d->real);
		default: return 0;
	}
}

Int64 GeData::GetInt64() const
{
	switch (GetType())
	{
		case DA_LONG:
		case DA_LLONG: return _d->integer;
		case DA_REAL: return ClampFloat<Int64>(_d->real);
		default: return 0;
	}
}

Float GeData::GetFloat() const
{
	switch (GetType())
	{
		case DA_LONG:
		case DA_LLONG: return static_cast<Float>(_d->integer);
		case DA_REAL: return _d->real;
		default: return 0.0;
	}
}

bool GeData::GetBool() const
{
	switch (GetType())
	{
		case DA_LONG:
		case DA_LLONG: return _d->integer != 0;
		case DA_REAL: return _d->real != 0.0;
		default: return false;
	}
}

Vector GeData::GetVector() const
{
	return GetType() == DA_VECTOR ? _d->vec : Vector();
}

Matrix GeData::GetMatrix() const
{
	return GetType() == DA_MATRIX ? _d->mat : Matrix();
}

String GeData::GetString() const
{
	return GetType() == DA_STRING ? _d->str : String();
}

BaseList2D* GeData::GetLink(BaseDocument* doc) const
{
	if (GetType() != DA_ALIASLINK || !_d->link)
		return nullptr;
	// Without a document the active one is meant; with none active, any document will do.
	return _d->link->GetLink(doc ? doc : GetActiveDocument());
}

const BaseLink* GeData::GetBaseLink() const
{
	return GetType() == DA_ALIASLINK ? _d->link : nullptr;
}

const BaseContainer* GeData::GetContainer() const
{
	return GetType() == DA_CONTAINER ? _d->container : nullptr;
}

const CustomDataType* GeData::GetCustomDataType(Int32 customTypeId) const
{
	return GetCustomDataTypeId() == customTypeId && customTypeId != 0 ? _d->custom : nullptr;
}

CustomDataType* GeData::GetCustomDataTypeWritable(Int32 customTypeId)
{
	return GetCustomDataTypeId() == customTypeId && customTypeId != 0 ? _d->custom : nullptr;
}

void GeData::SetLink(BaseList2D* element)
{
	Impl* n = new Impl();
	n->type = DA_ALIASLINK;
	n->link = BaseLink::Alloc();
	if (n->link)
		n->link->SetLink(element);
	delete _d;
	_d = n;
}

void GeData::SetBaseLink(const BaseLink& link)
{
	// Clone before releasing the old cell: link may be the one this cell owns.
	Impl* n = new Impl();
	n->type = DA_ALIASLINK;
	n->link = link.GetClone();
	delete _d;
	_d = n;
}

void GeData::SetCustomDataType(const CustomDataType& data)
{
	CustomDataType* copy = data.Clone();
	Impl* n = nullptr;
	if (copy)
	{
		n = new Impl();
		n->type = DA_CUSTOMDATA;
		n->custom = copy;
	}
	delete _d;
	_d = n;
}

void GeData::Free()
{
	delete _d;
	_d = nullptr;
}

bool GeData::operator==(const GeData& o) const
{
	const Int32 type = GetType();
	if (type != o.GetType())
		return false;
	switch (type)
	{
		case DA_NIL: return true;
		case DA_LONG:
		case DA_LLONG: return _d->integer == o._d->integer;
		case DA_REAL: return _d->real == o._d->real;
		case DA_VECTOR: return _d->vec == o._d->vec;
		case DA_MATRIX: return _d->mat == o._d->mat;
		case DA_STRING: return _d->str == o._d->str;
		case DA_CONTAINER: return *_d->container == *o._d->container;
		case DA_ALIASLINK:
		{
			// Links are equal when they name the same element (or both name none).
			BaseList2D* a = _d->link ? _d->link->GetLink(nullptr) : nullptr;
			BaseList2D* b = o._d->link ? o._d->link->GetLink(nullptr) : nullptr;
			return a == b;
		}
		case DA_CUSTOMDATA: return _d->custom->IsEqual(*o._d->custom);
		default: return false;
	}
}
