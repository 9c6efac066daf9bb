// Scene hooks of registered plug-ins. Documents do not carry hook instances yet, so no document
// has one to hand out.
#include "hostapi/plugin.h"

BaseSceneHook* BaseDocument::FindSceneHook(Int32 pluginId) const
{
	(void)pluginId;
	return nullptr;
}

NodeData* BaseSceneHook::GetNodeData() const
{
	return nullptr;
}
