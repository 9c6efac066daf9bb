// The natural cubic spline down a grid column, checked against an independent construction.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "ColumnSpline.h"

namespace
{
// A natural cubic spline at unit spacing built the textbook way: the second derivatives M from
// the full linear system (M[i-1] + 4 M[i] + M[i+1] = 6 (y[i-1] - 2 y[i] + y[i+1]), M at both ends
// zero) by Gaussian elimination, evaluated in the Hermite-free form of the second derivatives.
class OracleSpline
{
public:
	explicit OracleSpline(const std::vector<double>& y) : _y(y), _m(y.size(), 0.0)
	{
		const size_t n = y.size();
		if (n < 3)
			return;
		const size_t inner = n - 2;
		std::vector<std::vector<double>> a(inner, std::vector<double>(inner + 1, 0.0));
		for (size_t r = 0; r < inner; ++r)
		{
			const size_t i = r + 1;
			a[r][r] = 4.0;
			if (r > 0)
				a[r][r - 1] = 1.0;
			if (r + 1 < inner)
				a[r][r + 1] = 1.0;
			a[r][inner] = 6.0 * (y[i - 1] - 2.0 * y[i] + y[i + 1]);
		}
		for (size_t col = 0; col < inner; ++col)
		{
			for (size_t r = col + 1; r < inner; ++r)
			{
				const double f = a[r][col] / a[col][col];
				for (size_t c = col; c <= inner; ++c)
					a[r][c] -= f * a[col][c];
			}
		}
		for (size_t r = inner; r-- > 0;)
		{
			double sum = a[r][inner];
			for (size_t c = r + 1; c < inner; ++c)
				sum -= a[r][c] * _m[c + 1];
			_m[r + 1] = sum / a[r][r];
		}
	}

	double operator()(double t) const
	{
		const size_t last = _y.size() - 2;
		size_t i = t <= 0.0 ? 0 : static_cast<size_t>(t);
		if (i > last)
			i = last;
		const double u = t - static_cast<double>(i), w = 1.0 - u;
		return w * _y[i] + u * _y[i + 1] + ((w * w * w - w) * _m[i] + (u * u * u - u) * _m[i + 1]) / 6.0;
	}

private:
	std::vector<double> _y;
	std::vector<double> _m;
};

// Knot values that are far from any low-degree polynomial.
std::vector<Vector> Knots(Int32 m)
{
	std::vector<Vector> v;
	for (Int32 i = 0; i < m; ++i)
		v.emplace_back(std::sin(1.3 * i) * 40.0 + i * 7.0, std::cos(0.7 * i * i) * 25.0, (i % 3) * 11.0 - 5.0 * i);
	return v;
}

std::vector<double> Coordinate(const std::vector<Vector>& v, int axis)
{
	std::vector<double> out;
	for (const Vector& p : v)
		out.push_back(axis == 0 ? p.x : axis == 1 ? p.y : p.z);
	return out;
}
} // namespace

TEST(ColumnSplineTest, TwoKnotsGiveTheStraightLineBetweenThem)
{
	const Vector knots[2] = {{-10.0, 4.0, 2.0}, {30.0, -8.0, 2.5}};
	ColumnSpline spline;
	ASSERT_TRUE(spline.Fit(knots, 2));
	for (const double t : {0.0, 0.25, 1.0 / 3.0, 0.5, 2.0 / 3.0, 1.0})
	{
		const Vector want = knots[0] + (knots[1] - knots[0]) * t;
		const Vector got = spline.Evaluate(t);
		EXPECT_NEAR(got.x, want.x, 1e-12);
		EXPECT_NEAR(got.y, want.y, 1e-12);
		EXPECT_NEAR(got.z, want.z, 1e-12);
	}
	EXPECT_EQ(spline.C(0), Vector());
	EXPECT_EQ(spline.D(0), Vector());
}

TEST(ColumnSplineTest, MatchesAnIndependentNaturalSplineForThreeAndMoreKnots)
{
	ColumnSpline spline; // one object refitted, as the grid uses it
	for (const Int32 m : {3, 4, 5, 9, 16, 3})
	{
		const std::vector<Vector> knots = Knots(m);
		ASSERT_TRUE(spline.Fit(knots.data(), m)) << m;
		ASSERT_EQ(spline.GetKnotCount(), m);
		for (int axis = 0; axis < 3; ++axis)
		{
			const OracleSpline oracle(Coordinate(knots, axis));
			for (double t = 0.0; t <= m - 1 + 1e-12; t += 0.125)
			{
				const Vector got = spline.Evaluate(t);
				const double value = axis == 0 ? got.x : axis == 1 ? got.y : got.z;
				EXPECT_NEAR(value, oracle(t), 1e-9) << "m " << m << " axis " << axis << " t " << t;
			}
		}
		// The knots themselves, and zero curvature at both ends.
		for (Int32 i = 0; i < m; ++i)
			EXPECT_NEAR((spline.Evaluate(i) - knots[static_cast<size_t>(i)]).GetLength(), 0.0, 1e-9);
		EXPECT_EQ(spline.C(0), Vector());
		EXPECT_EQ(spline.C(m - 1), Vector());
	}
}

TEST(ColumnSplineTest, EvaluationStaysOnTheLastSegmentAtAndPastTheLastKnot)
{
	const std::vector<Vector> knots = Knots(5);
	ColumnSpline spline;
	ASSERT_TRUE(spline.Fit(knots.data(), 5));
	// Segment 3 is the last; t = 4 ends it on the last knot, and larger t carries it on.
	auto lastSegment = [&](double t) {
		const double u = t - 3.0;
		return ((spline.D(3) * u + spline.C(3)) * u + spline.B(3)) * u + spline.A(3);
	};
	EXPECT_NEAR((spline.Evaluate(4.0) - knots[4]).GetLength(), 0.0, 1e-9);
	for (const double t : {4.0, 4.5, 5.0, 6.0, 1e6})
		EXPECT_EQ(spline.Evaluate(t), lastSegment(t)) << t;
	// Below the first knot, and for values that are no numbers, segment 0 answers.
	EXPECT_NEAR((spline.Evaluate(-0.0) - knots[0]).GetLength(), 0.0, 1e-12);
	const Vector low = spline.Evaluate(-2.0);
	EXPECT_TRUE(std::isfinite(low.x) && std::isfinite(low.y) && std::isfinite(low.z));
	const Vector nan = spline.Evaluate(std::numeric_limits<double>::quiet_NaN());
	EXPECT_TRUE(std::isnan(nan.x));
}

TEST(ColumnSplineTest, DegenerateKnotCounts)
{
	ColumnSpline spline;
	const Vector one[1] = {{3.0, 4.0, 5.0}};
	ASSERT_TRUE(spline.Fit(one, 1));
	EXPECT_EQ(spline.Evaluate(0.0), one[0]);
	EXPECT_EQ(spline.Evaluate(7.5), one[0]);
	ASSERT_TRUE(spline.Fit(one, 0));
	EXPECT_EQ(spline.GetKnotCount(), 0);
	EXPECT_EQ(spline.Evaluate(0.5), Vector());
	EXPECT_FALSE(spline.Fit(nullptr, 3));
}

TEST(ColumnSplineTest, AWholeTableFitsEveryColumnAsItsOwnSpline)
{
	// Seven knot rows of four columns, each column with values of its own.
	const Int32 m = 7, columns = 4;
	std::vector<Vector> table;
	for (Int32 i = 0; i < m; ++i)
		for (Int32 c = 0; c < columns; ++c)
			table.emplace_back(std::sin(i * 0.9 + c) * 10.0, c * 3.0 + i * i, std::cos(i * c * 0.4) * 7.0);
	ColumnSpline all;
	ASSERT_TRUE(all.Fit(table.data(), m, columns));
	EXPECT_EQ(all.GetColumnCount(), columns);
	std::vector<Vector> row(columns);
	for (Int32 c = 0; c < columns; ++c)
	{
		std::vector<Vector> column;
		for (Int32 i = 0; i < m; ++i)
			column.push_back(table[static_cast<size_t>(i * columns + c)]);
		ColumnSpline one;
		ASSERT_TRUE(one.Fit(column.data(), m));
		for (double t = 0.0; t <= m - 1; t += 0.3)
		{
			EXPECT_EQ(all.Evaluate(t, c), one.Evaluate(t)) << c << " " << t;
			all.EvaluateRow(t, row.data());
			EXPECT_EQ(row[static_cast<size_t>(c)], one.Evaluate(t));
		}
	}
	// A column outside the table reads as nothing.
	EXPECT_EQ(all.Evaluate(1.0, columns), Vector());
	EXPECT_EQ(all.Evaluate(1.0, -1), Vector());
}
