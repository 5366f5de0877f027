// AboutPanel: the splash and about box of the main window: it dims the window and shows the picture
// of the instrument, the plug-in's version and its large logo. A click, or the end of its time when
// it was given one, is reported by change message; the owner then closes it. Message thread only.
#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace zentak
{

class AboutPanel : public juce::Component, public juce::ChangeBroadcaster, public juce::Timer
{
public:
    static constexpr int neededWidth = 790, neededHeight = 560; // the box and logo, with a margin
    /** timeoutMs above 0 starts the timer; 0 keeps the panel until clicked. */
    AboutPanel(const juce::String& version, int timeoutMs);
    ~AboutPanel() override;

    bool isTimed() const { return timed; }
    const juce::String& getVersionText() const { return versionText; }

    void mouseDown(const juce::MouseEvent& e) override;
    void timerCallback() override;
    void paint(juce::Graphics& g) override;

    const int boxX = 300, boxHeight = 295, boxY = 100, boxWidth = 460;

private:
    bool timed = false;
    juce::String versionText;
    juce::Image aboutPicture, productLogoLarge;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(AboutPanel)
};

} // namespace zentak
