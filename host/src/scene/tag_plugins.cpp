#include <mutex>

#include "scene/tag_data.h"

namespace scene
{
namespace
{

TagPluginHooks& Hooks()
{
	static TagPluginHooks hooks;
	return hooks;
}

} // namespace

void SetTagPluginHooks(TagPluginHooks hooks)
{
	Hooks() = std::move(hooks);
}

const TagPluginHooks& GetTagPluginHooks()
{
	return Hooks();
}

} // namespace scene
