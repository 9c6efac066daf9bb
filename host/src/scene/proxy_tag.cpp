// The surface proxy tag and the object-state query.
#include "hostapi/proxytag.h"
#include "scene/object_data.h"
#include "scene/proxy_tag_data.h"

using scene::ApiOf;
using scene::CoreOf;

namespace
{

scene::ProxyTagData* ProxyDataOf(const SurfaceProxyTag* tag)
{
	scene::NodeCore* core = CoreOf(tag);
	return core && core->type == Tsurfaceproxy ? static_cast<scene::ProxyTagData*>(core) : nullptr;
}

scene::PolygonObjectData* Linked(const scene::ProxyTagData& d)
{
	return scene::PolygonDataOf(ApiOf<GeListNode>(scene::NodeBySerial(d.proxySerial.load())));
}

} // namespace

namespace scene
{

NodeCore* ProxyTagData::CloneSelf() const
{
	auto* copy = new ProxyTagData;
	CopyBaseTo(*copy);
	copy->proxySerial.store(proxySerial.load());
	return copy;
}

void ProxyTagData::ForEachLinkSerial(const std::function<void(UInt64&)>& fn)
{
	UInt64 serial = proxySerial.load();
	fn(serial);
	proxySerial.store(serial);
}

} // namespace scene

SurfaceProxyTag* SurfaceProxyTag::Alloc()
{
	return ApiOf<SurfaceProxyTag>(scene::MakeTagCore(Tsurfaceproxy, 0));
}

void SurfaceProxyTag::SetProxy(PolygonObject* op)
{
	scene::ProxyTagData* d = ProxyDataOf(this);
	if (!d)
		return;
	const scene::NodeCore* core = CoreOf(op);
	d->proxySerial.store(core && scene::PolygonDataOf(op) ? core->serial : 0);
	d->takenVersion.store(0);
}

PolygonObject* SurfaceProxyTag::GetPolygonObject() const
{
	const scene::ProxyTagData* d = ProxyDataOf(this);
	if (!d || d->takenVersion.load() == 0)
		return nullptr;
	scene::PolygonObjectData* data = Linked(*d);
	return data ? static_cast<PolygonObject*>(ApiOf<GeListNode>(data)) : nullptr;
}

bool SurfaceProxyTag::IsDirty() const
{
	const scene::ProxyTagData* d = ProxyDataOf(this);
	if (!d)
		return false;
	const scene::PolygonObjectData* data = Linked(*d);
	const UInt64 now = data ? data->rayAccel.geometryVersion.load() : 0;
	return data ? d->takenVersion.load() != now : d->takenVersion.load() != 0;
}

bool SurfaceProxyTag::Update(Int32 flags)
{
	scene::ProxyTagData* d = ProxyDataOf(this);
	if (!d || flags != 0)
		return false;
	const scene::PolygonObjectData* data = Linked(*d);
	d->takenVersion.store(data ? data->rayAccel.geometryVersion.load() : 0);
	return data != nullptr;
}

Int32 GetObjectState(const BaseObject* op, Int32 query)
{
	if (!op)
		return 0;
	switch (query)
	{
		case OBJECTSTATE_EDITOR_HIDDEN: return op->GetEditorMode() == 1 ? 1 : 0;
		default: return 0;
	}
}
