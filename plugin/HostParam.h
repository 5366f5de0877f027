// HostParam: one of the 192 host-automatable parameters; host parameter i is byte i of the edit
// record, scaled by the parameter's host maximum. Called by the host on any thread; every call goes
// straight to the processor's host-parameter functions, which neither allocate nor lock.
#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

namespace zentak
{
class ZentakAudioProcessor;

class HostParam : public juce::AudioProcessorParameterWithID
{
public:
    HostParam(ZentakAudioProcessor& owningProcessor, int index);

    float getValue() const override;
    void setValue(float newValue) override;
    float getDefaultValue() const override { return 0.0f; }
    juce::String getText(float normalisedValue, int maximumStringLength) const override;
    juce::String getCurrentValueAsText() const override;
    float getValueForText(const juce::String& text) const override;

    int getIndex() const { return index; }

    /** Host gestures, kept balanced: a begin while one is open, or an end without one, is ignored.
        Message thread. */
    void beginGesture();
    void endGesture();
    bool isInGesture() const { return inGesture; }

private:
    ZentakAudioProcessor& owner;
    const int index;
    bool inGesture = false;
};

} // namespace zentak
