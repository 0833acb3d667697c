#pragma once

// The parameter changes a host hands to process(): one queue of points per
// parameter. The SDK ships no host-side implementation of these interfaces.
#include "pluginterfaces/vst/ivstparameterchanges.h"

#include <memory>
#include <vector>

namespace conformance
{
// The test owns these objects: references are not counted, and no other
// interface is offered.
template <typename Interface>
class Unshared : public Interface
{
public:
    Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID, void** object) override
    {
        *object = nullptr;
        return Steinberg::kNoInterface;
    }
    Steinberg::uint32 PLUGIN_API addRef() override { return 1; }
    Steinberg::uint32 PLUGIN_API release() override { return 1; }
};

class ParameterChanges : public Unshared<Steinberg::Vst::IParameterChanges>
{
public:
    ParameterChanges();
    ~ParameterChanges();

    // Appends one point to the queue of the parameter.
    void add(Steinberg::Vst::ParamID id, Steinberg::int32 offset, double value);

    Steinberg::int32 PLUGIN_API getParameterCount() override { return static_cast<Steinberg::int32>(queues.size()); }
    Steinberg::Vst::IParamValueQueue* PLUGIN_API getParameterData(Steinberg::int32 index) override;
    Steinberg::Vst::IParamValueQueue* PLUGIN_API addParameterData(const Steinberg::Vst::ParamID& id,
                                                                 Steinberg::int32& index) override;

private:
    class Queue;
    std::vector<std::unique_ptr<Queue>> queues;
};
} // namespace conformance
