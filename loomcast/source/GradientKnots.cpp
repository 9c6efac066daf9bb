#include "Dtool.h"

#include "KernelTags.h"
#include "ToolSettings.h"
#include "hostapi/customdata.h"
#include "hostapi/memory.h"

void DTOOL::SpaceGradientKnots(BaseContainer& settings)
{
	GeData* cell = settings.GetDataPointerWritable(LOOM_SPLITS);
	if (!cell)
		return;
	auto* gradient = static_cast<Gradient*>(cell->GetCustomDataTypeWritable(CUSTOMDATATYPE_GRADIENT));
	if (!gradient)
		return;
	const Int32 n = gradient->GetKnotCount();
	for (Int32 i = 0; i < n; ++i)
	{
		GradientKnot knot = gradient->GetKnot(i);
		knot.pos = static_cast<Float>(i + 1) / static_cast<Float>(n + 1);
		gradient->SetKnot(i, knot);
	}
}

Float DTOOL::GradientSegmentShare(const BaseContainer& settings, Int32 k)
{
	const auto* gradient = static_cast<const Gradient*>(settings.GetCustomDataType(LOOM_SPLITS, CUSTOMDATATYPE_GRADIENT));
	if (!gradient)
		return 0.0;
	const Int32 n = gradient->GetKnotCount();
	if (n < 0 || k < 0 || k > n)
		return 0.0;

	HostArray<Float> seg(DTOOL_SOURCE);
	if (!seg.Resize(static_cast<Int64>(n) + 1))
		return 0.0;
	Float previous = 0.0;
	for (Int32 i = 0; i < n; ++i)
	{
		const Float pos = gradient->GetKnot(i).pos;
		seg[i] = pos - previous;
		previous = pos;
	}
	seg[n] = 1.0 - previous;

	Float remainder = 0.0;
	for (Int32 i = k; i <= n; ++i)
		remainder += seg[i];
	const Float own = seg[k];

	// Nothing left to share out (every later knot sits at 1): segment k takes the whole rest.
	if (!(remainder > 0.0))
		return 1.0;
	const Float share = own / remainder;
	// Knots out of position order can make a segment negative; the caller splits an edge at this
	// fraction, so it must stay on the edge.
	if (!(share > 0.0))
		return 0.0;
	return share < 1.0 ? share : 1.0;
}
