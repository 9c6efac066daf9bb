// libFuzzer target: arbitrary bytes as a hyper file image and as a bare container encoding.
// Whatever the input, decoding must end with an answer: no crash, no hang, no huge allocation.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "data/serialize.h"
#include "file/hyperfile_format.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
	std::string error;
	BaseContainer bc;
	standin::data::DecodeContainer(data, size, &bc, &error);

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
		standin::data::DecodeContainer(body, length, &bc, &error);
	}
	return 0;
}
