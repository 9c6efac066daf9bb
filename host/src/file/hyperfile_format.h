// Byte layout of the host's hyper files (little-endian):
//   4 bytes magic "SHYF", u32 format version, i32 ident, u64 payload length, u32 CRC-32 of the
//   payload, then the payload: a sequence of records, each u32 kind, u32 length, length bytes.
//   A container record (kind 1) holds one container in the encoding of data/serialize.h.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "hostapi/types.h"

namespace standin::file
{

constexpr std::uint8_t kHyperFileMagic[4] = {'S', 'H', 'Y', 'F'};
constexpr std::uint32_t kHyperFileVersion = 1;
constexpr size_t kHyperFileHeaderBytes = 4 + 4 + 4 + 8 + 4;
constexpr size_t kRecordHeaderBytes = 4 + 4;
// Plug-in files are small; anything larger is refused before it is read into memory.
constexpr std::uint64_t kMaxHyperFilePayload = 256ull * 1024 * 1024;
// A document is one record, whose length field bounds it: dense scans with texture coordinates
// take several hundred MiB.
constexpr std::uint64_t kMaxDocumentPayload = kRecordHeaderBytes + 0xffffffffull;

constexpr std::uint32_t kRecordContainer = 1;

// The whole file for a payload.
void BuildHyperFile(Int32 ident, const std::vector<std::uint8_t>& payload, std::vector<std::uint8_t>* out);
// Only the header that goes before the payload (the payload follows it unchanged).
void BuildHyperFileHeader(Int32 ident, const std::vector<std::uint8_t>& payload, std::vector<std::uint8_t>* out);

// Checks header, length and checksum of a file image and hands out ident and payload. A payload
// longer than maxPayload is refused.
bool ParseHyperFile(const std::uint8_t* data, size_t size, Int32* ident, std::vector<std::uint8_t>* payload, std::string* error,
	std::uint64_t maxPayload = kMaxHyperFilePayload);

// Reads and checks a hyper file from disk; a payload longer than maxPayload is refused before it
// is read.
bool LoadHyperFile(const std::string& path, Int32* ident, std::vector<std::uint8_t>* payload, std::string* error,
	std::uint64_t maxPayload = kMaxHyperFilePayload);

// Appends one record to a payload.
void AppendRecord(std::vector<std::uint8_t>& payload, std::uint32_t kind, const std::vector<std::uint8_t>& body);

// Takes the record at *pos of payload; false with *error when it is cut short.
bool NextRecord(const std::vector<std::uint8_t>& payload, size_t* pos, std::uint32_t* kind, const std::uint8_t** body, size_t* length, std::string* error);

} // namespace standin::file
