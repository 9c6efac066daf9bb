// Runs the built host executable as a user runs it from a shell, for the end-to-end tests: its
// exit status and everything it printed (standard error joined to standard output).
#pragma once

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <string>

struct HostRun
{
	int status = -1; // the exit status; -1 when it did not exit normally or could not start
	std::string output;
};

// args: the command line after the program's name, quoted as a shell needs it.
inline HostRun RunHostExecutable(const std::string& args)
{
	HostRun r;
	const std::string cmd = std::string("'") + TEST_HOST_EXE + "' " + args + " 2>&1";
	FILE* pipe = popen(cmd.c_str(), "r");
	if (!pipe)
		return r;
	std::array<char, 4096> buf;
	size_t n;
	while ((n = fread(buf.data(), 1, buf.size(), pipe)) > 0)
		r.output.append(buf.data(), n);
	const int raw = pclose(pipe);
	r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
	return r;
}

// One script, quietly, with the built plug-ins.
inline HostRun RunHostScript(const std::string& script)
{
	return RunHostExecutable(std::string("--quiet --plugins '") + TEST_PLUGINS_DIR + "' '" + script + "'");
}
