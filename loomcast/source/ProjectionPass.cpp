#include "ProjectionPass.h"

#include "ControlThread.h"
#include "ToolSettings.h"
#include "hostapi/objects.h"

void RunProjectionPass(BaseDocument* doc, BaseContainer& settings, PolygonObject* mesh, BaseObject* picked, BaseObject* textureSource,
	Int32 first, Int32 end)
{
	const bool texture = settings.GetBool(LOOM_UV_FROM_SOURCE) && textureSource;
	if (!doc || !mesh || (!picked && !texture))
	{
		settings.SetString(LOOM_RESULT, PlainResultText());
		return;
	}
	// The workers write texture coordinates into the mesh's UVW tag and need one; whichever tool
	// step added the polygons, a mesh without one gets it here (one zero record per polygon).
	if (texture && !mesh->GetTag(Tuvw))
		mesh->MakeTag(Tuvw);
	ControlThread control;
	control.mesh = mesh;
	control.uvSource = textureSource;
	control.surfaceTarget = picked;
	control.document = doc;
	control.view = doc->GetActiveBaseDraw();
	control.settings = settings;
	control.firstPolygon = first;
	control.endPolygon = end;
	String text;
	control.resultText = &text;
	if (control.Start(THREADMODE_ASYNC, THREADPRIORITY_NORMAL))
	{
		control.Wait(true);
		control.End(false);
	}
	// A run that could not start or set up leaves the read-out as it was.
	if (!text.IsEmpty())
		settings.SetString(LOOM_RESULT, text);
	mesh->Message(MSG_UPDATE);
}

BaseObject* TextureSourceOf(BaseObject* picked, const BaseContainer& settings)
{
	if (!picked || !settings.GetBool(LOOM_UV_FROM_SOURCE))
		return nullptr;
	const BaseTag* uvw = picked->GetTag(Tuvw);
	return uvw && static_cast<const UVWTag*>(uvw)->GetDataCount() > 0 ? picked : nullptr;
}
