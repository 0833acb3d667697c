#include "DelayGroup.h"

#include "DelayLine.h"
#include "DelayLineDamped.h"

// The two groups the engine builds.
template class DelayGroup<DelayLine>;
template class DelayGroup<DelayLineDamped>;
