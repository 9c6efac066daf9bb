// Points on the document's work plane.
#include "Dtool.h"

#include <cmath>

#include "Normals.h"
#include "hostapi/snapping.h"

namespace
{
constexpr Float kDefaultDepth = 500.0;
constexpr Float kFarDepth = 10000.0;

// Switches a snap mode on for the lifetime of the guard when it was off, and back off afterwards.
class SnapModeGuard
{
public:
	SnapModeGuard(BaseDocument* doc, Int32 mode) : _doc(doc), _mode(mode), _switched(!IsSnapEnabled(doc, mode))
	{
		if (_switched)
			EnableSnap(true, _doc, _mode);
	}
	~SnapModeGuard()
	{
		if (_switched)
			EnableSnap(false, _doc, _mode);
	}
	SnapModeGuard(const SnapModeGuard&) = delete;
	SnapModeGuard& operator=(const SnapModeGuard&) = delete;

private:
	BaseDocument* _doc;
	Int32 _mode;
	bool _switched;
};
} // namespace

Vector DTOOL::WorkPlanePoint(BaseDocument* doc, BaseDraw* bd, Float x, Float y)
{
	if (!bd)
		return Vector();
	const Vector fallback = bd->SW(Vector(x, y, kDefaultDepth));
	const BaseObject* plane = GetWorkplaneObject(doc);
	if (!plane)
		return fallback;
	const Matrix k = plane->GetMg();
	const Vector p0 = k.off;
	const Vector n = PlaneNormalOfFrame(k);

	const Vector e = bd->SW(Vector(x, y, 0.0));
	const Vector d = GetNormalized(bd->SW(Vector(x, y, kFarDepth)) - e);
	if (d.y <= 0.0)
	{
		// Looking down (or level): where the ray meets the plane. A ray along the plane never
		// meets it; the point at the default depth stands in.
		const Float along = Dot(n, d);
		if (along == 0.0)
			return fallback;
		const Vector hit = e + d * (Dot(n, p0 - e) / along);
		return std::isfinite(hit.x) && std::isfinite(hit.y) && std::isfinite(hit.z) ? hit : fallback;
	}

	// Looking up, the ray would meet the plane behind the viewer; snapping onto the geometry far
	// under the mouse gives a better start.
	const SnapModeGuard pointSnap(doc, SNAPMODE_127);
	const SnapModeGuard anySnap(doc, SNAPMODE_ALL);
	SnapCore* snap = SnapCore::Alloc();
	if (!snap)
		return Vector();
	Vector result = fallback;
	const Vector far = bd->SW(Vector(x, y, kFarDepth));
	SnapResult res;
	if (snap->Init(doc, bd) && snap->Snap(far, res))
		result = far + res.delta;
	SnapCore::Free(snap);
	return result;
}

Vector DTOOL::AlignToWorkPlaneHeight(BaseDocument* doc, const Vector& p, const Vector& reference)
{
	const BaseObject* plane = GetWorkplaneObject(doc);
	if (!plane)
		return p;
	const Matrix k = plane->GetMg();
	const Matrix inv = InvertMatrix(k);
	const Vector local = inv * p;
	const Vector ref = inv * reference;
	return k * Vector(local.x, ref.y, local.z);
}
