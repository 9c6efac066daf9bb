// Where the plug-in keeps its files: a folder "Tarnwick" inside the "plugins" folder that stands
// beside the host's user preference folder.
#pragma once

#include "hostapi/file.h"

// The full path of a file of this plug-in, creating the folders when missing. When the "plugins"
// folder cannot be created the file goes into its place anyway, and a later open simply fails.
Filename TarnwickFilePlace(const String& fileName);
