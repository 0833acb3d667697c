#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <vector>

// Tells the host where a user's edit of its parameters begins and ends, so that it
// records automation in its touch and latch modes.
//
// An edit (a drag, from mouse down to mouse up) runs from start() or the first
// begin() to end(): each parameter it writes gets one begin/end gesture around all its
// changes. A write outside an edit (a click) is a gesture of its own. Values are sent
// only when they change the parameter. No gesture outlives the object: the destructor
// ends what is still open, so a control that goes away mid-drag closes its gestures.
class ParameterGestures
{
public:
    ParameterGestures() = default;
    ~ParameterGestures();
    ParameterGestures(const ParameterGestures&) = delete;
    ParameterGestures& operator=(const ParameterGestures&) = delete;

    // An edit starts; its parameters begin their gestures at their first change.
    void start();
    // An edit starts (or goes on) and the parameter's gesture begins now.
    void begin(juce::RangedAudioParameter* host);
    // Writes a plain value, limited to the parameter's range, when it changes the
    // parameter. Non-finite values and missing parameters are ignored.
    void write(juce::RangedAudioParameter* host, float plainValue);
    // Ends the gestures of the edit, in the order they began.
    void end();

    bool isEditing() const { return editing; }

    // One change as a complete gesture, sent only when it changes the parameter.
    static void writeOnce(juce::RangedAudioParameter* host, float plainValue);

private:
    bool isOpen(const juce::RangedAudioParameter* host) const;

    bool editing = false;
    std::vector<juce::RangedAudioParameter*> open;
};
