// ZentakAudioProcessorEditor: the window the host opens; a thin frame around the main component with
// a resize corner, tooltips and the remembered size. Message thread only.
#pragma once

#include "ZentakAudioProcessor.h"
#include "ui/main/MainComp.h"

#include <juce_audio_processors/juce_audio_processors.h>

namespace zentak
{

class ZentakAudioProcessorEditor : public juce::AudioProcessorEditor, public juce::ChangeListener
{
public:
    explicit ZentakAudioProcessorEditor(ZentakAudioProcessor& processor);
    ~ZentakAudioProcessorEditor() override;

    void paint(juce::Graphics& g) override;
    void resized() override;
    void changeListenerCallback(juce::ChangeBroadcaster* source) override;

    MainComp& mainComponent() { return *mainComp; }
    juce::ComponentBoundsConstrainer& sizeLimits() { return constrainer; }
    juce::ResizableCornerComponent& resizeCorner() { return *corner; }

private:
    ZentakAudioProcessor& owner;
    std::unique_ptr<MainComp> mainComp;
    juce::ComponentBoundsConstrainer constrainer;
    std::unique_ptr<juce::ResizableCornerComponent> corner;
    juce::TooltipWindow tooltips;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(ZentakAudioProcessorEditor)
};

} // namespace zentak
