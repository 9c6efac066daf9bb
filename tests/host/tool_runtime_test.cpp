// The host's tool runtime driven as the views and the settings panel drive it: which tool is
// active, when tools hear FreeTool and InitTool, the settings containers, and the panel a user
// sees and edits. The fixture tool is registered directly and records what reaches it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "hostapi/api.h"
#include "scratch_folder.h"
#include "standin/plugins.h"
#include "standin/scene.h"
#include "standin/tools.h"
#include "standin/views.h"
#include "tools/host_description.h"

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
	Int32 commandFlags = CMD_ENABLED;
	bool drawsInPass = true;
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
	Int32 GetCommandFlags() override { return _behaviour.commandFlags; }
	bool WantsDrawPass(UChar passFlags) override
	{
		Calls().push_back(_name + " pass " + std::to_string(passFlags));
		return _behaviour.drawsInPass;
	}
	Int32 Draw(BaseDocument* doc, BaseContainer& data, BaseDraw* bd, BaseDrawHelp* bh, BaseThread* bt, Int32 flags) override
	{
		(void)doc;
		(void)data;
		(void)bd;
		(void)bh;
		(void)bt;
		Calls().push_back(_name + " draw " + std::to_string(flags));
		return TOOLDRAW_HANDLES;
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

TEST_F(ToolActivation, ADisabledToolCannotBePickedAndTheActiveOneStays)
{
	ToolBehaviour disabled;
	disabled.commandFlags = ~CMD_ENABLED;
	ASSERT_TRUE(RegisterToolPlugin(1990511, "Disabled", 0, nullptr, "", NewObjTagged(RecordingTool, "test", "D", disabled)));
	ToolBehaviour more;
	more.commandFlags = CMD_ENABLED | 1;
	ASSERT_TRUE(RegisterToolPlugin(1990512, "More", 0, nullptr, "", NewObjTagged(RecordingTool, "test", "M", more)));
	std::string error;
	ASSERT_TRUE(standin::tools::ActivateTool(doc, kToolA, &error)) << error;
	EXPECT_FALSE(standin::tools::ActivateTool(doc, 1990511, &error));
	EXPECT_NE(error.find("disabled"), std::string::npos) << error;
	EXPECT_EQ(standin::tools::ActiveToolId(), kToolA);
	EXPECT_EQ(standin::tools::ToolSettings(kToolA), standin::tools::ActiveToolSettings());
	// Other bits beside the enabled one do not matter.
	ASSERT_TRUE(standin::tools::ActivateTool(doc, 1990512, &error)) << error;
	const std::vector<std::string> expected = {"A defaults", "A init", "A free", "M defaults", "M init"};
	EXPECT_EQ(Calls(), expected);
}

TEST_F(ToolActivation, TheActiveToolDrawsOnlyInThePassesItWants)
{
	std::string error;
	BaseDraw* bd = standin::AddView(doc, Pperspective, &error);
	ASSERT_NE(bd, nullptr) << error;
	ToolBehaviour shy;
	shy.drawsInPass = false;
	ASSERT_TRUE(RegisterToolPlugin(1990513, "Shy", 0, nullptr, "", NewObjTagged(RecordingTool, "test", "S", shy)));
	ASSERT_TRUE(standin::tools::ActivateTool(doc, kToolA, &error)) << error;
	EXPECT_EQ(standin::DrawPass(doc, bd), TOOLDRAW_HANDLES);
	ASSERT_TRUE(standin::tools::ActivateTool(doc, 1990513, &error)) << error;
	EXPECT_EQ(standin::DrawPass(doc, bd), 0);
	const std::vector<std::string> expected = {"A defaults", "A init", "A pass 2", "A draw 2", "A free", "S defaults", "S init", "S pass 2"};
	EXPECT_EQ(Calls(), expected);
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

// ---- The settings panel ----------------------------------------------------------------------

constexpr Int32 kPanelTool = 1990520;
constexpr Int32 kPlainTool = 1990521;

const char* kPanelResource =
	"10 LONG FX_COUNT \"Count\"\n"
	"11 REAL FX_SCALE \"Scale\"\n"
	"12 BOOL FX_FLAG \"Flag\"\n"
	"13 STRING FX_NOTE \"Note\"\n"
	"14 LINK FX_TARGET \"Target\"\n"
	"15 CYCLE FX_MODE \"Mode\"\n"
	"  16 CHOICE FX_MODE_A \"Mode A\"\n"
	"  17 CHOICE FX_MODE_B \"Mode B\"\n"
	"18 BUTTON FX_GO \"Go\"\n"
	"19 BUTTON FX_SECRET \"Secret\"\n"
	"20 GROUP FX_GROUP \"Group\"\n"
	"21 GRADIENT FX_RAMP \"Ramp\"\n"
	"22 SPLINE FX_CURVE \"Curve\"\n"
	"23 LONG FX_MISSING \"Missing\"\n";

enum : Int32
{
	FX_COUNT = 10,
	FX_SCALE = 11,
	FX_FLAG = 12,
	FX_NOTE = 13,
	FX_TARGET = 14,
	FX_MODE = 15,
	FX_MODE_A = 16,
	FX_MODE_B = 17,
	FX_GO = 18,
	FX_SECRET = 19,
	FX_GROUP = 20,
	FX_RAMP = 21,
	FX_CURVE = 22,
	FX_MISSING = 23,
};

// A tool with a panel: it hides FX_SECRET always and FX_SCALE while FX_FLAG is on, renames the
// group, enables FX_GO only with a positive count and FX_COUNT only in mode A, and records the
// messages it receives as "<type> <detail>".
class PanelTool : public DescriptionToolData
{
public:
	explicit PanelTool(bool loadsItself) : _loadsItself(loadsItself) {}

	Int32 GetToolPluginId() override { return kPanelTool; }
	const String GetResourceSymbol() override { return "FixturePanel"; }
	bool InitDefaultSettings(BaseDocument* doc, BaseContainer& data) override
	{
		(void)doc;
		data.SetInt32(FX_COUNT, 0);
		data.SetFloat(FX_SCALE, 0.5);
		data.SetBool(FX_FLAG, false);
		data.SetString(FX_NOTE, String("say \"hi\"\n\\"));
		data.SetLink(FX_TARGET, nullptr);
		data.SetInt32(FX_MODE, FX_MODE_A);
		Gradient* ramp = Gradient::Alloc();
		GradientKnot knot;
		ramp->InsertKnot(knot);
		knot.pos = 1.0;
		ramp->InsertKnot(knot);
		ramp->InsertKnot(knot);
		data.SetData(FX_RAMP, GeData(*ramp));
		Gradient::Free(ramp);
		SplineData* curve = SplineData::Alloc();
		curve->InsertKnot(0.0, 0.0);
		data.SetData(FX_CURVE, GeData(*curve));
		SplineData::Free(curve);
		return true;
	}
	bool GetDDescription(BaseDocument* doc, BaseContainer& data, Description* description, Int32& flags) override
	{
		(void)doc;
		if (!_loadsItself)
			return true;
		if (!description->LoadDescription(GetResourceSymbol()))
			return false;
		description->GetParameterI(DescID(FX_SECRET), nullptr)->SetBool(DESC_HIDE, true);
		description->GetParameterI(DescID(FX_SCALE), nullptr)->SetBool(DESC_HIDE, data.GetBool(FX_FLAG));
		description->GetParameterI(DescID(FX_GROUP), nullptr)->SetString(DESC_NAME, String("Renamed"));
		flags |= DESCFLAGS_DESC_LOADED;
		return true;
	}
	bool GetDEnabling(BaseDocument* doc, BaseContainer& data, Int32 id, const GeData& t_data, Int32 flags, const BaseContainer* itemdesc) override
	{
		(void)doc;
		(void)flags;
		// The panel hands over the entry's current value and its properties.
		if (id == FX_COUNT && (t_data.GetInt32() != data.GetInt32(FX_COUNT) || !itemdesc || itemdesc->GetString(DESC_NAME).Get() != "Count"))
			return false;
		if (id == FX_GO)
			return data.GetInt32(FX_COUNT) > 0;
		if (id == FX_COUNT)
			return data.GetInt32(FX_MODE) == FX_MODE_A;
		return true;
	}
	bool Message(BaseDocument* doc, BaseContainer& data, Int32 type, void* t_data) override
	{
		(void)data;
		std::string detail;
		if (type == MSG_DESCRIPTION_COMMAND)
			detail = std::to_string(static_cast<DescriptionCommand*>(t_data)->id[0].id);
		else if (type == MSG_DESCRIPTION_CHECKUPDATE)
		{
			const auto* update = static_cast<DescriptionCheckUpdate*>(t_data);
			detail = std::to_string((*update->descid)[0].id) + (update->doc == doc ? " doc" : " other doc");
		}
		else
			detail = t_data ? "data" : "null";
		Calls().push_back(std::to_string(type) + " " + detail);
		return true;
	}

private:
	bool _loadsItself;
};

class SettingsPanel : public ::testing::Test
{
protected:
	void SetUp() override
	{
		folder.Write("res/strings.str", "1 \"fixture\"\n");
		folder.Write("res/description/FixturePanel.res", kPanelResource);
		ASSERT_TRUE(resource.Init(Filename(folder.Path().string().c_str())));
		doc = standin::NewDocument();
		ASSERT_TRUE(RegisterToolPlugin(kPanelTool, "Panel", 0, nullptr, "", NewObjTagged(PanelTool, "test", true)));
		ASSERT_TRUE(RegisterToolPlugin(kPlainTool, "Plain", 0, nullptr, "", NewObjTagged(RecordingTool, "test", "P", ToolBehaviour{})));
		std::string error;
		ASSERT_TRUE(standin::tools::ActivateTool(doc, kPanelTool, &error)) << error;
		Calls().clear();
	}
	void TearDown() override
	{
		standin::ClearRegistry();
		standin::CloseAllDocuments();
		resource.Free();
	}

	std::vector<standin::tools::PanelEntry> Panel()
	{
		std::vector<standin::tools::PanelEntry> entries;
		std::string error;
		EXPECT_TRUE(standin::tools::ReadPanel(doc, &entries, &error)) << error;
		return entries;
	}
	std::string Line(Int32 id)
	{
		for (const auto& e : Panel())
			if (e.id == id)
				return standin::tools::DescribePanel({e});
		return "no entry " + std::to_string(id);
	}
	BaseContainer& Settings() { return *standin::tools::ActiveToolSettings(); }

	ScratchFolder folder;
	GeResource resource;
	BaseDocument* doc = nullptr;
};

TEST_F(SettingsPanel, EveryEntryShowsItsValueByKind)
{
	EXPECT_EQ(standin::tools::DescribePanel(Panel()),
		"10 FX_COUNT \"Count\" LONG 0 shown enabled\n"
		"11 FX_SCALE \"Scale\" REAL 0.5 shown enabled\n"
		"12 FX_FLAG \"Flag\" BOOL off shown enabled\n"
		"13 FX_NOTE \"Note\" STRING \"say \\\"hi\\\"\\n\\\\\" shown enabled\n"
		"14 FX_TARGET \"Target\" LINK none shown enabled\n"
		"15 FX_MODE \"Mode\" CYCLE \"Mode A\" 16 shown enabled\n"
		"18 FX_GO \"Go\" BUTTON - shown disabled\n"
		"19 FX_SECRET \"Secret\" BUTTON - hidden enabled\n"
		"20 FX_GROUP \"Renamed\" GROUP - shown enabled\n"
		"21 FX_RAMP \"Ramp\" GRADIENT 3 knots shown enabled\n"
		"22 FX_CURVE \"Curve\" SPLINE 1 knot shown enabled\n"
		"23 FX_MISSING \"Missing\" LONG unset shown enabled\n");

	// Links show the object's path while it exists in the document, none once it is gone.
	BaseObject* parent = BaseObject::Alloc(Onull);
	BaseObject* child = BaseObject::Alloc(Onull);
	parent->SetName(String("Rig"));
	child->SetName(String("Arm \x1b"));
	doc->InsertObject(parent, nullptr, nullptr);
	doc->InsertObject(child, parent, nullptr);
	Settings().SetLink(FX_TARGET, child);
	EXPECT_EQ(Line(FX_TARGET), "14 FX_TARGET \"Target\" LINK \"Rig/Arm \\x1b\" shown enabled\n");
	BaseObject::Free(child);
	EXPECT_EQ(Line(FX_TARGET), "14 FX_TARGET \"Target\" LINK none shown enabled\n");

	// Values that do not fit their entry are named as such rather than misread.
	Settings().SetString(FX_COUNT, String("five"));
	Settings().SetInt32(FX_MODE, 99);
	Settings().SetInt32(FX_RAMP, 1);
	EXPECT_EQ(Line(FX_COUNT), "10 FX_COUNT \"Count\" LONG invalid shown disabled\n");
	EXPECT_EQ(Line(FX_MODE), "15 FX_MODE \"Mode\" CYCLE unknown 99 shown enabled\n");
	EXPECT_EQ(Line(FX_RAMP), "21 FX_RAMP \"Ramp\" GRADIENT invalid shown enabled\n");
}

TEST_F(SettingsPanel, HidingAndEnablingFollowTheSettingsEachTimeThePanelIsRead)
{
	Settings().SetBool(FX_FLAG, true);
	Settings().SetInt32(FX_COUNT, 2);
	EXPECT_EQ(Line(FX_SCALE), "11 FX_SCALE \"Scale\" REAL 0.5 hidden enabled\n");
	EXPECT_EQ(Line(FX_GO), "18 FX_GO \"Go\" BUTTON - shown enabled\n");
	// Every read starts from the resource: what the last description hid is not remembered.
	Settings().SetBool(FX_FLAG, false);
	EXPECT_EQ(Line(FX_SCALE), "11 FX_SCALE \"Scale\" REAL 0.5 shown enabled\n");
}

TEST_F(SettingsPanel, TheHostLoadsTheLayoutForAToolThatLeavesItToTheHost)
{
	standin::ClearRegistry();
	ASSERT_TRUE(RegisterToolPlugin(kPanelTool, "Panel", 0, nullptr, "", NewObjTagged(PanelTool, "test", false)));
	std::string error;
	ASSERT_TRUE(standin::tools::ActivateTool(doc, kPanelTool, &error)) << error;
	EXPECT_EQ(Line(FX_SECRET), "19 FX_SECRET \"Secret\" BUTTON - shown enabled\n");
	EXPECT_EQ(Line(FX_GROUP), "20 FX_GROUP \"Group\" GROUP - shown enabled\n");
}

TEST_F(SettingsPanel, APanelNeedsAnActiveToolWithADescription)
{
	std::vector<standin::tools::PanelEntry> entries;
	std::string error;
	standin::tools::DeactivateTool(doc);
	EXPECT_FALSE(standin::tools::ReadPanel(doc, &entries, &error));
	EXPECT_EQ(error, "no tool is active");
	ASSERT_TRUE(standin::tools::ActivateTool(doc, kPlainTool, &error)) << error;
	EXPECT_FALSE(standin::tools::ReadPanel(doc, &entries, &error));
	EXPECT_NE(error.find("has no settings panel"), std::string::npos) << error;
	EXPECT_FALSE(standin::tools::PanelButton(doc, FX_GO, &error));
	EXPECT_FALSE(standin::tools::PanelChange(doc, FX_COUNT, GeData(1), &error));
	// The layout gone (its plug-in's resources freed): a clear refusal, not an empty panel.
	ASSERT_TRUE(standin::tools::ActivateTool(doc, kPanelTool, &error)) << error;
	resource.Free();
	EXPECT_FALSE(standin::tools::ReadPanel(doc, &entries, &error));
	EXPECT_NE(error.find("could not describe"), std::string::npos) << error;
}

TEST_F(SettingsPanel, DescriptionPropertiesBelongToEntriesAndChoices)
{
	standin::tools::HostDescription description;
	Description* d = &description;
	EXPECT_EQ(d->GetName().Get(), "");
	EXPECT_EQ(d->GetParameterI(DescID(FX_COUNT), nullptr), nullptr);
	EXPECT_FALSE(d->LoadDescription(String("NoSuchPanel")));
	ASSERT_TRUE(d->LoadDescription(String("FixturePanel")));
	EXPECT_EQ(d->GetName().Get(), "FixturePanel");
	BaseContainer* count = d->GetParameterI(DescID(FX_COUNT), nullptr);
	ASSERT_NE(count, nullptr);
	EXPECT_EQ(count->GetString(DESC_NAME).Get(), "Count");
	EXPECT_FALSE(count->GetBool(DESC_HIDE, true));
	BaseContainer* choice = d->GetParameterI(DescID(FX_MODE_B), nullptr);
	ASSERT_NE(choice, nullptr);
	EXPECT_EQ(choice->GetString(DESC_NAME).Get(), "Mode B");
	EXPECT_EQ(d->GetParameterI(DescID(99), nullptr), nullptr);
	EXPECT_EQ(d->GetParameterI(DescID(), nullptr), nullptr);
	// Loading again drops what was changed; a failed load keeps what is loaded.
	count->SetBool(DESC_HIDE, true);
	ASSERT_TRUE(d->LoadDescription(String("FixturePanel")));
	EXPECT_FALSE(d->GetParameterI(DescID(FX_COUNT), nullptr)->GetBool(DESC_HIDE));
	EXPECT_FALSE(d->LoadDescription(String("NoSuchPanel")));
	EXPECT_EQ(d->GetName().Get(), "FixturePanel");
}

TEST_F(SettingsPanel, AButtonPressReachesTheToolOnlyWhenTheUserCanPressIt)
{
	std::string error;
	EXPECT_FALSE(standin::tools::PanelButton(doc, FX_GO, &error));
	EXPECT_EQ(error, "entry 18 (FX_GO) is disabled");
	EXPECT_FALSE(standin::tools::PanelButton(doc, FX_SECRET, &error));
	EXPECT_EQ(error, "entry 19 (FX_SECRET) is hidden");
	EXPECT_FALSE(standin::tools::PanelButton(doc, FX_COUNT, &error));
	EXPECT_EQ(error, "entry 10 (FX_COUNT) is no button");
	EXPECT_FALSE(standin::tools::PanelButton(doc, 4242, &error));
	EXPECT_EQ(error, "the settings panel has no entry 4242");
	EXPECT_TRUE(Calls().empty());
	Settings().SetInt32(FX_COUNT, 1);
	ASSERT_TRUE(standin::tools::PanelButton(doc, FX_GO, &error)) << error;
	EXPECT_EQ(Calls(), std::vector<std::string>{"18 18"});
}

TEST_F(SettingsPanel, AnEditIsWrittenThenCheckedThenEnded)
{
	std::string error;
	ASSERT_TRUE(standin::tools::PanelChange(doc, FX_COUNT, GeData(7), &error)) << error;
	EXPECT_EQ(Settings().GetInt32(FX_COUNT), 7);
	const std::vector<std::string> expected = {"31 10 doc", "19 null"};
	EXPECT_EQ(Calls(), expected);

	ASSERT_TRUE(standin::tools::PanelChange(doc, FX_SCALE, GeData(Int32(2)), &error)) << error;
	EXPECT_EQ(Settings().GetDataPointer(FX_SCALE)->GetType(), DA_REAL); // an integer typed into a number field
	ASSERT_TRUE(standin::tools::PanelChange(doc, FX_MODE, GeData(FX_MODE_B), &error)) << error;
	ASSERT_TRUE(standin::tools::PanelChange(doc, FX_FLAG, GeData(true), &error)) << error;
	ASSERT_TRUE(standin::tools::PanelChange(doc, FX_NOTE, GeData(String("")), &error)) << error;
	BaseObject* target = BaseObject::Alloc(Onull);
	doc->InsertObject(target, nullptr, nullptr);
	GeData link;
	link.SetLink(target);
	ASSERT_TRUE(standin::tools::PanelChange(doc, FX_TARGET, link, &error)) << error;
	EXPECT_EQ(Settings().GetLink(FX_TARGET, doc), target);
	ASSERT_TRUE(standin::tools::PanelChange(doc, FX_TARGET, GeData(), &error)) << error;
	EXPECT_EQ(Settings().GetLink(FX_TARGET, doc), nullptr);
}

TEST_F(SettingsPanel, EditsThatDoNotFitTheirEntryChangeNothing)
{
	BaseDocument* other = standin::NewDocument();
	BaseObject* elsewhere = BaseObject::Alloc(Onull);
	other->InsertObject(elsewhere, nullptr, nullptr);
	standin::SetActiveDocument(doc);
	GeData foreign;
	foreign.SetLink(elsewhere);
	const struct
	{
		Int32 id;
		GeData value;
		const char* why;
	} cases[] = {
		{FX_COUNT, GeData(String("7")), "takes an integer"},
		{FX_COUNT, GeData(1.5), "takes an integer"},
		{FX_SCALE, GeData(std::nan("")), "takes a finite number"},
		{FX_SCALE, GeData(String("x")), "takes a number"},
		{FX_FLAG, GeData(Int32(2)), "takes on or off"},
		{FX_NOTE, GeData(Int32(2)), "takes a text"},
		{FX_MODE, GeData(FX_GO), "is not a choice"},
		{FX_MODE, GeData(String("FX_MODE_B")), "one of its choices"},
		{FX_TARGET, foreign, "an element of the document"},
		{FX_TARGET, GeData(Int32(1)), "an element of the document"},
		{FX_RAMP, GeData(Int32(1)), "takes a gradient"},
		{FX_GO, GeData(Int32(1)), "holds no value"},
		{FX_GROUP, GeData(), "holds no value"},
		{FX_SECRET, GeData(), "is hidden"},
		{4242, GeData(Int32(1)), "no entry 4242"},
	};
	Settings().SetInt32(FX_COUNT, 1); // Go enabled: refused for being a button, not for being disabled
	const BaseContainer before = Settings();
	for (const auto& c : cases)
	{
		std::string error;
		EXPECT_FALSE(standin::tools::PanelChange(doc, c.id, c.value, &error)) << c.id << " " << c.why;
		EXPECT_NE(error.find(c.why), std::string::npos) << error;
	}
	EXPECT_TRUE(Settings() == before);
	EXPECT_TRUE(Calls().empty());
	// A disabled field cannot be typed into either.
	Settings().SetInt32(FX_MODE, FX_MODE_B);
	std::string error;
	EXPECT_FALSE(standin::tools::PanelChange(doc, FX_COUNT, GeData(3), &error));
	EXPECT_EQ(error, "entry 10 (FX_COUNT) is disabled");
}

} // namespace
