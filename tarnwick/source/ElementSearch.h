// Finding scene elements again: objects by the host's 64-bit identity, materials by the marker this
// plug-in writes into their unique-ID entries (materials have no stable identity of their own).
#pragma once

#include "hostapi/api.h"

// The marker's bytes are this text followed by a zero byte.
inline constexpr const char* MATERIAL_MARKER_TEXT = "Tarnwick";

inline bool IsObjectElement(const BaseList2D* e) { return e && e->IsInstanceOf(Obase); }
inline bool IsMaterialElement(const BaseList2D* e) { return e && e->IsInstanceOf(Mbase); }

// The identity kept for a marker's application number.
inline UInt64 MarkerIdentity(Int32 appId) { return static_cast<UInt64>(static_cast<Int64>(appId)); }

// True when a unique-ID entry's bytes, read as zero-terminated text, are the marker text. The read
// never goes past the entry's stored length.
bool IsMarkerData(const Char* data, Int64 bytes);
// The number of the material's first marker entry; false when it carries none.
bool ReadMaterialMarker(const BaseMaterial* mat, UInt64* identity);
// Adds a marker with a fresh number from the host's counter; false when the host refuses it.
bool AddMaterialMarker(BaseMaterial* mat, UInt64* identity);

// Depth-first from the first object: an object is tested, then its children, then its next
// sibling. A match ends the walk of its own sibling chain; a later match replaces an earlier one.
BaseObject* FindObjectByIdentity(BaseDocument* doc, UInt64 identity);
// The first material, in document order, that carries a marker with that number.
BaseMaterial* FindMaterialByMarker(BaseDocument* doc, UInt64 identity);
