// libFuzzer target: arbitrary bytes as a hyper file image and as a bare container encoding.
// Whatever the input, decoding must end with an answer: no crash, no hang, no huge allocation.
// A container that decodes must encode again, and that encoding must decode. An image that parses
// is also read from disk the ways plug-ins and scripts read it (HyperFile, the text listing).
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "data/serialize.h"
#include "file/hyperfile_format.h"
#include "fuzz_support.h"
#include "hostapi/file.h"
#include "standin/hyperfile_dump.h"

namespace
{

void Decoded(const BaseContainer& bc)
{
	std::vector<std::uint8_t> again;
	if (!standin::data::EncodeContainer(bc, again))
		fuzz::Fault("a decoded container does not encode");
	BaseContainer back;
	std::string error;
	if (!standin::data::DecodeContainer(again.data(), again.size(), &back, &error))
		fuzz::Fault(("the encoding of a decoded container does not decode: " + error).c_str());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
	std::string error;
	BaseContainer bc;
	if (standin::data::DecodeContainer(data, size, &bc, &error))
		Decoded(bc);

	Int32 ident = 0;
	std::vector<std::uint8_t> payload;
	if (!standin::file::ParseHyperFile(data, size, &ident, &payload, &error))
		return 0;
	size_t pos = 0;
	while (pos < payload.size())
	{
		std::uint32_t kind = 0;
		const std::uint8_t* body = nullptr;
		size_t length = 0;
		if (!standin::file::NextRecord(payload, &pos, &kind, &body, &length, &error))
			break;
		if (standin::data::DecodeContainer(body, length, &bc, &error))
			Decoded(bc);
	}

	static const std::string path = fuzz::ScratchPath("input.hyp");
	fuzz::WriteFile(path, data, size);
	std::string text;
	standin::DescribeHyperFile(path, &text, &error);
	HyperFile* hf = HyperFile::Alloc();
	if (hf->Open(ident, Filename(path.c_str()), FILEOPEN_READ, FILEDIALOG_NONE))
	{
		while (hf->ReadContainer(&bc))
		{
		}
		hf->Close();
	}
	HyperFile::Free(hf);
	return 0;
}
