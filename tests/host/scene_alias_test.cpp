// Copies made one by one with an alias translator, spline deformer links, and the scene services
// a surface build leans on: the active bit and the view direction.
#include <gtest/gtest.h>

#include <cmath>

#include "hostapi/api.h"
#include "standin/scene.h"
#include "standin/views.h"

namespace
{

// What a link parameter names, wherever it lies (copies here are free, outside any document).
BaseList2D* Target(BaseObject* op, Int32 id)
{
	const GeData* cell = op->GetDataInstance()->GetDataPointer(id);
	const BaseLink* link = cell ? cell->GetBaseLink() : nullptr;
	return link ? link->GetLink(nullptr) : nullptr;
}

struct AliasFixture : ::testing::Test
{
	void SetUp() override
	{
		doc = standin::NewDocument();
		deformer = BaseObject::Alloc(Osplinedeformer);
		ASSERT_NE(deformer, nullptr);
		doc->InsertObject(deformer, nullptr, nullptr);
		org = SplineObject::Alloc(2, SPLINETYPE_BSPLINE);
		tg = SplineObject::Alloc(2, SPLINETYPE_BSPLINE);
		org->SetName("OrgSpline");
		tg->SetName("TgSpline");
		org->InsertUnder(deformer);
		tg->InsertUnderLast(deformer);
		deformer->GetDataInstance()->SetLink(2000, org);
		deformer->GetDataInstance()->SetLink(2001, tg);
		trans = AliasTrans::Alloc();
		ASSERT_NE(trans, nullptr);
	}
	void TearDown() override
	{
		AliasTrans::Free(trans);
		for (BaseList2D* copy : copies)
		{
			BaseObject* op = static_cast<BaseObject*>(copy);
			BaseObject::Free(op);
		}
		standin::CloseAllDocuments();
	}

	BaseObject* CloneAlone(BaseObject* op, AliasTrans* with)
	{
		BaseList2D* copy = op->GetClone(0, with);
		EXPECT_NE(copy, nullptr);
		copies.push_back(copy);
		return static_cast<BaseObject*>(copy);
	}

	BaseDocument* doc = nullptr;
	BaseObject* deformer = nullptr;
	SplineObject* org = nullptr;
	SplineObject* tg = nullptr;
	AliasTrans* trans = nullptr;
	std::vector<BaseList2D*> copies;
};

} // namespace

TEST_F(AliasFixture, DeformerLinksResolveAndSurviveACopyOfTheWholeTree)
{
	EXPECT_EQ(deformer->GetType(), 1008982);
	EXPECT_EQ(deformer->GetDataInstance()->GetLink(2000, doc), org);
	EXPECT_EQ(deformer->GetDataInstance()->GetLink(2001, doc), tg);
	GeData cell;
	ASSERT_TRUE(deformer->GetParameter(2000, cell));
	EXPECT_EQ(cell.GetLink(doc), org);

	// A copy of the deformer with its children points at the copied children.
	BaseObject* copy = CloneAlone(deformer, nullptr);
	EXPECT_EQ(Target(copy, 2000), copy->GetDown());
	EXPECT_EQ(Target(copy, 2001), copy->GetDown()->GetNext());
}

TEST_F(AliasFixture, CopiesMadeOneByOnePointAtEachOtherAfterTranslate)
{
	ASSERT_TRUE(trans->Init(doc));
	// The deformer alone (its children come along but are not what its links name here) ...
	org->Remove();
	doc->InsertObject(org, nullptr, nullptr);
	BaseObject* defCopy = CloneAlone(deformer, trans);
	BaseObject* orgCopy = CloneAlone(org, trans);
	// Before the translation the copy's links still name the original splines.
	EXPECT_EQ(Target(defCopy, 2000), org);
	trans->Translate(true);
	EXPECT_EQ(Target(defCopy, 2000), orgCopy);
	EXPECT_EQ(Target(defCopy, 2001), defCopy->GetDown()) << "the child copy, from the tree copy";
	// The originals are not touched.
	EXPECT_EQ(Target(deformer, 2000), org);

	// A copy without the translator is not recorded.
	BaseObject* loose = CloneAlone(org, nullptr);
	trans->Translate(true);
	EXPECT_EQ(Target(defCopy, 2000), orgCopy);
	EXPECT_NE(loose, orgCopy);
}

TEST_F(AliasFixture, LinksToElementsThatWereNotCopiedStayOrGo)
{
	BaseObject* outside = BaseObject::Alloc(Onull);
	doc->InsertObject(outside, nullptr, nullptr);
	deformer->GetDataInstance()->SetLink(2001, outside);
	ASSERT_TRUE(trans->Init(doc));
	BaseObject* kept = CloneAlone(deformer, trans);
	trans->Translate(true);
	EXPECT_EQ(Target(kept, 2001), outside);
	EXPECT_EQ(Target(kept, 2000), kept->GetDown());

	ASSERT_TRUE(trans->Init(doc));
	BaseObject* cut = CloneAlone(deformer, trans);
	trans->Translate(false);
	EXPECT_EQ(Target(cut, 2001), nullptr);
	EXPECT_EQ(Target(cut, 2000), cut->GetDown()) << "links inside the copies stay";

	// A copy freed before the translation is skipped.
	ASSERT_TRUE(trans->Init(doc));
	BaseObject* gone = CloneAlone(org, trans);
	copies.pop_back();
	BaseObject::Free(gone);
	trans->Translate(true);
}

TEST(SceneBuildServices, ActiveBitSelectsAndTheCameraLooksAlongItsZAxis)
{
	BaseDocument* doc = standin::NewDocument();
	BaseObject* a = BaseObject::Alloc(Onull);
	BaseObject* b = BaseObject::Alloc(Onull);
	doc->InsertObject(a, nullptr, nullptr);
	doc->InsertObject(b, nullptr, a);
	b->SetBit(2);
	EXPECT_TRUE(b->GetNBit(NBIT_ACTIVE));
	EXPECT_EQ(doc->GetActiveObject(), b);
	b->DelBit(2);
	EXPECT_EQ(doc->GetActiveObject(), nullptr);

	// The default camera stands at (0, 500, -1000) and looks at the origin.
	BaseDraw* bd = doc->GetActiveBaseDraw();
	ASSERT_NE(bd, nullptr);
	const Vector z = bd->GetSceneCamera(doc)->GetMg().v3;
	const Vector towards = Vector(0, -500, 1000) * (1.0 / std::sqrt(500.0 * 500.0 + 1000.0 * 1000.0));
	EXPECT_NEAR(z.x, towards.x, 1e-9);
	EXPECT_NEAR(z.y, towards.y, 1e-9);
	EXPECT_NEAR(z.z, towards.z, 1e-9);
	// Turning the view's camera turns the direction with it.
	standin::SetCameraMatrix(bd, Matrix(Vector(), Vector(1, 0, 0), Vector(0, 0, -1), Vector(0, 1, 0)));
	EXPECT_EQ(bd->GetSceneCamera(doc)->GetMg().v3, Vector(0, 1, 0));
	standin::CloseAllDocuments();
}
