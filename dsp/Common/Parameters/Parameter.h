#pragma once

#include "Common/Parameters/ParameterChoice.h"
#include "Common/Parameters/ParameterUnit.h"

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

class ParameterRamper;

// Bits of Parameter::flags.
namespace ParameterFlag
{
    constexpr std::uint32_t unramped = 2;         // changes go straight to updateParameter
    constexpr std::uint32_t linearFrequency = 4;  // a hertz parameter ramps linearly in Hz
    constexpr std::uint32_t rateInHertz = 16;     // a rate is shown in Hz with two decimals
    constexpr std::uint32_t presetText = 32;      // preset files store the value's text
}

// One parameter record. Records are made by ParameterList and filled by the
// product's list; the index in the list is the identifier.
struct Parameter
{
    using CurveFunction = float (*)(float minimum, float maximum, float x);
    using IntToTextFunction = const char* (*)(int value);

    Parameter() = default;
    ~Parameter();
    Parameter(const Parameter&) = delete;
    Parameter& operator=(const Parameter&) = delete;

    bool isRamped() const;

    std::int32_t identifier = 0;
    std::string name;
    float minimum = 0.0f;
    float maximum = 1.0f;
    float defaultValue = 0.0f;
    ParameterUnit unit = ParameterUnit::number;
    std::uint32_t flags = 0;
    float scale = 1.0f;
    // Written by whichever thread sets the parameter, read back by others.
    std::atomic<float> currentValue{0.0f};
    std::atomic<bool> valueSet{false};  // an unramped parameter was given a value
    std::vector<float> valueList;
    ParameterRamper* ramper = nullptr;  // owned; present exactly for ramped parameters
    const std::vector<ParameterChoice>* choiceList = nullptr;  // not owned
    CurveFunction fromZeroToOne = nullptr;
    CurveFunction toZeroToOne = nullptr;
    IntToTextFunction intToText = nullptr;
    bool isOutput = false;  // a meter value published by the kernel, not a control
};
