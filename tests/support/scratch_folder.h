// A fresh folder under the system's temporary folder, removed with everything in it at the end
// of the test.
#pragma once

#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <string>

class ScratchFolder
{
public:
	ScratchFolder()
	{
		static std::atomic<int> counter{0};
		_path = std::filesystem::temp_directory_path() /
			("standin-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
		std::filesystem::remove_all(_path);
		std::filesystem::create_directories(_path);
	}
	~ScratchFolder()
	{
		std::error_code ec;
		std::filesystem::remove_all(_path, ec);
	}
	ScratchFolder(const ScratchFolder&) = delete;
	ScratchFolder& operator=(const ScratchFolder&) = delete;

	const std::filesystem::path& Path() const { return _path; }
	std::string operator/(const std::string& rel) const { return (_path / rel).string(); }

	// Writes a file (creating its folders) and answers its path.
	std::string Write(const std::string& rel, const std::string& content) const
	{
		const std::filesystem::path p = _path / rel;
		std::filesystem::create_directories(p.parent_path());
		std::ofstream(p, std::ios::binary) << content;
		return p.string();
	}

private:
	std::filesystem::path _path;
};
