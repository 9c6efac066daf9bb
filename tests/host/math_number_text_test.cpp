// The host's number formatting, as it appears in tree cells and console lines.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "hostapi/text.h"

TEST(NumberText, IntegersPrintInDecimal)
{
	EXPECT_EQ(String::IntToString(0).Get(), "0");
	EXPECT_EQ(String::IntToString(-42).Get(), "-42");
	EXPECT_EQ(String::IntToString(std::numeric_limits<Int64>::min()).Get(), "-9223372036854775808");
}

TEST(NumberText, RealsKeepUpToThreeDecimalsWithoutTrailingZeros)
{
	EXPECT_EQ(String::FloatToString(2.5).Get(), "2.5");
	EXPECT_EQ(String::FloatToString(1000.0).Get(), "1000");
	EXPECT_EQ(String::FloatToString(-0.125).Get(), "-0.125");
	EXPECT_EQ(String::FloatToString(0.1 + 0.2).Get(), "0.3");
	EXPECT_EQ(String::FloatToString(1.99999).Get(), "2");
	EXPECT_EQ(String::FloatToString(1e20).Get(), "100000000000000000000");
}

TEST(NumberText, ValuesThatRoundToZeroHaveNoSign)
{
	EXPECT_EQ(String::FloatToString(-0.0).Get(), "0");
	EXPECT_EQ(String::FloatToString(-0.0004).Get(), "0");
	EXPECT_EQ(String::FloatToString(0.0004).Get(), "0");
}

TEST(NumberText, NonFiniteValuesAreNamed)
{
	EXPECT_EQ(String::FloatToString(std::nan("")).Get(), "nan");
	EXPECT_EQ(String::FloatToString(std::numeric_limits<Float>::infinity()).Get(), "inf");
	EXPECT_EQ(String::FloatToString(-std::numeric_limits<Float>::infinity()).Get(), "-inf");
}
