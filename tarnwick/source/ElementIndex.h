// Finding many elements by identity in one document: one walk of the scene, then each question is
// a binary search. The answers are exactly those of FindObjectByIdentity and FindMaterialByMarker
// (shared identities included), so a set of 10,000 members costs one walk, not 10,000.
#pragma once

#include "hostapi/api.h"

class ElementIndex
{
public:
	ElementIndex();
	ElementIndex(const ElementIndex&) = delete;
	ElementIndex& operator=(const ElementIndex&) = delete;

	// Indexes every object and material marker of doc (nullptr: an empty index). False when memory
	// ran out; the index then answers nothing.
	bool Build(BaseDocument* doc);
	// The same, but only when the index does not already answer for doc as it is now: built by an
	// earlier Update for the same document, and no element added, removed, moved or re-identified
	// since (the host's structure count says so). For callers that ask on every document change.
	bool Update(BaseDocument* doc);

	BaseObject* FindObject(UInt64 identity) const;
	BaseMaterial* FindMaterial(UInt64 marker) const;

private:
	struct ObjectRow
	{
		UInt64 identity;
		Int32 order; // position in the depth-first walk
	};
	struct MaterialRow
	{
		UInt64 marker;
		Int32 order; // position in the material list
		BaseMaterial* material;
	};

	bool IndexObjects(BaseDocument* doc);
	bool IndexMaterials(BaseDocument* doc);
	void Forget();

	// By walk position: the object, and the walk position where the rest of its sibling chain
	// (its later siblings and everything below them) ends.
	HostArray<BaseObject*> _objects;
	HostArray<Int32> _chainEnd;
	HostArray<ObjectRow> _objectRows;     // sorted by identity, then walk position
	HostArray<MaterialRow> _materialRows; // sorted by marker, then list position

	// What Update built the index for; _updated is false after Build, Forget or a failed Update.
	BaseDocument* _doc = nullptr;
	UInt64 _structure = 0;
	bool _updated = false;
};
