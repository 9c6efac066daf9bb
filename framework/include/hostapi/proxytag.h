// The surface proxy tag (type 1023800): it names another polygon object that stands in for the
// tagged object wherever rays sample that object's surface (a lighter or a cleaner mesh, for
// example). Samplers ask whether it is out of date, bring it up to date (Update with 0) and take
// its current polygon object. And the object-state query that prunes flattened copies.
#pragma once

#include "hostapi/objects.h"

enum : Int32
{
	Tsurfaceproxy = 1023800,
};

class SurfaceProxyTag : public BaseTag
{
public:
	static SurfaceProxyTag* Alloc();

	// The polygon object the tag names (nullptr when none, or when it was freed).
	void SetProxy(PolygonObject* op);
	// The proxy as of the last Update (nullptr when none or gone).
	PolygonObject* GetPolygonObject() const;
	// True when the proxy's geometry or the link changed since the last Update.
	bool IsDirty() const;
	// Takes the proxy's current state (flags: 0). Safe from several threads at once.
	bool Update(Int32 flags);

protected:
	SurfaceProxyTag() = default;
};

// Object-state queries.
enum : Int32
{
	OBJECTSTATE_EDITOR_HIDDEN = 0, // 1 when the object is switched off in the editor (editor mode 1)
};

// The answer to an object-state query; 0 for an unknown query or no object.
Int32 GetObjectState(const BaseObject* op, Int32 query);
