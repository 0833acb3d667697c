#include "Common/Parameters/ParameterUnit.h"

std::string parameterUnitSuffix(ParameterUnit unit)
{
    switch (unit)
    {
        case ParameterUnit::percent: return "%";
        case ParameterUnit::seconds: return "s";
        case ParameterUnit::milliseconds: return "ms";
        case ParameterUnit::degrees:
        case ParameterUnit::phase: return "\xC2\xB0";
        case ParameterUnit::hertz: return "Hz";
        case ParameterUnit::semitones: return "st";
        case ParameterUnit::decibels: return "dB";
        default: return "";
    }
}
