#include "Common/FilterDSPKernel.h"

namespace
{
    constexpr std::size_t reservedBuses = 8;
}

FilterDSPKernel::FilterDSPKernel()
{
    inputs.reserve(reservedBuses);
    outputs.reserve(reservedBuses);
}

void FilterDSPKernel::setBuffers(const std::vector<BufferList*>& newInputs, const std::vector<BufferList*>& newOutputs)
{
    if (&newInputs != &inputs)
        inputs = newInputs;
    if (&newOutputs != &outputs)
        outputs = newOutputs;
}
