#include "Common/Parameters/ParameterBufferList.h"

#include <algorithm>
#include <stdexcept>

void ParameterBufferList::checkSize(unsigned long index)
{
    if (index < entries.size())
        return;
    if (index >= entries.max_size())  // index + 1 would wrap around
        throw std::length_error("ParameterBufferList: index too large");
    entries.resize(index + 1);
}

void ParameterBufferList::writeAt(unsigned long index, float* buffer, bool changed)
{
    checkSize(index);
    entries[index].buffer = buffer;
    entries[index].changed = changed;
}

float* ParameterBufferList::operator[](unsigned long index)
{
    checkSize(index);
    return entries[index].buffer;
}

bool ParameterBufferList::isChanged(unsigned long index) const
{
    return index < entries.size() && entries[index].changed;
}

void ParameterBufferList::setCopiedParameters(std::vector<unsigned long> indices)
{
    // The entries of the indices copied so far point at buffers about to be freed.
    for (unsigned long index : copiedIndices)
        entries[index] = Entry{};
    std::sort(indices.begin(), indices.end());
    indices.erase(std::unique(indices.begin(), indices.end()), indices.end());
    copiedIndices = std::move(indices);
    ownBuffers.clear();
    for (unsigned long index : copiedIndices)
    {
        checkSize(index);
        ownBuffers.emplace_back(new float[bufferSize]());
        entries[index].buffer = ownBuffers.back().get();
    }
}

void ParameterBufferList::copyBufferList(ParameterBufferList* other, unsigned long frames)
{
    if (other == nullptr || other == this)
        return;
    // Growing would allocate: only the entries this list has are taken over.
    const std::size_t count = std::min(entries.size(), other->entries.size());
    if (copiedIndices.empty())
    {
        std::copy(other->entries.begin(), other->entries.begin() + static_cast<std::ptrdiff_t>(count), entries.begin());
        std::fill(entries.begin() + static_cast<std::ptrdiff_t>(count), entries.end(), Entry{});
        return;
    }
    frames = std::min(frames, bufferSize);
    std::size_t cursor = 0;
    for (std::size_t index = 0; index < count; ++index)
    {
        if (cursor < copiedIndices.size() && copiedIndices[cursor] == index)
        {
            float* own = ownBuffers[cursor].get();
            const float* from = other->entries[index].buffer;
            if (from != nullptr)
                std::copy(from, from + frames, own);
            entries[index].buffer = own;
            entries[index].changed = other->entries[index].changed;
            ++cursor;
        }
        else
        {
            entries[index] = other->entries[index];
        }
    }
}
