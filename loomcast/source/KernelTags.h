// Source paths under which the plug-in's heap blocks are booked with the host allocator.
#pragma once

inline constexpr const char* DTOOL_SOURCE = "source\\Dtool";
inline constexpr const char* LOOMSURFACE_SOURCE = "source\\LoomSurface";
