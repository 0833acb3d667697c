#include "UI/Controls/Granulizer/GranulizerGrain.h"

#include <algorithm>
#include <cmath>

GranulizerGrain GranulizerGrain::fromRow(const float* row)
{
    GranulizerGrain grain;
    grain.depth = row[0];
    grain.length = row[1];
    grain.side = row[2];
    const float colour = std::isfinite(row[3]) ? std::clamp(row[3], 0.0f, static_cast<float>(numColours - 1)) : 0.0f;
    grain.colourIndex = static_cast<int>(colour);
    grain.height = row[4];
    grain.thickness = row[5];
    grain.progress = row[6];
    grain.reverse = row[7] != 0.0f;
    grain.sharpness = row[8];
    grain.unused = row[9];
    return grain;
}

float GranulizerGrain::strokeLength() const
{
    const float l = length / 10000.0f * progress;
    return reverse ? -l : l;
}

float GranulizerGrain::strokeWidth() const
{
    const float pi = 3.14159265358979f;
    const float s = std::min(std::sqrt(length / 2000.0f), 1.0f) * 10.0f * sharpness + 1.0f;
    const float q = 1.0f / (2.0f * s);
    const float t = progress;
    float c = 1.0f;
    if (t < q)
        c = std::cos(t * pi / q + pi);
    else if (t > 1.0f - q)
        c = std::cos((1.0f - t) * pi / q + pi);
    return thickness * (c + 1.0f) * 3.0f;
}

float GranulizerGrain::alpha() const
{
    return 1.0f - (z() - 0.1f) / 10.0f;
}
