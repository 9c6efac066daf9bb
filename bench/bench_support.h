// What the benchmark files share: a scratch folder for the run and session scripts run quietly.
#pragma once

#include <string>

namespace bench
{

// A folder under the system's temporary folder for this run's files; removed when the program ends.
const std::string& ScratchFolder();

// Runs a session script; answers false (and prints why) when it fails.
bool RunScript(const std::string& text);

} // namespace bench
