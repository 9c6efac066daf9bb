// The stroke tool object that the host calls while the tool is active.
#pragma once

#include "hostapi/plugin.h"

class LoomS : public DescriptionToolData
{
public:
	LoomS();

	Int32 GetState(BaseDocument* doc) override;
	Int32 GetToolPluginId() override;
	const String GetResourceSymbol() override;
};
