#pragma once

// The host side of the VST3 interfaces: a memory stream, parameter changes and the
// host application. The tests own these objects; the plug-in may add and release
// references but never deletes them.
#include "pluginterfaces/base/ibstream.h"
#include "pluginterfaces/vst/ivsthostapplication.h"
#include "pluginterfaces/vst/ivstparameterchanges.h"

#include <atomic>
#include <memory>
#include <vector>

namespace conformance
{
// Reference counting for objects whose lifetime the test controls.
#define CONFORMANCE_REFCOUNT                                                                                     \
    Steinberg::uint32 PLUGIN_API addRef() override { return ++references; }                                   \
    Steinberg::uint32 PLUGIN_API release() override { return --references; }                                  \
    std::atomic<Steinberg::uint32> references { 1 };

// A stream over a byte vector. Without the sizeable interface the plug-in must
// read it the way it reads a host's unknown stream, chunk by chunk.
class MemoryStream : public Steinberg::IBStream, public Steinberg::ISizeableStream
{
public:
    explicit MemoryStream(std::vector<char> bytes = {}, bool sizeable = true);

    Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** object) override;
    CONFORMANCE_REFCOUNT

    Steinberg::tresult PLUGIN_API read(void* buffer, Steinberg::int32 count, Steinberg::int32* done) override;
    Steinberg::tresult PLUGIN_API write(void* buffer, Steinberg::int32 count, Steinberg::int32* done) override;
    Steinberg::tresult PLUGIN_API seek(Steinberg::int64 position, Steinberg::int32 mode,
                                       Steinberg::int64* result) override;
    Steinberg::tresult PLUGIN_API tell(Steinberg::int64* position) override
    {
        return position != nullptr ? (*position = cursor, Steinberg::kResultOk) : Steinberg::kInvalidArgument;
    }
    Steinberg::tresult PLUGIN_API getStreamSize(Steinberg::int64& size) override
    {
        size = static_cast<Steinberg::int64>(data.size());
        return Steinberg::kResultOk;
    }
    Steinberg::tresult PLUGIN_API setStreamSize(Steinberg::int64) override { return Steinberg::kNotImplemented; }

    const std::vector<char>& bytes() const { return data; }

private:
    std::vector<char> data;
    Steinberg::int64 cursor = 0;
    bool isSizeable;
};

class ParamValueQueue : public Steinberg::Vst::IParamValueQueue
{
public:
    explicit ParamValueQueue(Steinberg::Vst::ParamID id);

    Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** object) override;
    CONFORMANCE_REFCOUNT

    Steinberg::Vst::ParamID PLUGIN_API getParameterId() override { return id; }
    Steinberg::int32 PLUGIN_API getPointCount() override { return static_cast<Steinberg::int32>(points.size()); }
    Steinberg::tresult PLUGIN_API getPoint(Steinberg::int32 index, Steinberg::int32& offset,
                                           Steinberg::Vst::ParamValue& value) override
    {
        if (index < 0 || index >= getPointCount())
            return Steinberg::kResultFalse;
        offset = points[static_cast<size_t>(index)].offset;
        value = points[static_cast<size_t>(index)].value;
        return Steinberg::kResultTrue;
    }
    Steinberg::tresult PLUGIN_API addPoint(Steinberg::int32 offset, Steinberg::Vst::ParamValue value,
                                           Steinberg::int32& index) override
    {
        index = getPointCount();
        points.push_back({ offset, value });
        return Steinberg::kResultTrue;
    }

private:
    struct Point
    {
        Steinberg::int32 offset;
        Steinberg::Vst::ParamValue value;
    };
    Steinberg::Vst::ParamID id;
    std::vector<Point> points;
};

class ParameterChanges : public Steinberg::Vst::IParameterChanges
{
public:
    Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** object) override;
    CONFORMANCE_REFCOUNT

    Steinberg::int32 PLUGIN_API getParameterCount() override { return static_cast<Steinberg::int32>(queues.size()); }
    Steinberg::Vst::IParamValueQueue* PLUGIN_API getParameterData(Steinberg::int32 index) override
    {
        return index >= 0 && index < getParameterCount() ? queues[static_cast<size_t>(index)].get() : nullptr;
    }
    Steinberg::Vst::IParamValueQueue* PLUGIN_API addParameterData(const Steinberg::Vst::ParamID& id,
                                                                 Steinberg::int32& index) override;

    // Appends one point to the queue of the parameter.
    void add(Steinberg::Vst::ParamID id, Steinberg::int32 offset, double value);

private:
    std::vector<std::unique_ptr<ParamValueQueue>> queues;
};

class HostApplication : public Steinberg::Vst::IHostApplication
{
public:
    Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** object) override;
    CONFORMANCE_REFCOUNT

    Steinberg::tresult PLUGIN_API getName(Steinberg::Vst::String128 name) override;
    Steinberg::tresult PLUGIN_API createInstance(Steinberg::TUID, Steinberg::TUID, void** object) override
    {
        *object = nullptr;
        return Steinberg::kResultFalse;
    }
};
} // namespace conformance
