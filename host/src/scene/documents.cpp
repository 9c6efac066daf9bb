// The host's open documents and the active one. Worker threads ask for the active document
// (links resolve against it), so the list is locked.
#include <algorithm>
#include <mutex>
#include <vector>

#include "scene/document_data.h"
#include "standin/scene.h"

namespace
{

struct OpenDocuments
{
	std::mutex lock;
	std::vector<scene::DocumentData*> docs;
	scene::DocumentData* active = nullptr;
};

OpenDocuments& Open()
{
	static OpenDocuments* open = new OpenDocuments;
	return *open;
}

} // namespace

namespace scene
{

void AddOpenDocument(DocumentData* doc)
{
	OpenDocuments& o = Open();
	std::lock_guard<std::mutex> guard(o.lock);
	if (std::find(o.docs.begin(), o.docs.end(), doc) == o.docs.end())
		o.docs.push_back(doc);
}

void ForgetOpenDocument(DocumentData* doc)
{
	OpenDocuments& o = Open();
	std::lock_guard<std::mutex> guard(o.lock);
	o.docs.erase(std::remove(o.docs.begin(), o.docs.end(), doc), o.docs.end());
	if (o.active == doc)
		o.active = nullptr;
}

} // namespace scene

BaseDocument* GetActiveDocument()
{
	OpenDocuments& o = Open();
	std::lock_guard<std::mutex> guard(o.lock);
	return o.active;
}

namespace standin
{

BaseDocument* NewDocument()
{
	BaseDocument* doc = BaseDocument::Alloc();
	if (!doc)
		return nullptr;
	scene::DocumentData* data = scene::DocumentDataOf(doc);
	try
	{
		scene::AddOpenDocument(data);
	}
	catch (const std::bad_alloc&)
	{
		BaseDocument::Free(doc);
		return nullptr;
	}
	OpenDocuments& o = Open();
	std::lock_guard<std::mutex> guard(o.lock);
	o.active = data;
	return doc;
}

void SetActiveDocument(BaseDocument* doc)
{
	OpenDocuments& o = Open();
	std::lock_guard<std::mutex> guard(o.lock);
	scene::DocumentData* data = scene::DocumentDataOf(doc);
	if (!data)
		o.active = nullptr;
	else if (std::find(o.docs.begin(), o.docs.end(), data) != o.docs.end())
		o.active = data;
}

void CloseAllDocuments()
{
	std::vector<scene::DocumentData*> docs;
	{
		OpenDocuments& o = Open();
		std::lock_guard<std::mutex> guard(o.lock);
		docs.swap(o.docs);
		o.active = nullptr;
	}
	for (scene::DocumentData* doc : docs)
		scene::DestroyNode(doc);
}

} // namespace standin
