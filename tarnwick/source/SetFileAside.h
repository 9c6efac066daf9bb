// Keeping a copy of a data file that could not be read whole, before it is written again.
#pragma once

#include "hostapi/api.h"

// Copies the file to a new file beside it, "<name>-damaged-<YYYYMMDD-HHMMSS>.<suffix>" (with
// "-2", "-3", ... when that name is taken). *copy names the copy. False when none could be made.
bool SetAsideDamagedFile(const Filename& path, Filename* copy);
