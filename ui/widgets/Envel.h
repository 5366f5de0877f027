// Envel: the envelope display: draws the attack-decay-sustain-release shape of four parameter values
// on a screen and lets the user drag its attack peak, sustain segment and release end. Reports change
// kinds as the value controls do (67 drag begins, 1 values changed, 66 gesture end 100 ms after the
// release, 100 right-button press); the page moves its four controls. Message thread only.
#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace zentak
{

class Envel : public juce::Component, public juce::ChangeBroadcaster, public juce::Timer
{
public:
    enum Handle
    {
        none = -1,
        attackPeak = 0,
        sustainSegment = 1,
        releaseEnd = 2
    };

    Envel();
    ~Envel() override;

    /** Places the display at exactly these unscaled bounds and remembers the position. */
    void setDesignBounds(int x, int y, int w, int h);
    /** scale := s, then placed at (x·s, y·s, 218·s, 65·s) for its design position. */
    void setDisplayScale(float s);
    /** Writes stage 0..3 (attack, decay, sustain, release), recomputes the shape and repaints
        (or marks a repaint pending while immediate repaint is off). */
    void setStage(int stage, float v);
    /** Recomputes the shape from the four values and repaints or marks a repaint pending. */
    void valuesChanged();

    /** The handle under (px, py), in the display's own pixels. */
    int handleAt(float px, float py) const;
    float pointX(int i) const { return pointXs[i]; }
    float pointY(int i) const { return pointYs[i]; }
    const juce::Path& getOutline() const { return outline; }
    float getScale() const { return scale; }
    bool isDragging() const { return dragging; }
    int getHandle() const { return handle; }

    void mouseMove(const juce::MouseEvent& e) override;
    void mouseDown(const juce::MouseEvent& e) override;
    void mouseDrag(const juce::MouseEvent& e) override;
    void mouseUp(const juce::MouseEvent& e) override;
    void paint(juce::Graphics& g) override;
    void resized() override;
    void timerCallback() override;

    // State that the page reads or writes directly.
    int changeKind = 0;
    float attack = 30, decay = 30, sustain = 30, release = 30;
    int envelopeIndex = 0; // 0 amplifier, 1 filter, 2 envelope 3
    bool immediateRepaint = true, repaintPending = false;

private:
    void computeShape();

    float scale = 1.0f;
    juce::Image screenImage, glassImage;
    juce::Path outline;
    float pointXs[5]{}, pointYs[5]{};
    float startAttack = 0, startDecay = 0, startSustain = 0, startRelease = 0;
    const float timeScale = 0.5045454f, levelScale = 0.44f;
    const float shapeHeight = 50, left = 12, top = 9;
    const int sustainMaximum = 100, timeMaximum = 110;
    bool dragging = false;
    int handle = none;
    int pressY = 0, pressX = 0, lastX = 0, lastY = 0;
    int designX = 0, designY = 0;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(Envel)
};

} // namespace zentak
