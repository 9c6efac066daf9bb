// The plug-in messages the host sends to Tarnwick, kept apart from the entry so they can be driven
// directly.
#pragma once

#include "hostapi/plugin.h"

// Answers a plug-in message: 0 (priority) true, 1 (system initialisation) the success of loading
// the resources, everything else false after any work it asks for.
bool TarnwickPluginMessage(Int32 id, void* data);

// Looks at the host's command line: announces "--help"/"-help" (left in place for other plug-ins),
// consumes "-SDK" and "-plugincrash" by emptying their entries. Missing or empty entries are skipped.
void HandleCommandLine(PLUGINMSG_CommandLineArgs* args);

// Reports an image the host is about to edit, unless another plug-in processed it already.
void HandleEditImage(const PLUGINMSG_EditImage* image);
