#pragma once

#include "DelayGroupEntry.h"

#include "Common/ProcessBlock/ProcessBlock.h"

#include <array>
#include <memory>
#include <vector>

// A fixed group of four delay lines of one kind, built with their base times.
template <typename T>
class DelayGroup : public ProcessBlock
{
public:
    static constexpr unsigned long lineCount = 4;

    DelayGroup(const std::array<float, lineCount>& baseTimes, float maximumDelayMs)
    {
        for (float time : baseTimes)
            lines.push_back(std::make_unique<DelayGroupEntry<T>>(
                std::make_unique<T>(maximumDelayMs), time));
    }

    void init(int channelCount, double rate) override
    {
        ProcessBlock::init(channelCount, rate);
        for (auto& entry : lines)
            entry->line->init(channelCount, rate);
    }

    void clear() override
    {
        for (auto& entry : lines)
            entry->line->clear();
    }

    // index < lineCount.
    DelayGroupEntry<T>& entry(unsigned long index) { return *lines[index]; }
    const DelayGroupEntry<T>& entry(unsigned long index) const { return *lines[index]; }

protected:
    std::vector<std::unique_ptr<DelayGroupEntry<T>>> lines;
};
