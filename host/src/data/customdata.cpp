// The custom data base class only needs its out-of-line destructor, which anchors its vtable in
// the host library.
#include "hostapi/customdata.h"

CustomDataType::~CustomDataType() = default;
