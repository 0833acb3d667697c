#include "TestProcessor.h"
#include "UI/Controls/Waveshaper/WaveshaperViewContainer.h"
#include "UiTestSupport.h"

#include <array>
#include <cmath>

using namespace UiTest;

namespace
{
    const float notANumber = std::nanf("");
    using W = WaveshaperViewContainer;

    // A 320 x 200 waveshaper view (range 1.6: one unit is 100 pixels across, 62.5 up)
    // whose drag moves "Offset" (-200 to 200) and "Rate" (0 to 4).
    struct WaveshaperViewTest : ::testing::Test
    {
        WaveshaperViewTest()
        {
            shaper.setBounds(0, 0, 320, 200);
            shaper.attach(processor.parameters);
        }
        TestProcessor processor { { { "Shape", 0.0f, 1.0f, 0.0f }, { "Offset", -200.0f, 200.0f, 0.0f },
                                    { "Rate", 0.0f, 4.0f, 1.0f } } };
        W shaper { processor.record("Shape"), processor.record("Offset"), processor.record("Rate"), "" };
    };

    double chebyshev(int order, double x) { return std::cos(order * std::acos(x)); }
}

TEST(WaveshaperViewMathsTest, ShapesInsideTheUnitRangeAndTheirClippingOutside)
{
    for (const double x : { -1.0, -0.7, -0.2, 0.0, 0.3, 0.9, 1.0 })
    {
        const float xf = static_cast<float>(x);
        EXPECT_NEAR(W::shape(W::drawSoftClip, xf, 1.0f), 1.5 * (x - x * x * x / 3.0), 1e-5);
        EXPECT_NEAR(W::shape(W::drawSinoidFold, xf, 1.0f), std::sin(x * M_PI / 2.0), 1e-5);
        // The polynomials are the Chebyshev polynomials of orders 2 to 5.
        for (int order = 2; order <= 5; ++order)
            EXPECT_NEAR(W::shape(W::drawPolynomialOrder2 + order - 2, xf, 1.0f), chebyshev(order, x), 1e-4) << order;
    }
    const double k = 3.5; // drive 0.3; these three are not clipped beyond 1
    EXPECT_NEAR(W::shape(W::drawHyperbolicTangent, 1.6f, 0.3f), std::tanh(k * 1.6) / std::tanh(k), 1e-5);
    EXPECT_NEAR(W::shape(W::drawExponential, 1.6f, 0.3f), 1.0 - std::exp(-k * 1.6), 1e-5);
    EXPECT_NEAR(W::shape(W::drawExponential, -1.6f, 0.3f), std::exp(-k * 1.6) - 1.0, 1e-5);
    EXPECT_NEAR(W::shape(W::drawSinoidFold, 1.6f, 1.0f), std::sin(1.6 * M_PI / 2.0), 1e-5);
    // Beyond the unit range the clipping algorithms hold their level at the edge.
    for (const float x : { -1.6f, 1.6f })
    {
        const float edge = std::copysign(1.0f, x);
        for (const auto& [algorithm, level] : { std::pair { W::drawHardClip, edge }, { W::drawSoftClip, edge },
                                                { W::drawPolynomialOrder2, 1.0f }, { W::drawPolynomialOrder3, edge },
                                                { W::drawPolynomialOrder4, 1.0f }, { W::drawPolynomialOrder5, edge } })
            EXPECT_EQ(W::shape(algorithm, x, 1.0f), level) << algorithm << " at " << x;
    }
    EXPECT_TRUE(std::isnan(W::shape(W::numAlgorithms, 0.5f, 1.0f)));
    // Without a fold amount the rate changes nothing.
    EXPECT_EQ(W::folded(0.37f, 0.0f, 3.0f), 0.37f);
    EXPECT_NEAR(W::folded(0.5f, 1.0f, 0.0f), 0.5 + 0.3 * std::sin(0.5 * 5.0 * M_PI * 0.1), 1e-6);
}

TEST_F(WaveshaperViewTest, TheCurveAndOffsetFollowTheSizeWhileTheGridKeepsTheFirst)
{
    shaper.setMainColor(Zorvik::yellow);
    shaper.setValues(0.4f, 0.0f, 0.0f, 1.0f);
    auto image = render(shaper, "waveshaper-hard-clip");
    // Hard clip: the curve runs from (0, 162.5) at -1 to (320, 37.5) at +1, through the centre.
    const auto curve = shaper.getCurvePath().getBounds();
    EXPECT_TRUE(std::abs(curve.getY() - 37.5f) < 0.01f && std::abs(curve.getBottom() - 162.5f) < 0.01f);
    for (const auto& [x, y] : { std::pair { 160, 100 }, { 200, 75 }, { 10, 162 }, { 310, 37 } })
        EXPECT_TRUE(near(image.getPixelAt(x, y), Zorvik::yellow, 40)) << x << ", " << y;
    EXPECT_TRUE(near(image.getPixelAt(130, 50), Zorvik::background, 3));
    // The offset line at 0.4 lies 25 pixels above the centre.
    EXPECT_GT(std::max(image.getPixelAt(40, 74).getBlue(), image.getPixelAt(40, 75).getBlue()), 120);

    shaper.setBounds(0, 0, 160, 100);
    image = render(shaper, "waveshaper-resized");
    // The grid stays where it was first drawn: a unit line at x = 60, none at the new centre x = 80.
    EXPECT_FALSE(near(image.getPixelAt(60, 10), Zorvik::background, 3));
    EXPECT_TRUE(near(image.getPixelAt(80, 10), Zorvik::background, 3));
    EXPECT_NEAR(shaper.getCurvePath().getBounds().getRight(), 160.0f, 0.01f);
    EXPECT_NEAR(shaper.getOffsetPath().getBounds().getY(), 50.0f - 12.5f, 0.01f);
}

TEST_F(WaveshaperViewTest, DraggingMovesTheFirstParameterByOutputUnitsAndTheSecondByWidths)
{
    const auto expectValues = [this](float offset, float rate) {
        EXPECT_NEAR(processor.plain("Offset"), offset, 0.01f);
        EXPECT_NEAR(processor.plain("Rate"), rate, 1e-3f);
    };
    shaper.mouseDown(mouseEvent(shaper, { 100.0f, 100.0f }));
    shaper.mouseDrag(mouseEvent(shaper, { 180.0f, 25.0f }));
    expectValues(120.0f, 1.4f); // 75 px up are 1.2 output units, 80 px right a quarter of the width
    shaper.mouseDrag(mouseEvent(shaper, { 100.0f, 100.0f }));
    expectValues(0.0f, 1.0f);
    shaper.mouseUp(mouseEvent(shaper, { 100.0f, 100.0f }));
    shaper.mouseDown(rightClick(shaper, { 100.0f, 100.0f }));
    shaper.mouseDrag(mouseEvent(shaper, { 300.0f, 0.0f }, juce::ModifierKeys::rightButtonModifier));
    expectValues(0.0f, 1.0f);
}

TEST_F(WaveshaperViewTest, HostileValuesDrawInsideTheView)
{
    for (int algorithm = 0; algorithm <= W::numAlgorithms; ++algorithm)
    {
        shaper.setAlgorithm(static_cast<W::Algorithm>(algorithm));
        for (const auto& [offset, amount, rate, drive] : { std::array { notANumber, 1.0e30f, INFINITY, -0.05f },
                                                           { 1.0e30f, 1.0e30f, 0.0f, notANumber },
                                                           { -INFINITY, -1.0e30f, 0.1f, 1.0e30f } })
        {
            shaper.setValues(offset, amount, rate, drive);
            render(shaper, "waveshaper-hostile");
            const auto bounds = shaper.getCurvePath().getBounds().getUnion(shaper.getOffsetPath().getBounds());
            EXPECT_TRUE(bounds.getY() >= -200.0f && bounds.getBottom() <= 400.0f) << algorithm << ": " << offset;
        }
    }
    EXPECT_TRUE(shaper.getCurvePath().isEmpty()); // an algorithm that does not exist draws no curve
    shaper.setAlgorithm(static_cast<W::Algorithm>(-1));
    render(shaper, "waveshaper-no-algorithm");
    EXPECT_TRUE(shaper.getCurvePath().isEmpty());
}
