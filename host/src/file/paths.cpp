// Host folders and the small file-system services of the host interface.
#include "standin/paths.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <mutex>

#include "hostapi/file.h"

namespace standin
{
namespace
{
std::mutex g_prefsLock;
std::string g_prefsOverride;

std::string DefaultPrefsFolder()
{
	if (const char* env = std::getenv("STANDIN_HOST_PREFS"); env && *env)
		return env;
	const char* home = std::getenv("HOME");
	const std::string base = (home && *home) ? home : "/tmp";
	return base + "/.standin-host/prefs";
}

// mkdir -p: every missing folder along the path is made. Failures are left to the caller's later
// open of a file in it.
void MakeFolders(const std::string& path)
{
	for (size_t pos = 1; pos <= path.size(); ++pos)
	{
		if (pos == path.size() || path[pos] == '/')
		{
			const std::string part = path.substr(0, pos);
			if (::mkdir(part.c_str(), 0777) != 0 && errno != EEXIST)
				return;
		}
	}
}
} // namespace

void SetPrefsFolder(const std::string& folder)
{
	std::lock_guard<std::mutex> lock(g_prefsLock);
	g_prefsOverride = folder;
}

std::string PrefsFolder()
{
	std::lock_guard<std::mutex> lock(g_prefsLock);
	return g_prefsOverride.empty() ? DefaultPrefsFolder() : g_prefsOverride;
}

} // namespace standin

Filename GeGetHostPath(Int32 kind)
{
	if (kind != HOSTPATH_PREFS)
		return Filename();
	// A real host's preference folder always exists; plug-ins build their own folders beside it.
	const std::string folder = standin::PrefsFolder();
	standin::MakeFolders(folder);
	return Filename(String(folder));
}

bool GeFExist(const Filename& name, bool isDirectory)
{
	struct stat st{};
	if (name.IsEmpty() || ::stat(name.GetString().c_str(), &st) != 0)
		return false;
	return isDirectory ? S_ISDIR(st.st_mode) : !S_ISDIR(st.st_mode);
}

bool GeFCreateDir(const Filename& name)
{
	if (name.IsEmpty())
		return false;
	if (::mkdir(name.GetString().c_str(), 0777) == 0)
		return true;
	return errno == EEXIST && GeFExist(name, true);
}

bool GeFKill(const Filename& name)
{
	if (name.IsEmpty())
		return false;
	const char* path = name.GetString().c_str();
	struct stat st{};
	if (::lstat(path, &st) != 0)
		return false;
	return S_ISDIR(st.st_mode) ? ::rmdir(path) == 0 : ::unlink(path) == 0;
}
