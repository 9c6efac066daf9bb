// What the manager's end-to-end tests share: the real plug-ins loaded into this process, one
// script after the other in the same host, and the output and errors of the last one.
#pragma once

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "scratch_folder.h"
#include "standin/paths.h"
#include "standin/plugins.h"
#include "standin/session.h"

namespace manager_test
{

inline bool Contains(const std::string& text, const std::string& part)
{
	return text.find(part) != std::string::npos;
}

// The line of the output that starts with prefix; empty when none.
inline std::string LineStarting(const std::string& text, const std::string& prefix)
{
	std::istringstream in(text);
	std::string line, last;
	while (std::getline(in, line))
		if (line.rfind(prefix, 0) == 0)
			last = line;
	return last;
}

class Manager : public ::testing::Test
{
protected:
	void SetUp() override
	{
		standin::SetPrefsFolder(_dir / "prefs");
		options.pluginsFolder = TEST_PLUGINS_DIR;
		options.plugins = &host;
		ASSERT_EQ(Run("load-plugins\nnew-document\n"), 0) << err;
	}
	void TearDown() override
	{
		host.Shutdown();
		standin::SetPrefsFolder("");
	}
	int Run(const std::string& script)
	{
		std::ostringstream o, e;
		const int status = standin::RunSessionText(script, "manager.session", o, e, options);
		out = o.str();
		err = e.str();
		return status;
	}
	// A scene of a chair with a seat and a leg under the seat, a lamp and a material, all held.
	void HoldScene()
	{
		ASSERT_EQ(Run("add-null Chair\nadd-null Seat\nadd-null Leg\nparent Seat Chair\nparent Leg Chair/Seat\nadd-null Lamp\n"
		              "set-position Lamp 50 0 0\nadd-material Wood\n"
		              "run-command 1039103\ndrop 10003 Chair Lamp Wood\n"),
			0) << err;
	}

	ScratchFolder _dir;
	standin::PluginHost host;
	standin::SessionOptions options;
	std::string out, err;
};

} // namespace manager_test
