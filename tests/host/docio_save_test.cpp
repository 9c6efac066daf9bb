// Saving checks the scene against what opening accepts: a save that succeeds makes a file that
// opens, and one that cannot leaves the file on disk as it was and says why.
#include <limits>
#include <string>

#include "docio_fixture.h"
#include "hostapi/objects.h"
#include "scene/object_data.h"

namespace
{

class DocumentSaveTest : public docio_testing::DocumentFileTest
{
protected:
	// The save must fail naming reason, and leave the file as the last good save made it.
	void ExpectSaveRefused(const char* what, const std::string& reason)
	{
		const std::string before = FileBytes();
		std::string error;
		EXPECT_FALSE(standin::SaveDocument(doc, path, &error)) << what;
		EXPECT_NE(error.find("would not open again"), std::string::npos) << what << ": " << error;
		EXPECT_NE(error.find(reason), std::string::npos) << what << ": " << error;
		EXPECT_EQ(FileBytes(), before) << what;
	}
};

TEST_F(DocumentSaveTest, WhatCouldNotOpenIsNotSavedAndTheOldFileStays)
{
	const Float nan = std::numeric_limits<Float>::quiet_NaN();
	const Float inf = std::numeric_limits<Float>::infinity();
	BaseObject* null = Append(BaseObject::Alloc(Onull));
	null->SetName("Holder");
	PolygonObject* mesh = PolygonObject::Alloc(3, 1);
	Append(mesh);
	mesh->SetName("Mesh");
	mesh->GetPolygonW()[0] = CPolygon(0, 1, 2);
	std::string error;
	ASSERT_TRUE(standin::SaveDocument(doc, path, &error)) << error;

	null->SetMl(Matrix(Vector(nan, 0, 0), Vector(1, 0, 0), Vector(0, 1, 0), Vector(0, 0, 1)));
	ExpectSaveRefused("NaN matrix", "object 'Holder': its matrix is not finite");
	null->SetMl(Matrix());

	mesh->GetPointW()[1] = Vector(0, inf, 0);
	ExpectSaveRefused("infinite point", "object 'Mesh': point 1 is not a finite number");
	mesh->GetPointW()[1] = Vector(1, 0, 0);

	// Every record counts, also one past the polygons that opening would cut off.
	UVWTag* uvw = UVWTag::Alloc(3);
	mesh->InsertTag(uvw);
	uvw->SetSlow(2, UVWStruct{Vector(), Vector(nan, 0, 0), Vector(), Vector()});
	ExpectSaveRefused("NaN texture coordinate", "UVW record 2 is not a finite number");
	mesh->KillTag(Tuvw);

	// Each matrix is finite, but the child's world matrix is not.
	const Matrix huge(Vector(), Vector(1e200, 0, 0), Vector(0, 1e200, 0), Vector(0, 0, 1e200));
	null->SetMl(huge);
	BaseObject* child = Append(BaseObject::Alloc(Onull), null);
	child->SetName("Child");
	child->SetMl(huge);
	ExpectSaveRefused("overflowing world matrix", "object 'Child': its world matrix overflows");
	child->SetMl(Matrix());

	// A shrinking resize leaves polygons naming points that are gone.
	ASSERT_TRUE(mesh->ResizeObject(2, 1));
	ExpectSaveRefused("polygon corner", "polygon 0 has corner 2, which names no point");
	ASSERT_TRUE(mesh->ResizeObject(3, 1));

	// A curve table that does not add up to the points.
	SplineObject* spline = SplineObject::Alloc(4, SPLINETYPE_LINEAR);
	Append(spline);
	scene::SplineDataOf(spline)->curves = {2, 3};
	ExpectSaveRefused("curve table", "the curves hold 5 points, the spline 4");
	scene::SplineDataOf(spline)->curves = {2, 2};

	// Parameters nested deeper than a container may be read back.
	BaseContainer deep;
	for (int i = 0; i < 70; ++i)
	{
		BaseContainer outer;
		outer.SetContainer(1, deep);
		deep = outer;
	}
	null->GetDataInstance()->SetContainer(5, deep);
	ExpectSaveRefused("deep parameters", "parameters of 'Holder' nest containers more than 64 deep");
	null->GetDataInstance()->RemoveData(5);

	BaseDocument* loaded = SaveAndOpen();
	ASSERT_NE(loaded, nullptr);
	EXPECT_NE(standin::DescribeScene(loaded).find("curves=2"), std::string::npos);
}

TEST_F(DocumentSaveTest, SelectionsKeepOnlyWhatTheObjectStillHas)
{
	PolygonObject* mesh = PolygonObject::Alloc(6, 3);
	Append(mesh);
	for (Int32 i = 0; i < 3; ++i)
		mesh->GetPolygonW()[i] = CPolygon(0, 1, 2);
	for (Int32 i : {0, 4, 5})
		mesh->GetPointS()->Select(i);
	for (Int32 i : {1, 2})
		mesh->GetPolygonS()->Select(i);
	for (Int32 i = 2; i < 12; ++i)
		mesh->GetEdgeS()->Select(i);
	// Selections keep what a shrinking resize cut off.
	ASSERT_TRUE(mesh->ResizeObject(5, 1));

	BaseDocument* loaded = SaveAndOpen();
	ASSERT_NE(loaded, nullptr);
	auto* back = static_cast<PolygonObject*>(loaded->GetFirstObject());
	EXPECT_EQ(back->GetPointS()->GetCount(), 2); // 0 and 4
	EXPECT_TRUE(back->GetPointS()->IsSelected(4));
	EXPECT_EQ(back->GetPolygonS()->GetCount(), 0);
	EXPECT_EQ(back->GetEdgeS()->GetCount(), 2); // 2 and 3, the edges of polygon 0
}

} // namespace
