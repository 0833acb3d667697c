#include "Common/Parameters/NoteDomain.h"

#include <cmath>

namespace NoteDomain
{
    float note(float frequency)
    {
        if (!(frequency > 0.0f))
            return silentNote;
        return 17.31234f * std::log(0.1223122f * frequency);
    }

    float frequency(float note)
    {
        if (note <= silentNote)
            return 0.0f;
        if (note > 1499.0f)
            return 3.282408e38f;
        return 8.175799f * std::exp(0.057762265f * note);
    }
}
