#include "Common/Parameters/ParameterList.h"

#include "Common/Parameters/ParameterRamper.h"

ParameterList::ParameterList(int count)
{
    if (count < 1)
        return;
    reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
    {
        auto* parameter = new Parameter();
        parameter->identifier = i;
        push_back(parameter);
    }
}

ParameterList::~ParameterList()
{
    for (Parameter* parameter : *this)
        delete parameter;
}

std::vector<unsigned long> ParameterList::getUnrandomizable()
{
    return {};
}

void ParameterList::prepareParameters(unsigned long /*rampLength: each request carries its own*/)
{
    for (Parameter* parameter : *this)
        if (parameter->isRamped())
            parameter->ramper->applyRequest();
}

void ParameterList::checkOutBuffers(unsigned long frames, ParameterBufferList* buffers)
{
    if (buffers != nullptr && !empty())
        buffers->checkSize(size() - 1);
    for (Parameter* parameter : *this)
    {
        if (!parameter->isRamped())
            continue;
        bool changed = false;
        float* buffer = parameter->ramper->getAndStep(frames, changed);
        if (changed && buffers != nullptr)
            buffers->writeAt(static_cast<unsigned long>(parameter->identifier), buffer, true);
    }
}
