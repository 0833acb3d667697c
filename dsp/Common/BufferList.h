#pragma once

// One bus's channel pointers for the current block, pointing into the host's buffers.
struct BufferList
{
    static constexpr int maxChannels = 2;

    float* channels[maxChannels] = {nullptr, nullptr};
};
