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

void ViewData::ClearRecords()
{
	for (const std::size_t i : holders)
		if (i < slots.size())
			slots[i] = PenRecord{};
	holders.clear();
	used = 0;
	droppedRecords = 0;
}

DocumentViews::~DocumentViews()
{
	for (ViewData* v : views)
		scene::DestroyNode(v);
	BaseObject::Free(workPlane);
}

} // namespace standin::view
