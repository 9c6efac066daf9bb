#include "view/view_data.h"

#include <new>

namespace standin::view
{

ViewData::ViewData() : scene::Element<BaseDraw>(kViewElementType, scene::Family::Other)
{
	name = "View";
	camera = BaseObject::Alloc(Onull);
	if (camera)
	{
		camera->SetName("Camera");
		camera->SetMg(DefaultCameraMatrix());
	}
}

ViewData::~ViewData()
{
	BaseObject::Free(camera);
}

Projection ViewData::Current() const
{
	Projection p = projection;
	p.camera = camera ? camera->GetMg() : DefaultCameraMatrix();
	return p;
}

void ViewData::Record(DrawRecord record)
{
	if (records.size() >= kMaxDrawRecords)
	{
		++droppedRecords;
		return;
	}
	try
	{
		records.push_back(std::move(record));
	}
	catch (const std::bad_alloc&)
	{
		++droppedRecords;
	}
}

DocumentViews::~DocumentViews()
{
	for (ViewData* v : views)
		scene::DestroyNode(v);
	BaseObject::Free(workPlane);
}

} // namespace standin::view
