#pragma once

#include "Common/FilterDSPKernel.h"
#include "Common/Parameters/ParameterRamper.h"

#include <vector>

// A small parameter table covering every ramping case of the kernel.
class TestParameterList : public ParameterList
{
public:
    enum Index : unsigned long { gain, frequency, linearFrequency, stepped, choice, unramped, meter, count };

    TestParameterList() : ParameterList(count)
    {
        fill(gain, "Gain", -30.0f, 12.0f, 0.0f, ParameterUnit::decibels, 0);
        fill(frequency, "Frequency", 20.0f, 20000.0f, 400.0f, ParameterUnit::hertz, 0);
        fill(linearFrequency, "Damp", 800.0f, 18000.0f, 9000.0f, ParameterUnit::hertz, ParameterFlag::linearFrequency);
        fill(stepped, "Steps", -4.0f, 4.0f, 1.0f, ParameterUnit::stepped, 0);
        fill(choice, "Choice", 0.0f, 3.0f, 1.0f, ParameterUnit::number, 0);
        at(choice)->valueList = {10.0f, 20.0f, 30.0f, 40.0f};
        fill(unramped, "Mode", 0.0f, 2.0f, 1.0f, ParameterUnit::number, ParameterFlag::unramped);
        at(meter)->name = "Meter";
        at(meter)->isOutput = true;
    }

    std::vector<unsigned long> getFavourites() override { return {gain}; }

private:
    void fill(unsigned long index, const char* name, float minimum, float maximum, float defaultValue,
              ParameterUnit unit, std::uint32_t flags)
    {
        Parameter& p = *at(index);
        p.name = name;
        p.minimum = minimum;
        p.maximum = maximum;
        p.defaultValue = defaultValue;
        p.unit = unit;
        p.flags = flags;
        if (!(flags & ParameterFlag::unramped))
            p.ramper = new ParameterRamper();
    }
};

// A kernel that only renders its parameter buffers and records unramped changes.
class TestKernel : public FilterDSPKernel
{
public:
    TestKernel() { parameterList.reset(new TestParameterList()); }

    void process(unsigned long frames, unsigned long offset, long third) override
    {
        DSPKernel::process(frames, offset, third);
        parameterList->checkOutBuffers(frames, &parameterBuffers);
    }

    void updateParameter(unsigned long index, float value) override
    {
        lastUpdateIndex = index;
        lastUpdateValue = value;
        ++updates;
    }

    // Sets every control to its default, as the processor does after construction.
    void setDefaults()
    {
        for (Parameter* p : *parameterList)
            if (!p->isOutput)
                setParameter(static_cast<unsigned long>(p->identifier), p->defaultValue);
    }

    unsigned long lastUpdateIndex = 0;
    float lastUpdateValue = 0.0f;
    int updates = 0;
};
