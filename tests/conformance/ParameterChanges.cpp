#include "ParameterChanges.h"

using namespace Steinberg;

namespace conformance
{
class ParameterChanges::Queue : public Unshared<Vst::IParamValueQueue>
{
public:
    explicit Queue(Vst::ParamID parameter) : id(parameter) {}

    Vst::ParamID PLUGIN_API getParameterId() override { return id; }
    int32 PLUGIN_API getPointCount() override { return static_cast<int32>(points.size()); }
    tresult PLUGIN_API getPoint(int32 index, int32& offset, Vst::ParamValue& value) override
    {
        if (index < 0 || index >= getPointCount())
            return kResultFalse;
        offset = points[static_cast<size_t>(index)].first;
        value = points[static_cast<size_t>(index)].second;
        return kResultTrue;
    }
    tresult PLUGIN_API addPoint(int32 offset, Vst::ParamValue value, int32& index) override
    {
        index = getPointCount();
        points.emplace_back(offset, value);
        return kResultTrue;
    }

private:
    Vst::ParamID id;
    std::vector<std::pair<int32, Vst::ParamValue>> points;
};

ParameterChanges::ParameterChanges() = default;
ParameterChanges::~ParameterChanges() = default;

Vst::IParamValueQueue* PLUGIN_API ParameterChanges::getParameterData(int32 index)
{
    return index >= 0 && index < getParameterCount() ? queues[static_cast<size_t>(index)].get() : nullptr;
}

Vst::IParamValueQueue* PLUGIN_API ParameterChanges::addParameterData(const Vst::ParamID& id, int32& index)
{
    for (index = 0; index < getParameterCount(); ++index)
        if (queues[static_cast<size_t>(index)]->getParameterId() == id)
            return queues[static_cast<size_t>(index)].get();
    queues.push_back(std::make_unique<Queue>(id));
    return queues.back().get();
}

void ParameterChanges::add(Vst::ParamID id, int32 offset, double value)
{
    int32 index = 0;
    addParameterData(id, index)->addPoint(offset, value, index);
}
} // namespace conformance
