#include "Binaries/Zorvik.h"

#include <gtest/gtest.h>

// The two faces come from the embedded Oswald files, each built once; a copy that a
// control resizes leaves the shared face as it was.
TEST(Resources, FontsAreTheEmbeddedOswaldFacesBuiltOnce)
{
    auto light = Zorvik::getFontLight();
    const auto bold = Zorvik::getFontBold();
    EXPECT_EQ(light.getTypefaceName(), "Oswald");
    EXPECT_EQ(bold.getTypefaceName(), "Oswald");
    EXPECT_EQ(light.getTypefaceStyle(), "Light");
    EXPECT_EQ(bold.getTypefaceStyle(), "Bold");

    const auto height = light.getHeight();
    light.setHeight(height + 31.0f);
    const auto again = Zorvik::getFontLight();
    EXPECT_EQ(again.getHeight(), height);
    EXPECT_EQ(again.getTypefacePtr().get(), light.getTypefacePtr().get());
    EXPECT_NE(again.getTypefacePtr().get(), bold.getTypefacePtr().get());
}
