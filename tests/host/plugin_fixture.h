// Test helpers around the probe fixture plug-in: private copies (each copy is its own loaded
// module with its own counters) and plug-in folders assembled from it.
#pragma once

#include <dlfcn.h>

#include <filesystem>
#include <string>

#include "hostapi/api.h"
#include "scratch_folder.h"

inline std::string ProbeFolder()
{
	return std::string(TEST_FIXTURE_PLUGINS_DIR) + "/probe";
}

// Puts a copy of the probe under folder/<name>/<name>.so with the probe's res, plus conf as
// res/probe.conf; answers the plug-in folder.
inline std::string AddProbe(const ScratchFolder& folder, const std::string& name, const std::string& conf = "")
{
	namespace fs = std::filesystem;
	const fs::path dir = folder.Path() / name;
	fs::create_directories(dir);
	fs::copy_file(ProbeFolder() + "/probe.so", dir / (name + ".so"), fs::copy_options::overwrite_existing);
	fs::copy(ProbeFolder() + "/res", dir / "res", fs::copy_options::recursive | fs::copy_options::overwrite_existing);
	if (!conf.empty())
		folder.Write(name + "/res/probe.conf", conf);
	return dir.string();
}

// A probe copy opened with dlopen and driven directly through its entry.
class ProbeModule
{
public:
	using Entry = Int32 (*)(Int32, void*, void*, void*);

	explicit ProbeModule(const std::string& conf = "")
	{
		folder_ = AddProbe(scratch_, "probe", conf);
		handle_ = dlopen((folder_ + "/probe.so").c_str(), RTLD_NOW | RTLD_LOCAL);
		if (handle_)
			entry_ = reinterpret_cast<Entry>(dlsym(handle_, "c4d_main"));
	}
	~ProbeModule()
	{
		if (handle_)
			dlclose(handle_);
	}
	ProbeModule(const ProbeModule&) = delete;
	ProbeModule& operator=(const ProbeModule&) = delete;

	bool Ok() const { return entry_ != nullptr; }
	const std::string& Folder() const { return folder_; }
	Int32 Call(Int32 action, void* p1 = nullptr, void* p2 = nullptr) { return entry_(action, p1, p2, nullptr); }
	Int32 Init(Int32 version)
	{
		HostEntryInfo info;
		info.version = version;
		return Call(ENTRY_INIT, &info, const_cast<char*>(folder_.c_str()));
	}
	Int32 Message(Int32 id, void* data = nullptr) { return Call(ENTRY_MESSAGE, reinterpret_cast<void*>(static_cast<std::intptr_t>(id)), data); }

private:
	ScratchFolder scratch_;
	std::string folder_;
	void* handle_ = nullptr;
	Entry entry_ = nullptr;
};
