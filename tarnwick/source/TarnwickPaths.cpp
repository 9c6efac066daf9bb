#include "TarnwickPaths.h"

namespace
{

// The folder that holds the preference folder. A trailing separator names the same folder, so it
// is dropped before taking the parent.
Filename ParentOfPreferences()
{
	Filename prefs = GeGetHostPath(HOSTPATH_PREFS);
	if (!prefs.IsEmpty() && prefs.GetFileString().IsEmpty())
		prefs = prefs.GetDirectory();
	return prefs.GetDirectory();
}

bool EnsureFolder(const Filename& folder)
{
	return GeFExist(folder, true) || GeFCreateDir(folder);
}

} // namespace

Filename TarnwickFilePlace(const String& fileName)
{
	// Without a preference folder there is no place; an empty name makes every open fail.
	if (GeGetHostPath(HOSTPATH_PREFS).IsEmpty())
		return Filename();
	const Filename plugins = ParentOfPreferences() + "plugins";
	Filename target = plugins;
	if (EnsureFolder(plugins))
	{
		target = plugins + "Tarnwick";
		EnsureFolder(target);
	}
	return target + fileName;
}
