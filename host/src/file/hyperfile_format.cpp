#include "file/hyperfile_format.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <memory>

#include "data/bytes.h"
#include "file/crc32.h"

namespace standin::file
{

using standin::data::ByteReader;
using standin::data::ByteWriter;

void BuildHyperFile(Int32 ident, const std::vector<std::uint8_t>& payload, std::vector<std::uint8_t>* out)
{
	out->clear();
	out->reserve(kHyperFileHeaderBytes + payload.size());
	BuildHyperFileHeader(ident, payload, out);
	ByteWriter w(*out);
	w.Bytes(payload.data(), payload.size());
}

void BuildHyperFileHeader(Int32 ident, const std::vector<std::uint8_t>& payload, std::vector<std::uint8_t>* out)
{
	out->clear();
	ByteWriter w(*out);
	// Byte by byte: a four-byte insert into the fresh vector sets off false -Wstringop-overflow and
	// -Warray-bounds reports in GCC 12 at -O2 and above.
	for (const std::uint8_t c : kHyperFileMagic)
		w.U8(c);
	w.U32(kHyperFileVersion);
	w.I32(ident);
	w.U64(payload.size());
	w.U32(Crc32(payload.data(), payload.size()));
}

namespace
{
bool SetError(std::string* error, const std::string& text)
{
	if (error)
		*error = text;
	return false;
}

struct Header
{
	Int32 ident = 0;
	std::uint64_t length = 0;
	std::uint32_t crc = 0;
};

bool ParseHeader(const std::uint8_t* data, size_t size, Header* h, std::uint64_t maxPayload, std::string* error)
{
	if (size < kHyperFileHeaderBytes)
		return SetError(error, "truncated header (" + std::to_string(size) + " bytes)");
	if (std::memcmp(data, kHyperFileMagic, sizeof kHyperFileMagic) != 0)
		return SetError(error, "not a hyper file (bad magic)");
	ByteReader r(data + 4, size - 4);
	std::uint32_t version = 0;
	r.U32(&version);
	if (version != kHyperFileVersion)
		return SetError(error, "unsupported hyper file version " + std::to_string(version));
	r.I32(&h->ident);
	r.U64(&h->length);
	r.U32(&h->crc);
	if (h->length > maxPayload)
		return SetError(error, "payload length " + std::to_string(h->length) + " is too large (at most " + std::to_string(maxPayload) + ")");
	return true;
}
} // namespace

bool ParseHyperFile(const std::uint8_t* data, size_t size, Int32* ident, std::vector<std::uint8_t>* payload, std::string* error,
	std::uint64_t maxPayload)
{
	Header h;
	if (!ParseHeader(data, size, &h, maxPayload, error))
		return false;
	const size_t available = size - kHyperFileHeaderBytes;
	if (h.length != available)
		return SetError(error, "payload length " + std::to_string(h.length) + " does not match the " + std::to_string(available) + " bytes present");
	const std::uint8_t* body = data + kHyperFileHeaderBytes;
	if (Crc32(body, available) != h.crc)
		return SetError(error, "checksum mismatch (damaged file)");
	if (ident)
		*ident = h.ident;
	if (payload)
		payload->assign(body, body + available);
	return true;
}

bool LoadHyperFile(const std::string& path, Int32* ident, std::vector<std::uint8_t>* payload, std::string* error,
	std::uint64_t maxPayload)
{
	// Checked before opening: opening a named pipe for reading would wait for a writer forever.
	struct stat before{};
	if (::stat(path.c_str(), &before) != 0)
		return SetError(error, "cannot open " + path);
	if (!S_ISREG(before.st_mode))
		return SetError(error, path + " is not a regular file");
	std::unique_ptr<std::FILE, int (*)(std::FILE*)> f(std::fopen(path.c_str(), "rb"), &std::fclose);
	if (!f)
		return SetError(error, "cannot open " + path);
	struct stat st{};
	if (::fstat(::fileno(f.get()), &st) != 0 || !S_ISREG(st.st_mode))
		return SetError(error, path + " is not a regular file");

	// The header comes first so that a hostile length is refused before anything large is read.
	std::uint8_t head[kHyperFileHeaderBytes];
	const size_t got = std::fread(head, 1, sizeof head, f.get());
	Header h;
	if (!ParseHeader(head, got, &h, maxPayload, error))
		return false;
	const std::uint64_t fileSize = static_cast<std::uint64_t>(st.st_size);
	if (fileSize != kHyperFileHeaderBytes + h.length)
		return SetError(error, "payload length " + std::to_string(h.length) + " does not match the file size " + std::to_string(fileSize));

	std::vector<std::uint8_t> body(static_cast<size_t>(h.length));
	if (std::fread(body.data(), 1, body.size(), f.get()) != body.size())
		return SetError(error, "read error in " + path);
	if (Crc32(body.data(), body.size()) != h.crc)
		return SetError(error, "checksum mismatch (damaged file)");
	if (ident)
		*ident = h.ident;
	if (payload)
		payload->swap(body);
	return true;
}

void AppendRecord(std::vector<std::uint8_t>& payload, std::uint32_t kind, const std::vector<std::uint8_t>& body)
{
	ByteWriter w(payload);
	w.U32(kind);
	w.U32(static_cast<std::uint32_t>(body.size()));
	w.Bytes(body.data(), body.size());
}

bool NextRecord(const std::vector<std::uint8_t>& payload, size_t* pos, std::uint32_t* kind, const std::uint8_t** body, size_t* length, std::string* error)
{
	if (*pos > payload.size())
		return SetError(error, "record position past the payload");
	ByteReader r(payload.data() + *pos, payload.size() - *pos);
	std::uint32_t len = 0;
	if (!r.U32(kind) || !r.U32(&len))
		return SetError(error, "truncated record header at payload byte " + std::to_string(*pos));
	if (!r.View(len, body))
		return SetError(error, "record length " + std::to_string(len) + " exceeds the payload");
	*length = len;
	*pos += kRecordHeaderBytes + len;
	return true;
}

} // namespace standin::file
