// The checksum of every hyper file: the eight-bytes-at-a-time loop must give the classic CRC-32
// at every length and alignment, or every stored file would read as damaged.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "file/crc32.h"
#include "file/hyperfile_format.h"

namespace
{

std::uint32_t ByteAtATime(const std::uint8_t* data, size_t size)
{
	std::uint32_t c = 0xFFFFFFFFu;
	for (size_t i = 0; i < size; ++i)
	{
		c ^= data[i];
		for (int k = 0; k < 8; ++k)
			c = (c & 1u) ? (0xEDB88320u ^ (c >> 1)) : (c >> 1);
	}
	return c ^ 0xFFFFFFFFu;
}

TEST(Crc32, MatchesTheClassicChecksumAtEveryLengthAndAlignment)
{
	const std::string check = "123456789";
	EXPECT_EQ(standin::file::Crc32(reinterpret_cast<const std::uint8_t*>(check.data()), check.size()), 0xCBF43926u);
	EXPECT_EQ(standin::file::Crc32(nullptr, 0), 0u);

	std::mt19937 random(3);
	std::vector<std::uint8_t> bytes(200);
	for (std::uint8_t& b : bytes)
		b = static_cast<std::uint8_t>(random());
	for (size_t offset = 0; offset < 8; ++offset)
		for (size_t length = 0; offset + length <= bytes.size(); length += 1 + length / 8)
			ASSERT_EQ(standin::file::Crc32(bytes.data() + offset, length), ByteAtATime(bytes.data() + offset, length))
				<< "offset " << offset << " length " << length;
}

TEST(HyperFileLimits, DocumentsMayBeLargerThanPluginFiles)
{
	// A payload over the plug-in files' limit is refused there, and read under a larger limit.
	std::vector<std::uint8_t> payload(64, 7);
	std::vector<std::uint8_t> image;
	standin::file::BuildHyperFile(5, payload, &image);
	const std::string path = (std::filesystem::temp_directory_path() / "hyperfile-limit-test.shyf").string();
	FILE* f = std::fopen(path.c_str(), "wb");
	ASSERT_NE(f, nullptr);
	ASSERT_EQ(std::fwrite(image.data(), 1, image.size(), f), image.size());
	std::fclose(f);

	Int32 ident = 0;
	std::vector<std::uint8_t> read;
	std::string error;
	EXPECT_FALSE(standin::file::LoadHyperFile(path, &ident, &read, &error, 63));
	EXPECT_NE(error.find("too large"), std::string::npos) << error;
	EXPECT_TRUE(standin::file::LoadHyperFile(path, &ident, &read, &error, 64)) << error;
	EXPECT_EQ(read, payload);
	EXPECT_FALSE(standin::file::ParseHyperFile(image.data(), image.size(), &ident, &read, &error, 10));
	EXPECT_GT(standin::file::kMaxDocumentPayload, standin::file::kMaxHyperFilePayload);
	std::filesystem::remove(path);
}

} // namespace
