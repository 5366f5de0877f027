// PianoPad: the 94 keys of the on-screen keyboard (white and black in the piano's pattern) under a
// transparent KeyOverlay that takes every mouse event and finds the key under the point, so that a
// press, a glissando and a release play the keys. While a key is held the pad watches the mouse: when
// the button is no longer down without a release having reached us (released outside the window, the
// mouse taken by another window), every key is released. Message thread only.
#pragma once

#include "PianoKey.h"

#include <array>
#include <functional>
#include <memory>

namespace zentak
{

class PianoPad;

/** KeyOverlay: the pad's transparent top layer; it turns mouse events into key presses and releases. */
class KeyOverlay : public juce::Component
{
public:
    explicit KeyOverlay(PianoPad& pad);

    void mouseDown(const juce::MouseEvent& e) override;
    void mouseDrag(const juce::MouseEvent& e) override;
    void mouseUp(const juce::MouseEvent& e) override;

    int dragKey = -1; // the key the current press or drag holds, -1 for none

private:
    PianoPad& pad;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(KeyOverlay)
};

class PianoPad : public juce::Component, private juce::Timer
{
public:
    static constexpr int numKeys = 94, numWhiteKeys = 55;

    PianoPad(MidiCntrState& state, StsResor& skin);
    ~PianoPad() override;

    /** Places the pad and its keys for scale s. */
    void layout(float s);
    /** The key under (x, y) in pad pixels, or -1. */
    int keyAt(float x, float y) const;

    PianoKey& key(int i) const { return *keys[(size_t)juce::jlimit(0, numKeys - 1, i)]; }
    KeyOverlay& overlay() { return keyOverlay; }
    float getScale() const { return scale; }

    void pressKey(int i, int y);
    void releaseKey(int i);
    void releaseAll();
    bool anyKeyPressed() const;

    /** Whether a mouse button is down right now; tests replace it. */
    std::function<bool()> buttonHeld;
    /** Checks that the button holding the keys is still down (public for tests). */
    void timerCallback() override;

    void paint(juce::Graphics& g) override;

    static constexpr int kindPattern[12] = {0, 1, 0, 1, 0, 0, 1, 0, 1, 0, 1, 0};
    static constexpr int blackOffset[12] = {0, 15, 0, 44, 0, 0, 90, 0, 116, 0, 142, 0};

private:
    MidiCntrState& controller; // never owned
    std::array<std::unique_ptr<PianoKey>, numKeys> keys;
    float scale = 1.0f;
    KeyOverlay keyOverlay{*this};

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(PianoPad)
};

} // namespace zentak
