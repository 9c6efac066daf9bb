// Private messages from the host to one plug-in: how the executable and tests reach a plug-in's
// operations when it offers no registered class for them.
#include <cstdint>

#include "registry_state.h"
#include "standin/plugins.h"

namespace standin
{

bool PluginHost::SendPluginMessage(const std::string& name, Int32 id, void* data, Int32* answer)
{
	for (size_t i = 0; i < _plugins.size(); ++i)
	{
		if (_plugins[i].name != name || _plugins[i].state != PluginState::Started || !_modules[i].entry)
			continue;
		registry::SetCurrentOwner(name);
		const Int32 result = _modules[i].entry(ENTRY_MESSAGE, reinterpret_cast<void*>(static_cast<std::intptr_t>(id)), data, nullptr);
		registry::SetCurrentOwner(std::string());
		if (answer)
			*answer = result;
		return true;
	}
	return false;
}

} // namespace standin
