// Splines of the types and settings a surface build uses, and splines of several curves: joined,
// sampled, resampled and printed.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hostapi/api.h"
#include "standin/scene.h"

namespace
{

SplineObject* MakeSpline(const std::vector<Vector>& points, Int32 type)
{
	SplineObject* s = SplineObject::Alloc(static_cast<Int32>(points.size()), type);
	for (size_t i = 0; i < points.size(); ++i)
		s->GetPointW()[i] = points[i];
	return s;
}

void ExpectSamplersAgree(const SplineObject* s)
{
	for (int i = 0; i <= 200; ++i)
	{
		const Float t = i / 200.0;
		EXPECT_EQ(s->SampleUniform(t), s->SampleUniformByTable(t)) << "t = " << t;
	}
}

// Joins the splines (which it frees) into one.
SplineObject* Join(std::vector<BaseObject*> parts)
{
	AtomArray* arr = AtomArray::Alloc();
	AtomArray* result = AtomArray::Alloc();
	for (BaseObject* p : parts)
		arr->Append(p);
	ModelingCommandData cd;
	cd.arr = arr;
	cd.result = result;
	const bool ok = SendModelingCommand(MCOMMAND_JOIN, cd);
	EXPECT_TRUE(ok);
	auto* joined = ok ? static_cast<SplineObject*>(result->GetIndex(0)) : nullptr;
	AtomArray::Free(arr);
	AtomArray::Free(result);
	for (BaseObject* p : parts)
		BaseObject::Free(p);
	return joined;
}

} // namespace

TEST(SceneSplineCurves, BSplinesAndBeziersTakeTheirSettingAndSampleAlike)
{
	for (Int32 type : {SPLINETYPE_BSPLINE, SPLINETYPE_BEZIER})
	{
		SplineObject* s = MakeSpline({Vector(0, 0, 0), Vector(2, 0, 0), Vector(2, 3, 0), Vector(7, 3, 1)}, type);
		ASSERT_NE(s, nullptr);
		EXPECT_EQ(s->GetSplineType(), type);
		EXPECT_TRUE(s->SetParameter(SPLINEOBJECT_INTERPOLATION, GeData(2)));
		GeData mode;
		ASSERT_TRUE(s->GetParameter(SPLINEOBJECT_INTERPOLATION, mode));
		EXPECT_EQ(mode.GetInt32(), 2);
		EXPECT_EQ(s->SampleUniform(1.0), Vector(7, 3, 1));
		ExpectSamplersAgree(s);
		BaseObject* op = s;
		BaseObject::Free(op);
	}
}

TEST(SceneSplineCurves, JoinKeepsEveryCurveApartAndSamplesThemInTurn)
{
	// An earlier join of two curves, and a new curve placed by its matrix.
	SplineObject* earlier = Join({MakeSpline({Vector(0, 0, 0), Vector(1, 0, 0)}, SPLINETYPE_BSPLINE),
		MakeSpline({Vector(10, 0, 0), Vector(10, 1, 0)}, SPLINETYPE_BSPLINE)});
	ASSERT_NE(earlier, nullptr);
	EXPECT_DOUBLE_EQ(earlier->GetLength(), 2.0) << "the gap between the curves is no part of the line";
	EXPECT_EQ(earlier->SampleUniform(0.75), Vector(10, 0.5, 0));
	SplineObject* fresh = MakeSpline({Vector(0, 0, 0), Vector(0, 0, 2)}, SPLINETYPE_BSPLINE);
	fresh->SetMl(Matrix(Vector(0, 5, 0), Vector(1, 0, 0), Vector(0, 1, 0), Vector(0, 0, 1)));
	earlier->SetName("OrgSpline");

	SplineObject* all = Join({earlier, fresh});
	ASSERT_NE(all, nullptr);
	EXPECT_EQ(all->GetName().Get(), "OrgSpline");
	EXPECT_EQ(all->GetSplineType(), SPLINETYPE_BSPLINE);
	ASSERT_EQ(all->GetPointCount(), 6);
	EXPECT_EQ(all->GetPointR()[5], Vector(0, 5, 2));
	EXPECT_DOUBLE_EQ(all->GetLength(), 4.0);
	EXPECT_EQ(all->SampleUniform(0.25), Vector(1, 0, 0));
	EXPECT_EQ(all->SampleUniform(0.375), Vector(10, 0.5, 0));
	EXPECT_EQ(all->SampleUniform(0.75), Vector(0, 5, 1));
	ExpectSamplersAgree(all);
	// No sample lies on a gap: every one is on one of the three curves.
	for (int i = 0; i <= 100; ++i)
	{
		const Vector p = all->SampleUniformByTable(i / 100.0);
		const bool onA = p.y == 0 && p.z == 0 && p.x >= 0 && p.x <= 1;
		const bool onB = p.x == 10 && p.z == 0 && p.y >= 0 && p.y <= 1;
		const bool onC = p.x == 0 && p.y == 5 && p.z >= 0 && p.z <= 2;
		EXPECT_TRUE(onA || onB || onC) << i;
	}

	BaseDocument* doc = standin::NewDocument();
	doc->InsertObject(all, nullptr, nullptr);
	EXPECT_NE(standin::DescribeScene(doc).find("points=6 curves=3"), std::string::npos) << standin::DescribeScene(doc);

	// Resampling gives each curve the count asked for.
	BaseContainer bc;
	bc.SetInt32(MDATA_SPLINE_RESAMPLE_MODE, 4);
	bc.SetInt32(MDATA_SPLINE_RESAMPLE_COUNT, 3);
	ModelingCommandData cd;
	cd.op = all;
	cd.bc = &bc;
	ASSERT_TRUE(SendModelingCommand(MCOMMAND_SPLINE_RESAMPLE, cd));
	ASSERT_EQ(all->GetPointCount(), 9);
	EXPECT_EQ(all->GetPointR()[1], Vector(0.5, 0, 0));
	EXPECT_EQ(all->GetPointR()[3], Vector(10, 0, 0));
	EXPECT_EQ(all->GetPointR()[7], Vector(0, 5, 1));
	EXPECT_DOUBLE_EQ(all->GetLength(), 4.0);

	// Resizing the points makes it one curve again.
	ASSERT_TRUE(all->ResizeObject(2));
	EXPECT_DOUBLE_EQ(all->GetLength(), 0.5);
	EXPECT_EQ(standin::DescribeScene(doc).find("curves="), std::string::npos);
	standin::CloseAllDocuments();
}
