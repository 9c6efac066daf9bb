// Host folders that scripts and tests may redirect.
#pragma once

#include <string>

namespace standin
{

// The user preference folder that GeGetHostPath(HOSTPATH_PREFS) answers. By default it is
// $STANDIN_HOST_PREFS when that is set and not empty, else $HOME/.standin-host/prefs. An empty
// text returns to that default.
void SetPrefsFolder(const std::string& folder);
std::string PrefsFolder();

} // namespace standin
