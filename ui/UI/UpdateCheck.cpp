#include "UI/UpdateCheck.h"

#include "Preset/SafeText.h"
#include "UI/MakerAddresses.h"
#include "UI/VersionHelper.h"

#include <juce_events/juce_events.h>

#include <cstdlib>

namespace
{
const char* const productKey = "product_identifier";
} // namespace

UpdateCheck::UpdateCheck(juce::URL url, std::string version, Callback onAnswer)
    : juce::Thread("Update check"), endpoint(std::move(url)), currentVersion(std::move(version)),
      callback(std::make_shared<Callback>(std::move(onAnswer)))
{
    if (endpoint.toString(true).isNotEmpty())
        startThread();
}

UpdateCheck::~UpdateCheck()
{
    *callback = nullptr;
    signalThreadShouldExit();
    {
        const juce::ScopedLock lock(streamLock);
        if (stream != nullptr)
            stream->cancel();
    }
    stopThread(timeoutMs + 2000);
}

juce::URL UpdateCheck::endpointFor(const std::string& productIdentifier)
{
    return juce::URL(MakerAddresses::updateEndpoint).withParameter(productKey, productIdentifier);
}

juce::URL UpdateCheck::endpointInUse(const std::string& productIdentifier)
{
    const char* address = std::getenv(endpointVariable);
    if (address == nullptr)
        return endpointFor(productIdentifier);
    const auto text = SafeText::fromUtf8(address);
    if (!text || text->isEmpty())
        return {};
    return juce::URL(*text).withParameter(productKey, productIdentifier);
}

void UpdateCheck::run()
{
    const auto reply = fetchReply();
    if (threadShouldExit())
        return;
    deliver(VersionHelper::replyNamesNewerVersion(reply.toStdString(), currentVersion));
}

juce::String UpdateCheck::fetchReply()
{
    std::unique_ptr<juce::InputStream> input;
    if (endpoint.isLocalFile())
    {
        input = endpoint.getLocalFile().createInputStream();
    }
    else
    {
        auto web = std::make_unique<juce::WebInputStream>(endpoint, false);
        web->withConnectionTimeout(timeoutMs).withNumRedirectsToFollow(2);
        {
            const juce::ScopedLock lock(streamLock);
            if (threadShouldExit())
                return {};
            stream = web.get();
        }
        const bool ok = web->connect(nullptr) && web->getStatusCode() == 200;
        if (ok)
            input = std::move(web);
        else
        {
            const juce::ScopedLock lock(streamLock);
            stream = nullptr;
            return {};
        }
    }
    if (input == nullptr)
        return {};

    juce::MemoryBlock data;
    input->readIntoMemoryBlock(data, maximumReplyBytes);
    {
        const juce::ScopedLock lock(streamLock);
        stream = nullptr;
    }
    // A reply that is not valid UTF-8 names no version.
    return SafeText::fromUtf8(static_cast<const char*>(data.getData()), data.getSize()).value_or(juce::String());
}

void UpdateCheck::deliver(bool newVersionAvailable)
{
    juce::MessageManager::callAsync([target = callback, newVersionAvailable] {
        if (*target)
            (*target)(newVersionAvailable);
    });
}
