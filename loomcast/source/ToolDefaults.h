// The defaults of the tool's settings.
#pragma once

#include "hostapi/container.h"

// Writes every setting's default into the tool's container.
void WriteSettingDefaults(BaseContainer& data);
// Sets LOOM_FALLOFF to a new curve through (0, 1) and (1, 0); false when it cannot be made.
bool SetFalloffDefault(BaseContainer& data);
