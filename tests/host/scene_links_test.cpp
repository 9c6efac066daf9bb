// Links re-resolve at each use: they answer their element while it lives (in the asked
// document) and nothing once it was freed.
#include <gtest/gtest.h>

#include "hostapi/api.h"
#include "standin/scene.h"

TEST(SceneLinks, ResolveWhileAliveAndAnswerNothingAfterFree)
{
	BaseDocument* doc = BaseDocument::Alloc();
	BaseObject* op = BaseObject::Alloc(Onull);
	doc->InsertObject(op, nullptr, nullptr);
	BaseLink* link = BaseLink::Alloc();
	link->SetLink(op);
	EXPECT_EQ(link->GetLink(doc), op);
	EXPECT_EQ(link->GetLink(nullptr), op);

	BaseLink* copy = link->GetClone();
	BaseObject::Free(op);
	EXPECT_EQ(link->GetLink(doc), nullptr);
	EXPECT_EQ(link->GetLink(nullptr), nullptr);
	EXPECT_EQ(copy->GetLink(nullptr), nullptr);

	// A new element at the same address is not mistaken for the freed one.
	BaseObject* other = BaseObject::Alloc(Onull);
	EXPECT_EQ(link->GetLink(nullptr), nullptr);
	BaseObject::Free(other);

	BaseLink::Free(copy);
	BaseLink::Free(link);
	EXPECT_EQ(link, nullptr);
	BaseDocument::Free(doc);
}

TEST(SceneLinks, AnswerOnlyForTheDocumentThatHoldsTheElement)
{
	BaseDocument* first = BaseDocument::Alloc();
	BaseDocument* second = BaseDocument::Alloc();
	BaseMaterial* mat = BaseMaterial::Alloc();
	first->InsertMaterial(mat);
	BaseLink* link = BaseLink::Alloc();
	link->SetLink(mat);
	EXPECT_EQ(link->GetLink(first), mat);
	EXPECT_EQ(link->GetLink(second), nullptr);

	mat->Remove(); // a free element belongs to no document
	EXPECT_EQ(link->GetLink(first), nullptr);
	EXPECT_EQ(link->GetLink(nullptr), mat);
	second->InsertMaterial(mat);
	EXPECT_EQ(link->GetLink(second), mat);

	link->SetLink(nullptr);
	EXPECT_EQ(link->GetLink(nullptr), nullptr);
	BaseLink::Free(link);
	BaseDocument::Free(first);
	BaseDocument::Free(second); // frees the material
}

TEST(SceneLinks, LayerAndMaterialReferencesFollowTheirElements)
{
	BaseDocument* doc = BaseDocument::Alloc();
	LayerObject* layer = LayerObject::Alloc();
	doc->InsertLayer(layer, nullptr, nullptr);
	BaseMaterial* mat = BaseMaterial::Alloc();
	doc->InsertMaterial(mat);
	BaseObject* op = BaseObject::Alloc(Onull);
	doc->InsertObject(op, nullptr, nullptr);

	op->SetLayerObject(layer);
	mat->SetLayerObject(layer);
	op->SetLayerObject(mat); // not a layer: ignored
	EXPECT_EQ(op->GetLayerObject(), layer);
	auto* tex = static_cast<TextureTag*>(op->MakeTag(Ttexture));
	tex->SetMaterial(mat);
	EXPECT_EQ(tex->GetMaterial(), mat);

	LayerObject::Free(layer);
	BaseMaterial::Free(mat);
	EXPECT_EQ(op->GetLayerObject(), nullptr);
	EXPECT_EQ(tex->GetMaterial(), nullptr);
	BaseDocument::Free(doc);
}
