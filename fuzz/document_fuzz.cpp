// libFuzzer target: document files. An input that starts like a hyper file is the whole file;
// any other input is the document record, wrapped in a valid header and checksum so that the
// fuzzer spends its time in the document reader rather than on the checksum. Whatever opens must
// save, and the saved file must open again and describe the same scene.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "docio/document_format.h"
#include "file/hyperfile_format.h"
#include "fuzz_support.h"
#include "standin/console.h"
#include "standin/documents.h"
#include "standin/scene.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
	static const std::string input = fuzz::ScratchPath("input.doc");
	static const std::string saved = fuzz::ScratchPath("saved.doc");

	if (size >= sizeof standin::file::kHyperFileMagic && std::memcmp(data, standin::file::kHyperFileMagic, sizeof standin::file::kHyperFileMagic) == 0)
		fuzz::WriteFile(input, data, size);
	else
	{
		std::vector<std::uint8_t> payload;
		standin::file::AppendRecord(payload, standin::docio::kRecordDocument, std::vector<std::uint8_t>(data, data + size));
		std::vector<std::uint8_t> image;
		standin::file::BuildHyperFile(standin::docio::kDocumentIdent, payload, &image);
		fuzz::WriteFile(input, image.data(), image.size());
	}

	std::string error;
	BaseDocument* doc = standin::LoadDocument(input, &error);
	// Repairs are reported on the console, which keeps its lines; they go with this input, so
	// that libFuzzer does not take them for a leak.
	standin::ClearConsole();
	if (!doc)
		return 0;
	const std::string scene = standin::DescribeScene(doc);
	if (!standin::SaveDocument(doc, saved, &error))
		fuzz::Fault(("a document that opened does not save: " + error).c_str());
	standin::CloseAllDocuments();
	BaseDocument* again = standin::LoadDocument(saved, &error);
	if (!again)
		fuzz::Fault(("a saved document does not open: " + error).c_str());
	if (standin::DescribeScene(again) != scene)
		fuzz::Fault("a saved document opens as another scene");
	standin::CloseAllDocuments();
	return 0;
}
