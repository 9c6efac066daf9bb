// The pictures the held tree draws from the plug-in's res folder exist and have the sizes the tree
// draws them from (a picture of another size would be cut or stretched in every row).
#include <gtest/gtest.h>

#include <string>

#include "hostapi/resource.h"

namespace
{

TEST(TarnwickPictures, EveryTreePictureHasItsSize)
{
	const struct
	{
		const char* name;
		Int32 side;
	} pictures[] = {{"LayerOFF.tif", 24}, {"CheckON.tif", 24}, {"CheckOFF.tif", 24}, {"Green.tif", 12}, {"Red.tif", 12}, {"Gray.tif", 12}};
	for (const auto& p : pictures)
	{
		BaseBitmap* bmp = BaseBitmap::Alloc();
		ASSERT_NE(bmp, nullptr);
		EXPECT_TRUE(bmp->Init(Filename(std::string(TEST_SOURCE_DIR "/tarnwick/res/") + p.name))) << p.name;
		EXPECT_EQ(bmp->GetBw(), p.side) << p.name;
		EXPECT_EQ(bmp->GetBh(), p.side) << p.name;
		BaseBitmap::Free(bmp);
	}
}

} // namespace
