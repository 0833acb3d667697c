#include "Binaries/Zorvik.h"
#include "FontData.h"

#include <gtest/gtest.h>

#include <cstring>

namespace
{
    juce::File resourceFile(const char* relative)
    {
        // Not from __FILE__: with ccache's base_dir the compiler sees relative paths.
        return juce::File(ZORVIK_SOURCE_DIR).getChildFile("resources").getChildFile(relative);
    }
}

// The embedded font is the committed file, byte for byte (a stale embed after an
// edit of the file would differ).
TEST(Resources, NamedLookupGivesTheEmbeddedBytes)
{
    int size = -1;
    const char* data = FontData::getNamedResource("OswaldLight_ttf", size);
    ASSERT_EQ(data, FontData::OswaldLight_ttf);
    EXPECT_EQ(size, FontData::OswaldLight_ttfSize);

    juce::MemoryBlock onDisk;
    ASSERT_TRUE(resourceFile("fonts/Oswald-Light.ttf").loadFileAsData(onDisk));
    ASSERT_EQ(onDisk.getSize(), static_cast<size_t>(size));
    EXPECT_EQ(std::memcmp(onDisk.getData(), data, onDisk.getSize()), 0);
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
    EXPECT_NE(Zorvik::getFontBold().getTypefacePtr().get(), second.getTypefacePtr().get());
}
