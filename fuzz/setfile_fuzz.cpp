// libFuzzer target: the manager's set file, read against a small scene. An input that starts like
// a hyper file is the whole file; any other input is the container it holds, wrapped in a valid
// header and checksum. After reading, the model describes itself and writes its sets to another
// file; a file it wrote must read back into the same sets.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "ManagerModel.h"
#include "SetFile.h"
#include "file/hyperfile_format.h"
#include "fuzz_scene.h"
#include "fuzz_support.h"
#include "standin/console.h"
#include "standin/paths.h"

namespace
{

void Check(const std::string& input, const std::string& output)
{
	ManagerModel model;
	if (!model.ReadSetFile(Filename(input.c_str())))
		return;
	const String described = model.Describe();
	// The last input's output goes first: a model writes its sets after those of a file it did not
	// read.
	std::remove(output.c_str());
	if (!model.WriteSetFile(Filename(output.c_str())))
		return;
	ManagerModel again;
	if (!again.ReadSetFile(Filename(output.c_str())))
		fuzz::Fault("a set file the model wrote does not read back");
	if (!(again.Describe() == described))
		fuzz::Fault("a set file the model wrote reads back as other sets");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
	static const std::string input = fuzz::ScratchPath("input.dat");
	static const std::string output = fuzz::ScratchPath("output.dat");
	static const bool ready = [] {
		standin::SetPrefsFolder(fuzz::ScratchPath("prefs"));
		fuzz::MakeSetScene();
		return true;
	}();
	(void)ready;

	if (size >= sizeof standin::file::kHyperFileMagic && std::memcmp(data, standin::file::kHyperFileMagic, sizeof standin::file::kHyperFileMagic) == 0)
		fuzz::WriteFile(input, data, size);
	else
	{
		std::vector<std::uint8_t> payload;
		standin::file::AppendRecord(payload, standin::file::kRecordContainer, std::vector<std::uint8_t>(data, data + size));
		std::vector<std::uint8_t> image;
		standin::file::BuildHyperFile(SET_FILE_IDENT, payload, &image);
		fuzz::WriteFile(input, image.data(), image.size());
	}

	Check(input, output);
	// The console keeps every line; what this input printed goes with it, so that libFuzzer does
	// not take the lines for a leak.
	standin::ClearConsole();
	return 0;
}
