#include "ZorvikReverbParameterList.h"

#include "GenericTemplates.h"

#include "Common/Parameters/ParameterRamper.h"

#include <cstdint>

namespace
{
    // What a row takes from its template; several rows share one.
    struct ParameterTemplate
    {
        float minimum;
        float maximum;
        ParameterUnit unit;
        std::uint32_t flags;
        Parameter::CurveFunction fromZeroToOne;
        Parameter::CurveFunction toZeroToOne;
    };

    const ParameterTemplate percentTemplate{0.0f, 100.0f, ParameterUnit::percent, 0, nullptr, nullptr};
    const ParameterTemplate switchTemplate{0.0f, 1.0f, ParameterUnit::boolean, 0, nullptr, nullptr};

    void fill(Parameter& row, const char* name, const ParameterTemplate& shape, float defaultValue)
    {
        row.name = name;
        row.minimum = shape.minimum;
        row.maximum = shape.maximum;
        row.defaultValue = defaultValue;
        row.unit = shape.unit;
        row.flags = shape.flags;
        row.scale = 1.0f;
        row.currentValue = defaultValue;
        row.fromZeroToOne = shape.fromZeroToOne;
        row.toZeroToOne = shape.toZeroToOne;
        if ((row.flags & ParameterFlag::unramped) == 0 && row.ramper == nullptr)
            row.ramper = new ParameterRamper();
    }
}

ZorvikReverbParameterList::ZorvikReverbParameterList()
    : ParameterList(parameterCount)
{
    using T = GenericTemplates;
    ParameterList& rows = *this;

    fill(*rows[InputGain], "InputGain", {-30.0f, 12.0f, ParameterUnit::decibels, 0, nullptr, nullptr}, 0.0f);
    fill(*rows[InputFilterType], "InputFilterType", switchTemplate, 0.0f);
    fill(*rows[InputFilterGain], "InputFilterGain", {-24.0f, 24.0f, ParameterUnit::decibels, 0, nullptr, nullptr}, 0.0f);
    fill(*rows[InputFilterFrequency], "InputFilterFrequency",
         {20.0f, 20000.0f, ParameterUnit::hertz, 0, T::ratioToFrequencies, T::frequenciesToRatio}, 400.0f);
    fill(*rows[PreDelay], "PreDelay",
         {0.0f, 200.0f, ParameterUnit::milliseconds, 0, T::powThree, T::invertPowThree}, 10.0f);
    fill(*rows[RoomSize], "RoomSize", percentTemplate, 50.0f);
    fill(*rows[SizeModulationRate], "SizeModulationRate", {0.5f, 12.5f, ParameterUnit::rate, 0, nullptr, nullptr}, 1.0f);
    fill(*rows[SizeModulationAmount], "SizeModulationAmount", percentTemplate, 25.0f);
    fill(*rows[ReverbTime], "ReverbTime",
         {0.2f, 30.0f, ParameterUnit::seconds, 0, T::powThree, T::invertPowThree}, 3.2f);
    fill(*rows[HFDamp], "HFDamp",
         {800.0f, 18000.0f, ParameterUnit::hertz, ParameterFlag::linearFrequency, T::powThree, T::invertPowThree}, 9000.0f);
    fill(*rows[Freeze], "Freeze", switchTemplate, 0.0f);
    fill(*rows[FreqShifterFrequency], "FreqShifterFrequency",
         {-100.0f, 100.0f, ParameterUnit::amount, 0, T::signedPowThree, T::invertSignedPowThree}, -100.0f);
    fill(*rows[FreqShifterDryWet], "FreqShifterDryWet", percentTemplate, 0.0f);
    fill(*rows[DuckingThreshold], "DuckingThreshold", {-90.0f, 0.0f, ParameterUnit::decibels, 0, nullptr, nullptr}, -10.0f);
    fill(*rows[DuckingAttack], "DuckingAttack", {1.0f, 200.0f, ParameterUnit::milliseconds, 0, nullptr, nullptr}, 20.0f);
    fill(*rows[DuckingRelease], "DuckingRelease", {10.0f, 1000.0f, ParameterUnit::milliseconds, 0, nullptr, nullptr}, 100.0f);
    fill(*rows[EffectDryWet], "EffectDryWet", percentTemplate, 50.0f);

    Parameter& meter = *rows[DuckerMeter];
    meter.name = "DuckerMeter";
    meter.isOutput = true;
}

std::vector<unsigned long> ZorvikReverbParameterList::getFavourites()
{
    return {ReverbTime, HFDamp, FreqShifterFrequency, FreqShifterDryWet};
}
