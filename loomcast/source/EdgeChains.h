// Border runs of a mesh's edge selection, as ordered point lists, with one mean normal for all.
// The mesh builder connects new surface to these runs.
#pragma once

#include "hostapi/vector.h"

struct EdgeChain
{
	Int32 count = 0;          // number of point indices
	Int32* points = nullptr;  // owned; point indices in run order
};

struct EdgeChains
{
	Int32 chainCount = 0;
	EdgeChain* chains = nullptr; // owned; chainCount entries
	Vector meanNormal;           // mean vertex normal at the chains' edge points (object space)
	Int32 mark = -1;             // -1 after clearing; kept for the mesh builder

	EdgeChains() = default;
	EdgeChains(const EdgeChains&) = delete;
	EdgeChains& operator=(const EdgeChains&) = delete;
	// Releases what is still held, so a forgotten clear cannot leak.
	~EdgeChains();
};

// Releases every chain and resets the structure (count 0, zero normal, mark -1).
void ReleaseEdgeChains(EdgeChains& chains);
