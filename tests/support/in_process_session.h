// A host inside the test process with the built plug-ins, taking script after script as a user
// works on: each Run sees what the earlier ones left (the active tool, its strokes, the panel).
// Fixtures derive from it and call Start with the lines that set their scene up.
#pragma once

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "scratch_folder.h"
#include "standin/plugins.h"
#include "standin/session.h"

class InProcessSession : public ::testing::Test
{
protected:
	// Loads the plug-ins and runs the set-up lines; a failure ends the test with what they printed.
	void Start(const std::string& setup)
	{
		options.plugins = &plugins;
		options.pluginsFolder = TEST_PLUGINS_DIR;
		ASSERT_EQ(Run("load-plugins\n" + setup), 0) << out;
	}
	void TearDown() override { plugins.Shutdown(); }

	// Runs a script in the shared session; out gets what it printed and its errors.
	int Run(const std::string& text)
	{
		std::ostringstream o, e;
		const int status = standin::RunSessionText(text, dir / "test.session", o, e, options);
		out = o.str() + e.str();
		return status;
	}

	ScratchFolder dir;
	standin::PluginHost plugins;
	standin::SessionOptions options;
	std::string out;
};
