// A document to work in, a manager model on it, and a private preference folder so that the set
// file of one test never meets another's.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "ManagerModel.h"
#include "standin/paths.h"
#include "standin/scene.h"

// Host-internal setter for an object's identity (the host uses it when a document is loaded); only
// through it can a test make two objects share one identity.
namespace scene
{
void SetObjectGuid(BaseObject* op, UInt64 guid);
}

class ModelTest : public ::testing::Test
{
protected:
	void SetUp() override
	{
		char pattern[] = "/tmp/tarnmodel-XXXXXX";
		ASSERT_NE(mkdtemp(pattern), nullptr);
		root = pattern;
		standin::SetPrefsFolder(root + "/host/prefs");
		doc = standin::NewDocument();
		model = std::make_unique<ManagerModel>();
	}

	void TearDown() override
	{
		model.reset();
		standin::CloseAllDocuments();
		standin::SetPrefsFolder("");
		std::error_code ignored;
		std::filesystem::remove_all(root, ignored);
	}

	std::string SetFilePath() const { return root + "/host/plugins/Tarnwick/Tarnwick.dat"; }

	// A null object appended as the last child of parent (nullptr: the top level).
	BaseObject* AddObject(const char* name, BaseObject* parent = nullptr)
	{
		BaseObject* op = BaseObject::Alloc(Onull);
		op->SetName(name);
		BaseObject* pred = parent ? parent->GetDown() : doc->GetFirstObject();
		while (pred && pred->GetNext())
			pred = pred->GetNext();
		doc->InsertObject(op, parent, pred);
		return op;
	}

	BaseMaterial* AddMaterial(const char* name)
	{
		BaseMaterial* mat = BaseMaterial::Alloc();
		mat->SetName(name);
		BaseMaterial* pred = doc->GetFirstMaterial();
		while (pred && pred->GetNext())
			pred = pred->GetNext();
		doc->InsertMaterial(mat, pred);
		return mat;
	}

	void Delete(BaseObject* op) { BaseObject::Free(op); }
	void Delete(BaseMaterial* mat) { BaseMaterial::Free(mat); }

	bool Gather(std::initializer_list<BaseList2D*> elements)
	{
		AtomArray* arr = AtomArray::Alloc();
		for (BaseList2D* e : elements)
			arr->Append(e);
		const bool ok = model->AddElements(*arr);
		AtomArray::Free(arr);
		return ok;
	}

	// Names of the top-level held entries, in list order.
	std::vector<std::string> HeldNames() const
	{
		std::vector<std::string> names;
		for (PNode* e = model->FirstHeld(); e; e = e->Next())
			names.push_back(e->name.Get());
		return names;
	}

	// Names of a shown set's members that are in the active document, in set order.
	std::vector<std::string> MemberNames(Int32 number) const
	{
		std::vector<std::string> names;
		const ObjectSet* set = model->sets.GetNumber(number);
		for (Int32 i = 0; set && i < set->GetCount(); ++i)
		{
			if (BaseList2D* e = set->Get(i)->Resolve())
				names.push_back(e->GetName().Get());
		}
		return names;
	}

	std::string root;
	BaseDocument* doc = nullptr;
	std::unique_ptr<ManagerModel> model;
};
