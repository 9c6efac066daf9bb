// The shape every verb has: its check reads a line's words once into the verb's own record, and
// its run gets that record; a script whose check fails runs nothing; what a line holds down is let
// go when it ends.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "hostapi/api.h"
#include "input/input_source.h"
#include "session/verb.h"
#include "session/words.h"
#include "standin/scene.h"
#include "standin/session.h"

namespace
{

using standin::session::Session;
using standin::session::Words;

struct Numbered
{
	Int32 value = 0;
	std::string word;
};

// What the test verbs saw, in order.
std::vector<std::string>& Trace()
{
	static std::vector<std::string> trace;
	return trace;
}

bool ParseNumbered(const Words& args, Numbered* out, std::string* error)
{
	Trace().push_back("parse " + (args.empty() ? std::string() : args[0]));
	if (!standin::session::CheckArity(args, 1, 1, "test-numbered <n>", error) ||
		!standin::session::ParseInt(args[0], "n", 0, 1000, &out->value, error))
		return false;
	out->word = args[0];
	return true;
}

bool RunNumbered(Session& session, const Numbered& args, std::string*)
{
	Trace().push_back("run " + std::to_string(args.value) + " from " + args.word);
	session.Out() << args.value * 2 << '\n';
	return true;
}

standin::session::VerbRegistration numbered(standin::session::MakeVerb<Numbered>("test-numbered", "test-numbered <n>",
	"A verb of the session tests.", ParseNumbered, RunNumbered));

// Holds shift and the left button, as a verb in the middle of a drag would.
standin::session::VerbRegistration holding(standin::session::MakeVerb<standin::session::NoArgs>("test-hold", "test-hold", "A verb of the session tests.",
	standin::session::NoWords("test-hold"), [](Session& session, const standin::session::NoArgs&, std::string*) {
		session.Input().Hold(QSHIFT, BFM_INPUT_MOUSELEFT, 0);
		session.Input().QueueDrag({{1.0, 2.0}}, false);
		Trace().push_back("held " + std::to_string(standin::input::CurrentSource().Qualifiers()));
		return true;
	}));

standin::session::VerbRegistration state(standin::session::MakeVerb<standin::session::NoArgs>("test-state", "test-state", "A verb of the session tests.",
	standin::session::NoWords("test-state"), [](Session& session, const standin::session::NoArgs&, std::string*) {
		BaseContainer bc;
		GetInputState(BFM_INPUT_MOUSE, BFM_INPUT_MOUSELEFT, bc);
		Trace().push_back("qualifiers " + std::to_string(bc.GetInt32(BFM_INPUT_QUALIFIER)) + " button " + std::to_string(bc.GetInt32(BFM_INPUT_VALUE)) +
			" steps " + std::to_string(session.Input().PendingSteps()));
		return true;
	}));

int RunScript(const std::string& script, std::string* out = nullptr, std::string* err = nullptr)
{
	std::ostringstream o, e;
	const int status = standin::RunSessionText(script, "verbs.session", o, e, {});
	if (out)
		*out = o.str();
	if (err)
		*err = e.str();
	return status;
}

class SessionVerbs : public ::testing::Test
{
protected:
	void SetUp() override { Trace().clear(); }
	void TearDown() override { standin::CloseAllDocuments(); }
};

TEST_F(SessionVerbs, EachLineIsReadOnceAndRunGetsWhatTheCheckRead)
{
	std::string out, err;
	ASSERT_EQ(RunScript("test-numbered 1\ntest-numbered 20\n\ntest-numbered 300\n", &out, &err), 0) << err;
	EXPECT_EQ(out, "2\n40\n600\n");
	const std::vector<std::string> expected = {"parse 1", "parse 20", "parse 300", "run 1 from 1", "run 20 from 20", "run 300 from 300"};
	EXPECT_EQ(Trace(), expected);
}

TEST_F(SessionVerbs, ALineThatFailsItsCheckStopsTheWholeScript)
{
	std::string err;
	EXPECT_EQ(RunScript("test-numbered 1\ntest-numbered many\ntest-numbered 2000\n", nullptr, &err), 1);
	const std::vector<std::string> expected = {"parse 1", "parse many", "parse 2000"};
	EXPECT_EQ(Trace(), expected);
	EXPECT_NE(err.find("verbs.session:2: test-numbered: n 'many' is not a whole number"), std::string::npos) << err;
	EXPECT_NE(err.find("verbs.session:3: test-numbered: n 2000 is outside 0..1000"), std::string::npos) << err;
}

TEST_F(SessionVerbs, WhatALineHoldsIsLetGoWhenItEnds)
{
	ASSERT_EQ(RunScript("test-hold\ntest-state\n"), 0);
	const std::vector<std::string> expected = {"held 1", "qualifiers 0 button 0 steps 0"};
	EXPECT_EQ(Trace(), expected);
	// Outside a session nobody holds anything.
	EXPECT_EQ(standin::input::CurrentSource().Qualifiers(), 0);
	EXPECT_EQ(standin::input::CurrentSource().HeldButton(), 0);
}

TEST_F(SessionVerbs, SharedWordReaders)
{
	std::string error;
	bool on = false;
	for (const char* yes : {"on", "true", "1"})
		EXPECT_TRUE(standin::session::ParseOnOff(yes, &on, &error) && on) << yes;
	for (const char* no : {"off", "false", "0"})
		EXPECT_TRUE(standin::session::ParseOnOff(no, &on, &error) && !on) << no;
	EXPECT_FALSE(standin::session::ParseOnOff("yes", &on, &error));
	EXPECT_EQ(error, "expected on or off, not 'yes'");

	Float x = 0.0;
	EXPECT_TRUE(standin::session::ParsePixel("-12.5", "x", &x, &error));
	EXPECT_EQ(x, -12.5);
	EXPECT_FALSE(standin::session::ParsePixel("1e7", "x", &x, &error));
	EXPECT_FALSE(standin::session::ParsePixel("nan", "x", &x, &error));

	Int32 bits = 0, bit = 0;
	for (const char* q : {"shift", "alt"})
		if (standin::session::ParseQualifier(q, &bit))
			bits |= bit;
	EXPECT_FALSE(standin::session::ParseQualifier("10", &bit));
	EXPECT_EQ(standin::session::QualifierWords(bits), "shift alt");
	EXPECT_EQ(standin::session::QualifierWords(0), "none");
}

} // namespace
