#include <atomic>
#include <random>

#include "scene/object_data.h"

namespace scene
{
namespace
{

// Identities are kept in saved scenes and in the plug-ins' files (saved sets, placements), which
// outlive a run of the host and are searched in whatever scene is open. Were every run to count
// from 1, the objects of a new scene would answer to the identities stored for another scene's
// objects. So each run counts up from its own random start in [2^32, 2^62): unique within the run,
// and apart from other runs' identities, with room to count without ever wrapping.
UInt64 FirstGuidOfThisRun()
{
	std::random_device source;
	const UInt64 high = (static_cast<UInt64>(source()) << 32) | source();
	return (UInt64{1} << 32) + high % ((UInt64{1} << 62) - (UInt64{1} << 32));
}

std::atomic<UInt64> nextGuid{FirstGuidOfThisRun()};

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
		NoteStructureChange();
	}
}

} // namespace scene
