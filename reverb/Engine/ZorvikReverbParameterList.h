#pragma once

#include "Common/Parameters/ParameterList.h"

#include <vector>

// The reverb's eighteen parameter records. The index is the kernel's address of
// a parameter; the name is its host identifier and preset key, which must never change.
class ZorvikReverbParameterList : public ParameterList
{
public:
    enum Index : unsigned long
    {
        InputGain = 0,
        InputFilterType = 1,
        InputFilterGain = 2,
        InputFilterFrequency = 3,
        PreDelay = 4,
        RoomSize = 5,
        SizeModulationRate = 6,
        SizeModulationAmount = 7,
        ReverbTime = 8,
        HFDamp = 9,
        Freeze = 10,
        FreqShifterFrequency = 11,
        FreqShifterDryWet = 12,
        DuckingThreshold = 13,
        DuckingAttack = 14,
        DuckingRelease = 15,
        DuckerMeter = 16,  // engine output: the ducker's gain as dB + 100
        EffectDryWet = 17,
        parameterCount = 18
    };

    ZorvikReverbParameterList();

    std::vector<unsigned long> getFavourites() override;
};
