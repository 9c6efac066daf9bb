// A draw pass: the view's records emptied and filled afresh by the active tool's Draw (scene
// hooks will draw into the same pass).
#include <thread>

#include "hostapi/plugin.h"
#include "standin/tools.h"
#include "standin/views.h"
#include "view/draw_pass.h"
#include "view/view_data.h"

namespace standin
{

namespace
{
// The library is loaded by the main thread, so this is the main thread's id; worker threads that
// ask for a redraw never draw.
const std::thread::id kMainThread = std::this_thread::get_id();
thread_local bool inPass = false;
} // namespace

Int32 DrawPass(BaseDocument* doc, BaseDraw* bd)
{
	if (!doc || !bd || inPass || std::this_thread::get_id() != kMainThread)
		return -1;
	ClearDrawLog(bd);
	ToolData* tool = tools::ActiveTool();
	BaseContainer* settings = tools::ActiveToolSettings();
	constexpr Int32 passFlags = TOOLDRAWFLAGS_HIGHLIGHT;
	if (!tool || !settings || !tool->WantsDrawPass(static_cast<UChar>(passFlags)))
		return 0;
	BaseDrawHelp* bh = AllocDrawHelp(bd, nullptr);
	if (!bh)
		return 0;
	inPass = true;
	const Int32 answer = tool->Draw(doc, *settings, bd, bh, nullptr, passFlags);
	inPass = false;
	FreeDrawHelp(bh);
	return answer;
}

} // namespace standin

namespace standin::view
{

void RedrawActiveView()
{
	if (inPass || std::this_thread::get_id() != kMainThread)
		return;
	BaseDocument* doc = GetActiveDocument();
	if (doc)
		DrawPass(doc, doc->GetActiveBaseDraw());
}

} // namespace standin::view
