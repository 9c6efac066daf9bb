// libFuzzer target: the check of a whole session script, through the entry the executable uses.
// Running a script can write files anywhere, so nothing runs: a last line that no script may hold
// is added to every input, and since the whole script is checked before anything runs, the run
// must end at the check, with an error and nothing done.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "fuzz_support.h"
#include "standin/session.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
	const std::string text = std::string(reinterpret_cast<const char*>(data), size) + "\n\x01 never a command\n";
	std::ostringstream out;
	std::ostringstream err;
	standin::SessionOptions options;
	options.pluginsFolder = fuzz::ScratchPath("no-plugins");
	const int status = standin::RunSessionText(text, fuzz::ScratchPath("fuzz.session"), out, err, options);
	if (status != 1 || !out.str().empty())
		fuzz::Fault("a script that fails its check ran");
	if (err.str().find("unknown command") == std::string::npos)
		fuzz::Fault("the check did not report the line that is no command");
	return 0;
}
