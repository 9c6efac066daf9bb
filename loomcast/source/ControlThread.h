// The projection post-pass on worker threads: texture transfer (every corner of the new polygons
// takes the texture coordinate of a source object where the view's line of sight through it meets
// the source) and surface projection (every point moves onto a target's surface along its normal,
// then off it by the offset setting).
//
// The result does not depend on the number of threads: the workers read the mesh as it was when
// the run began (its points and its vertex normals, taken once), each point is claimed by exactly
// one worker through an atomic test-and-set on its flag, and the offsets are applied after every
// worker has finished, along the normals of the projected mesh. All the run's work but that
// preparation and the offsets is done by the workers, so a run on n workers keeps to n
// processors (the host sizes its acceleration builds to the pool).
#pragma once

#include <condition_variable>
#include <mutex>

#include "hostapi/container.h"
#include "hostapi/thread.h"
#include "hostapi/view.h"

// The surface target flattened into world space, one copy for the whole run. The first worker
// makes it before its own polygons, so that on several workers it is made while the others
// already transfer texture; every worker waits for it before its surface projection.
class SharedSurface
{
public:
	SharedSurface() = default;
	~SharedSurface();
	SharedSurface(const SharedSurface&) = delete;
	SharedSurface& operator=(const SharedSurface&) = delete;

	// Makes the copy (none when target is nullptr or the copy fails) and lets every waiter go.
	void Make(BaseDocument* doc, BaseObject* target);
	// The copy once Make has finished; nullptr: no surface to project onto.
	PolygonObject* Wait();

private:
	std::mutex _mutex;
	std::condition_variable _made;
	bool _ready = false;
	PolygonObject* _copy = nullptr;
};

// What every worker of one run reads; set up by the control thread before the workers start.
struct ProjectionShared
{
	const Vector* original = nullptr; // the mesh's points as the run found them
	const Vector* normals = nullptr;  // their vertex normals, unit, in world space
	Vector* points = nullptr;         // the mesh's points; a worker writes only the ones it claims
	SharedSurface surface;            // made by worker 0 when there is a surface target
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
	ProjectionShared* shared = nullptr;
	bool makesSurface = false; // this worker makes the run's flattened copy of surfaceTarget

private:
	void TransferTexture();
	void ProjectOntoSurface(PolygonObject* surface);
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
