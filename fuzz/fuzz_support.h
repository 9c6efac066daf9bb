// What the fuzz targets share: a private scratch folder for the files they hand to the readers,
// and writing one input there.
#pragma once

#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace fuzz
{

// Where scratch folders go: $TMPDIR, else /dev/shm (every input is written to a file, and in
// memory that is several times faster than on disk), else /tmp.
inline std::string ScratchBase()
{
	const char* base = std::getenv("TMPDIR");
	if (base && *base)
		return base;
	if (::access("/dev/shm", W_OK | X_OK) == 0)
		return "/dev/shm";
	return "/tmp";
}

// A fresh folder for this process, removed when it exits normally. The name is never freed, so
// that the exit handler can still read it after static destructors ran.
inline const std::string& ScratchFolder()
{
	static const std::string* folder = [] {
		auto* path = new std::string(ScratchBase() + "/standin-fuzz-XXXXXX");
		if (!::mkdtemp(path->data()))
		{
			std::perror("fuzz: no scratch folder");
			std::abort();
		}
		std::atexit([] {
			std::error_code ignored;
			std::filesystem::remove_all(ScratchFolder(), ignored);
		});
		return path;
	}();
	return *folder;
}

inline std::string ScratchPath(const std::string& name)
{
	return ScratchFolder() + "/" + name;
}

// Replaces the file at path by exactly these bytes.
inline void WriteFile(const std::string& path, const void* data, size_t size)
{
	std::FILE* f = std::fopen(path.c_str(), "wb");
	if (!f || (size > 0 && std::fwrite(data, 1, size, f) != size) || std::fclose(f) != 0)
	{
		std::perror(path.c_str());
		std::abort();
	}
}

// A broken promise of the code under test: the fuzzer reports it like a crash.
[[noreturn]] inline void Fault(const char* what)
{
	std::fprintf(stderr, "fuzz: %s\n", what);
	std::abort();
}

} // namespace fuzz
