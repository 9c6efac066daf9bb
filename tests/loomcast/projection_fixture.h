// What the projection tests share: a front view over a fresh document, grids and spheres to
// project, texture coordinates that are an affine function of world position, and a run of the
// control thread as the tool starts it.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "ControlThread.h"
#include "Dtool.h"
#include "ToolSettings.h"
#include "front_view.h"
#include "standin/scene.h"
#include "standin/threads.h"

constexpr Int32 kSphere = 5160; // the host's sphere primitive (a polygon object)

inline void ExpectNear(const Vector& got, const Vector& want, double tol)
{
	EXPECT_NEAR(got.x, want.x, tol);
	EXPECT_NEAR(got.y, want.y, tol);
	EXPECT_NEAR(got.z, want.z, tol);
}

// A grid of cells x cells quads in the plane y = height, side `size`, centred on (cx, cz).
inline PolygonObject* Grid(Int32 cells, Float size, Float height, Float cx = 0.0, Float cz = 0.0)
{
	const Int32 side = cells + 1;
	PolygonObject* op = PolygonObject::Alloc(side * side, cells * cells);
	Vector* p = op->GetPointW();
	for (Int32 j = 0; j < side; ++j)
		for (Int32 i = 0; i < side; ++i)
			p[j * side + i] = Vector(cx - size / 2 + size * i / cells, height, cz - size / 2 + size * j / cells);
	CPolygon* q = op->GetPolygonW();
	for (Int32 j = 0; j < cells; ++j)
		for (Int32 i = 0; i < cells; ++i)
			q[j * cells + i] = CPolygon(j * side + i, (j + 1) * side + i, (j + 1) * side + i + 1, j * side + i + 1);
	return op;
}

// A grid of cells x cells quads standing in the plane z = depth, facing the front view, side
// `size`, centred on (cx, cy); point j * (cells + 1) + i lies in row j (y) and column i (x).
inline PolygonObject* Wall(Int32 cells, Float size, Float depth, Float cx = 0.0, Float cy = 0.0)
{
	PolygonObject* op = Grid(cells, size, 0.0);
	Vector* p = op->GetPointW();
	for (Int32 i = 0; i < op->GetPointCount(); ++i)
		p[i] = Vector(cx + p[i].x, cy + p[i].z, depth);
	return op;
}

// A UVW tag whose coordinates are an affine function of each corner's world x and y.
inline void AffineUVW(PolygonObject* op, Float su, Float sv, Float ou, Float ov)
{
	UVWTag* tag = static_cast<UVWTag*>(op->MakeTag(Tuvw));
	const Vector* p = op->GetPointR();
	const Matrix mg = op->GetMg();
	auto uv = [&](Int32 k) {
		const Vector w = mg * p[k];
		return Vector(w.x * su + ou, w.y * sv + ov, 0.0);
	};
	for (Int32 i = 0; i < op->GetPolygonCount(); ++i)
	{
		const CPolygon& c = op->GetPolygonR()[i];
		tag->SetSlow(i, UVWStruct{uv(c.a), uv(c.b), uv(c.c), uv(c.d)});
	}
}

class ProjectionTest : public ::testing::Test
{
protected:
	void SetUp() override
	{
		doc = standin::NewDocument();
		ASSERT_NE(doc, nullptr);
		std::string error;
		bd = AddFrontView(doc, &error);
		ASSERT_NE(bd, nullptr) << error;
		standin::SetClockStep(-1);
	}
	void TearDown() override
	{
		standin::SetClockStep(-1);
		standin::CloseAllDocuments();
	}
	PolygonObject* Insert(PolygonObject* op, const char* name)
	{
		op->SetName(name);
		doc->InsertObject(op, nullptr, nullptr);
		return op;
	}
	PolygonObject* Sphere(Float radius, Int32 segments, const char* name = "Sphere")
	{
		return Insert(standin::MakePrimitive(kSphere, radius, segments, nullptr), name);
	}
	// Runs the control thread as the tool does, over the polygons [first, end) of the mesh (end
	// -1: to the last).
	String Run(PolygonObject* mesh, BaseObject* uvSource, BaseObject* target, Int32 threads, Float offset, bool uv, Int32 first = 0,
		Int32 end = -1)
	{
		ControlThread control;
		control.mesh = mesh;
		control.uvSource = uvSource;
		control.surfaceTarget = target;
		control.document = doc;
		control.view = bd;
		control.settings.SetInt32(LOOM_THREADS, threads);
		control.settings.SetFloat(LOOM_OFFSET, offset);
		control.settings.SetBool(LOOM_UV_FROM_SOURCE, uv);
		control.firstPolygon = first;
		control.endPolygon = end >= 0 ? end : mesh ? mesh->GetPolygonCount() : 0;
		String text;
		control.resultText = &text;
		EXPECT_TRUE(control.Start(THREADMODE_ASYNC, THREADPRIORITY_NORMAL));
		control.Wait(true);
		control.End(false);
		return text;
	}

	BaseDocument* doc = nullptr;
	BaseDraw* bd = nullptr;
	DTOOL dtool;
};
