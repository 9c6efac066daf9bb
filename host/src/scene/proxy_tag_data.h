// The surface proxy tag as the host keeps it: a link to the proxy by serial, and the geometry
// version of the proxy when the tag last took it (0: never, or no proxy).
#pragma once

#include <atomic>

#include "hostapi/proxytag.h"
#include "scene/tag_data.h"

namespace scene
{

struct ProxyTagData final : TagElement<SurfaceProxyTag>
{
	ProxyTagData() : TagElement<SurfaceProxyTag>(Tsurfaceproxy) {}
	NodeCore* CloneSelf() const override;
	void ForEachLinkSerial(const std::function<void(UInt64&)>& fn) override;

	// Atomic: samplers on worker threads may bring the tag up to date at the same time.
	std::atomic<UInt64> proxySerial{0};
	std::atomic<UInt64> takenVersion{0};
};

} // namespace scene
