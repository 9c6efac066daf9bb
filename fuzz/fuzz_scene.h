// The small scene that the set file target reads sets against. Its objects and its material have
// fixed identities, so that the sets in the seed files (made by fuzz_seeds from the same scene)
// find their members.
#pragma once

#include "hostapi/document.h"
#include "hostapi/objects.h"
#include "scene/object_data.h"
#include "standin/scene.h"

namespace fuzz
{

constexpr UInt64 kFirstIdentity = 0x5eed0001;
constexpr Int32 kMaterialMarker = 424242;

inline BaseObject* AddNull(BaseDocument* doc, const char* name, UInt64 identity, BaseObject* parent = nullptr)
{
	BaseObject* op = BaseObject::Alloc(Onull);
	op->SetName(name);
	BaseObject* pred = parent ? parent->GetDown() : doc->GetFirstObject();
	while (pred && pred->GetNext())
		pred = pred->GetNext();
	doc->InsertObject(op, parent, pred);
	scene::SetObjectGuid(op, identity);
	return op;
}

// A new active document: Box (with Lid below it), Floor, Lamp, and the material Steel, which
// carries the manager's marker.
inline BaseDocument* MakeSetScene()
{
	BaseDocument* doc = standin::NewDocument();
	BaseObject* box = AddNull(doc, "Box", kFirstIdentity);
	AddNull(doc, "Lid", kFirstIdentity + 1, box);
	AddNull(doc, "Floor", kFirstIdentity + 2);
	AddNull(doc, "Lamp", kFirstIdentity + 3);
	BaseMaterial* steel = BaseMaterial::Alloc();
	steel->SetName("Steel");
	steel->AddUniqueID(kMaterialMarker, "Tarnwick", 9);
	doc->InsertMaterial(steel);
	return doc;
}

} // namespace fuzz
