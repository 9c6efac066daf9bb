// Matrix inverse, frame normal and the rotation conventions that the plug-ins build frames with.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "hostapi/vector.h"

namespace
{

void ExpectNear(const Vector& a, const Vector& b, double tol = 1e-12)
{
	EXPECT_NEAR(a.x, b.x, tol);
	EXPECT_NEAR(a.y, b.y, tol);
	EXPECT_NEAR(a.z, b.z, tol);
}

void ExpectNear(const Matrix& a, const Matrix& b, double tol = 1e-12)
{
	ExpectNear(a.off, b.off, tol);
	ExpectNear(a.v1, b.v1, tol);
	ExpectNear(a.v2, b.v2, tol);
	ExpectNear(a.v3, b.v3, tol);
}

Float Det(const Matrix& m)
{
	return Dot(m.v1, Cross(m.v2, m.v3));
}

const Matrix kSkewed(Vector(4.0, -2.0, 7.5), Vector(2.0, 0.5, -1.0), Vector(0.3, 3.0, 0.2), Vector(-0.7, 0.1, 1.5));

} // namespace

TEST(MatrixProduct, AppliesRightOperandFirst)
{
	const Matrix move(Vector(10.0, 0.0, 0.0), Vector(1, 0, 0), Vector(0, 1, 0), Vector(0, 0, 1));
	const Matrix scale = MatrixScale(Vector(2.0, 2.0, 2.0));
	ExpectNear((move * scale) * Vector(1.0, 1.0, 1.0), Vector(12.0, 2.0, 2.0));
	ExpectNear((scale * move) * Vector(1.0, 1.0, 1.0), Vector(22.0, 2.0, 2.0));
}

TEST(InvertMatrix, UndoesAGeneralFrameOnBothSides)
{
	const Matrix inv = InvertMatrix(kSkewed);
	ExpectNear(inv * kSkewed, Matrix(), 1e-12);
	ExpectNear(kSkewed * inv, Matrix(), 1e-12);
	const Vector p(1.5, -3.0, 0.25);
	ExpectNear(inv * (kSkewed * p), p, 1e-12);
}

TEST(InvertMatrix, PureTranslationNegatesTheOffset)
{
	const Matrix t(Vector(1.0, 2.0, 3.0), Vector(1, 0, 0), Vector(0, 1, 0), Vector(0, 0, 1));
	EXPECT_EQ(InvertMatrix(t), Matrix(Vector(-1.0, -2.0, -3.0), Vector(1, 0, 0), Vector(0, 1, 0), Vector(0, 0, 1)));
}

TEST(InvertMatrix, SingularFramesGiveTheIdentity)
{
	Matrix noV3 = kSkewed;
	noV3.v3 = Vector();
	EXPECT_EQ(InvertMatrix(noV3), Matrix());

	Matrix parallel = kSkewed;
	parallel.v2 = parallel.v1 * 2.0; // determinant exactly 0, every axis non-zero
	EXPECT_EQ(InvertMatrix(parallel), Matrix());

	EXPECT_EQ(InvertMatrix(MatrixScale(Vector(1.0, 0.0, 1.0))), Matrix());
}

TEST(InvertMatrix, TinyButNonZeroDeterminantStillInverts)
{
	const Matrix small = MatrixScale(Vector(1e-6, 1e-6, 1e-6));
	ExpectNear(InvertMatrix(small) * small, Matrix(), 1e-9);
}

bool Finite(const Matrix& m)
{
	for (const Vector& v : {m.off, m.v1, m.v2, m.v3})
		if (!std::isfinite(v.x) || !std::isfinite(v.y) || !std::isfinite(v.z))
			return false;
	return true;
}

TEST(InvertMatrix, HugeAndTinyScalesInvertWithoutOverflow)
{
	// The determinant of these overflows or underflows, but the inverse is an ordinary number.
	for (const Vector& scale : {Vector(1e200, 1e200, 1e200), Vector(1e-200, 1e-200, 1e-200), Vector(1e200, 1.0, 1e-200),
			 Vector(1e300, 3e-300, 7.0)})
	{
		Matrix m = kSkewed;
		m.v1 *= scale.x;
		m.v2 *= scale.y;
		m.v3 *= scale.z;
		const Matrix inv = InvertMatrix(m);
		ASSERT_TRUE(Finite(inv)) << scale.x << " " << scale.y << " " << scale.z;
		// inverse(K * S) = inverse(S) * inverse(K) for the diagonal scale S: row k of the inverse
		// is row k of the unscaled inverse divided by scale k.
		const Matrix unscaled = InvertMatrix(kSkewed);
		const Float s[3] = {scale.x, scale.y, scale.z};
		const Vector* got[3] = {&inv.v1, &inv.v2, &inv.v3};
		const Vector* want[3] = {&unscaled.v1, &unscaled.v2, &unscaled.v3};
		for (int j = 0; j < 3; ++j)
			ExpectNear(Vector(got[j]->x * s[0], got[j]->y * s[1], got[j]->z * s[2]), *want[j], 1e-12);
	}
	// A parent scaled by 1e200 far from the origin.
	const Matrix parent(Vector(5e200, 0, 0), Vector(1e200, 0, 0), Vector(0, 1e200, 0), Vector(0, 0, 1e200));
	const Matrix child = InvertMatrix(parent) * Matrix(Vector(1e200, 2e200, 3e200), Vector(1, 0, 0), Vector(0, 1, 0), Vector(0, 0, 1));
	ExpectNear(child.off, Vector(-4.0, 2.0, 3.0), 1e-12);
}

TEST(InvertMatrix, FramesWhoseInverseCannotBeRepresentedGiveTheIdentity)
{
	const Float nan = std::numeric_limits<Float>::quiet_NaN();
	EXPECT_EQ(InvertMatrix(MatrixScale(Vector(1e-310, 1e-310, 1e-310))), Matrix()); // inverse beyond 1e308
	EXPECT_EQ(InvertMatrix(Matrix(Vector(nan, 0, 0), Vector(1, 0, 0), Vector(0, 1, 0), Vector(0, 0, 1))), Matrix());
	EXPECT_EQ(InvertMatrix(MatrixScale(Vector(std::numeric_limits<Float>::infinity(), 1, 1))), Matrix());
}

TEST(VectorLength, LargeAndTinyComponentsNeitherOverflowNorVanish)
{
	EXPECT_DOUBLE_EQ(Vector(3e200, 4e200, 0).GetLength(), 5e200);
	EXPECT_DOUBLE_EQ(Vector(0, 3e-200, -4e-200).GetLength(), 5e-200);
	EXPECT_DOUBLE_EQ(Vector(3, 4, 12).GetLength(), 13.0);
	EXPECT_EQ(Vector().GetLength(), 0.0);
}

TEST(PlaneNormalOfFrame, IsTheUnitNormalOfTheV1V3Plane)
{
	ExpectNear(PlaneNormalOfFrame(Matrix()), Vector(0.0, 1.0, 0.0));
	ExpectNear(PlaneNormalOfFrame(MatrixScale(Vector(3.0, 5.0, 7.0))), Vector(0.0, 1.0, 0.0));
	const Vector n = PlaneNormalOfFrame(kSkewed);
	EXPECT_NEAR(n.GetLength(), 1.0, 1e-12);
	EXPECT_NEAR(Dot(n, kSkewed.v1), 0.0, 1e-12);
	EXPECT_NEAR(Dot(n, kSkewed.v3), 0.0, 1e-12);

	Matrix flat;
	flat.v3 = flat.v1;
	EXPECT_TRUE(PlaneNormalOfFrame(flat).IsZero());
}

TEST(Rotations, FollowTheHostAxisDefinitions)
{
	const Float w = 0.7;
	const Matrix rx = MatrixRotX(w);
	ExpectNear(rx.v1, Vector(1.0, 0.0, 0.0));
	ExpectNear(rx.v2, Vector(0.0, std::cos(w), -std::sin(w)));
	ExpectNear(rx.v3, Vector(0.0, std::sin(w), std::cos(w)));

	ExpectNear(MatrixRotY(w) * Vector(1.0, 0.0, 0.0), Vector(std::cos(w), 0.0, std::sin(w)));

	for (const Matrix& r : {MatrixRotX(w), MatrixRotY(w), MatrixRotZ(w)})
	{
		EXPECT_NEAR(Det(r), 1.0, 1e-12);
		EXPECT_TRUE(r.off.IsZero());
		ExpectNear(InvertMatrix(r) * r, Matrix());
	}
	// Each rotation turns about its own axis.
	ExpectNear(MatrixRotX(w) * Vector(2.0, 0.0, 0.0), Vector(2.0, 0.0, 0.0));
	ExpectNear(MatrixRotY(w) * Vector(0.0, 2.0, 0.0), Vector(0.0, 2.0, 0.0));
	ExpectNear(MatrixRotZ(w) * Vector(0.0, 0.0, 2.0), Vector(0.0, 0.0, 2.0));
}

TEST(VectorToHPB, MeasuresHeadingFromXZAndPitchFromY)
{
	ExpectNear(VectorToHPB(Vector(0.0, 0.0, 1.0)), Vector(0.0, 0.0, 0.0));
	ExpectNear(VectorToHPB(Vector(0.0, 0.0, -5.0)), Vector(PI, 0.0, 0.0));
	ExpectNear(VectorToHPB(Vector(3.0, 3.0, 0.0)), Vector(-PI / 2.0, PI / 4.0, 0.0));
	// Straight up or down, and anything closer to vertical than 1e-5 horizontally.
	ExpectNear(VectorToHPB(Vector(0.0, 2.0, 0.0)), Vector(0.0, PI / 2.0, 0.0));
	ExpectNear(VectorToHPB(Vector(0.0, -2.0, 0.0)), Vector(0.0, -PI / 2.0, 0.0));
	ExpectNear(VectorToHPB(Vector(5e-6, -1e-9, 5e-6)), Vector(0.0, -PI / 2.0, 0.0));
}

TEST(VectorToHPB, HeadingPlusNinetyDegreesIsTheAngleInTheXZPlane)
{
	// Direction snapping turns (cos a, 0, sin a) into a heading and back through MatrixRotY.
	for (int deg = -170; deg <= 180; deg += 10)
	{
		const Float a = deg * PI / 180.0;
		const Float h = VectorToHPB(Vector(std::cos(a), 0.0, std::sin(a))).x;
		ExpectNear(MatrixRotY(h + PI / 2.0) * Vector(1.0, 0.0, 0.0), Vector(std::cos(a), 0.0, std::sin(a)), 1e-12);
	}
}

TEST(HPBToMatrix, TurnsPlusZOntoTheDirectionOfVectorToHPB)
{
	const Vector dirs[] = {{1, 2, 3}, {-1, 0.5, -2}, {0, 0, -1}, {0, 1, 0}, {0, -3, 0}, {4, -4, 0.001}, {-1e-3, 1, 2e-3}};
	for (const Vector& d : dirs)
	{
		const Vector unit = d / d.GetLength();
		const Matrix m = HPBToMatrix(VectorToHPB(d), ROTATIONORDER_DEFAULT);
		ExpectNear(m * Vector(0.0, 0.0, 1.0), unit, 1e-9);
		EXPECT_NEAR(Det(m), 1.0, 1e-12);
		// The surface frame: a quarter turn about X brings the direction onto the second axis.
		const Matrix frame = m * MatrixRotX(-PI / 2.0);
		ExpectNear(frame.v2, unit, 1e-9);
	}
}

TEST(MatrixToHPB, RoundTripsAnglesAndIgnoresScale)
{
	for (Float h = -3.0; h <= 3.0; h += 0.75)
		for (Float p = -1.5; p <= 1.5; p += 0.5)
			for (Float b = -3.0; b <= 3.0; b += 1.0)
			{
				const Vector hpb(h, p, b);
				const Matrix m = HPBToMatrix(hpb, ROTATIONORDER_DEFAULT);
				ExpectNear(MatrixToHPB(m, ROTATIONORDER_DEFAULT), hpb, 1e-9);
				ExpectNear(MatrixToHPB(m * MatrixScale(Vector(2.0, 0.5, 3.0)), ROTATIONORDER_DEFAULT), hpb, 1e-9);
			}
}

TEST(MatrixToHPB, StraightUpOrDownStillRebuildsTheSameRotation)
{
	for (const Float p : {PI / 2.0, -PI / 2.0})
	{
		const Matrix m = HPBToMatrix(Vector(0.4, p, 1.1), ROTATIONORDER_DEFAULT);
		const Vector hpb = MatrixToHPB(m, ROTATIONORDER_DEFAULT);
		EXPECT_EQ(hpb.z, 0.0);
		ExpectNear(HPBToMatrix(hpb, ROTATIONORDER_DEFAULT), m, 1e-9);
	}
}
