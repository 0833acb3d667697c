#pragma once

// One grain of a granular effect as the granulizer view draws it, read from a row of
// ten floats that the effect hands over.
struct GranulizerGrain
{
    static constexpr int rowLength = 10;
    static constexpr int numColours = 4;

    // Reads a row of ten floats; the colour index is clamped to the colours that exist.
    static GranulizerGrain fromRow(const float* row);

    float depth = 0.0f;        // z = depth / 10000 + 0.1
    float length = 0.0f;       // stroke length in depth = length / 10000 x progress
    float side = 0.0f;         // x = side x 0.1
    int colourIndex = 0;       // 0 to 3
    float height = 0.0f;       // y = (height - 0.5) x 0.2 + 0.01
    float thickness = 0.0f;    // thickness scale
    float progress = 0.0f;     // 0 to 1
    bool reverse = false;      // the stroke runs towards the viewer
    float sharpness = 0.0f;    // envelope sharpness
    float unused = 0.0f;

    float z() const { return depth / 10000.0f + 0.1f; }
    float x() const { return side * 0.1f; }
    float y() const { return (height - 0.5f) * 0.2f + 0.01f; }
    // Signed stroke length in depth.
    float strokeLength() const;
    // Stroke width over the progress: 0 at the grain's start and end, 6 x thickness in its middle.
    float strokeWidth() const;
    // Nearer grains are more opaque: 1 at z = 0.1, 0 at z = 10.1.
    float alpha() const;
};
