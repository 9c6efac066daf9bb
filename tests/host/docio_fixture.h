// The fixture of the document file tests: a document in a fresh folder, and ways to write or
// patch a file by hand.
#pragma once

#include <gtest/gtest.h>

#include <stdlib.h>

#include <bit>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "file/hyperfile_format.h"
#include "hostapi/document.h"
#include "standin/documents.h"
#include "standin/scene.h"

namespace docio_testing
{

using Bytes = std::vector<std::uint8_t>;

class DocumentFileTest : public ::testing::Test
{
protected:
	void SetUp() override
	{
		char pattern[] = "/tmp/docio-XXXXXX";
		ASSERT_NE(mkdtemp(pattern), nullptr);
		folder = pattern;
		path = folder + "/scene.doc";
		doc = standin::NewDocument();
	}

	void TearDown() override
	{
		standin::CloseAllDocuments();
		std::error_code ignored;
		std::filesystem::remove_all(folder, ignored);
	}

	BaseObject* Append(BaseObject* op, BaseObject* parent = nullptr)
	{
		BaseObject* pred = parent ? parent->GetDown() : doc->GetFirstObject();
		while (pred && pred->GetNext())
			pred = pred->GetNext();
		doc->InsertObject(op, parent, pred);
		return op;
	}

	BaseDocument* SaveAndOpen()
	{
		std::string error;
		EXPECT_TRUE(standin::SaveDocument(doc, path, &error)) << error;
		BaseDocument* loaded = standin::LoadDocument(path, &error);
		EXPECT_NE(loaded, nullptr) << error;
		return loaded;
	}

	// A document file with a hand-made body.
	void WriteBody(const Bytes& body, Int32 ident = 0x73646f63)
	{
		Bytes payload;
		standin::file::AppendRecord(payload, 2, body);
		Bytes image;
		standin::file::BuildHyperFile(ident, payload, &image);
		std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
	}

	// Opening must fail, name a reason and leave the open documents as they were.
	void ExpectRefused(const char* what, const std::string& reason = "")
	{
		std::string error;
		EXPECT_EQ(standin::LoadDocument(path, &error), nullptr) << what;
		EXPECT_FALSE(error.empty()) << what;
		EXPECT_NE(error.find(reason), std::string::npos) << what << ": " << error;
		EXPECT_EQ(GetActiveDocument(), doc) << what;
	}

	// Saves doc, lets patch change the file's payload (the record with the document body) and
	// writes the file again with a correct checksum.
	void SaveAndPatch(const std::function<void(Bytes& payload)>& patch)
	{
		std::string error;
		ASSERT_TRUE(standin::SaveDocument(doc, path, &error)) << error;
		Int32 ident = 0;
		Bytes payload;
		ASSERT_TRUE(standin::file::LoadHyperFile(path, &ident, &payload, &error)) << error;
		patch(payload);
		Bytes image;
		standin::file::BuildHyperFile(ident, payload, &image);
		std::ofstream(path, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
	}

	// Replaces the one occurrence of the 8 bytes of from (little-endian) by those of to.
	static void ReplaceU64(Bytes& bytes, std::uint64_t from, std::uint64_t to)
	{
		std::uint8_t pattern[8];
		std::uint8_t replacement[8];
		for (int i = 0; i < 8; ++i)
		{
			pattern[i] = static_cast<std::uint8_t>(from >> (8 * i));
			replacement[i] = static_cast<std::uint8_t>(to >> (8 * i));
		}
		size_t found = 0;
		for (size_t i = 0; i + 8 <= bytes.size(); ++i)
			if (std::memcmp(&bytes[i], pattern, 8) == 0)
			{
				std::memcpy(&bytes[i], replacement, 8);
				++found;
			}
		ASSERT_EQ(found, 1u);
	}

	// The file's bytes as they are now.
	std::string FileBytes() const
	{
		std::ifstream in(path, std::ios::binary);
		return std::string(std::istreambuf_iterator<char>(in), {});
	}

	// Replaces the one occurrence of the 8 bytes of the double from by those of to.
	static void ReplaceF64(Bytes& bytes, double from, double to)
	{
		ReplaceU64(bytes, std::bit_cast<std::uint64_t>(from), std::bit_cast<std::uint64_t>(to));
	}

	std::string folder;
	std::string path;
	BaseDocument* doc = nullptr;
};

} // namespace docio_testing
