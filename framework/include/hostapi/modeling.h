// Modelling commands of the host.
#pragma once

#include "hostapi/document.h"

enum : Int32
{
	MCOMMAND_CURRENTSTATETOOBJECT = 245,
	MCOMMAND_JOIN = 246,
	// Rebuilds a spline as {2015: N} points evenly spaced along it (with {2016: 4}).
	MCOMMAND_SPLINE_RESAMPLE = 450000039,
};

// Parameters of MCOMMAND_SPLINE_RESAMPLE.
enum : Int32
{
	MDATA_SPLINE_RESAMPLE_COUNT = 2015,
	MDATA_SPLINE_RESAMPLE_MODE = 2016,
};

struct ModelingCommandData
{
	BaseDocument* doc = nullptr;
	// The element the command works on (commands that take one).
	BaseList2D* op = nullptr;
	// Several elements (join).
	AtomArray* arr = nullptr;
	// Parameters; nullptr means none.
	BaseContainer* bc = nullptr;
	// Filled by commands that make new objects; the caller frees them.
	AtomArray* result = nullptr;
};

// Runs a host modelling command. Answers false (and changes nothing) on bad input or failure.
bool SendModelingCommand(Int32 command, ModelingCommandData& data);

// Flags of Modeling::CreateNgon and Modeling::Commit. The host records them with each call; the
// effects the tools rely on are those stated here.
enum : Int32
{
	MODELING_SETNGON_FLAG_NONE = 0,
	MODELING_SETNGON_FLAG_FIXEDQUADS = 8, // keep a four-corner polygon as one quad, never split it
	MODELING_COMMIT_UPDATE = 1,           // the object's points and polygons are replaced by the result
	MODELING_COMMIT_RESTORE = 8,          // (with UPDATE) keep the selections of the old elements
	MODELING_COMMIT_NOVALIDATION = 64,    // (with UPDATE) skip the host's topology checks
};

// The host's modelling kernel: points and polygons are added to an object in a pending state and
// reach the object together at Commit. Point indices below the object's point count name its
// existing points; AddPoint answers the index the new point will have once committed (the count
// before plus the number added so far), so polygons can use new and old points alike and
// neighbouring polygons share points.
class Modeling
{
public:
	static Modeling* Alloc();
	static void Free(Modeling*& krnl);

	// Starts work on a polygon object; false for anything else (or when memory is short).
	bool InitObject(BaseObject* op, Int32 flags = 0);
	// A new point at p (object space); -1 when the object was not initialised or memory is short.
	Int32 AddPoint(BaseObject* op, const Vector& p);
	// A new polygon over `count` (3 or 4) point indices, in their order; answers its index in the
	// committed object, or -1 (and nothing is added) when an index names no point.
	Int32 CreateNgon(BaseObject* op, const Int32* padr, Int32 count, Int32 flags = MODELING_SETNGON_FLAG_NONE);
	// Splits the edge between points p1 and p2 of a pending or existing polygon at the fraction t
	// (0 at p1, 1 at p2; held to that range): a new point there, inserted into every polygon that
	// has that edge. Answers the new point's index, or -1 when no polygon has the edge.
	// Polygons here have at most four corners: at Commit a polygon with split points becomes a
	// strip of quads when it is a quad whose two opposite sides received the same number of
	// points (and no other side any), otherwise triangles; its first piece keeps its index, the
	// others are appended after the polygons created.
	Int32 SplitEdge(BaseObject* op, Int32 p1, Int32 p2, Float t);
	// Writes the pending work into the object (flags as above); false (and the object unchanged)
	// when nothing was initialised or memory is short. op nullptr commits every initialised object.
	// Without MODELING_COMMIT_UPDATE nothing is written and the answer is false. The object stays
	// initialised for more work; after a failed commit the pending work is kept.
	bool Commit(BaseObject* op = nullptr, Int32 flags = MODELING_COMMIT_UPDATE);

protected:
	Modeling() = default;
	~Modeling() = default;
};

// Rewrites links in copies: while active, every GetClone records which element became which
// copy; Translate then points links inside the copies at the copies instead of the originals.
class AliasTrans
{
public:
	static AliasTrans* Alloc();
	static void Free(AliasTrans*& trans);
	// Starts recording (again): forgets the copies recorded before.
	bool Init(const BaseDocument* doc);
	// connectOldGoals true: links to elements that were not copied keep naming them; false: such
	// parameter links are emptied. Copies freed since they were made are skipped.
	void Translate(bool connectOldGoals);

protected:
	AliasTrans() = default;
	~AliasTrans() = default;
};
