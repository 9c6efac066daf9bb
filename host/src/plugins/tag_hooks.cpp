// Connects the scene's tags to the registry: a tag of a registered tag type gets its data object
// from the plug-in's allocator, and the registry tracks it until the tag frees it.
#include "scene/tag_data.h"
#include "standin/plugins.h"

namespace
{

bool IsTagType(Int32 type, standin::Registration* reg)
{
	return standin::FindRegistration(type, reg) && reg->kind == standin::PluginKind::Tag;
}

struct InstallTagHooks
{
	InstallTagHooks()
	{
		scene::TagPluginHooks hooks;
		hooks.create = [](Int32 type) -> NodeData* {
			standin::Registration reg;
			return IsTagType(type, &reg) ? standin::NewNodeData(type) : nullptr;
		};
		hooks.destroy = [](NodeData* data) { standin::FreeNodeData(data); };
		hooks.info = [](Int32 type, Int32* info) {
			standin::Registration reg;
			if (!IsTagType(type, &reg))
				return false;
			if (info)
				*info = reg.info;
			return true;
		};
		scene::SetTagPluginHooks(std::move(hooks));
	}
} installTagHooks;

} // namespace
