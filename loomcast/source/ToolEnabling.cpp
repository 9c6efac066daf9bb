#include "LoomSurface.h"

#include "ToolRules.h"
#include "ToolSettings.h"

bool LoomS::GetDEnabling(BaseDocument* doc, BaseContainer& data, Int32 id, const GeData& t_data, Int32 flags, const BaseContainer* itemdesc)
{
	EnablingState state;
	state.strokeCount = GetStrokeCount();
	state.dragOp = _dragOp;
	state.edgeLineEmpty = _edgeLines.IsEmpty();
	state.planeObjectExists = data.GetLink(LOOM_PLANE_OBJECT, doc) != nullptr;
	switch (EnablingRule(id, data, state))
	{
		case Enabling::Enabled:
			return true;
		case Enabling::Disabled:
			return false;
		case Enabling::HostDefault:
			break;
	}
	return DescriptionToolData::GetDEnabling(doc, data, id, t_data, flags, itemdesc);
}
