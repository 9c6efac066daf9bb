#include "ControlThread.h"

#include <atomic>

#include "KernelTags.h"
#include "Dtool.h"
#include "NormalTables.h"
#include "Normals.h"
#include "ToolSettings.h"
#include "hostapi/memory.h"

namespace
{
// The busy cursor for as long as the run lasts, the normal one again however it ends.
struct BusyCursor
{
	BusyCursor() { GeShowMouse(MOUSE_BUSY); }
	~BusyCursor() { GeShowMouse(MOUSE_NORMAL); }
	BusyCursor(const BusyCursor&) = delete;
	BusyCursor& operator=(const BusyCursor&) = delete;
};

// The run's workers, destroyed with it; kept as the pool takes them.
class Workers
{
public:
	explicit Workers(Int32 n) : _list(DTOOL_SOURCE), _n(n) {}
	~Workers()
	{
		for (Int32 i = 0; _list.Data() && i < _list.GetCount(); ++i)
		{
			MPTest* w = static_cast<MPTest*>(_list[i]);
			DeleteObj(w);
		}
	}
	bool Make()
	{
		if (!_list.Resize(_n))
			return false;
		for (Int32 i = 0; i < _n; ++i)
			_list[i] = nullptr;
		for (Int32 i = 0; i < _n; ++i)
		{
			_list[i] = NewObjTagged(MPTest, DTOOL_SOURCE);
			if (!_list[i])
				return false;
		}
		return true;
	}
	MPTest* operator[](Int32 i) { return static_cast<MPTest*>(_list[i]); }
	C4DThread** Threads() { return _list.Data(); }

private:
	HostArray<C4DThread*> _list;
	Int32 _n;
};

const String kCpuResult("CPU Result Time:");
} // namespace

SharedSurface::~SharedSurface()
{
	BaseObject* dead = _copy;
	BaseObject::Free(dead);
}

void SharedSurface::Make(BaseDocument* doc, BaseObject* target)
{
	PolygonObject* copy = target ? DTOOL().FlattenedCopy(doc, target) : nullptr;
	{
		std::lock_guard<std::mutex> lock(_mutex);
		_copy = copy;
		_ready = true;
	}
	_made.notify_all();
}

PolygonObject* SharedSurface::Wait()
{
	std::unique_lock<std::mutex> lock(_mutex);
	_made.wait(lock, [this] { return _ready; });
	return _copy;
}

Int32 WorkerCount(Int32 setting, Int32 polygons)
{
	if (polygons <= 0)
		return 0;
	const Int32 n = setting < 1 ? 1 : setting;
	return n > polygons ? polygons : n;
}

void SplitRuns(Int32 polygons, Int32 workers, Int32* counts)
{
	if (workers <= 0)
		return;
	const Int32 q = polygons / workers;
	const Int32 longer = polygons - workers * q;
	for (Int32 i = 0; i < workers; ++i)
		counts[i] = q + (i < longer ? 1 : 0);
}

String TimingText(Int32 workers, Int32 elapsedMs)
{
	const String head = String::IntToString(workers) + kCpuResult;
	if (elapsedMs > 1000)
		return head + String::FloatToString(static_cast<Float>(elapsedMs) / 1000.0) + String("s");
	return head + String::IntToString(elapsedMs) + String("ms");
}

String PlainResultText()
{
	return String("Result Time:");
}

bool ControlThread::TestDBreak()
{
	BaseContainer state;
	return GetInputState(BFM_INPUT_KEYBOARD, BFM_INPUT_CHANNEL, state) && state.GetInt32(BFM_INPUT_CHANNEL) == KEY_ESC;
}

void ControlThread::Main()
{
	BusyCursor busy;
	if (!mesh)
		return;
	const Int32 polygons = endPolygon - firstPolygon;
	const Int32 n = WorkerCount(settings.GetInt32(LOOM_THREADS), polygons);
	if (firstPolygon < 0 || endPolygon > mesh->GetPolygonCount())
		return;
	if (n == 0)
	{
		// Nothing to do is done at once, and says so.
		if (resultText)
			*resultText = TimingText(0, 0);
		return;
	}
	const Int32 pointCount = mesh->GetPointCount();
	Workers workers(n);
	HostArray<Int32> counts(DTOOL_SOURCE);
	HostArray<UChar> flags(DTOOL_SOURCE);
	HostArray<Vector> original(DTOOL_SOURCE), normals(DTOOL_SOURCE);
	if (!workers.Make() || !counts.Resize(n) || !flags.Resize(pointCount) || !original.Resize(pointCount) || !normals.Resize(pointCount))
		return;
	for (Int32 p = 0; p < pointCount; ++p)
		flags[p] = 0;

	const Int32 started = GeGetTimer();
	ProjectionShared shared;
	shared.mg = mesh->GetMg();
	shared.toLocal = InvertMatrix(shared.mg);
	const Vector* pts = mesh->GetPointR();
	for (Int32 p = 0; p < pointCount; ++p)
		original[p] = pts[p];
	shared.original = original.Data();
	if (surfaceTarget)
	{
		VertexNormalTable(mesh, normals.Data());
		for (Int32 p = 0; p < pointCount; ++p)
			normals[p] = GetNormalized(shared.mg.TransformVector(normals[p]));
	}
	shared.normals = normals.Data();
	shared.points = pointCount > 0 ? mesh->GetPointW() : nullptr;

	SplitRuns(polygons, n, counts.Data());
	Int32 from = firstPolygon;
	for (Int32 i = 0; i < n; ++i)
	{
		MPTest* w = workers[i];
		w->mesh = mesh;
		w->uvSource = uvSource;
		w->surfaceTarget = surfaceTarget;
		w->document = document;
		w->view = view;
		w->settings = settings;
		w->firstPolygon = from;
		w->endPolygon = from + counts[i];
		w->flags = flags.Data();
		w->shared = &shared;
		// Worker 0 starts first, so a pool that fails part way never leaves the others waiting
		// for a copy nobody makes.
		w->makesSurface = i == 0 && surfaceTarget;
		from += counts[i];
	}

	MPThreadPool pool;
	if (!pool.Init(this, n, workers.Threads()) || !pool.Start(THREADPRIORITY_BELOW))
		return;
	pool.Wait();

	// The offsets, once every point has reached the surface: along the normals of the projected
	// mesh, the same for every point whichever worker moved it.
	const Float offset = settings.GetFloat(LOOM_OFFSET);
	if (surfaceTarget && offset != 0.0 && pointCount > 0)
	{
		HostArray<Vector> sums(DTOOL_SOURCE);
		HostArray<Int32> uses(DTOOL_SOURCE);
		if (!sums.Resize(pointCount) || !uses.Resize(pointCount))
			return;
		ScanNormalTable(mesh, normals.Data(), sums.Data(), uses.Data());
		for (Int32 p = 0; p < pointCount; ++p)
		{
			if (flags[p])
				shared.points[p] += normals[p] * offset;
		}
	}
	mesh->Message(MSG_UPDATE);
	const Int32 elapsed = GeGetTimer() - started;
	if (resultText)
		*resultText = TimingText(n, elapsed);
}
