#include <atomic>

#include "scene/object_data.h"

namespace scene
{
namespace
{

// Identities count up from 1 so that a scene described twice by the same script reads the same.
std::atomic<UInt64> nextGuid{1};

} // namespace

UInt64 NextObjectGuid()
{
	return nextGuid.fetch_add(1);
}

void NoteRestoredGuid(UInt64 guid)
{
	UInt64 current = nextGuid.load();
	while (guid >= current && guid != ~UInt64{0} && !nextGuid.compare_exchange_weak(current, guid + 1))
	{
	}
}

void SetObjectGuid(BaseObject* op, UInt64 guid)
{
	if (ObjectState* state = ObjectOf(op))
	{
		state->guid = guid;
		NoteRestoredGuid(guid);
	}
}

} // namespace scene
