// The host's modelling commands, one file each.
#pragma once

#include "hostapi/modeling.h"

namespace modeling
{

bool ResampleSpline(ModelingCommandData& data);
bool JoinObjects(ModelingCommandData& data);
bool CurrentStateToObject(ModelingCommandData& data);

} // namespace modeling
