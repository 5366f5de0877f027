// EditorPanel: the sound editor page: the eighteen parameter groups at their places, the LCD display of
// the program's bank slot and name, the logos and the signal-flow connectors, scaled with the window.
// Message thread only.
#pragma once

#include "ParamPage.h"
#include "ui/widgets/LCD_Comp.h"

namespace zentak
{

class EditorPanel : public ParamPage
{
public:
    explicit EditorPanel(MidiCntrState& state);
    ~EditorPanel() override;

    void setScale(float s);
    float getScale() const { return scale; }
    LCD_Comp& lcd() { return lcdDisplay; }

    void paint(juce::Graphics& g) override;
    void paintOverChildren(juce::Graphics& g) override;

private:
    float scale = 1.0f;
    juce::Image makerLogo, instrumentLogo, productLogo, swoosh;
    LCD_Comp lcdDisplay;
    juce::Image arrowDown, arrowRight, arrowUp, dot, ring;
};

/** FlashPanel: a second, unscaled set of the same groups, one shown at a time, centred over a darkened
    page; a press outside the shown group is broadcast so the main component closes it. */
class FlashPanel : public ParamPage
{
public:
    explicit FlashPanel(MidiCntrState& state);

    /** Shows this panel's own copy of group id centred in a panel of width x height. */
    void showGroup(groups::GroupId id, int width, int height);
    groups::GroupId shownGroup() const { return shown; }
    /** Deferred repainting for the hidden panel's controls, pending repaints done. */
    void reset() { setImmediateRepaint(false); }

    void paint(juce::Graphics& g) override;
    void mouseDown(const juce::MouseEvent& e) override;

private:
    groups::GroupId shown = groups::amp;
};

} // namespace zentak
