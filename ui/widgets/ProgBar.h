// ProgBar: the progress box shown over the window during bank transfers: it dims the window, shows a
// track with its fill, a caption and a CANCEL button (command id 999) that the owner listens to, and
// above and below the bar a title (what runs) and a details line (slots that went wrong, the outcome).
// Message thread only.
#pragma once

#include "StsBut.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace zentak
{

class ProgBar : public juce::Component
{
public:
    static constexpr int cancelCommand = 999;

    /** A box covering an area of width x height, centred in it. */
    ProgBar(int width, int height);
    ~ProgBar() override;

    /** value := v limited to minimum..maximum, and the fill becomes 3 x value pixels wide. */
    void showProgress(int v);

    /** The line above the bar, e.g. "Receiving Bank B"; empty hides it. */
    void setTitle(const juce::String& text);
    /** The lines below the bar (problems, the outcome); empty hides them. */
    void setDetails(const juce::String& text, juce::uint32 colour = 0xffe4ac59);

    StsBut& cancelButton() { return cancel; }
    juce::Label& titleLabel() { return title; }
    juce::Label& detailsLabel() { return details; }
    juce::Label& label() { return caption; }
    juce::TextButton& track() { return barTrack; }
    juce::TextButton& fill() { return barFill; }
    int boxX() const { return x0; }
    int boxY() const { return y0; }

    void paint(juce::Graphics& g) override;
    void resized() override;

    int value = 0, minimum = 0, maximum = 127;
    juce::String captionText;

private:
    StsBut cancel{"CANCEL", cancelCommand, StsBut::textDark};
    juce::Label caption, title, details;
    juce::TextButton barTrack, barFill;
    int x0, y0;
    const int boxWidth = 400, boxHeight = 40;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(ProgBar)
};

} // namespace zentak
