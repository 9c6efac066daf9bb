// BaseContainer: a keyed store of typed values that keeps its entries in insertion order. A side
// index makes look-ups constant time, since set files hold one key per stored item.
#include <unordered_map>
#include <utility>
#include <vector>

#include "hostapi/container.h"

struct BaseContainer::Impl
{
	Int32 id = 0;
	std::vector<std::pair<Int32, GeData>> entries;
	std::unordered_map<Int32, size_t> index;

	void Reindex()
	{
		index.clear();
		for (size_t i = 0; i < entries.size(); ++i)
			index[entries[i].first] = i;
	}
	const GeData* Find(Int32 key) const
	{
		const auto it = index.find(key);
		return it == index.end() ? nullptr : &entries[it->second].second;
	}
	GeData* Find(Int32 key)
	{
		const auto it = index.find(key);
		return it == index.end() ? nullptr : &entries[it->second].second;
	}
};

BaseContainer::BaseContainer(Int32 id) : _d(new Impl())
{
	_d->id = id;
}

BaseContainer::BaseContainer(const BaseContainer& o) : _d(new Impl())
{
	// GeData copies are deep, so nested containers and custom data are copied too.
	_d->id = o._d->id;
	_d->entries = o._d->entries;
	_d->index = o._d->index;
}

BaseContainer& BaseContainer::operator=(const BaseContainer& o)
{
	if (this != &o)
	{
		BaseContainer copy(o);
		std::swap(_d, copy._d);
	}
	return *this;
}

// A moved-from container stays usable (empty) because it receives a fresh store.
BaseContainer::BaseContainer(BaseContainer&& o) noexcept : _d(new Impl())
{
	std::swap(_d, o._d);
}

BaseContainer& BaseContainer::operator=(BaseContainer&& o) noexcept
{
	if (this != &o)
		std::swap(_d, o._d);
	return *this;
}

BaseContainer::~BaseContainer()
{
	delete _d;
}

Int32 BaseContainer::GetId() const
{
	return _d->id;
}

void BaseContainer::SetId(Int32 id)
{
	_d->id = id;
}

Int32 BaseContainer::GetCount() const
{
	return static_cast<Int32>(_d->entries.size());
}

bool BaseContainer::GetIndex(Int32 i, Int32* id, const GeData** value) const
{
	if (i < 0 || static_cast<size_t>(i) >= _d->entries.size())
		return false;
	const auto& entry = _d->entries[static_cast<size_t>(i)];
	if (id)
		*id = entry.first;
	if (value)
		*value = &entry.second;
	return true;
}

bool BaseContainer::Contains(Int32 id) const
{
	return _d->index.count(id) != 0;
}

bool BaseContainer::RemoveData(Int32 id)
{
	const auto it = _d->index.find(id);
	if (it == _d->index.end())
		return false;
	_d->entries.erase(_d->entries.begin() + static_cast<std::ptrdiff_t>(it->second));
	_d->Reindex();
	return true;
}

void BaseContainer::FlushAll()
{
	_d->entries.clear();
	_d->index.clear();
}

void BaseContainer::CopyTo(BaseContainer* dst) const
{
	if (!dst || dst == this)
		return;
	for (const auto& [id, value] : _d->entries)
		dst->SetData(id, value);
}

const GeData* BaseContainer::GetDataPointer(Int32 id) const
{
	return _d->Find(id);
}

GeData* BaseContainer::GetDataPointerWritable(Int32 id)
{
	return _d->Find(id);
}

GeData BaseContainer::GetData(Int32 id) const
{
	const GeData* d = _d->Find(id);
	return d ? *d : GeData();
}

void BaseContainer::SetData(Int32 id, const GeData& value)
{
	// value may live inside this container (or inside a cell it holds), so copy it before the
	// store changes.
	GeData copy(value);
	if (GeData* existing = _d->Find(id))
	{
		*existing = std::move(copy);
		return;
	}
	_d->entries.emplace_back(id, std::move(copy));
	_d->index[id] = _d->entries.size() - 1;
}

namespace
{
bool IsNumeric(const GeData* d)
{
	if (!d)
		return false;
	const Int32 t = d->GetType();
	return t == DA_LONG || t == DA_LLONG || t == DA_REAL;
}
} // namespace

Int32 BaseContainer::GetInt32(Int32 id, Int32 preset) const
{
	const GeData* d = _d->Find(id);
	return IsNumeric(d) ? d->GetInt32() : preset;
}

Int64 BaseContainer::GetInt64(Int32 id, Int64 preset) const
{
	const GeData* d = _d->Find(id);
	return IsNumeric(d) ? d->GetInt64() : preset;
}

Float BaseContainer::GetFloat(Int32 id, Float preset) const
{
	const GeData* d = _d->Find(id);
	return IsNumeric(d) ? d->GetFloat() : preset;
}

bool BaseContainer::GetBool(Int32 id, bool preset) const
{
	const GeData* d = _d->Find(id);
	return IsNumeric(d) ? d->GetBool() : preset;
}

Vector BaseContainer::GetVector(Int32 id, const Vector& preset) const
{
	const GeData* d = _d->Find(id);
	return (d && d->GetType() == DA_VECTOR) ? d->GetVector() : preset;
}

Matrix BaseContainer::GetMatrix(Int32 id, const Matrix& preset) const
{
	const GeData* d = _d->Find(id);
	return (d && d->GetType() == DA_MATRIX) ? d->GetMatrix() : preset;
}

String BaseContainer::GetString(Int32 id, const String& preset) const
{
	const GeData* d = _d->Find(id);
	return (d && d->GetType() == DA_STRING) ? d->GetString() : preset;
}

BaseList2D* BaseContainer::GetLink(Int32 id, BaseDocument* doc) const
{
	const GeData* d = _d->Find(id);
	return d ? d->GetLink(doc) : nullptr;
}

BaseContainer BaseContainer::GetContainer(Int32 id) const
{
	const GeData* d = _d->Find(id);
	const BaseContainer* bc = d ? d->GetContainer() : nullptr;
	return bc ? *bc : BaseContainer();
}

const CustomDataType* BaseContainer::GetCustomDataType(Int32 id, Int32 customTypeId) const
{
	const GeData* d = _d->Find(id);
	return d ? d->GetCustomDataType(customTypeId) : nullptr;
}

void BaseContainer::SetInt32(Int32 id, Int32 v)
{
	SetData(id, GeData(v));
}

void BaseContainer::SetInt64(Int32 id, Int64 v)
{
	SetData(id, GeData(v));
}

void BaseContainer::SetFloat(Int32 id, Float v)
{
	SetData(id, GeData(v));
}

void BaseContainer::SetBool(Int32 id, bool v)
{
	SetData(id, GeData(v));
}

void BaseContainer::SetVector(Int32 id, const Vector& v)
{
	SetData(id, GeData(v));
}

void BaseContainer::SetMatrix(Int32 id, const Matrix& v)
{
	SetData(id, GeData(v));
}

void BaseContainer::SetString(Int32 id, const String& v)
{
	SetData(id, GeData(v));
}

void BaseContainer::SetLink(Int32 id, BaseList2D* element)
{
	GeData d;
	d.SetLink(element);
	SetData(id, d);
}

void BaseContainer::SetContainer(Int32 id, const BaseContainer& v)
{
	SetData(id, GeData(v));
}

// Equal when the ids match and both hold the same keys with equal values; the order in which
// the keys were added does not matter.
bool BaseContainer::operator==(const BaseContainer& o) const
{
	if (this == &o)
		return true;
	if (_d->id != o._d->id || _d->entries.size() != o._d->entries.size())
		return false;
	for (const auto& [id, value] : _d->entries)
	{
		const GeData* other = o._d->Find(id);
		if (!other || *other != value)
			return false;
	}
	return true;
}
