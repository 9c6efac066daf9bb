// The view's line of sight through a point, cast onto another object.
#include "Dtool.h"
#include "Normals.h"
#include "hostapi/collider.h"
#include "hostapi/proxytag.h"

namespace
{
// How far a line of sight reaches: far beyond any scene.
constexpr Float kViewReach = 2e7;

// The object rays should meet in target's place: the polygon object of its surface proxy tag,
// brought up to date first, or target itself.
BaseObject* RayGoal(BaseObject* target)
{
	if (!target)
		return nullptr;
	BaseTag* tag = target->GetTag(Tsurfaceproxy);
	if (!tag)
		return target;
	SurfaceProxyTag* proxy = static_cast<SurfaceProxyTag*>(tag);
	if (proxy->IsDirty())
		proxy->Update(0);
	return proxy->GetPolygonObject();
}

// Frees the collider on every way out.
struct ColliderHandle
{
	GeRayCollider* rc = GeRayCollider::Alloc();
	~ColliderHandle() { GeRayCollider::Free(rc); }
};
} // namespace

bool DTOOL::ProjectThroughView(BaseDocument* doc, Vector* point, Int32* polygon, BaseObject* target)
{
	if (!doc || !point || !polygon)
		return false;
	BaseObject* goal = RayGoal(target);
	BaseDraw* bd = doc->GetActiveBaseDraw();
	if (!bd)
		return false;
	const Vector screen = bd->WS(*point);
	if (!goal || !goal->IsInstanceOf(Opolygon) || static_cast<PolygonObject*>(goal)->GetPolygonCount() < 1)
		return false;
	ColliderHandle collider;
	if (!collider.rc)
		return false;

	const Vector nearPoint = bd->SW(Vector(screen.x, screen.y, 0.0));
	const Vector farPoint = bd->SW(Vector(screen.x, screen.y, kViewReach));
	const Matrix mg = goal->GetMg();
	const Matrix toLocal = InvertMatrix(mg);
	const Vector start = toLocal * nearPoint;
	const Vector direction = GetNormalized(toLocal.TransformVector(farPoint - nearPoint));

	if (!collider.rc->Init(goal, true) || !collider.rc->Intersect(start, direction, kViewReach, false))
		return false;
	GeRayColResult hit;
	if (!collider.rc->GetNearestIntersection(&hit))
		return false;
	*polygon = hit.face_id;
	*point = mg * hit.hitpos;
	return true;
}
