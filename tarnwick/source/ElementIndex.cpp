#include "ElementIndex.h"

#include <algorithm>

#include "ElementSearch.h"

namespace
{
constexpr const char* SOURCE_TAG = "source\\Tarnwick";
constexpr Int64 MAX_ROWS = 0x7fffffff;
} // namespace

ElementIndex::ElementIndex()
	: _objects(SOURCE_TAG), _chainEnd(SOURCE_TAG), _objectRows(SOURCE_TAG), _materialRows(SOURCE_TAG)
{
}

void ElementIndex::Forget()
{
	_updated = false;
	_objects.Clear();
	_chainEnd.Clear();
	_objectRows.Clear();
	_materialRows.Clear();
}

bool ElementIndex::Build(BaseDocument* doc)
{
	Forget();
	if (!doc)
		return true;
	if (IndexObjects(doc) && IndexMaterials(doc))
		return true;
	Forget();
	return false;
}

bool ElementIndex::Update(BaseDocument* doc)
{
	const UInt64 structure = doc ? doc->GetStructureCount() : 0;
	if (_updated && doc == _doc && structure == _structure)
		return true;
	if (!Build(doc))
		return false;
	_doc = doc;
	_structure = structure;
	_updated = true;
	return true;
}

bool ElementIndex::IndexObjects(BaseDocument* doc)
{
	// Depth first in host order (an object, its children, then its next sibling), climbing through
	// the scene's own parent links so that a deep hierarchy costs no stack. Each object's parent is
	// remembered by walk position to find where the parent's part of the walk ends.
	HostArray<Int32> parents(SOURCE_TAG);
	HostArray<Int32> open(SOURCE_TAG); // walk positions of the objects whose children are being walked
	BaseObject* op = doc->GetFirstObject();
	while (op)
	{
		if (_objects.GetCount() >= MAX_ROWS)
			return false;
		const auto position = static_cast<Int32>(_objects.GetCount());
		if (!_objects.Append(op) || !parents.Append(open.IsEmpty() ? -1 : open[open.GetCount() - 1]))
			return false;
		if (BaseObject* child = op->GetDown())
		{
			if (!open.Append(position))
				return false;
			op = child;
			continue;
		}
		while (op && !op->GetNext())
		{
			op = op->GetUp();
			if (op && !open.IsEmpty())
				open.Resize(open.GetCount() - 1);
		}
		if (op)
			op = op->GetNext();
	}

	const Int64 count = _objects.GetCount();
	HostArray<Int32> sizes(SOURCE_TAG);
	if (!sizes.Resize(count) || !_chainEnd.Resize(count) || !_objectRows.Resize(count))
		return false;
	for (Int64 i = 0; i < count; ++i)
		sizes[i] = 1;
	// Children come after their parent in the walk, so one backward pass sums every part's size.
	for (Int64 i = count - 1; i >= 0; --i)
	{
		if (parents[i] >= 0)
			sizes[parents[i]] += sizes[i];
	}
	for (Int64 i = 0; i < count; ++i)
	{
		const Int32 parent = parents[i];
		_chainEnd[i] = parent < 0 ? static_cast<Int32>(count) : parent + sizes[parent];
		_objectRows[i] = ObjectRow{_objects[i]->GetGUID(), static_cast<Int32>(i)};
	}
	std::sort(_objectRows.begin(), _objectRows.end(), [](const ObjectRow& a, const ObjectRow& b) {
		return a.identity != b.identity ? a.identity < b.identity : a.order < b.order;
	});
	return true;
}

bool ElementIndex::IndexMaterials(BaseDocument* doc)
{
	Int32 order = 0;
	for (BaseMaterial* mat = doc->GetFirstMaterial(); mat; mat = mat->GetNext(), ++order)
	{
		const Int32 ids = mat->GetUniqueIDCount();
		for (Int32 i = 0; i < ids; ++i)
		{
			Int32 appId = 0;
			const Char* data = nullptr;
			Int64 bytes = 0;
			if (!mat->GetUniqueIDIndex(i, &appId, &data, &bytes) || !IsMarkerData(data, bytes))
				continue;
			if (_materialRows.GetCount() >= MAX_ROWS || !_materialRows.Append(MaterialRow{MarkerIdentity(appId), order, mat}))
				return false;
		}
	}
	std::sort(_materialRows.begin(), _materialRows.end(), [](const MaterialRow& a, const MaterialRow& b) {
		return a.marker != b.marker ? a.marker < b.marker : a.order < b.order;
	});
	return true;
}

BaseObject* ElementIndex::FindObject(UInt64 identity) const
{
	const ObjectRow* first = std::lower_bound(_objectRows.begin(), _objectRows.end(), identity,
		[](const ObjectRow& row, UInt64 id) { return row.identity < id; });
	if (first == _objectRows.end() || first->identity != identity)
		return nullptr;
	// The walk stops a sibling chain at its first match and goes on after that chain's part of the
	// tree; the match it meets last is the answer. Matches inside a skipped part are never met.
	Int32 found = first->order;
	for (const ObjectRow* row = first + 1; row != _objectRows.end() && row->identity == identity; ++row)
	{
		if (row->order >= _chainEnd[found])
			found = row->order;
	}
	return _objects[found];
}

BaseMaterial* ElementIndex::FindMaterial(UInt64 marker) const
{
	const MaterialRow* first = std::lower_bound(_materialRows.begin(), _materialRows.end(), marker,
		[](const MaterialRow& row, UInt64 m) { return row.marker < m; });
	return (first != _materialRows.end() && first->marker == marker) ? first->material : nullptr;
}
