// ZentakAudioProcessorEditor: the window the host opens; a thin frame around the main component with
// a resize corner, tooltips and the remembered size. Message thread only.
#pragma once

#include "ZentakAudioProcessor.h"
#include "ui/main/MainComp.h"

#include <juce_audio_processors/juce_audio_processors.h>

namespace zentak
{

/** The window's size limits: widths 730 ... 1928, each with the one height that shows the whole page and
    keyboard at its scale (MainComp::heightForWidth), for the corner and for a host's own frame. */
class EditorSizeLimits : public juce::ComponentBoundsConstrainer
{
public:
    EditorSizeLimits();
    void checkBounds(juce::Rectangle<int>& bounds, const juce::Rectangle<int>& previous,
                     const juce::Rectangle<int>& limits, bool stretchingTop, bool stretchingLeft,
                     bool stretchingBottom, bool stretchingRight) override;
};

class ZentakAudioProcessorEditor : public juce::AudioProcessorEditor, public juce::ChangeListener
{
public:
    explicit ZentakAudioProcessorEditor(ZentakAudioProcessor& processor);
    ~ZentakAudioProcessorEditor() override;

    void paint(juce::Graphics& g) override;
    void resized() override;
    /** Once on a screen, a first size that does not fit that screen's usable area is made to fit. */
    void parentHierarchyChanged() override;
    void changeListenerCallback(juce::ChangeBroadcaster* source) override;

    MainComp& mainComponent() { return *mainComp; }
    juce::ComponentBoundsConstrainer& sizeLimits() { return constrainer; }
    juce::ResizableCornerComponent& resizeCorner() { return *corner; }

private:
    /** The first size for the display around a point (the mouse when the window is created). */
    static juce::Point<int> firstSizeFor(juce::Point<int> screenPoint);

    ZentakAudioProcessor& owner;
    std::unique_ptr<MainComp> mainComp;
    EditorSizeLimits constrainer;
    std::unique_ptr<juce::ResizableCornerComponent> corner;
    juce::TooltipWindow tooltips;
    bool firstSizeChosen = false; // this window chose its size from a screen, and nobody resized it yet
    bool fittingToScreen = false;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(ZentakAudioProcessorEditor)
};

} // namespace zentak
