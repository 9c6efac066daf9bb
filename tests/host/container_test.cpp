// BaseContainer and GeData: typed storage, order, copies and the numeric conversions of reads.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "hostapi/api.h"
#include "hostapi/customdata.h"
#include "standin/scene.h"

namespace
{

std::vector<Int32> Keys(const BaseContainer& bc)
{
	std::vector<Int32> keys;
	Int32 id = 0;
	for (Int32 i = 0; bc.GetIndex(i, &id, nullptr); ++i)
		keys.push_back(id);
	return keys;
}

} // namespace

TEST(BaseContainer, StoresEveryValueTypeAndAnswersPresetsWhenAbsent)
{
	const Matrix m(Vector(1, 2, 3), Vector(0, 1, 0), Vector(-1, 0, 0), Vector(0, 0, 2));
	BaseContainer bc(77);
	bc.SetInt32(1, -5);
	bc.SetInt64(2, 0x123456789ALL);
	bc.SetFloat(3, 2.25);
	bc.SetBool(4, true);
	bc.SetVector(5, Vector(1.5, -2.0, 3.0));
	bc.SetMatrix(6, m);
	bc.SetString(7, "Tarnwick");
	BaseContainer inner(9);
	inner.SetString(1, "inside");
	bc.SetContainer(8, inner);

	EXPECT_EQ(bc.GetId(), 77);
	EXPECT_EQ(bc.GetCount(), 8);
	EXPECT_EQ(bc.GetInt32(1), -5);
	EXPECT_EQ(bc.GetInt64(2), 0x123456789ALL);
	EXPECT_EQ(bc.GetFloat(3), 2.25);
	EXPECT_TRUE(bc.GetBool(4));
	EXPECT_EQ(bc.GetData(4).GetType(), DA_LONG);
	EXPECT_EQ(bc.GetInt32(4), 1);
	EXPECT_EQ(bc.GetVector(5), Vector(1.5, -2.0, 3.0));
	EXPECT_EQ(bc.GetMatrix(6), m);
	EXPECT_EQ(bc.GetString(7).Get(), "Tarnwick");
	EXPECT_EQ(bc.GetContainer(8), inner);
	EXPECT_EQ(bc.GetContainer(8).GetId(), 9);

	EXPECT_EQ(bc.GetInt32(99, 17), 17);
	EXPECT_EQ(bc.GetString(99, "none").Get(), "none");
	EXPECT_EQ(bc.GetMatrix(99), Matrix());
	EXPECT_EQ(bc.GetData(99).GetType(), DA_NIL);
	EXPECT_EQ(bc.GetDataPointer(99), nullptr);
	EXPECT_EQ(bc.GetContainer(99).GetCount(), 0);
}

TEST(BaseContainer, KeepsInsertionOrderAndReplacesInPlace)
{
	BaseContainer bc;
	for (const Int32 key : {-9999, 0, -1, -2, 1, 2, 3})
		bc.SetInt32(key, key);
	EXPECT_EQ(Keys(bc), (std::vector<Int32>{-9999, 0, -1, -2, 1, 2, 3}));

	bc.SetString(-1, "replaced");
	EXPECT_EQ(Keys(bc), (std::vector<Int32>{-9999, 0, -1, -2, 1, 2, 3}));
	EXPECT_EQ(bc.GetString(-1).Get(), "replaced");

	EXPECT_TRUE(bc.RemoveData(0));
	EXPECT_FALSE(bc.RemoveData(0));
	bc.SetInt32(0, 5);
	EXPECT_EQ(Keys(bc), (std::vector<Int32>{-9999, -1, -2, 1, 2, 3, 0}));
	// Look-ups still find every key after the removal shifted the entries.
	EXPECT_EQ(bc.GetInt32(3), 3);
	EXPECT_EQ(bc.GetInt32(-9999), -9999);

	bc.FlushAll();
	EXPECT_EQ(bc.GetCount(), 0);
	EXPECT_FALSE(bc.Contains(3));
}

TEST(BaseContainer, CopiesAreDeep)
{
	BaseContainer inner;
	inner.SetInt32(1, 1);
	BaseContainer outer;
	outer.SetContainer(5, inner);
	Gradient* g = Gradient::Alloc();
	ASSERT_NE(g, nullptr);
	g->InsertKnot(GradientKnot{Vector(1, 0, 0), 1.0, 0.25, 0.5, 0});
	outer.SetData(6, GeData(*g));
	Gradient::Free(g);

	BaseContainer copy(outer);
	BaseContainer assigned;
	assigned = outer;
	EXPECT_EQ(copy, outer);

	GeData* nested = copy.GetDataPointerWritable(5);
	ASSERT_NE(nested, nullptr);
	BaseContainer changed = *nested->GetContainer();
	changed.SetInt32(1, 2);
	*nested = GeData(changed);
	auto* copyGradient = static_cast<Gradient*>(copy.GetDataPointerWritable(6)->GetCustomDataTypeWritable(CUSTOMDATATYPE_GRADIENT));
	ASSERT_NE(copyGradient, nullptr);
	copyGradient->InsertKnot(GradientKnot{});

	EXPECT_EQ(outer.GetContainer(5).GetInt32(1), 1);
	EXPECT_EQ(static_cast<const Gradient*>(outer.GetCustomDataType(6, CUSTOMDATATYPE_GRADIENT))->GetKnotCount(), 1);
	EXPECT_EQ(assigned, outer);
	EXPECT_NE(copy, outer);
}

TEST(BaseContainer, SettingAValueFromItsOwnEntrySurvivesGrowth)
{
	BaseContainer bc;
	bc.SetString(1, "first");
	// Adding many keys from a pointer into the container itself must not read freed storage.
	for (Int32 key = 2; key < 200; ++key)
		bc.SetData(key, *bc.GetDataPointer(1));
	EXPECT_EQ(bc.GetString(199).Get(), "first");
	bc.SetContainer(500, bc);
	EXPECT_EQ(bc.GetContainer(500).GetCount(), 199);
}

TEST(BaseContainer, EqualityIgnoresOrderButNotIdOrValues)
{
	BaseContainer a(1), b(1);
	a.SetInt32(1, 1);
	a.SetString(2, "x");
	b.SetString(2, "x");
	b.SetInt32(1, 1);
	EXPECT_EQ(a, b);
	b.SetId(2);
	EXPECT_NE(a, b);
	b.SetId(1);
	b.SetInt64(1, 1); // same number, different type
	EXPECT_NE(a, b);
}

TEST(BaseContainer, CopyToReplacesMatchingKeysAndMovesLeaveAnEmptyStore)
{
	BaseContainer src, dst;
	src.SetInt32(1, 10);
	src.SetInt32(2, 20);
	dst.SetInt32(2, 0);
	dst.SetInt32(3, 30);
	src.CopyTo(&dst);
	EXPECT_EQ(Keys(dst), (std::vector<Int32>{2, 3, 1}));
	EXPECT_EQ(dst.GetInt32(2), 20);
	src.CopyTo(&src);
	EXPECT_EQ(src.GetCount(), 2);

	BaseContainer moved(std::move(src));
	EXPECT_EQ(moved.GetCount(), 2);
	EXPECT_EQ(src.GetCount(), 0); // NOLINT(bugprone-use-after-move): moved-from stays usable
	src.SetInt32(4, 4);
	EXPECT_EQ(src.GetInt32(4), 4);
}

TEST(GeData, NumericReadsConvertBetweenKinds)
{
	EXPECT_EQ(GeData(Int32(7)).GetFloat(), 7.0);
	EXPECT_EQ(GeData(Int32(-7)).GetInt64(), -7);
	EXPECT_EQ(GeData(2.9).GetInt32(), 2);
	EXPECT_EQ(GeData(-2.9).GetInt64(), -2);
	EXPECT_TRUE(GeData(0.5).GetBool());
	EXPECT_FALSE(GeData(Int64(0)).GetBool());
	EXPECT_EQ(GeData(Int64(1) << 40).GetFloat(), 1099511627776.0);

	// Values outside the target range clamp instead of wrapping; NaN reads as 0.
	EXPECT_EQ(GeData(Int64(1) << 40).GetInt32(), std::numeric_limits<Int32>::max());
	EXPECT_EQ(GeData(-(Int64(1) << 40)).GetInt32(), std::numeric_limits<Int32>::min());
	EXPECT_EQ(GeData(1e300).GetInt64(), std::numeric_limits<Int64>::max());
	EXPECT_EQ(GeData(-1e300).GetInt32(), std::numeric_limits<Int32>::min());
	EXPECT_EQ(GeData(std::nan("")).GetInt32(), 0);
	EXPECT_EQ(GeData(9223372036854775807.0).GetInt64(), std::numeric_limits<Int64>::max());
}

TEST(GeData, ReadsOfTheWrongKindAnswerDefaults)
{
	const GeData text("12");
	EXPECT_EQ(text.GetInt32(), 0);
	EXPECT_EQ(text.GetFloat(), 0.0);
	EXPECT_FALSE(text.GetBool());
	EXPECT_EQ(text.GetContainer(), nullptr);
	EXPECT_EQ(GeData(Int32(3)).GetString().Get(), "");
	EXPECT_EQ(GeData(Int32(3)).GetMatrix(), Matrix());
	EXPECT_EQ(GeData(Vector(1, 2, 3)).GetInt32(), 0);
	EXPECT_EQ(GeData().GetType(), DA_NIL);
	EXPECT_EQ(GeData().GetCustomDataTypeId(), 0);

	BaseContainer bc;
	bc.SetString(1, "12");
	bc.SetVector(2, Vector(1, 1, 1));
	EXPECT_EQ(bc.GetInt32(1, -1), -1);
	EXPECT_EQ(bc.GetFloat(2, 4.5), 4.5);
	EXPECT_EQ(bc.GetString(2, "p").Get(), "p");
	EXPECT_EQ(bc.GetCustomDataType(1, CUSTOMDATATYPE_SPLINE), nullptr);
}

TEST(GeData, CustomDataIsCopiedAndLookedUpByItsTypeId)
{
	SplineData* s = SplineData::Alloc();
	ASSERT_NE(s, nullptr);
	s->InsertKnot(0.0, 1.0);
	GeData cell(*s);
	s->InsertKnot(1.0, 0.0); // the cell took a copy
	SplineData::Free(s);
	EXPECT_EQ(s, nullptr);

	EXPECT_EQ(cell.GetType(), DA_CUSTOMDATA);
	EXPECT_EQ(cell.GetCustomDataTypeId(), CUSTOMDATATYPE_SPLINE);
	EXPECT_EQ(cell.GetCustomDataType(CUSTOMDATATYPE_GRADIENT), nullptr);
	const auto* stored = static_cast<const SplineData*>(cell.GetCustomDataType(CUSTOMDATATYPE_SPLINE));
	ASSERT_NE(stored, nullptr);
	EXPECT_EQ(stored->GetKnotCount(), 1);

	GeData copy = cell;
	EXPECT_EQ(copy, cell);
	cell.Free();
	EXPECT_EQ(cell.GetType(), DA_NIL);
	EXPECT_EQ(copy.GetCustomDataTypeId(), CUSTOMDATATYPE_SPLINE);
}

TEST(GeData, EmptyLinkCellsResolveToNothing)
{
	GeData link;
	link.SetLink(nullptr);
	EXPECT_EQ(link.GetType(), DA_ALIASLINK);
	EXPECT_EQ(link.GetLink(), nullptr);
	const GeData copy = link;
	EXPECT_EQ(copy, link);
	BaseContainer bc;
	bc.SetLink(3, nullptr);
	EXPECT_EQ(bc.GetLink(3), nullptr);
	EXPECT_EQ(bc.GetLink(4), nullptr);
}

TEST(GeData, LinkCellsOwnTheirLinkAndResolveInTheActiveDocument)
{
	BaseDocument* doc = standin::NewDocument();
	BaseObject* op = BaseObject::Alloc(Onull);
	doc->InsertObject(op, nullptr, nullptr);
	BaseDocument* other = BaseDocument::Alloc();

	GeData cell;
	cell.SetLink(op);
	EXPECT_EQ(cell.GetLink(), op);
	EXPECT_EQ(cell.GetLink(doc), op);
	EXPECT_EQ(cell.GetLink(other), nullptr);

	GeData copy(cell);
	cell.Free();
	EXPECT_EQ(copy.GetLink(), op);
	// Re-setting a cell from the link it owns itself must not use the freed link.
	copy.SetBaseLink(*copy.GetBaseLink());
	EXPECT_EQ(copy.GetLink(), op);

	BaseContainer bc;
	bc.SetData(1, copy);
	BaseContainer held(bc);
	BaseObject::Free(op);
	EXPECT_EQ(copy.GetLink(), nullptr);
	EXPECT_EQ(held.GetLink(1), nullptr);
	BaseDocument::Free(other);
	standin::CloseAllDocuments();
}

TEST(Gradient, KeepsKnotsInStorageOrderAndItsProperties)
{
	Gradient* g = Gradient::Alloc();
	ASSERT_NE(g, nullptr);
	EXPECT_EQ(g->InsertKnot(GradientKnot{Vector(1, 1, 1), 1.0, 0.9, 0.5, 0}), 0);
	EXPECT_EQ(g->InsertKnot(GradientKnot{Vector(0, 0, 0), 1.0, 0.1, 0.5, 1}), 1);
	EXPECT_EQ(g->GetKnot(0).pos, 0.9);
	EXPECT_EQ(g->GetKnot(5).pos, 0.0);
	g->SetKnot(1, GradientKnot{Vector(), 0.5, 0.2, 0.3, 1});
	EXPECT_EQ(g->GetKnot(1).bias, 0.3);
	EXPECT_TRUE(g->RemoveKnot(0));
	EXPECT_FALSE(g->RemoveKnot(3));
	EXPECT_EQ(g->GetKnotCount(), 1);
	g->SetData(1002, GeData(Int32(2)));
	EXPECT_EQ(g->GetData(1002).GetInt32(), 2);
	g->FlushKnots();
	EXPECT_EQ(g->GetKnotCount(), 0);
	Gradient::Free(g);
}

TEST(SplineData, InterpolatesLinearlyInXOrderAndHoldsFlatOutside)
{
	SplineData* s = SplineData::Alloc();
	ASSERT_NE(s, nullptr);
	EXPECT_EQ(s->GetPoint(0.5), 0.0);
	// Inserted out of x order on purpose.
	s->InsertKnot(1.0, 0.0);
	s->InsertKnot(0.0, 1.0);
	s->InsertKnot(0.5, 0.5);
	EXPECT_DOUBLE_EQ(s->GetPoint(0.25), 0.75);
	EXPECT_DOUBLE_EQ(s->GetPoint(0.75), 0.25);
	EXPECT_EQ(s->GetPoint(-3.0), 1.0);
	EXPECT_EQ(s->GetPoint(3.0), 0.0);
	EXPECT_EQ(s->GetPoint(std::nan("")), 1.0);
	EXPECT_EQ(s->GetKnot(0).vPos, Vector(1.0, 0.0, 0.0));

	s->DeleteAllPoints();
	s->InsertKnot(0.2, 0.7);
	EXPECT_EQ(s->GetPoint(0.0), 0.7);
	EXPECT_EQ(s->GetPoint(1.0), 0.7);
	s->InsertKnot(std::nan(""), 5.0); // a broken knot must not upset the order of the others
	s->InsertKnot(0.6, 0.3);
	EXPECT_DOUBLE_EQ(s->GetPoint(0.4), 0.5);
	SplineData::Free(s);
}

TEST(PriorityData, StoresValuesByEntry)
{
	PriorityData* p = PriorityData::Alloc();
	ASSERT_NE(p, nullptr);
	p->SetPriorityValue(2, GeData(true));
	EXPECT_TRUE(p->GetPriorityValue(2).GetBool());
	EXPECT_EQ(p->GetPriorityValue(3).GetType(), DA_NIL);
	GeData cell(*p);
	PriorityData::Free(p);
	EXPECT_EQ(cell.GetCustomDataTypeId(), CUSTOMDATATYPE_PRIORITY);
}
