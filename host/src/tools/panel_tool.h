// The active tool as its settings panel reaches it.
#pragma once

#include <string>

#include "hostapi/plugin.h"

namespace standin::tools
{

struct PanelTool
{
	DescriptionToolData* tool = nullptr;
	BaseContainer* settings = nullptr;
};

// The active tool when it has a settings panel; false with *error when no tool is active or it
// has no panel.
bool ActivePanelTool(PanelTool* out, std::string* error);

} // namespace standin::tools
