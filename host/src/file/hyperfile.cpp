// HyperFile: reading checks the whole file at Open; writing collects the payload in memory and
// puts it on disk at Close, through a temporary file that is renamed over the target only when
// everything went well (file/atomic_write.h). An interrupted or failed write therefore never
// damages an older file.
#include <new>
#include <string>
#include <vector>

#include "data/serialize.h"
#include "file/atomic_write.h"
#include "file/hyperfile_format.h"
#include "hostapi/file.h"

namespace
{

struct HyperFileData final : HyperFile
{
	Int32 mode = 0; // 0 closed, FILEOPEN_READ or FILEOPEN_WRITE
	Int32 ident = 0;
	bool failed = false;
	standin::file::AtomicFile out;
	std::vector<std::uint8_t> payload;
	size_t readPos = 0;

	void Reset()
	{
		out.Abandon();
		mode = 0;
		ident = 0;
		failed = false;
		payload.clear();
		payload.shrink_to_fit();
		readPos = 0;
	}

	bool FinishWrite()
	{
		if (failed)
			return false;
		std::vector<std::uint8_t> image;
		try
		{
			standin::file::BuildHyperFile(ident, payload, &image);
		}
		catch (const std::bad_alloc&)
		{
			return false;
		}
		return out.Write(image.data(), image.size(), nullptr) && out.Commit(nullptr);
	}
};

HyperFileData* Data(HyperFile* hf)
{
	return static_cast<HyperFileData*>(hf);
}

} // namespace

HyperFile* HyperFile::Alloc()
{
	return new (std::nothrow) HyperFileData();
}

void HyperFile::Free(HyperFile*& hf)
{
	if (!hf)
		return;
	// A file freed without Close was never finished: its temporary file goes, the target stays.
	HyperFileData* d = Data(hf);
	d->Reset();
	delete d;
	hf = nullptr;
}

bool HyperFile::Open(Int32 ident, const Filename& name, Int32 mode, Int32 /*errorDialogMode*/)
{
	HyperFileData* d = Data(this);
	if (d->mode != 0 || name.IsEmpty())
		return false;
	const std::string path = name.GetString().Get();

	if (mode == FILEOPEN_READ)
	{
		Int32 stored = 0;
		std::vector<std::uint8_t> payload;
		if (!standin::file::LoadHyperFile(path, &stored, &payload, nullptr) || stored != ident)
			return false;
		d->mode = FILEOPEN_READ;
		d->ident = ident;
		d->payload.swap(payload);
		d->readPos = 0;
		return true;
	}

	if (mode == FILEOPEN_WRITE)
	{
		// The temporary file is made now so that a folder that cannot take the file fails the
		// Open, as callers expect, instead of the Close.
		if (!d->out.Begin(path, nullptr))
			return false;
		d->mode = FILEOPEN_WRITE;
		d->ident = ident;
		return true;
	}
	return false;
}

bool HyperFile::Close()
{
	HyperFileData* d = Data(this);
	if (d->mode == 0)
		return false;
	bool ok = true;
	if (d->mode == FILEOPEN_WRITE)
		ok = d->FinishWrite();
	else
		ok = !d->failed;
	d->Reset();
	return ok;
}

bool HyperFile::WriteContainer(const BaseContainer& bc)
{
	HyperFileData* d = Data(this);
	if (d->mode != FILEOPEN_WRITE || d->failed)
		return false;
	std::vector<std::uint8_t> body;
	try
	{
		if (!standin::data::EncodeContainer(bc, body) || body.size() > standin::file::kMaxHyperFilePayload
			|| d->payload.size() + body.size() + standin::file::kRecordHeaderBytes > standin::file::kMaxHyperFilePayload)
		{
			d->failed = true;
			return false;
		}
		standin::file::AppendRecord(d->payload, standin::file::kRecordContainer, body);
	}
	catch (const std::bad_alloc&)
	{
		d->failed = true;
		return false;
	}
	return true;
}

bool HyperFile::ReadContainer(BaseContainer* bc)
{
	HyperFileData* d = Data(this);
	if (!bc)
		return false;
	*bc = BaseContainer();
	if (d->mode != FILEOPEN_READ || d->failed)
		return false;
	std::uint32_t kind = 0;
	const std::uint8_t* body = nullptr;
	size_t length = 0;
	if (!standin::file::NextRecord(d->payload, &d->readPos, &kind, &body, &length, nullptr)
		|| kind != standin::file::kRecordContainer
		|| !standin::data::DecodeContainer(body, length, bc, nullptr))
	{
		d->failed = true;
		*bc = BaseContainer();
		return false;
	}
	return true;
}
