#include "accel/embree_scene.h"

#include <embree3/rtcore.h>
#include <oneapi/tbb/task_arena.h>

#include <limits>
#include <thread>

#include "core/thread_share.h"

namespace accel
{
namespace
{

// Embree's error for this thread (read once: reading clears it), as words.
std::string ErrorText(RTCError code, const char* what)
{
	switch (code)
	{
		case RTC_ERROR_OUT_OF_MEMORY: return std::string(what) + ": not enough memory";
		case RTC_ERROR_UNSUPPORTED_CPU: return std::string(what) + ": this processor is not supported";
		case RTC_ERROR_INVALID_ARGUMENT: return std::string(what) + ": invalid argument";
		case RTC_ERROR_INVALID_OPERATION: return std::string(what) + ": invalid operation";
		case RTC_ERROR_CANCELLED: return std::string(what) + ": cancelled";
		default: return std::string(what) + ": unknown error";
	}
}

// One device for the whole run, made on first use. It is never released: scenes may live until
// the very end, and the device's worker threads need no orderly shutdown.
RTCDevice Device(std::string* error)
{
	struct Holder
	{
		RTCDevice device = nullptr;
		std::string error;
		Holder()
		{
			device = rtcNewDevice(nullptr);
			if (!device)
				error = ErrorText(rtcGetDeviceError(nullptr), "cannot start Embree");
		}
	};
	static const Holder holder;
	if (!holder.device && error)
		*error = holder.error;
	return holder.device;
}

// The intersection context with what the judge needs after it; Embree hands the context back to
// the filter, which finds the rest by its address.
struct JudgedContext
{
	RTCIntersectContext base;
	EmbreeTriangles::Judge judge;
	void* user;
};

void Filter(const RTCFilterFunctionNArguments* args)
{
	const auto* context = reinterpret_cast<const JudgedContext*>(args->context);
	for (unsigned int i = 0; i < args->N; ++i)
	{
		if (args->valid[i] == 0)
			continue;
		if (!context->judge(context->user, RTCHitN_primID(args->hit, args->N, i)))
			args->valid[i] = 0;
	}
}

RTCRayHit MakeRay(const float origin[3], const float direction[3], float tfar)
{
	RTCRayHit rh{};
	rh.ray.org_x = origin[0];
	rh.ray.org_y = origin[1];
	rh.ray.org_z = origin[2];
	rh.ray.dir_x = direction[0];
	rh.ray.dir_y = direction[1];
	rh.ray.dir_z = direction[2];
	rh.ray.tnear = 0.0f;
	rh.ray.tfar = tfar;
	rh.ray.mask = std::numeric_limits<unsigned int>::max();
	rh.hit.geomID = RTC_INVALID_GEOMETRY_ID;
	rh.hit.primID = RTC_INVALID_GEOMETRY_ID;
	rh.hit.instID[0] = RTC_INVALID_GEOMETRY_ID;
	return rh;
}

// Commits the scene on the caller's share of the processors: Embree builds with the task
// arena it is called from, which by default spans the whole machine.
void Commit(RTCScene scene)
{
	const Int32 share = standin::threads::CallerShare();
	const unsigned machine = std::thread::hardware_concurrency();
	if (share <= 0 || (machine > 0 && static_cast<unsigned>(share) >= machine))
	{
		rtcCommitScene(scene);
		return;
	}
	tbb::task_arena arena(share);
	arena.execute([scene] { rtcCommitScene(scene); });
}

} // namespace

std::unique_ptr<EmbreeTriangles> EmbreeTriangles::Build(const float* vertices, std::size_t vertexCount, const UInt32* indices, std::size_t stride,
	std::size_t triangleCount, std::string* error)
{
	RTCDevice device = Device(error);
	if (!device)
		return nullptr;
	rtcGetDeviceError(device); // an error left from before would be taken for this build's
	RTCScene scene = rtcNewScene(device);
	if (!scene)
	{
		*error = ErrorText(rtcGetDeviceError(device), "cannot make a ray scene");
		return nullptr;
	}
	// Robust traversal: a ray through the edge two triangles share meets at least one of them.
	// The context filter is the judge; plain queries pass none. Measured on height fields of up to
	// two million triangles: the low build quality builds barely faster and the compact layout
	// saves a quarter of the memory but slows every ray down by half, so neither is used.
	rtcSetSceneFlags(scene, RTC_SCENE_FLAG_ROBUST | RTC_SCENE_FLAG_CONTEXT_FILTER_FUNCTION);
	rtcSetSceneBuildQuality(scene, RTC_BUILD_QUALITY_MEDIUM);
	if (triangleCount > 0)
	{
		RTCGeometry geometry = rtcNewGeometry(device, RTC_GEOMETRY_TYPE_TRIANGLE);
		if (!geometry)
		{
			*error = ErrorText(rtcGetDeviceError(device), "cannot make a ray geometry");
			rtcReleaseScene(scene);
			return nullptr;
		}
		rtcSetSharedGeometryBuffer(geometry, RTC_BUFFER_TYPE_VERTEX, 0, RTC_FORMAT_FLOAT3, vertices, 0, 3 * sizeof(float), vertexCount);
		rtcSetSharedGeometryBuffer(geometry, RTC_BUFFER_TYPE_INDEX, 0, RTC_FORMAT_UINT3, indices, 0, stride, triangleCount);
		rtcCommitGeometry(geometry);
		rtcAttachGeometry(scene, geometry);
		rtcReleaseGeometry(geometry);
	}
	Commit(scene);
	if (const RTCError code = rtcGetDeviceError(device); code != RTC_ERROR_NONE)
	{
		*error = ErrorText(code, "cannot build the ray acceleration");
		rtcReleaseScene(scene);
		return nullptr;
	}
	return std::unique_ptr<EmbreeTriangles>(new EmbreeTriangles(scene));
}

EmbreeTriangles::~EmbreeTriangles()
{
	rtcReleaseScene(scene_);
}

void EmbreeTriangles::Intersect(const float origin[3], const float direction[3], float tfar, Judge judge, void* user) const
{
	JudgedContext context;
	rtcInitIntersectContext(&context.base);
	context.base.filter = Filter;
	context.judge = judge;
	context.user = user;
	RTCRayHit rh = MakeRay(origin, direction, tfar);
	rtcIntersect1(scene_, &context.base, &rh);
}

bool EmbreeTriangles::IntersectPlain(const float origin[3], const float direction[3], float tfar, UInt32* triangle, float* t) const
{
	RTCIntersectContext context;
	rtcInitIntersectContext(&context);
	RTCRayHit rh = MakeRay(origin, direction, tfar);
	rtcIntersect1(scene_, &context, &rh);
	if (rh.hit.geomID == RTC_INVALID_GEOMETRY_ID)
		return false;
	*triangle = rh.hit.primID;
	*t = rh.ray.tfar;
	return true;
}

} // namespace accel
