// The angle read-out of a snapped straight line, watched while the drag goes on: every redraw the
// drag asks for runs the tool's Draw, and a redraw target plugged into the host looks at what that
// pass drew. The read-out is there during the drag and gone once it ends, finished or escaped.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <variant>

#include "hostapi/api.h"
#include "in_process_session.h"
#include "standin/draw_records.h"
#include "standin/views.h"
#include "standin/redraw_target.h"

namespace
{

// The read-out is a label padded with two blanks on either side; stroke labels are not.
bool HasAngleReadout(const std::vector<standin::DrawRecord>& records, std::string* text)
{
	for (const standin::DrawRecord& r : records)
		if (const auto* t = std::get_if<standin::TextRecord>(&r); t && t->text.rfind("  ", 0) == 0)
			return *text = t->text, true;
	return false;
}

class WatchPasses final : public standin::view::RedrawTarget
{
public:
	void Redraw(Int32) override
	{
		BaseDocument* doc = GetActiveDocument();
		BaseDraw* bd = doc ? doc->GetActiveBaseDraw() : nullptr;
		if (!bd)
			return;
		++passes;
		std::string text;
		if (HasAngleReadout(standin::DrawLog(bd), &text))
		{
			++withReadout;
			last = text;
		}
	}
	void Update() override {}

	int passes = 0;
	int withReadout = 0;
	std::string last;
};

class LoomAngleReadout : public InProcessSession
{
protected:
	void SetUp() override
	{
		Start("new-document\nactivate-tool 1027250\nset-tool-setting LOOM_STROKE_STYLE LOOM_STYLE_LINE\n"
			  "set-tool-setting LOOM_ANGLE_SNAP on\nset-tool-setting LOOM_ANGLE_STEP 15\n");
	}
	void TearDown() override
	{
		standin::view::UseRedrawTarget(nullptr);
		InProcessSession::TearDown();
	}


	// Whether the active view's current pass shows the read-out.
	bool ReadoutNow()
	{
		std::string text;
		return HasAngleReadout(standin::DrawLog(GetActiveDocument()->GetActiveBaseDraw()), &text);
	}

};

TEST_F(LoomAngleReadout, ShowsOnlyWhileASnappedLineIsDragged)
{
	WatchPasses watch;
	standin::view::UseRedrawTarget(&watch);
	ASSERT_EQ(Run("print-panel\ndrag left 200 200  260 190  320 170\n"), 0) << out;
	EXPECT_NE(out.find("3028 LOOM_ANGLE_STEP \"Angle step\" REAL 15\u00b0 shown enabled\n"), std::string::npos) << out;
	EXPECT_GT(watch.passes, 2);
	// Each moving step drew the read-out, in whole multiples of the 15-degree step (the panel
	// takes degrees; 15 radians would give a read-out such as 859.437).
	EXPECT_GE(watch.withReadout, 2);
	const double shown = std::stod(watch.last);
	EXPECT_EQ(std::fmod(shown, 15.0), 0.0) << watch.last;
	EXPECT_NE(shown, 0.0) << watch.last;
	EXPECT_FALSE(ReadoutNow());

	watch.withReadout = 0;
	ASSERT_EQ(Run("drag left 200 300  260 290  320 270 escape\n"), 0) << out;
	EXPECT_GE(watch.withReadout, 2);
	EXPECT_FALSE(ReadoutNow()) << "an escaped drag is over too";

	// Without snapping there is no read-out, drag or not.
	watch.withReadout = 0;
	ASSERT_EQ(Run("set-tool-setting LOOM_ANGLE_SNAP off\ndrag left 200 100  260 90  320 70\n"), 0) << out;
	EXPECT_EQ(watch.withReadout, 0);
}

} // namespace
