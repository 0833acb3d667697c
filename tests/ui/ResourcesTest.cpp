#include "Binaries/Zorvik.h"
#include "FontData.h"

#include <gtest/gtest.h>

#include <cstring>

namespace
{
    // The resource-name hash, computed independently: h = h * 31 + c over signed bytes.
    uint32_t nameHash(const char* name)
    {
        uint32_t h = 0;
        for (; *name != 0; ++name)
            h = h * 31u + static_cast<uint32_t>(static_cast<int32_t>(static_cast<signed char>(*name)));
        return h;
    }

    juce::File resourceFile(const char* relative)
    {
        // Not from __FILE__: with ccache's base_dir the compiler sees relative paths.
        return juce::File(ZORVIK_SOURCE_DIR).getChildFile("resources").getChildFile(relative);
    }
}

TEST(Resources, FontTableListsItsFiveEntriesInOrder)
{
    const char* names[] = { "ZORVIK_png", "OswaldBold_ttf", "OswaldExtraLight_ttf", "OswaldLight_ttf",
                            "OswaldRegular_ttf" };
    const char* files[] = { "ZORVIK.png", "Oswald-Bold.ttf", "Oswald-ExtraLight.ttf", "Oswald-Light.ttf",
                            "Oswald-Regular.ttf" };
    ASSERT_EQ(FontData::namedResourceListSize, 5);
    for (int i = 0; i < 5; ++i)
    {
        EXPECT_STREQ(FontData::namedResourceList[i], names[i]);
        EXPECT_STREQ(FontData::originalFilenames[i], files[i]);
        // The original file name is found by the very pointer of the name list.
        EXPECT_STREQ(FontData::getNamedResourceOriginalFilename(FontData::namedResourceList[i]), files[i]);
    }
    EXPECT_EQ(FontData::getNamedResourceOriginalFilename("Oswald"), nullptr);
    EXPECT_EQ(nameHash("OswaldLight_ttf"), 0xd8107017u);
    EXPECT_EQ(nameHash("OswaldBold_ttf"), 0x461a9912u);
}

TEST(Resources, NamedLookupGivesTheEmbeddedBytesOrNothing)
{
    int size = -1;
    EXPECT_EQ(FontData::getNamedResource(nullptr, size), nullptr);
    EXPECT_EQ(size, 0);
    size = -1;
    EXPECT_EQ(FontData::getNamedResource("", size), nullptr);
    EXPECT_EQ(size, 0);
    EXPECT_EQ(FontData::getNamedResource("OswaldLight", size), nullptr);
    EXPECT_EQ(size, 0);

    const char* data = FontData::getNamedResource("OswaldLight_ttf", size);
    ASSERT_EQ(data, FontData::OswaldLight_ttf);
    EXPECT_EQ(size, FontData::OswaldLight_ttfSize);

    juce::MemoryBlock onDisk;
    ASSERT_TRUE(resourceFile("fonts/Oswald-Light.ttf").loadFileAsData(onDisk));
    ASSERT_EQ(onDisk.getSize(), static_cast<size_t>(size));
    EXPECT_EQ(std::memcmp(onDisk.getData(), data, onDisk.getSize()), 0);
}

TEST(Resources, MakerLogoIsA28PixelImage)
{
    const auto logo = juce::ImageCache::getFromMemory(FontData::ZORVIK_png, FontData::ZORVIK_pngSize);
    ASSERT_TRUE(logo.isValid());
    EXPECT_EQ(logo.getWidth(), 28);
    EXPECT_EQ(logo.getHeight(), 28);
    EXPECT_FALSE(logo.hasAlphaChannel());
}

TEST(Resources, FontsAreBuiltOnceAndCopiesAreIndependent)
{
    auto first = Zorvik::getFontLight();
    const auto defaultHeight = first.getHeight();
    first.setHeight(defaultHeight + 31.0f);
    const auto second = Zorvik::getFontLight();
    EXPECT_EQ(second.getHeight(), defaultHeight);
    EXPECT_EQ(first.getTypefacePtr().get(), second.getTypefacePtr().get());
    EXPECT_EQ(first.getTypefaceName(), "Oswald");

    const auto bold = Zorvik::getFontBold();
    EXPECT_NE(bold.getTypefacePtr().get(), second.getTypefacePtr().get());
    EXPECT_EQ(bold.getTypefacePtr().get(), Zorvik::getFontBold().getTypefacePtr().get());
    // Oswald's glyphs are narrower in the light cut than in the bold one.
    EXPECT_LT(second.withHeight(20.0f).getStringWidthFloat("REVERB"),
              bold.withHeight(20.0f).getStringWidthFloat("REVERB"));
}
