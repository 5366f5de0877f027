// GLOBAL_Setup: the overlay that shows the instrument's global settings (transpose, volume, tuning,
// tempo and clock, input gain, poly chain, MIDI channel, the sequencer switches) on eleven value
// controls. It shows what the instrument last reported and changes nothing itself: the main component
// listens to the controls, sends each change to the instrument and shows it back; OK is broadcast as
// request 203. Message thread only.
#pragma once

#include "sounddata/GlobalRecord.h"
#include "ui/widgets/StsBut.h"
#include "ui/widgets/StsCont.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <array>
#include <memory>

namespace zentak
{

class GLOBAL_Setup : public juce::Component, public juce::ChangeListener, public juce::ChangeBroadcaster
{
public:
    static constexpr int neededWidth = 395, neededHeight = 404; // the box with its OK, below the bar
    static constexpr int okPressed = 203, okCommand = 1111;
    static constexpr int numControls = 11;
    static constexpr int boxWidth = 375, boxHeight = 244, boxTop = 150;

    /** One control: its global parameter, caption, range, kind and place inside the box. */
    struct Row
    {
        int parameter;
        const char* label;
        int minimum, maximum, kind;
        int x, y, width, height;
    };
    static const std::array<Row, numControls>& rows();

    GLOBAL_Setup();
    ~GLOBAL_Setup() override;

    /** Centres the box in width and places the panel at (0, 28, width, height). */
    void layout(int width, int height);
    /** Every control shows the value of its global parameter (0 when not held); nothing is sent. */
    void showMainParameters(const GlobalRecord& values);
    /** Control c shows v with its value text. */
    void showControlValue(StsCont& c, int v);

    void paint(juce::Graphics& g) override;
    void changeListenerCallback(juce::ChangeBroadcaster* source) override;

    const std::array<std::unique_ptr<StsCont>, numControls>& controls() const { return controlList; }
    /** The control of a global parameter, or null. */
    StsCont* controlFor(int parameter) const;
    StsBut& okButton() { return ok; }
    int boxX() const { return leftX; }

    int lastCommand = 0;

private:
    std::array<std::unique_ptr<StsCont>, numControls> controlList;
    StsBut ok{"OK", okCommand, StsBut::textDark};
    int leftX = 0;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(GLOBAL_Setup)
};

} // namespace zentak
