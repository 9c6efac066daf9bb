#include "ElementSearch.h"

#include <cstring>

#include "PtrArray.h"

namespace
{

bool HasMarker(const BaseMaterial* mat, UInt64 identity)
{
	const Int32 count = mat->GetUniqueIDCount();
	for (Int32 i = 0; i < count; ++i)
	{
		Int32 appId = 0;
		const Char* data = nullptr;
		Int64 bytes = 0;
		if (mat->GetUniqueIDIndex(i, &appId, &data, &bytes) && IsMarkerData(data, bytes) && MarkerIdentity(appId) == identity)
			return true;
	}
	return false;
}

} // namespace

bool IsMarkerData(const Char* data, Int64 bytes)
{
	if (!data || bytes <= 0)
		return false;
	const std::size_t limit = static_cast<std::size_t>(bytes);
	const std::size_t length = strnlen(data, limit);
	const std::size_t markerLength = std::strlen(MATERIAL_MARKER_TEXT);
	return length == markerLength && std::memcmp(data, MATERIAL_MARKER_TEXT, markerLength) == 0;
}

bool ReadMaterialMarker(const BaseMaterial* mat, UInt64* identity)
{
	if (!mat)
		return false;
	const Int32 count = mat->GetUniqueIDCount();
	for (Int32 i = 0; i < count; ++i)
	{
		Int32 appId = 0;
		const Char* data = nullptr;
		Int64 bytes = 0;
		if (mat->GetUniqueIDIndex(i, &appId, &data, &bytes) && IsMarkerData(data, bytes))
		{
			*identity = MarkerIdentity(appId);
			return true;
		}
	}
	return false;
}

bool AddMaterialMarker(BaseMaterial* mat, UInt64* identity)
{
	if (!mat)
		return false;
	const Int32 appId = GeGetUniqueCounter();
	const Int64 bytes = static_cast<Int64>(std::strlen(MATERIAL_MARKER_TEXT)) + 1;
	if (!mat->AddUniqueID(appId, MATERIAL_MARKER_TEXT, bytes))
		return false;
	*identity = MarkerIdentity(appId);
	return true;
}

BaseObject* FindObjectByIdentity(BaseDocument* doc, UInt64 identity)
{
	if (!doc)
		return nullptr;
	BaseObject* result = nullptr;
	// Sibling chains still to be walked once the current one ends; kept on the heap so that a deep
	// hierarchy cannot exhaust the stack.
	PtrArray<BaseObject> pending;
	BaseObject* op = doc->GetFirstObject();
	for (;;)
	{
		while (op)
		{
			if (op->GetGUID() == identity)
			{
				result = op;
				break;
			}
			BaseObject* child = op->GetDown();
			if (child)
			{
				if (!pending.Append(op->GetNext()))
					return result;
				op = child;
			}
			else
				op = op->GetNext();
		}
		if (pending.IsEmpty())
			break;
		op = pending.Get(pending.GetCount() - 1);
		pending.RemoveAt(pending.GetCount() - 1);
	}
	return result;
}

BaseMaterial* FindMaterialByMarker(BaseDocument* doc, UInt64 identity)
{
	if (!doc)
		return nullptr;
	for (BaseMaterial* mat = doc->GetFirstMaterial(); mat; mat = mat->GetNext())
	{
		if (HasMarker(mat, identity))
			return mat;
	}
	return nullptr;
}
