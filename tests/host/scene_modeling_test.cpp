// Spline sampling and the modelling commands: resample, join, current state to object.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "hostapi/api.h"
#include "standin/scene.h"

namespace
{

SplineObject* MakeSpline(const std::vector<Vector>& points, Int32 type = SPLINETYPE_LINEAR)
{
	SplineObject* s = SplineObject::Alloc(static_cast<Int32>(points.size()), type);
	for (size_t i = 0; i < points.size(); ++i)
		s->GetPointW()[i] = points[i];
	return s;
}

void FreeObject(BaseObject* op)
{
	BaseObject::Free(op);
}

bool Resample(SplineObject* s, Int32 count, Int32 mode = 4)
{
	BaseContainer bc;
	bc.SetInt32(MDATA_SPLINE_RESAMPLE_MODE, mode);
	bc.SetInt32(MDATA_SPLINE_RESAMPLE_COUNT, count);
	ModelingCommandData cd;
	cd.op = s;
	cd.bc = &bc;
	return SendModelingCommand(MCOMMAND_SPLINE_RESAMPLE, cd);
}

Float Distance(const Vector& a, const Vector& b)
{
	return std::sqrt((a - b).GetSquaredLength());
}

} // namespace

TEST(SceneSpline, SamplesByLengthWithBothSamplersAgreeing)
{
	// An L: 3 units along X, then 1 unit along Y, with a repeated point in between.
	SplineObject* s = MakeSpline({Vector(0, 0, 0), Vector(3, 0, 0), Vector(3, 0, 0), Vector(3, 1, 0)});
	EXPECT_DOUBLE_EQ(s->GetLength(), 4.0);
	EXPECT_EQ(s->SampleUniform(0.0), Vector(0, 0, 0));
	EXPECT_EQ(s->SampleUniform(0.5), Vector(2, 0, 0));
	EXPECT_EQ(s->SampleUniform(0.875), Vector(3, 0.5, 0));
	EXPECT_EQ(s->SampleUniform(1.0), Vector(3, 1, 0));
	EXPECT_EQ(s->SampleUniform(-3.0), Vector(0, 0, 0)); // clamped
	EXPECT_EQ(s->SampleUniform(7.0), Vector(3, 1, 0));
	EXPECT_EQ(s->SampleUniform(std::nan("")), Vector(0, 0, 0));
	for (int i = 0; i <= 64; ++i)
	{
		const Float t = i / 64.0;
		EXPECT_EQ(s->SampleUniform(t), s->SampleUniformByTable(t)) << "t = " << t;
	}
	FreeObject(s);
}

TEST(SceneSpline, DegenerateSplinesAnswerTheirFirstPointOrOrigin)
{
	SplineObject* still = MakeSpline({Vector(1, 2, 3), Vector(1, 2, 3)});
	EXPECT_EQ(still->SampleUniform(0.7), Vector(1, 2, 3));
	EXPECT_EQ(still->SampleUniformByTable(0.7), Vector(1, 2, 3));
	SplineObject* empty = MakeSpline({});
	EXPECT_EQ(empty->SampleUniform(0.5), Vector());
	EXPECT_EQ(empty->SampleUniformByTable(0.5), Vector());
	EXPECT_EQ(empty->GetLength(), 0.0);
	EXPECT_EQ(SplineObject::Alloc(2, 9), nullptr);
	FreeObject(still);
	FreeObject(empty);
}

TEST(SceneSpline, ResampleGivesEvenlySpacedPointsKeepingTheEnds)
{
	// Unevenly spaced freehand points along a bent line.
	SplineObject* s = MakeSpline({Vector(0, 0, 0), Vector(0.1, 0, 0), Vector(5, 0, 0), Vector(5, 0, 2), Vector(5.5, 0, 7)},
	                             SPLINETYPE_BEZIER);
	auto* original = static_cast<SplineObject*>(s->GetClone());
	const Float length = s->GetLength();
	ASSERT_TRUE(Resample(s, 20));
	ASSERT_EQ(s->GetPointCount(), 20);
	EXPECT_EQ(s->GetSplineType(), SPLINETYPE_BEZIER);
	EXPECT_EQ(s->GetPointR()[0], Vector(0, 0, 0));
	EXPECT_EQ(s->GetPointR()[19], Vector(5.5, 0, 7));
	// Point j lies at j/19 of the original length, so no chord is longer than that step.
	const Float step = length / 19.0;
	for (Int32 j = 0; j < 20; ++j)
	{
		const Vector expected = original->SampleUniform(j / 19.0);
		EXPECT_LT(Distance(s->GetPointR()[j], expected), 1e-9) << "point " << j;
		if (j > 0)
		{
			EXPECT_LE(Distance(s->GetPointR()[j - 1], s->GetPointR()[j]), step + 1e-9);
		}
	}
	FreeObject(original);
	FreeObject(s);
}

TEST(SceneSpline, ResampleRefusesBadInputAndChangesNothing)
{
	SplineObject* s = MakeSpline({Vector(0, 0, 0), Vector(1, 0, 0)});
	EXPECT_FALSE(Resample(s, 0));
	EXPECT_FALSE(Resample(s, -5));
	EXPECT_FALSE(Resample(s, 5, 2)); // unknown mode
	ModelingCommandData noParams;
	noParams.op = s;
	EXPECT_FALSE(SendModelingCommand(MCOMMAND_SPLINE_RESAMPLE, noParams));
	EXPECT_EQ(s->GetPointCount(), 2);

	SplineObject* empty = MakeSpline({});
	EXPECT_FALSE(Resample(empty, 5));
	PolygonObject* poly = PolygonObject::Alloc(3, 0);
	BaseContainer bc;
	bc.SetInt32(MDATA_SPLINE_RESAMPLE_MODE, 4);
	bc.SetInt32(MDATA_SPLINE_RESAMPLE_COUNT, 5);
	ModelingCommandData notSpline;
	notSpline.op = poly;
	notSpline.bc = &bc;
	EXPECT_FALSE(SendModelingCommand(MCOMMAND_SPLINE_RESAMPLE, notSpline));
	EXPECT_FALSE(SendModelingCommand(12345, notSpline));

	ASSERT_TRUE(Resample(s, 1)); // one point: the first
	EXPECT_EQ(s->GetPointCount(), 1);
	FreeObject(s);
	FreeObject(empty);
	FreeObject(poly);
}

TEST(SceneModeling, JoinMergesPolygonObjectsInWorldSpace)
{
	std::string error;
	PolygonObject* a = standin::MakePrimitive(Oplane, 2.0, 1, &error);
	PolygonObject* b = standin::MakePrimitive(Oplane, 2.0, 1, &error);
	BaseObject* parent = BaseObject::Alloc(Onull);
	Matrix pm;
	pm.off = Vector(0, 10, 0);
	parent->SetMl(pm);
	b->InsertUnder(parent);
	Matrix bm;
	bm.off = Vector(100, 0, 0);
	b->SetMl(bm);
	auto* uvw = static_cast<UVWTag*>(b->MakeTag(Tuvw));
	UVWStruct s;
	s.a = Vector(0.25, 0.75, 0);
	uvw->SetSlow(0, s);

	AtomArray* arr = AtomArray::Alloc();
	AtomArray* result = AtomArray::Alloc();
	arr->Append(a);
	arr->Append(b);
	ModelingCommandData cd;
	cd.arr = arr;
	cd.result = result;
	ASSERT_TRUE(SendModelingCommand(MCOMMAND_JOIN, cd));
	ASSERT_EQ(result->GetCount(), 1);
	auto* joined = static_cast<PolygonObject*>(result->GetIndex(0));
	ASSERT_EQ(joined->GetType(), Opolygon);
	EXPECT_EQ(joined->GetPointCount(), 8);
	ASSERT_EQ(joined->GetPolygonCount(), 2);
	EXPECT_EQ(joined->GetPolygonR()[1], CPolygon(4, 6, 7, 5)); // b's indices moved past a's points
	EXPECT_EQ(joined->GetPointR()[4], Vector(99, 10, -1));     // b's first point in world space
	EXPECT_EQ(joined->GetMg(), Matrix());
	auto* joinedUVW = static_cast<UVWTag*>(joined->GetTag(Tuvw));
	ASSERT_NE(joinedUVW, nullptr);
	EXPECT_EQ(joinedUVW->GetSlow(0).a, Vector()); // a had no coordinates
	EXPECT_EQ(joinedUVW->GetSlow(1).a, Vector(0.25, 0.75, 0));
	EXPECT_EQ(a->GetPointCount(), 4); // sources untouched

	FreeObject(joined);
	AtomArray::Free(result);
	AtomArray::Free(arr);
	FreeObject(a);
	FreeObject(parent);
}

TEST(SceneModeling, JoinConcatenatesSplinesAndRefusesBadInput)
{
	SplineObject* a = MakeSpline({Vector(0, 0, 0), Vector(1, 0, 0)}, SPLINETYPE_BSPLINE);
	a->SetParameter(SPLINEOBJECT_INTERPOLATION, GeData(Int32{2}));
	SplineObject* b = MakeSpline({Vector(0, 0, 0), Vector(0, 1, 0)});
	Matrix m;
	m.off = Vector(0, 0, 5);
	b->SetMl(m);
	AtomArray* arr = AtomArray::Alloc();
	AtomArray* result = AtomArray::Alloc();
	arr->Append(a);
	arr->Append(b);
	ModelingCommandData cd;
	cd.arr = arr;
	cd.result = result;
	ASSERT_TRUE(SendModelingCommand(MCOMMAND_JOIN, cd));
	auto* joined = static_cast<SplineObject*>(result->GetIndex(0));
	ASSERT_EQ(joined->GetType(), Ospline);
	EXPECT_EQ(joined->GetSplineType(), SPLINETYPE_BSPLINE);
	ASSERT_EQ(joined->GetPointCount(), 4);
	EXPECT_EQ(joined->GetPointR()[3], Vector(0, 1, 5));
	EXPECT_EQ(joined->GetDataInstance()->GetInt32(SPLINEOBJECT_INTERPOLATION), 2);
	FreeObject(joined);

	// Nothing joinable, no result array, a polygon referring to a missing point.
	result->Flush();
	AtomArray* nulls = AtomArray::Alloc();
	BaseObject* null = BaseObject::Alloc(Onull);
	nulls->Append(null);
	cd.arr = nulls;
	EXPECT_FALSE(SendModelingCommand(MCOMMAND_JOIN, cd));
	cd.arr = arr;
	cd.result = nullptr;
	EXPECT_FALSE(SendModelingCommand(MCOMMAND_JOIN, cd));
	PolygonObject* broken = PolygonObject::Alloc(3, 1);
	broken->GetPolygonW()[0] = CPolygon(0, 1, 7);
	nulls->Flush();
	nulls->Append(broken);
	cd.arr = nulls;
	cd.result = result;
	EXPECT_FALSE(SendModelingCommand(MCOMMAND_JOIN, cd));
	EXPECT_EQ(result->GetCount(), 0);

	FreeObject(broken);
	FreeObject(null);
	AtomArray::Free(nulls);
	AtomArray::Free(result);
	AtomArray::Free(arr);
	FreeObject(a);
	FreeObject(b);
}

TEST(SceneModeling, CurrentStateCopiesAndTurnsPrimitivesIntoMeshes)
{
	BaseDocument* doc = BaseDocument::Alloc();
	BaseObject* cube = BaseObject::Alloc(Ocube);
	cube->SetName("Box");
	doc->InsertObject(cube, nullptr, nullptr);
	BaseObject* child = BaseObject::Alloc(Onull);
	child->InsertUnder(cube);
	cube->MakeTag(Tphong);
	Matrix m;
	m.off = Vector(1, 2, 3);
	cube->SetMl(m);

	AtomArray* result = AtomArray::Alloc();
	ModelingCommandData cd;
	cd.doc = doc;
	cd.op = cube;
	cd.result = result;
	ASSERT_TRUE(SendModelingCommand(MCOMMAND_CURRENTSTATETOOBJECT, cd));
	ASSERT_EQ(result->GetCount(), 1);
	auto* mesh = static_cast<PolygonObject*>(result->GetIndex(0));
	EXPECT_EQ(mesh->GetType(), Opolygon);
	EXPECT_EQ(mesh->GetName().Get(), "Box");
	EXPECT_EQ(mesh->GetPointCount(), 8);
	EXPECT_EQ(mesh->GetMl(), m);
	EXPECT_NE(mesh->GetDown(), nullptr);
	EXPECT_NE(mesh->GetTag(Tphong), nullptr);
	EXPECT_NE(mesh->GetGUID(), cube->GetGUID());
	EXPECT_EQ(mesh->GetDocument(), nullptr);
	FreeObject(mesh);

	result->Flush();
	cd.op = doc; // not an object
	EXPECT_FALSE(SendModelingCommand(MCOMMAND_CURRENTSTATETOOBJECT, cd));
	EXPECT_EQ(result->GetCount(), 0);
	AtomArray::Free(result);
	BaseDocument::Free(doc);
}
