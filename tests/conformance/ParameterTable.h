#pragma once

// The host parameters the plug-in must publish, with their ranges and curves,
// and the normalisation of each curve computed here in double precision.
#include <cmath>
#include <string>
#include <vector>

namespace conformance
{
enum class Curve
{
    linear,     // plain = min + x (max - min)
    cube,       // plain = min + x^3 (max - min)
    frequency,  // logarithmic in frequency (the note domain)
    signedCube, // plain = max (2x - 1)^3
    toggle      // off or on
};

struct HostParameter
{
    std::string id;
    double minimum;
    double maximum;
    double defaultValue;
    Curve curve;
};

inline const std::vector<HostParameter>& hostParameters()
{
    static const std::vector<HostParameter> table {
        { "InputGain", -30.0, 12.0, 0.0, Curve::linear },
        { "InputFilterType", 0.0, 1.0, 0.0, Curve::toggle },
        { "InputFilterGain", -24.0, 24.0, 0.0, Curve::linear },
        { "InputFilterFrequency", 20.0, 20000.0, 400.0, Curve::frequency },
        { "PreDelay", 0.0, 200.0, 10.0, Curve::cube },
        { "RoomSize", 0.0, 100.0, 50.0, Curve::linear },
        { "SizeModulationRate", 0.5, 12.5, 1.0, Curve::linear },
        { "SizeModulationAmount", 0.0, 100.0, 25.0, Curve::linear },
        { "ReverbTime", 0.2, 30.0, 3.2, Curve::cube },
        { "HFDamp", 800.0, 18000.0, 9000.0, Curve::cube },
        { "Freeze", 0.0, 1.0, 0.0, Curve::toggle },
        { "FreqShifterFrequency", -100.0, 100.0, -100.0, Curve::signedCube },
        { "FreqShifterDryWet", 0.0, 100.0, 0.0, Curve::linear },
        { "DuckingThreshold", -90.0, 0.0, -10.0, Curve::linear },
        { "DuckingAttack", 1.0, 200.0, 20.0, Curve::linear },
        { "DuckingRelease", 10.0, 1000.0, 100.0, Curve::linear },
        { "EffectDryWet", 0.0, 100.0, 50.0, Curve::linear },
    };
    return table;
}

inline double normalised(const HostParameter& p, double plain)
{
    const double ratio = (plain - p.minimum) / (p.maximum - p.minimum);
    switch (p.curve)
    {
    case Curve::cube: return std::cbrt(ratio);
    case Curve::frequency: return std::log(plain / p.minimum) / std::log(p.maximum / p.minimum);
    case Curve::signedCube: return (std::cbrt(plain / p.maximum) + 1.0) / 2.0;
    default: return ratio;
    }
}

inline double plainValue(const HostParameter& p, double x)
{
    switch (p.curve)
    {
    case Curve::cube: return p.minimum + x * x * x * (p.maximum - p.minimum);
    case Curve::frequency: return p.minimum * std::pow(p.maximum / p.minimum, x);
    case Curve::signedCube: return p.maximum * std::pow(2.0 * x - 1.0, 3.0);
    case Curve::toggle: return x >= 0.5 ? 1.0 : 0.0;
    default: return p.minimum + x * (p.maximum - p.minimum);
    }
}
} // namespace conformance
