// The kernel's call log (standin/modeling.h).
#pragma once

#include "standin/modeling.h"

namespace modeling
{

void LogCall(standin::ModelingCall::Kind kind, const BaseObject* op, Int32 flags, Int32 result);

} // namespace modeling
