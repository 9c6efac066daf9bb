// Byte layout of a document file. The file is a hyper file (data/serialize.h, file/
// hyperfile_format.h) with identification kDocumentIdent holding one record of kind
// kRecordDocument, whose body is, little-endian:
//
//   u32 version, i32 editing mode, node (the document's own name, bits, parameters, unique IDs)
//   u32 layer count,    per layer:    u32 depth, node
//   u32 material count, per material: i32 type, node, u64 layer ref
//   u32 object count,   per object:   u32 depth, i32 type, node, matrix (12 f64: off, v1, v2, v3),
//       u64 identity, i32 editor mode, i32 render mode, u64 layer ref, then for Opolygon:
//       u32 points + 3 f64 each, u32 polygons + 4 i32 each, three selections (points, polygons,
//       edges: u32 ranges + 2 i32 each); for Ospline: i32 spline type, u32 points + 3 f64 each,
//       u32 curve count + i32 point count each (0 curves: one curve through every point);
//       then u32 tag count, per tag: i32 type, node, and for Tuvw u32 count + 12 f64 each, for
//       Ttexture u64 material ref
//   node = u32 name bytes + bytes, u64 bits, u32 container bytes + container (data/serialize.h),
//          u32 unique-ID count, per entry: i32 application number, u32 bytes + bytes
//
// Layers and objects are listed depth first; depth 0 is the top level and each element's depth is
// at most one more than the one before it. A ref names an element of the file by its position in
// the order layers, materials, objects (each followed by its tags), counted from 1; 0 is none.
// Links inside parameter containers are stored as a nested container with id kLinkCellId holding
// the ref at key 1.
#pragma once

#include <cstdint>

#include "hostapi/types.h"

namespace standin::docio
{

constexpr Int32 kDocumentIdent = 0x73646f63; // "sdoc"
constexpr std::uint32_t kRecordDocument = 2;
// Version 2 added the spline curve table; version 1 files (without it) still open.
constexpr std::uint32_t kDocumentVersion = 2;
constexpr std::uint32_t kOldestDocumentVersion = 1;
constexpr Int32 kLinkCellId = 0x6c6e6b30; // "lnk0"
constexpr Int32 kLinkCellKey = 1;

} // namespace standin::docio
