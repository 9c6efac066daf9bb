#include "SetFileAside.h"

#include <ctime>
#include <string>

bool SetAsideDamagedFile(const Filename& path, Filename* copy)
{
	const std::string file = path.GetFileString().Get();
	const size_t dot = file.find_last_of('.');
	const std::string stem = (dot == std::string::npos || dot == 0) ? file : file.substr(0, dot);
	const std::string suffix = (dot == std::string::npos || dot == 0) ? std::string() : file.substr(dot);

	char stamp[32] = "undated";
	const std::time_t now = std::time(nullptr);
	// The manager runs on the host's main thread only, so the shared buffer of localtime is safe.
	if (const std::tm* local = std::localtime(&now))
		std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", local);

	const Filename folder = path.GetDirectory();
	// The copy never replaces anything: a taken name moves on to the next number.
	for (int n = 1; n <= 100; ++n)
	{
		std::string name = stem + "-damaged-" + stamp;
		if (n > 1)
			name += "-" + std::to_string(n);
		const Filename candidate = folder + String(name + suffix);
		if (GeFExist(candidate))
			continue;
		if (GeFCopyFile(path, candidate))
		{
			*copy = candidate;
			return true;
		}
		if (GeFExist(candidate))
			continue; // taken between the check and the copy
		return false;
	}
	return false;
}
