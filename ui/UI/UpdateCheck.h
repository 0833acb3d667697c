#pragma once

#include <juce_core/juce_core.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>

// Asks the maker's update endpoint, on a background thread, whether a newer version
// exists. The answer reaches the message thread, and only while this object exists;
// destroying it cancels the request. Any failure counts as "no newer version".
class UpdateCheck : private juce::Thread
{
public:
    using Callback = std::function<void(bool newVersionAvailable)>;

    static constexpr int timeoutMs = 3000;
    static constexpr int maximumReplyBytes = 256;

    // An empty URL asks nothing and never calls back.
    UpdateCheck(juce::URL endpoint, std::string currentVersion, Callback onAnswer);
    ~UpdateCheck() override;

    // The maker's endpoint with the product's identifier as query.
    static juce::URL endpointFor(const std::string& productIdentifier);

    // The endpoint an editor asks: the maker's, unless the environment variable named
    // here gives another address (the query is added to it the same way). Set but
    // empty (or not valid UTF-8), it turns the check off; the tests run with it so.
    static constexpr const char* endpointVariable = "ZORVIK_UPDATE_ENDPOINT";
    static juce::URL endpointInUse(const std::string& productIdentifier);

private:
    void run() override;
    juce::String fetchReply();
    void deliver(bool newVersionAvailable);

    const juce::URL endpoint;
    const std::string currentVersion;
    // Shared with the messages posted to the message thread: cleared by the
    // destructor (message thread), read there too.
    std::shared_ptr<Callback> callback;
    juce::CriticalSection streamLock;
    juce::WebInputStream* stream = nullptr;  // the running request, for cancelling
};
