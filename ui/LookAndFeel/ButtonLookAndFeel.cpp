#include "LookAndFeel/ButtonLookAndFeel.h"

#include <array>
#include <cmath>

namespace
{
    // The frame of a glyph: a runs 0..1 from left to right, b runs 0..1 from the bottom
    // line upwards; mid is the box's vertical middle in pixels.
    struct GlyphFrame
    {
        GlyphFrame(float bw, float bh)
            : left(0.15f * bw), width(0.85f * bw - 0.15f * bw), bottom(0.75f * bh),
              height(0.25f * bh - 0.75f * bh), mid(0.5f * bh)
        {
        }

        float x(float a) const { return left + a * width; }
        float y(float b) const { return bottom + b * height; }
        juce::Point<float> at(float a, float b) const { return { x(a), y(b) }; }

        float left, width, bottom, height, mid;
    };

    using Point = std::array<float, 2>;

    void polyline(juce::Path& path, const GlyphFrame& f, std::initializer_list<Point> points)
    {
        bool first = true;
        for (const auto& p : points)
        {
            if (first)
                path.startNewSubPath(f.at(p[0], p[1]));
            else
                path.lineTo(f.at(p[0], p[1]));
            first = false;
        }
    }

    void curve(juce::Path& path, const GlyphFrame& f, Point c1, Point c2, Point end)
    {
        path.cubicTo(f.at(c1[0], c1[1]), f.at(c2[0], c2[1]), f.at(end[0], end[1]));
    }

    void sine(juce::Path& path, const GlyphFrame& f)
    {
        path.startNewSubPath(f.x(0.0f), f.mid);
        for (int i = 0; i < 200; ++i)
        {
            const float x = f.left + static_cast<float>(i) * f.width / 200.0f;
            const float y = f.mid + 0.5f * f.height * std::sin((static_cast<float>(i) / 200.0f) / 0.15707963267948966f);
            path.lineTo(x, y);
        }
    }

    void randomSteps(juce::Path& path, const GlyphFrame& f)
    {
        static constexpr std::array<int, 6> heights { 400, 753, 104, 333, 912, 543 };
        const int glyphHeight = static_cast<int>(f.height);
        const auto stepX = [&f](int i) { return std::trunc(f.left + static_cast<float>(i) * f.width / 6.0f); };
        path.startNewSubPath(f.x(0.0f), f.mid);
        for (int i = 0; i < 6; ++i)
        {
            const float y = f.bottom + static_cast<float>(heights[static_cast<size_t>(i)] * glyphHeight / 1000);
            path.lineTo(stepX(i), y);
            path.lineTo(stepX(i + 1), y);
        }
    }
}

ButtonLookAndFeel::ButtonLookAndFeel()
{
    valueTextHeight = 28;
    mainColour = Zorvik::blue;
    isGrey = false;
}

juce::Path ButtonLookAndFeel::glyphPath(const juce::String& name, float bw, float bh)
{
    const GlyphFrame f(bw, bh);
    juce::Path p;
    if (name == "sin")
        sine(p, f);
    else if (name == "tri")
    {
        p.startNewSubPath(f.x(0.0f), f.mid);
        p.lineTo(f.at(0.25f, 1.0f));
        p.lineTo(f.at(0.75f, 0.0f));
        p.lineTo(f.x(1.0f), f.mid);
    }
    else if (name == "saw")
        polyline(p, f, { { 0, 0 }, { 1, 1 }, { 1, 0 } });
    else if (name == "isaw")
        polyline(p, f, { { 0, 1 }, { 1, 0 }, { 1, 1 } });
    else if (name == "sqr")
    {
        p.startNewSubPath(f.x(0.0f), f.mid);
        for (const Point& q : { Point { 0, 1 }, Point { 0.5f, 1 }, Point { 0.5f, 0 }, Point { 1, 0 } })
            p.lineTo(f.at(q[0], q[1]));
        p.lineTo(f.x(1.0f), f.mid);
    }
    else if (name == "rand")
        randomSteps(p, f);
    else if (name == "lowpass")
    {
        polyline(p, f, { { 0, 0.75f }, { 0.4f, 0.75f } });
        curve(p, f, { 0.69f, 0.75f }, { 0.7f, 1.5f }, { 1, 0 });
    }
    else if (name == "hipass")
    {
        p.startNewSubPath(f.at(0, 0));
        curve(p, f, { 0.3f, 1.5f }, { 0.29f, 0.75f }, { 0.6f, 0.75f });
        p.lineTo(f.at(1, 0.75f));
    }
    else if (name == "bandpass")
    {
        polyline(p, f, { { 0, 0 }, { 0.25f, 0 } });
        curve(p, f, { 0.5f, 1.15f }, { 0.5f, 1.15f }, { 0.75f, 0 });
        p.lineTo(f.at(1, 0));
    }
    else if (name == "notch")
    {
        polyline(p, f, { { 0, 0.75f }, { 0.35f, 0.75f } });
        curve(p, f, { 0.5f, -0.15f }, { 0.5f, -0.15f }, { 0.65f, 0.75f });
        p.lineTo(f.at(1, 0.75f));
    }
    else if (name == "lowshelf")
    {
        polyline(p, f, { { 0, 0.35f }, { 0.25f, 0.35f } });
        curve(p, f, { 0.5f, 0.35f }, { 0.5f, 0.75f }, { 0.75f, 0.75f });
        p.lineTo(f.at(1, 0.75f));
    }
    else if (name == "stop")
        polyline(p, f, { { 0, 1 }, { 0.2f, 1 }, { 0.2f, 0 }, { 0.8f, 0 }, { 0.8f, 1 }, { 1, 1 } });
    else if (name == "rampUpAndDown")
        polyline(p, f, { { 0, 1 }, { 0.2f, 1 }, { 0.4f, 0 }, { 0.6f, 0 }, { 0.8f, 1 }, { 1, 1 } });
    else if (name == "rampDown")
        polyline(p, f, { { 0, 1 }, { 0.2f, 1 }, { 0.5f, 0 }, { 0.8f, 0 }, { 0.8f, 1 }, { 1, 1 } });
    else if (name == "rampUp")
        polyline(p, f, { { 0, 1 }, { 0.2f, 1 }, { 0.2f, 0 }, { 0.5f, 0 }, { 0.8f, 1 }, { 1, 1 } });
    return p;
}

void ButtonLookAndFeel::drawToggleButton(juce::Graphics& g, juce::ToggleButton& button, bool, bool)
{
    const bool on = button.getToggleState();
    auto boxColour = useCustomColours ? (on ? onColour : offColour) : mainColour;
    if (isGrey)
        boxColour = boxColour.withAlpha(0.4f);
    g.setColour(boxColour);

    const float width = static_cast<float>(button.getWidth());
    const float height = static_cast<float>(button.getHeight());
    const float bw = forceSquare ? std::min(width, height) : width;
    const float bh = forceSquare ? std::min(width, height) : height;
    const juce::Rectangle<float> box((width - bw) * 0.5f, (height - bh) * 0.5f, bw, bh);

    if (on)
    {
        g.fillRect(box);
        g.setColour(useCustomColours ? onTextColour : juce::Colours::black);
    }
    else
    {
        if (offGradient)
        {
            g.setGradientFill(juce::ColourGradient(offColour.darker(1.5f).withAlpha(0.2f), 0.0f, 0.0f,
                                                   offColour.withAlpha(0.2f), 0.0f, height, false));
            g.fillRect(box);
        }
        if (drawOutline)
            g.drawRect(box, 1.0f);
        if (useCustomColours)
            g.setColour(offTextColour);
    }

    if (isWaveform)
    {
        g.setColour(juce::Colours::white);
        g.strokePath(glyphPath(button.getButtonText(), bw, bh), juce::PathStrokeType(1.0f));
        return;
    }

    auto text = button.getButtonText();
    if (text.isEmpty())
        text = on ? onText : offText;
    g.setFont(getValueFont());
    g.drawFittedText(text, 0, static_cast<int>(height * 0.5f - static_cast<float>(valueTextHeight) * 0.5f),
                     static_cast<int>(width), valueTextHeight, juce::Justification::centred, 2, 0.0f);
}
