#pragma once

#include <memory>
#include <vector>

// The per-sample buffer of each parameter for the current block, by parameter
// index. Entries are made on demand; size the table with checkSize before the
// audio thread uses it, so that no block allocates.
class ParameterBufferList
{
public:
    static constexpr unsigned long bufferSize = 4096;

    ParameterBufferList() = default;
    virtual ~ParameterBufferList() = default;
    ParameterBufferList(const ParameterBufferList&) = delete;
    ParameterBufferList& operator=(const ParameterBufferList&) = delete;

    // Appends empty entries until index is valid.
    void checkSize(unsigned long index);
    void writeAt(unsigned long index, float* buffer, bool changed);
    // The buffer of an index; null when nothing was written there yet.
    float* operator[](unsigned long index);
    bool isChanged(unsigned long index) const;
    unsigned long size() const { return static_cast<unsigned long>(entries.size()); }

    // These indices get buffers of their own (cleared), into which
    // copyBufferList copies instead of pointing at the other list's buffers.
    // Indices copied before and not named again are left empty.
    void setCopiedParameters(std::vector<unsigned long> indices);
    // Takes over another list's buffers for one block (frames at most
    // bufferSize), for the indices this list has: it never grows here, so size
    // it with checkSize to cover the other list first.
    void copyBufferList(ParameterBufferList* other, unsigned long frames);

private:
    struct Entry
    {
        float* buffer = nullptr;
        bool changed = false;
    };

    std::vector<Entry> entries;
    std::vector<unsigned long> copiedIndices;  // ascending
    std::vector<std::unique_ptr<float[]>> ownBuffers;  // one per copied index
};
