// The host's tool runtime driven as the views and the settings panel drive it: which tool is
// active, when tools hear FreeTool and InitTool, the settings containers, and the panel a user
// sees and edits. The fixture tool is registered directly and records what reaches it.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "hostapi/api.h"
#include "standin/plugins.h"
#include "standin/scene.h"
#include "standin/tools.h"

namespace
{

constexpr Int32 kToolA = 1990500;
constexpr Int32 kToolB = 1990501;
constexpr Int32 kRefusing = 1990502;
constexpr Int32 kCommand = 1990503;

// What the fixture tools were told, in order, as "<tool> <call>".
std::vector<std::string>& Calls()
{
	static std::vector<std::string> calls;
	return calls;
}

struct ToolBehaviour
{
	bool initToolAnswer = true;
	bool defaultsAnswer = true;
};

class RecordingTool : public ToolData
{
public:
	RecordingTool(std::string name, ToolBehaviour behaviour) : _name(std::move(name)), _behaviour(behaviour) {}
	~RecordingTool() override { Calls().push_back(_name + " destroyed"); }

	bool InitDefaultSettings(BaseDocument* doc, BaseContainer& data) override
	{
		(void)doc;
		Calls().push_back(_name + " defaults");
		data.SetInt32(1, 10);
		return _behaviour.defaultsAnswer;
	}
	bool InitTool(BaseDocument* doc, BaseContainer& data, BaseThread* bt) override
	{
		(void)bt;
		Calls().push_back(_name + " init" + (doc ? "" : " (no document)"));
		// Each activation counts itself in the container, so a test sees whether it is kept.
		data.SetInt32(2, data.GetInt32(2) + 1);
		return _behaviour.initToolAnswer;
	}
	void FreeTool(BaseDocument* doc, BaseContainer& data) override
	{
		(void)data;
		Calls().push_back(_name + " free" + (doc ? "" : " (no document)"));
	}

private:
	std::string _name;
	ToolBehaviour _behaviour;
};

class NoCommand : public CommandData
{
public:
	bool Execute(BaseDocument* doc) override
	{
		(void)doc;
		return true;
	}
};

class ToolActivation : public ::testing::Test
{
protected:
	void SetUp() override
	{
		Calls().clear();
		doc = standin::NewDocument();
		ASSERT_TRUE(RegisterToolPlugin(kToolA, "Tool A", 0, nullptr, "", NewObjTagged(RecordingTool, "test", "A", ToolBehaviour{})));
		ASSERT_TRUE(RegisterToolPlugin(kToolB, "Tool B", 0, nullptr, "", NewObjTagged(RecordingTool, "test", "B", ToolBehaviour{})));
		ASSERT_TRUE(RegisterToolPlugin(kRefusing, "Refusing", 0, nullptr, "", NewObjTagged(RecordingTool, "test", "R", ToolBehaviour{false, true})));
		ASSERT_TRUE(RegisterCommandPlugin(kCommand, "Command", 0, nullptr, "", NewObjTagged(NoCommand, "test")));
		Calls().clear();
	}
	void TearDown() override
	{
		standin::ClearRegistry();
		standin::CloseAllDocuments();
	}
	BaseDocument* doc = nullptr;
};

TEST_F(ToolActivation, TheToolLeftHearsFreeToolBeforeTheNewOneStarts)
{
	std::string error;
	ASSERT_TRUE(standin::tools::ActivateTool(doc, kToolA, &error)) << error;
	EXPECT_EQ(standin::tools::ActiveToolId(), kToolA);
	ASSERT_TRUE(standin::tools::ActivateTool(doc, kToolB, &error)) << error;
	EXPECT_EQ(standin::tools::ActiveToolId(), kToolB);
	// Picking the active tool again restarts it.
	ASSERT_TRUE(standin::tools::ActivateTool(doc, kToolB, &error)) << error;
	standin::tools::DeactivateTool(doc);
	EXPECT_EQ(standin::tools::ActiveToolId(), 0);
	EXPECT_EQ(standin::tools::ActiveTool(), nullptr);
	EXPECT_EQ(standin::tools::ActiveToolSettings(), nullptr);
	const std::vector<std::string> expected = {"A defaults", "A init", "A free", "B defaults", "B init", "B free", "B init", "B free"};
	EXPECT_EQ(Calls(), expected);
}

TEST_F(ToolActivation, SettingsAreMadeOnceAndSurviveToolChanges)
{
	std::string error;
	ASSERT_TRUE(standin::tools::ActivateTool(doc, kToolA, &error)) << error;
	BaseContainer* settings = standin::tools::ActiveToolSettings();
	ASSERT_NE(settings, nullptr);
	EXPECT_EQ(settings, standin::tools::ToolSettings(kToolA));
	settings->SetInt32(1, 77); // the user's choice
	ASSERT_TRUE(standin::tools::ActivateTool(doc, kToolB, &error)) << error;
	ASSERT_TRUE(standin::tools::ActivateTool(doc, kToolA, &error)) << error;
	EXPECT_EQ(standin::tools::ActiveToolSettings(), settings);
	EXPECT_EQ(settings->GetInt32(1), 77);
	EXPECT_EQ(settings->GetInt32(2), 2); // two activations, one container
	EXPECT_EQ(std::count(Calls().begin(), Calls().end(), "A defaults"), 1);
	// A tool never activated gets its container on first use.
	BaseContainer* refusing = standin::tools::ToolSettings(kRefusing);
	ASSERT_NE(refusing, nullptr);
	EXPECT_EQ(refusing->GetInt32(1), 10);
}

TEST_F(ToolActivation, RefusedOrUnknownToolsLeaveNoneActive)
{
	std::string error;
	ASSERT_TRUE(standin::tools::ActivateTool(doc, kToolA, &error)) << error;
	EXPECT_FALSE(standin::tools::ActivateTool(doc, kRefusing, &error));
	EXPECT_NE(error.find("InitTool"), std::string::npos) << error;
	EXPECT_EQ(standin::tools::ActiveToolId(), 0);
	EXPECT_EQ(standin::tools::ActiveTool(), nullptr);
	// The tool left was still left.
	const std::vector<std::string> expected = {"A defaults", "A init", "A free", "R defaults", "R init"};
	EXPECT_EQ(Calls(), expected);

	// Not registered, or registered as something other than a tool: nothing changes.
	ASSERT_TRUE(standin::tools::ActivateTool(doc, kToolA, &error)) << error;
	Calls().clear();
	for (Int32 id : {0, -1, 1990599, kCommand})
	{
		error.clear();
		EXPECT_FALSE(standin::tools::ActivateTool(doc, id, &error)) << id;
		EXPECT_NE(error.find("no tool is registered under " + std::to_string(id)), std::string::npos) << error;
		EXPECT_EQ(standin::tools::ToolSettings(id), nullptr);
	}
	EXPECT_EQ(standin::tools::ActiveToolId(), kToolA);
	EXPECT_TRUE(Calls().empty());
}

TEST_F(ToolActivation, DefaultsThatFailAreTriedAgainAndStartNothing)
{
	ASSERT_TRUE(RegisterToolPlugin(1990510, "No defaults", 0, nullptr, "", NewObjTagged(RecordingTool, "test", "N", ToolBehaviour{true, false})));
	std::string error;
	EXPECT_FALSE(standin::tools::ActivateTool(doc, 1990510, &error));
	EXPECT_NE(error.find("default settings"), std::string::npos) << error;
	EXPECT_FALSE(standin::tools::ActivateTool(doc, 1990510, &error));
	EXPECT_EQ(standin::tools::ActiveToolId(), 0);
	const std::vector<std::string> expected = {"N defaults", "N defaults"};
	EXPECT_EQ(Calls(), expected);
}

TEST_F(ToolActivation, ClearingTheRegistryLeavesTheActiveToolBeforeFreeingIt)
{
	std::string error;
	ASSERT_TRUE(standin::tools::ActivateTool(doc, kToolA, &error)) << error;
	standin::ClearRegistry();
	ASSERT_GE(Calls().size(), 4u);
	EXPECT_EQ(Calls()[2], "A free (no document)");
	EXPECT_EQ(Calls()[3].find("destroyed") != std::string::npos, true);
	EXPECT_EQ(standin::tools::ActiveToolId(), 0);
	EXPECT_EQ(standin::tools::ActiveTool(), nullptr);
	EXPECT_EQ(standin::tools::ActiveToolSettings(), nullptr);

	// A tool registered again under the same ID starts from fresh defaults.
	ASSERT_TRUE(RegisterToolPlugin(kToolA, "Tool A", 0, nullptr, "", NewObjTagged(RecordingTool, "test", "A2", ToolBehaviour{})));
	ASSERT_TRUE(standin::tools::ActivateTool(doc, kToolA, &error)) << error;
	EXPECT_EQ(standin::tools::ActiveToolSettings()->GetInt32(2), 1);
}

} // namespace
