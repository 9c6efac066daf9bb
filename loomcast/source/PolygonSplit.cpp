// Polygon splitting: a click moves the edge line's points to where the preview placed them, or
// grows the mesh by a band of quads along the line, cut across by the split gradient's knots, and
// wraps the new band onto the object under the mouse.
#include "ControlThread.h"
#include "ProjectionPass.h"
#include "Dtool.h"
#include "HostHandle.h"
#include "KernelTags.h"
#include "LoomSurface.h"
#include "ToolRules.h"
#include "ToolSettings.h"
#include "hostapi/customdata.h"
#include "hostapi/memory.h"
#include "hostapi/modeling.h"

namespace
{
constexpr Int32 kGrowCommit = MODELING_COMMIT_UPDATE | MODELING_COMMIT_NOVALIDATION;                          // 65
constexpr Int32 kSplitCommit = MODELING_COMMIT_UPDATE | MODELING_COMMIT_RESTORE | MODELING_COMMIT_NOVALIDATION; // 73

// True when every point the line names still exists in op: the object may have been edited
// since the line was built.
bool LineFitsObject(const EdgeLineData& line, const PolygonObject* op)
{
	Int32 nodes = 0;
	for (const EdgeLineNode* n = line.head; n; n = n->next, ++nodes)
		if (n->point < 0 || n->point >= op->GetPointCount())
			return false;
	return nodes == line.pointCount;
}
} // namespace

bool LoomS::FailSplit()
{
	ReleaseEdgeLine(_edgeLines);
	ResetStrokes();
	return false;
}

bool LoomS::SplitAlongEdgeLine(BaseDocument* doc, BaseContainer& data, BaseDraw* bd, Float x, Float y)
{
	PolygonObject* op = _edgeLines.GetObject(doc);
	if (!op || !bd || !LineFitsObject(_edgeLines, op))
		return FailSplit();
	DTOOL tool;
	doc->StartUndo();
	doc->AddUndo(UNDOTYPE_CHANGE, op);
	doc->EndUndo();
	// The object being split is never its own wrapping target.
	SetPickedObject(tool.ObjectUnderCursor(doc, bd, x, y, op, &_depth));

	const Matrix toLocal = InvertMatrix(op->GetMg());
	const Int32 count = _edgeLines.pointCount;
	if (_dragOp != DRAGOP_POLYGON_SPLIT)
	{
		Vector* points = op->GetPointW();
		for (EdgeLineNode* n = _edgeLines.head; n && points; n = n->next)
			points[n->point] = toLocal * tool.ApplyAxisLocks(op, data, n->base, n->target);
		op->Message(MSG_UPDATE);
		ReleaseEdgeLine(_edgeLines);
		ResetStrokes();
		return true;
	}

	HostArray<Int32> oldPoints(LOOMSURFACE_SOURCE), newPoints(LOOMSURFACE_SOURCE);
	HostHandle<Modeling> kernel(Modeling::Alloc());
	if (!kernel || !oldPoints.Resize(count) || !newPoints.Resize(count) || !kernel->InitObject(op))
		return FailSplit();
	Int32 j = 0;
	for (EdgeLineNode* n = _edgeLines.head; n; n = n->next, ++j)
	{
		oldPoints[j] = n->point;
		newPoints[j] = kernel->AddPoint(op, toLocal * tool.ApplyAxisLocks(op, data, n->base, n->target));
		if (newPoints[j] < 0)
			return FailSplit();
	}
	const Int32 polygonsBefore = op->GetPolygonCount();
	const bool forward = count < 2 || tool.EdgeRunsForward(oldPoints[0], oldPoints[1], op);
	for (j = 0; j + 1 < count; ++j)
	{
		const Int32 ahead[4] = {oldPoints[j], newPoints[j], newPoints[j + 1], oldPoints[j + 1]};
		const Int32 reversed[4] = {oldPoints[j], oldPoints[j + 1], newPoints[j + 1], newPoints[j]};
		if (kernel->CreateNgon(op, forward ? ahead : reversed, 4, MODELING_SETNGON_FLAG_FIXEDQUADS) < 0)
			return FailSplit();
	}
	if (!kernel->Commit(op, kGrowCommit))
		return FailSplit();

	const auto* splits = static_cast<const Gradient*>(data.GetCustomDataType(LOOM_SPLITS, CUSTOMDATATYPE_GRADIENT));
	const Int32 knots = splits ? splits->GetKnotCount() : 0;
	if (knots >= 1)
	{
		if (!kernel->InitObject(op))
			return FailSplit();
		for (j = 0; j < count; ++j)
		{
			Int32 current = oldPoints[j];
			for (Int32 k = 0; k < knots; ++k)
			{
				current = kernel->SplitEdge(op, current, newPoints[j], tool.GradientSegmentShare(data, k));
				if (current < 0)
					return FailSplit();
			}
		}
		if (!kernel->Commit(op, kSplitCommit))
			return FailSplit();
	}

	op->Message(MSG_UPDATE);
	// The same post-pass as the surface build's, over the polygons this split added; without a
	// picked object nothing is wrapped and the read-out is the plain one.
	if (BaseObject* picked = GetPickedObject(doc))
		RunProjectionPass(doc, data, op, picked, TextureSourceOf(picked, data), polygonsBefore, op->GetPolygonCount());
	else
		data.SetString(LOOM_RESULT, PlainResultText());
	op->Message(MSG_UPDATE);

	op->Message(MSG_UPDATE);
	ReleaseEdgeLine(_edgeLines);
	ResetStrokes();
	return true;
}
