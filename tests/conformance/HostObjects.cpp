#include "HostObjects.h"

#include <algorithm>
#include <cstring>
#include <limits>

using namespace Steinberg;

namespace conformance
{
namespace
{
template <typename Interface>
tresult answer(FUnknown* self, const TUID iid, void** object)
{
    if (FUnknownPrivate::iidEqual(iid, FUnknown::iid) || FUnknownPrivate::iidEqual(iid, Interface::iid))
    {
        self->addRef();
        *object = self;
        return kResultOk;
    }
    *object = nullptr;
    return kNoInterface;
}
} // namespace

MemoryStream::MemoryStream(std::vector<char> bytes, bool sizeable) : data(std::move(bytes)), isSizeable(sizeable) {}

tresult PLUGIN_API MemoryStream::queryInterface(const TUID iid, void** object)
{
    if (isSizeable && FUnknownPrivate::iidEqual(iid, ISizeableStream::iid))
    {
        addRef();
        *object = static_cast<ISizeableStream*>(this);
        return kResultOk;
    }
    return answer<IBStream>(static_cast<IBStream*>(this), iid, object);
}

tresult PLUGIN_API MemoryStream::read(void* buffer, int32 count, int32* done)
{
    const auto available = static_cast<int64>(data.size()) - cursor;
    const auto n = std::max<int64>(0, std::min<int64>(count, available));
    if (n > 0)
        std::memcpy(buffer, data.data() + cursor, static_cast<size_t>(n));
    cursor += n;
    if (done != nullptr)
        *done = static_cast<int32>(n);
    return kResultOk;
}

tresult PLUGIN_API MemoryStream::write(void* buffer, int32 count, int32* done)
{
    if (count < 0 || buffer == nullptr)
        return kInvalidArgument;
    const auto end = static_cast<size_t>(cursor) + static_cast<size_t>(count);
    data.resize(std::max(data.size(), end));
    std::memcpy(data.data() + cursor, buffer, static_cast<size_t>(count));
    cursor += count;
    if (done != nullptr)
        *done = count;
    return kResultOk;
}

tresult PLUGIN_API MemoryStream::seek(int64 position, int32 mode, int64* result)
{
    int64 target = position;
    if (mode == kIBSeekCur)
        target += cursor;
    else if (mode == kIBSeekEnd)
        target += static_cast<int64>(data.size());
    if (target < 0)
        return kResultFalse;
    cursor = target;
    if (result != nullptr)
        *result = cursor;
    return kResultTrue;
}

ParamValueQueue::ParamValueQueue(Vst::ParamID parameter) : id(parameter) {}

tresult PLUGIN_API ParamValueQueue::queryInterface(const TUID iid, void** object)
{
    return answer<Vst::IParamValueQueue>(this, iid, object);
}

tresult PLUGIN_API ParameterChanges::queryInterface(const TUID iid, void** object)
{
    return answer<Vst::IParameterChanges>(this, iid, object);
}

Vst::IParamValueQueue* PLUGIN_API ParameterChanges::addParameterData(const Vst::ParamID& id, int32& index)
{
    for (size_t i = 0; i < queues.size(); ++i)
    {
        if (queues[i]->getParameterId() == id)
        {
            index = static_cast<int32>(i);
            return queues[i].get();
        }
    }
    index = getParameterCount();
    queues.push_back(std::make_unique<ParamValueQueue>(id));
    return queues.back().get();
}

void ParameterChanges::add(Vst::ParamID id, int32 offset, double value)
{
    int32 index = 0;
    addParameterData(id, index)->addPoint(offset, value, index);
}

tresult PLUGIN_API HostApplication::queryInterface(const TUID iid, void** object)
{
    return answer<Vst::IHostApplication>(this, iid, object);
}

tresult PLUGIN_API HostApplication::getName(Vst::String128 name)
{
    const char text[] = "ZORVIK conformance host";
    for (size_t i = 0; i < sizeof(text); ++i)
        name[i] = static_cast<Vst::TChar>(text[i]);
    return kResultOk;
}

} // namespace conformance
