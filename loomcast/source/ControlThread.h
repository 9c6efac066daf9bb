// The projection post-pass on worker threads: texture transfer (every corner of the new polygons
// takes the texture coordinate of a source object where the view's line of sight through it meets
// the source) and surface projection (every point moves onto a target's surface along its normal,
// then off it by the offset setting).
//
// The result does not depend on the number of threads: the workers read the mesh as it was when
// the run began (its points and its vertex normals, taken once), each point is claimed by exactly
// one worker through an atomic test-and-set on its flag, and the offsets are applied after every
// worker has finished, along the normals of the projected mesh.
#pragma once

#include "hostapi/container.h"
#include "hostapi/thread.h"
#include "hostapi/view.h"

// What every worker of one run reads; set up by the control thread before the workers start.
struct ProjectionShared
{
	const Vector* original = nullptr; // the mesh's points as the run found them
	const Vector* normals = nullptr;  // their vertex normals, unit, in world space
	Vector* points = nullptr;         // the mesh's points; a worker writes only the ones it claims
	PolygonObject* surface = nullptr; // the target flattened into world space; nullptr: no projection
	Matrix mg;                        // the mesh's global matrix
	Matrix toLocal;                   // and its inverse
};

class MPTest : public C4DThread
{
public:
	~MPTest() override = default;
	bool TestDBreak() override { return false; }
	void Main() override;
	const char* GetThreadName() override { return "SDK MpTest"; }

	PolygonObject* mesh = nullptr;
	BaseObject* uvSource = nullptr;
	BaseObject* surfaceTarget = nullptr;
	BaseDocument* document = nullptr;
	BaseDraw* view = nullptr;
	BaseContainer settings;
	Int32 firstPolygon = 0, endPolygon = 0;
	UChar* flags = nullptr;
	const ProjectionShared* shared = nullptr;

private:
	void TransferTexture();
	void ProjectOntoSurface();
};

class ControlThread : public C4DThread
{
public:
	~ControlThread() override = default;
	// True while the user holds Escape.
	bool TestDBreak() override;
	void Main() override;
	const char* GetThreadName() override { return "SDK ControlThread"; }

	PolygonObject* mesh = nullptr;
	BaseObject* uvSource = nullptr;
	BaseObject* surfaceTarget = nullptr;
	BaseDocument* document = nullptr;
	BaseDraw* view = nullptr;
	BaseContainer settings;
	Int32 firstPolygon = 0, endPolygon = 0;
	String* resultText = nullptr;
};

// The number of workers for `setting` threads over `polygons` polygons: at least 1, never more
// than there are polygons, and 0 for no polygons.
Int32 WorkerCount(Int32 setting, Int32 polygons);
// Polygons per worker: counts[0 .. workers) differ by at most one, the longer runs first.
void SplitRuns(Int32 polygons, Int32 workers, Int32* counts);
// "<workers>CPU Result Time:" and the elapsed time: seconds ("1.5s") above 1000 ms, else "340ms".
String TimingText(Int32 workers, Int32 elapsedMs);
// The tool's read-out when no projection runs.
String PlainResultText();
