// The views of a document: its view state lives with the document and dies with it.
#include <memory>
#include <new>

#include "scene/document_data.h"
#include "view/view_data.h"

namespace standin::view
{

DocumentViews* ViewsOf(const BaseDocument* doc)
{
	scene::DocumentData* data = scene::DocumentDataOf(doc);
	if (!data)
		return nullptr;
	if (!data->viewState)
	{
		auto* views = new (std::nothrow) DocumentViews();
		if (!views)
			return nullptr;
		data->viewState = std::shared_ptr<void>(views, [](void* p) { delete static_cast<DocumentViews*>(p); });
	}
	return static_cast<DocumentViews*>(data->viewState.get());
}

ViewData* ActiveView(const BaseDocument* doc)
{
	DocumentViews* views = ViewsOf(doc);
	if (!views)
		return nullptr;
	if (views->views.empty())
	{
		// A document always has somewhere to look at it from.
		std::string error;
		if (!standin::AddView(const_cast<BaseDocument*>(doc), Pperspective, &error))
			return nullptr;
	}
	if (views->active < 0 || views->active >= static_cast<Int32>(views->views.size()))
		views->active = 0;
	return views->views[static_cast<std::size_t>(views->active)];
}

} // namespace standin::view

BaseDraw* BaseDocument::GetActiveBaseDraw() const
{
	return standin::view::ActiveView(this);
}

BaseDraw* BaseDocument::GetRenderBaseDraw() const
{
	// The view whose camera renders is the one the user looks through.
	return standin::view::ActiveView(this);
}
