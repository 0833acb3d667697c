#pragma once

#include <cstddef>

namespace Memory
{
    // Copies n floats; note the order: source first, destination second.
    void copy(const float* from, float* to, std::size_t n);
}
