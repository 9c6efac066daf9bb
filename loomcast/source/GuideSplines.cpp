// Guide splines for a spline deformer: the curves through the surface's knot rows, kept below the
// output in a deformer that links the original ("OrgSpline") and the target ("TgSpline") curve.
#include "HostHandle.h"
#include "KernelTags.h"
#include "SurfaceBuild.h"
#include "hostapi/modeling.h"

namespace
{
constexpr Int32 INTERPOLATION_NATURAL = 2;
constexpr Int32 DEFORMER_ORIGINAL = 2000;
constexpr Int32 DEFORMER_TARGET = 2001;
const String kOriginalName("OrgSpline");
const String kTargetName("TgSpline");

// One curve through a knot row, in world space (identity frame).
SplineObject* RowCurve(const Vector* row, Int32 n)
{
	SplineObject* curve = SplineObject::Alloc(n, SPLINETYPE_BSPLINE);
	if (!curve || curve->GetPointCount() != n || !curve->GetPointW())
	{
		BaseObject* dead = curve;
		BaseObject::Free(dead);
		return nullptr;
	}
	Vector* points = curve->GetPointW();
	for (Int32 j = 0; j < n; ++j)
		points[j] = row[j];
	if (BaseContainer* data = curve->GetDataInstance())
		data->SetInt32(SPLINEOBJECT_INTERPOLATION, INTERPOLATION_NATURAL);
	curve->SetName(kOriginalName);
	return curve;
}

// The joined curve holds world positions; it is placed with the frame mg, so its points move into
// that frame to stay where the surface is.
void PlaceInFrame(PointObject* curve, const Matrix& mg)
{
	const Matrix toFrame = InvertMatrix(mg);
	Vector* points = curve->GetPointW();
	for (Int32 i = 0; points && i < curve->GetPointCount(); ++i)
		points[i] = toFrame * points[i];
}
} // namespace

bool GuideSplines::Make(BaseDocument* doc, BaseObject* output, const Vector* knots, Int32 k, Int32 n, const Matrix& mg)
{
	if (!doc || !knots || k <= 0 || n <= 0 || _original)
		return false;
	_mg = mg;

	// The curves of this build are made free; only the joined result goes into the scene.
	HostHandle<AtomArray> parts(AtomArray::Alloc());
	HostHandle<AtomArray> made(AtomArray::Alloc());
	HostHandle<AtomArray> result(AtomArray::Alloc());
	if (!parts || !made || !result)
		return false;
	auto freeMade = [&]() {
		for (Int32 i = 0; i < made->GetCount(); ++i)
		{
			BaseObject* op = static_cast<BaseObject*>(made->GetIndex(i));
			BaseObject::Free(op);
		}
		made->Flush();
	};

	// The output's deformer, or a new one made now: placing must not need to allocate.
	BaseObject* deformer = output ? output->GetDown() : nullptr;
	if (!deformer || deformer->GetType() != Osplinedeformer)
	{
		_freshDeformer.Reset(BaseObject::Alloc(Osplinedeformer));
		if (!_freshDeformer)
			return false;
		deformer = nullptr;
	}
	// Earlier builds' original curves come first, so the join carries them along.
	for (BaseObject* child = deformer ? deformer->GetDown() : nullptr; child; child = child->GetNext())
		if (child->GetName() == kOriginalName && !parts->Append(child))
			return false;
	for (Int32 i = 0; i < k; ++i)
	{
		SplineObject* curve = RowCurve(knots + static_cast<Int64>(i) * n, n);
		if (curve && !made->Append(curve))
		{
			BaseObject* dead = curve;
			BaseObject::Free(dead);
			curve = nullptr;
		}
		if (!curve || !parts->Append(curve))
		{
			freeMade();
			return false;
		}
	}

	ModelingCommandData cd;
	cd.doc = doc;
	cd.arr = parts.Get();
	cd.result = result.Get();
	const bool joinedOk = SendModelingCommand(MCOMMAND_JOIN, cd) && result->GetCount() >= 1;
	freeMade();
	BaseObject* joined = joinedOk ? static_cast<BaseObject*>(result->GetIndex(0)) : nullptr;
	// Whatever else the command made is not wanted.
	for (Int32 i = joinedOk ? 1 : 0; i < result->GetCount(); ++i)
	{
		BaseObject* extra = static_cast<BaseObject*>(result->GetIndex(i));
		BaseObject::Free(extra);
	}
	if (!joined || !joined->IsInstanceOf(Ospline))
	{
		BaseObject::Free(joined);
		return false;
	}
	HostHandle<BaseObject> original(joined);
	PlaceInFrame(static_cast<PointObject*>(joined), mg);
	original->SetName(kOriginalName);

	HostHandle<AliasTrans> trans(AliasTrans::Alloc());
	if (!trans || !trans->Init(doc))
		return false;
	BaseList2D* copy = original->GetClone(0, trans.Get());
	if (!copy)
		return false;
	trans->Translate(true);
	_target.Reset(static_cast<BaseObject*>(copy));
	_target->SetName(kTargetName);
	_original.Reset(original.Release());
	return true;
}

void GuideSplines::Place(BaseObject* output)
{
	if (!output || !_original || !_target)
		return;
	BaseObject* deformer = _freshDeformer ? _freshDeformer.Get() : output->GetDown();
	if (_freshDeformer)
		_freshDeformer.Release()->InsertUnder(output);
	// The deformer's children make way for the two new curves.
	while (BaseObject* child = deformer->GetDown())
	{
		child->Remove();
		BaseObject::Free(child);
	}
	BaseObject* org = _original.Release();
	BaseObject* tg = _target.Release();
	org->InsertUnderLast(deformer);
	org->SetMg(_mg);
	tg->InsertUnderLast(deformer);
	tg->SetMg(_mg);
	if (BaseContainer* data = deformer->GetDataInstance())
	{
		data->SetLink(DEFORMER_ORIGINAL, org);
		data->SetLink(DEFORMER_TARGET, tg);
	}
}
