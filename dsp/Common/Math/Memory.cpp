#include "Common/Math/Memory.h"

#include <cstring>

namespace Memory
{
    void copy(const float* from, float* to, std::size_t n)
    {
        if (n == 0 || from == to)
            return;
        std::memmove(to, from, n * sizeof(float));
    }
}
