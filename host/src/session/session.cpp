#include "session/session.h"

namespace standin::session
{

Session::Session(std::ostream& out, std::string scriptPath, std::string pluginsFolder, PluginHost& plugins)
	: _out(&out), _scriptPath(std::move(scriptPath)), _pluginsFolder(std::move(pluginsFolder)), _plugins(&plugins)
{
	_previousSource = input::UseSource(&_input);
}

Session::~Session()
{
	input::UseSource(_previousSource);
}

} // namespace standin::session
