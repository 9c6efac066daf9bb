// GeResource as the host implements it: the handle of a plug-in's resource record points to the
// tables read from its res folder. Descriptions are also indexed host-wide by name, since the host
// resolves a tag's description by name when the tag registers.
#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "hostapi/resource.h"
#include "resource_files.h"
#include "standin/console.h"

namespace
{

// Resource files are a few kilobytes; anything far larger is not a resource file.
constexpr size_t kMaxResourceFile = 4u << 20;

struct ResourceData
{
	std::map<Int32, std::string> strings;
	std::vector<standin::DescriptionResource> descriptions;
	std::string folder; // the res folder
};

struct DescriptionIndex
{
	std::mutex mutex;
	std::vector<const ResourceData*> loaded; // in load order; later ones win on equal names
};

DescriptionIndex& Index()
{
	static DescriptionIndex* index = new DescriptionIndex;
	return *index;
}

bool LoadDescriptions(const std::filesystem::path& folder, ResourceData* data, std::string* error)
{
	std::error_code ec;
	if (!std::filesystem::is_directory(folder, ec))
		return true; // a plug-in without descriptions
	std::vector<std::filesystem::path> files;
	for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
		if (it->path().extension() == ".res")
			files.push_back(it->path());
	if (ec)
	{
		*error = folder.string() + ": cannot be read";
		return false;
	}
	std::sort(files.begin(), files.end());
	for (const auto& file : files)
	{
		std::string text;
		if (!standin::resfiles::ReadSmallFile(file.string(), kMaxResourceFile, &text, error))
			return false;
		standin::DescriptionResource desc;
		desc.name = file.stem().string();
		if (!standin::resfiles::ParseDescription(text, file.string(), &desc, error))
			return false;
		data->descriptions.push_back(std::move(desc));
	}
	return true;
}

} // namespace

bool GeResource::Init(const Filename& pluginFolder)
{
	Free();
	const std::filesystem::path res = std::filesystem::path(pluginFolder.GetString().Get()) / "res";
	auto data = std::make_unique<ResourceData>();
	data->folder = res.string();
	std::string text, error;
	const std::string stringsPath = (res / "strings.str").string();
	bool ok = standin::resfiles::ReadSmallFile(stringsPath, kMaxResourceFile, &text, &error) &&
		standin::resfiles::ParseStringTable(text, stringsPath, &data->strings, &error) &&
		LoadDescriptions(res / "description", data.get(), &error);
	if (!ok)
	{
		GePrint(String("Resources not loaded: " + error));
		return false;
	}
	{
		DescriptionIndex& index = Index();
		std::lock_guard<std::mutex> lock(index.mutex);
		index.loaded.push_back(data.get());
	}
	_handle = data.release();
	return true;
}

void GeResource::Free()
{
	if (!_handle)
		return;
	auto* data = static_cast<ResourceData*>(_handle);
	{
		DescriptionIndex& index = Index();
		std::lock_guard<std::mutex> lock(index.mutex);
		std::erase(index.loaded, data);
	}
	delete data;
	_handle = nullptr;
}

String GeResource::LoadString(Int32 id) const
{
	if (!_handle)
		return String();
	const auto* data = static_cast<const ResourceData*>(_handle);
	auto it = data->strings.find(id);
	return it == data->strings.end() ? String() : String(it->second);
}

Filename GeResource::GetResourceFolder() const
{
	if (!_handle)
		return Filename();
	return Filename(String(static_cast<const ResourceData*>(_handle)->folder));
}

namespace standin
{

bool FindDescription(const std::string& name, DescriptionResource* out)
{
	DescriptionIndex& index = Index();
	std::lock_guard<std::mutex> lock(index.mutex);
	for (auto it = index.loaded.rbegin(); it != index.loaded.rend(); ++it)
		for (const DescriptionResource& desc : (*it)->descriptions)
			if (desc.name == name)
			{
				if (out)
					*out = desc;
				return true;
			}
	return false;
}

} // namespace standin
