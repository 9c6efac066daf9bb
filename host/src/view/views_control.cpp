// Host-side control of views (standin/views.h).
#include <cmath>
#include <new>
#include <sstream>

#include "standin/printable.h"
#include "view/draw_text.h"
#include "view/view_data.h"

namespace standin
{

using view::ViewData;
using view::ViewDataOf;

BaseDraw* AddView(BaseDocument* doc, Int32 projection, std::string* error)
{
	auto fail = [error](const std::string& what) -> BaseDraw* {
		if (error)
			*error = what;
		return nullptr;
	};
	if (!view::IsValidProjectionCode(projection))
		return fail("projection must be 0 (perspective) or 8 to 11 (parallel), not " + std::to_string(projection));
	view::DocumentViews* views = view::ViewsOf(doc);
	if (!views)
		return fail(doc ? "out of memory" : "no document");
	auto* v = new (std::nothrow) ViewData();
	if (!v || !v->camera)
	{
		delete v;
		return fail("out of memory");
	}
	v->projection.code = projection;
	views->views.push_back(v);
	views->active = static_cast<Int32>(views->views.size()) - 1;
	return v;
}

Int32 ViewCount(BaseDocument* doc)
{
	view::DocumentViews* views = view::ViewsOf(doc);
	return views ? static_cast<Int32>(views->views.size()) : 0;
}

BaseDraw* GetView(BaseDocument* doc, Int32 index)
{
	view::DocumentViews* views = view::ViewsOf(doc);
	if (!views || index < 0 || index >= static_cast<Int32>(views->views.size()))
		return nullptr;
	return views->views[static_cast<std::size_t>(index)];
}

bool SetActiveView(BaseDocument* doc, BaseDraw* bd)
{
	view::DocumentViews* views = view::ViewsOf(doc);
	if (!views)
		return false;
	for (std::size_t i = 0; i < views->views.size(); ++i)
	{
		if (views->views[i] == bd)
		{
			views->active = static_cast<Int32>(i);
			return true;
		}
	}
	return false;
}

Matrix DefaultCameraMatrix()
{
	return view::DefaultCameraMatrix();
}

void SetCameraMatrix(BaseDraw* bd, const Matrix& mg)
{
	if (bd && ViewDataOf(bd)->camera)
		ViewDataOf(bd)->camera->SetMg(mg);
}

bool SetProjection(BaseDraw* bd, Int32 code)
{
	if (!bd || !view::IsValidProjectionCode(code))
		return false;
	ViewDataOf(bd)->projection.code = code;
	return true;
}

bool SetFrame(BaseDraw* bd, Int32 left, Int32 top, Int32 right, Int32 bottom)
{
	constexpr Int64 kMaxSide = 16384;
	if (!bd || right < left || bottom < top || Int64(right) - left + 1 > kMaxSide || Int64(bottom) - top + 1 > kMaxSide)
		return false;
	// Keep the frame near the origin so pixel arithmetic never nears the Int32 limits.
	if (std::abs(Int64(left)) > (Int64(1) << 24) || std::abs(Int64(top)) > (Int64(1) << 24))
		return false;
	auto& p = ViewDataOf(bd)->projection;
	p.left = left;
	p.top = top;
	p.right = right;
	p.bottom = bottom;
	return true;
}

bool SetParallelScale(BaseDraw* bd, Float scale)
{
	if (!bd || !std::isfinite(scale) || !(scale > 0.0))
		return false;
	ViewDataOf(bd)->projection.scale = scale;
	return true;
}

Float GetParallelScale(const BaseDraw* bd)
{
	return bd ? ViewDataOf(bd)->projection.scale : 0.0;
}

std::vector<DrawRecord> DrawLog(const BaseDraw* bd)
{
	if (!bd)
		return {};
	const auto records = ViewDataOf(bd)->Records();
	return std::vector<DrawRecord>(records.begin(), records.end());
}

void ClearDrawLog(BaseDraw* bd)
{
	if (!bd)
		return;
	ViewDataOf(bd)->ClearRecords();
}

Int64 DrawRecordsDropped(const BaseDraw* bd)
{
	return bd ? ViewDataOf(bd)->droppedRecords : 0;
}


BaseDrawHelp* AllocDrawHelp(BaseDraw* bd, BaseObject* op)
{
	auto* bh = new (std::nothrow) view::DrawHelpData();
	if (!bh)
		return nullptr;
	bh->bd = bd;
	bh->mg = op ? op->GetMg() : Matrix();
	return bh;
}

void FreeDrawHelp(BaseDrawHelp*& bh)
{
	delete static_cast<view::DrawHelpData*>(bh);
	bh = nullptr;
}

std::string DescribeView(const BaseDraw* bd)
{
	if (!bd)
		return "no view";
	const view::Projection p = ViewDataOf(bd)->Current();
	std::ostringstream out;
	out << "projection " << p.code << (p.IsParallel() ? " parallel" : " perspective") << ", frame " << p.left << " " << p.top << " " << p.right << " "
		<< p.bottom << ", scale " << String::FloatToString(p.scale).Get() << ", camera " << DescribeMatrix(p.camera);
	return out.str();
}

} // namespace standin
