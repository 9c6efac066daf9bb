#include "scene/node_registry.h"

#include <mutex>
#include <unordered_map>

#include "scene/node_data.h"

namespace scene
{
namespace
{

struct Registry
{
	std::mutex lock;
	std::unordered_map<UInt64, NodeCore*> nodes;
	UInt64 nextSerial = 1;
};

Registry& TheRegistry()
{
	// Never destroyed: elements freed during static destruction still unregister safely.
	static Registry* registry = new Registry;
	return *registry;
}

} // namespace

UInt64 RegisterNode(NodeCore* node)
{
	Registry& r = TheRegistry();
	std::lock_guard<std::mutex> guard(r.lock);
	const UInt64 serial = r.nextSerial++;
	r.nodes.emplace(serial, node);
	return serial;
}

void UnregisterNode(UInt64 serial)
{
	Registry& r = TheRegistry();
	std::lock_guard<std::mutex> guard(r.lock);
	r.nodes.erase(serial);
}

NodeCore* NodeBySerial(UInt64 serial)
{
	if (serial == 0)
		return nullptr;
	Registry& r = TheRegistry();
	std::lock_guard<std::mutex> guard(r.lock);
	auto it = r.nodes.find(serial);
	return it == r.nodes.end() ? nullptr : it->second;
}

} // namespace scene
