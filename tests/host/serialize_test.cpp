// The binary container encoding: faithful round trips and refusal of damaged or hostile bytes.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "data/bytes.h"
#include "data/serialize.h"
#include "hostapi/customdata.h"

using standin::data::ByteWriter;
using standin::data::DecodeContainer;
using standin::data::EncodeContainer;

namespace
{

using Bytes = std::vector<std::uint8_t>;

BaseContainer EveryType()
{
	BaseContainer bc(12);
	bc.SetInt32(1, -123);
	bc.SetInt64(2, -0x7FFFFFFFFFFFLL);
	bc.SetFloat(3, -0.1);
	bc.SetVector(4, Vector(1e-300, -2.5, 3e300));
	bc.SetMatrix(5, Matrix(Vector(1, 2, 3), Vector(4, 5, 6), Vector(7, 8, 9), Vector(10, 11, 12)));
	static const char kText[] = "with \"quotes\", a \0 byte and \xC3\xA4";
	bc.SetString(6, std::string(kText, sizeof kText - 1));
	bc.SetString(7, "");
	bc.SetData(8, GeData());

	BaseContainer inner(3);
	inner.SetString(1, "deeper");
	BaseContainer innermost;
	innermost.SetFloat(-1, 0.5);
	inner.SetContainer(2, innermost);
	bc.SetContainer(9, inner);

	Gradient* g = Gradient::Alloc();
	g->InsertKnot(GradientKnot{Vector(1, 0.5, 0), 0.8, 0.3, 0.4, 7});
	g->InsertKnot(GradientKnot{Vector(0, 0, 1), 1.0, 0.1, 0.5, 2});
	g->SetData(1002, GeData(Int32(1)));
	bc.SetData(10, GeData(*g));
	Gradient::Free(g);

	SplineData* s = SplineData::Alloc();
	s->InsertKnot(0.0, 0.25);
	s->InsertKnot(1.0, 0.75);
	bc.SetData(11, GeData(*s));
	SplineData::Free(s);

	PriorityData* p = PriorityData::Alloc();
	p->SetPriorityValue(2, GeData(true));
	bc.SetData(13, GeData(*p));
	PriorityData::Free(p);
	return bc;
}

Bytes Encode(const BaseContainer& bc)
{
	Bytes out;
	EXPECT_TRUE(EncodeContainer(bc, out));
	return out;
}

// Header of a hand-made encoding: version, container id, entry count.
Bytes Header(std::uint32_t count)
{
	Bytes b;
	ByteWriter w(b);
	w.U32(standin::data::kContainerEncodingVersion);
	w.I32(0);
	w.U32(count);
	return b;
}

} // namespace

TEST(ContainerEncoding, RoundTripsEveryTypeInOrder)
{
	const BaseContainer original = EveryType();
	BaseContainer back;
	std::string error;
	const Bytes bytes = Encode(original);
	ASSERT_TRUE(DecodeContainer(bytes.data(), bytes.size(), &back, &error)) << error;
	EXPECT_EQ(back, original);
	for (Int32 i = 0; i < original.GetCount(); ++i)
	{
		Int32 a = 0, b = 0;
		original.GetIndex(i, &a, nullptr);
		back.GetIndex(i, &b, nullptr);
		EXPECT_EQ(a, b) << "entry " << i;
	}
	EXPECT_EQ(back.GetString(6).Get().size(), 30u);
	EXPECT_EQ(back.GetContainer(9).GetContainer(2).GetFloat(-1), 0.5);
	const auto* s = static_cast<const SplineData*>(back.GetCustomDataType(11, CUSTOMDATATYPE_SPLINE));
	ASSERT_NE(s, nullptr);
	EXPECT_DOUBLE_EQ(s->GetPoint(0.5), 0.5);
}

TEST(ContainerEncoding, StoresLinksAsEmptyValues)
{
	BaseContainer bc;
	bc.SetLink(1, nullptr);
	bc.SetInt32(2, 2);
	const Bytes bytes = Encode(bc);
	BaseContainer back;
	ASSERT_TRUE(DecodeContainer(bytes.data(), bytes.size(), &back, nullptr));
	EXPECT_EQ(back.GetData(1).GetType(), DA_NIL);
	EXPECT_EQ(back.GetInt32(2), 2);
}

TEST(ContainerEncoding, EveryTruncationFailsAndLeavesTheTargetEmpty)
{
	const Bytes bytes = Encode(EveryType());
	for (size_t len = 0; len < bytes.size(); ++len)
	{
		BaseContainer back;
		back.SetInt32(1, 1);
		std::string error;
		EXPECT_FALSE(DecodeContainer(bytes.data(), len, &back, &error)) << "length " << len;
		EXPECT_EQ(back.GetCount(), 0);
		EXPECT_FALSE(error.empty());
	}
	Bytes longer = bytes;
	longer.push_back(0);
	EXPECT_FALSE(DecodeContainer(longer.data(), longer.size(), nullptr, nullptr));
}

TEST(ContainerEncoding, FlippedBytesNeverCrash)
{
	const Bytes bytes = Encode(EveryType());
	for (size_t i = 0; i < bytes.size(); ++i)
		for (const std::uint8_t mask : {0x01, 0x80, 0xFF})
		{
			Bytes damaged = bytes;
			damaged[i] ^= mask;
			BaseContainer back;
			DecodeContainer(damaged.data(), damaged.size(), &back, nullptr);
		}
	SUCCEED();
}

TEST(ContainerEncoding, RefusesHostileCountsAndLengths)
{
	std::string error;
	Bytes b = Header(0xFFFFFFFFu);
	EXPECT_FALSE(DecodeContainer(b.data(), b.size(), nullptr, &error));
	EXPECT_NE(error.find("entry count"), std::string::npos) << error;

	b = Header(1);
	{
		ByteWriter w(b);
		w.I32(1);
		w.I32(DA_STRING);
		w.U32(0xFFFFFFF0u);
		w.Bytes("abc", 3);
	}
	EXPECT_FALSE(DecodeContainer(b.data(), b.size(), nullptr, &error));
	EXPECT_NE(error.find("string length"), std::string::npos) << error;

	for (const Int32 custom : {CUSTOMDATATYPE_GRADIENT, CUSTOMDATATYPE_SPLINE})
	{
		b = Header(1);
		ByteWriter w(b);
		w.I32(1);
		w.I32(DA_CUSTOMDATA);
		w.I32(custom);
		w.U32(0x7FFFFFFFu);
		EXPECT_FALSE(DecodeContainer(b.data(), b.size(), nullptr, &error));
		EXPECT_NE(error.find("knot count"), std::string::npos) << error;
	}
}

TEST(ContainerEncoding, RefusesUnknownTypesVersionsAndDeepNesting)
{
	std::string error;
	Bytes b = Header(1);
	{
		ByteWriter w(b);
		w.I32(1);
		w.I32(4711);
	}
	EXPECT_FALSE(DecodeContainer(b.data(), b.size(), nullptr, &error));
	EXPECT_NE(error.find("unknown value type 4711"), std::string::npos) << error;

	b = Header(1);
	{
		ByteWriter w(b);
		w.I32(1);
		w.I32(DA_CUSTOMDATA);
		w.I32(99);
	}
	EXPECT_FALSE(DecodeContainer(b.data(), b.size(), nullptr, &error));
	EXPECT_NE(error.find("unknown custom data type"), std::string::npos) << error;

	b = Encode(BaseContainer());
	b[0] = 9;
	EXPECT_FALSE(DecodeContainer(b.data(), b.size(), nullptr, &error));
	EXPECT_NE(error.find("version"), std::string::npos) << error;

	// A chain of containers, each holding the next, deeper than the decoder allows.
	auto nested = [](int depth) {
		Bytes chain = Header(1);
		ByteWriter w(chain);
		for (int i = 0; i < depth; ++i)
		{
			w.I32(1);
			w.I32(DA_CONTAINER);
			w.I32(0);
			w.U32(1);
		}
		w.I32(1);
		w.I32(DA_NIL);
		return chain;
	};
	const Bytes allowed = nested(standin::data::kMaxContainerDepth - 1);
	EXPECT_TRUE(DecodeContainer(allowed.data(), allowed.size(), nullptr, &error)) << error;
	const Bytes tooDeep = nested(standin::data::kMaxContainerDepth + 1);
	EXPECT_FALSE(DecodeContainer(tooDeep.data(), tooDeep.size(), nullptr, &error));
	EXPECT_NE(error.find("nested"), std::string::npos) << error;
}
