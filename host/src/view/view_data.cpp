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
	if (log.size() >= kMaxDrawLog)
		log.pop_front();
	log.push_back(std::move(record));
}

DocumentViews::~DocumentViews()
{
	for (ViewData* v : views)
		scene::DestroyNode(v);
	BaseObject::Free(workPlane);
}

} // namespace standin::view
