// SeqClass: one of the instrument's four 16-step sequences, drawn as a lane of bars with a toggle strip
// above them (reset, and off in the first lane), edited with sliders or the pen and the mouse wheel. The
// lane turns the user's actions into edit events (gesture start, new value, gesture end, open request)
// queued for the sequencer page; it never talks to the controller state. It keeps per step whether it
// has a gesture open, so every start it queues is followed by exactly one end. Message thread only.
#pragma once

#include "synthlink/MidiCntrState.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <array>
#include <vector>

namespace zentak
{

class SeqClass : public juce::Component, public juce::ChangeBroadcaster, private juce::Timer
{
public:
    static constexpr int numSteps = 16;
    static constexpr int resetValue = 101, offValue = 102;
    static constexpr int referenceWidth = 522, referenceHeight = 155;

    /** Kinds of the queued edit events. */
    enum EventKind
    {
        toggled = 64,
        gestureEnd = 66,
        gestureStart = 67,
        newValue = 68,
        openRequest = 69
    };
    enum EditMode
    {
        sliders = 0,
        pen = 1
    };
    enum DisplayMode
    {
        normal = 0,
        large = 1,
        overview = 2
    };

    /** One edit event: index is 128 + step (the page adds 16 x lane index). */
    struct Event
    {
        int kind, index, value;
        bool operator==(const Event& o) const
        {
            return kind == o.kind && index == o.index && value == o.value;
        }
    };

    SeqClass(MidiCntrState& state, int laneIndex);
    ~SeqClass() override;

    /** Stores the unscaled bounds and places the lane at them times the current scale. */
    void setLayout(int x, int y, int width, int height);
    void setScale(float s);
    float getScale() const { return scale; }
    /** Note names on for destinations 1, 2 and 3 (the oscillator pitches). */
    void setNoteNames(int destination);
    bool showsNoteNames() const { return noteNames; }

    /** A value from the controller: shown (limited to the lane's range, never quantized), no event. */
    void showStep(int step, int v);
    /** The lane's 16 step bytes from the edit record. */
    void loadSteps(const std::uint8_t* bytes16);

    void setEditMode(int mode) { editMode = mode == pen ? pen : sliders; }
    int getEditMode() const { return editMode; }
    void setQuantize(bool on) { quantize = on; }
    bool getQuantize() const { return quantize; }
    void setDisplayMode(int mode);
    int getDisplayMode() const { return displayMode; }
    int getLaneIndex() const { return lane; }
    int getMaximum() const { return maximum; }
    int getCurrentStep() const { return currentStep; }
    int displayedValue(int step) const { return valid(step) ? displayed[(size_t)step] : 0; }
    int pendingValue(int step) const { return valid(step) ? pending[(size_t)step] : 0; }
    bool isGestureOpen(int step) const { return valid(step) && gestureOpen[(size_t)step]; }
    /** The step whose column holds x (strictly inside it), or -1. */
    int stepAt(float x) const;

    /** Queues an event and broadcasts (the page uses it for the Edit buttons' open request). */
    void queueEvent(int kind, int step, int value);
    /** The queued events in order; the queue is emptied. */
    std::vector<Event> takeEvents();
    /** Queues the end of every gesture the lane has open (a release, a new press, the page closing). */
    void endOpenGestures();

    /** The text shown above a step: "RST", "OFF", a note name or the value. */
    static juce::String stepText(int v, bool noteNames);
    /** Quarter-tone note name: 49 reads "C+2". */
    static juce::String noteName(int v);

    void mouseDown(const juce::MouseEvent& e) override;
    void mouseDrag(const juce::MouseEvent& e) override;
    void mouseUp(const juce::MouseEvent& e) override;
    void mouseWheelMove(const juce::MouseEvent& e, const juce::MouseWheelDetails& wheel) override;
    void paint(juce::Graphics& g) override;

    /** The gesture end, 30 ms after a release (public for tests that do not run the message loop). */
    void timerCallback() override;

private:
    static bool valid(int step) { return step >= 0 && step < numSteps; }
    /** The lane's own values: limited to 0..maximum; with quantize, odd values 1..99 lowered by one
        (reset and off are kept). Returns whether the value differs from held before quantizing. */
    bool limitInto(int& held, int v) const;
    int stepWidth() const { return (int)(width / (float)numSteps); }
    int valueFromY(float y) const;
    void setDrawn(int step, int v);
    void begin(int step);
    void end(int step);
    void repaintStep(int step);

    MidiCntrState& controller; // never owned; not used for editing
    std::array<int, numSteps> displayed{}, drawn{}, saved{}, pending{};
    std::array<bool, numSteps> gestureOpen{};
    bool noteNames = false;
    bool quantize = false;
    int editMode = sliders;
    const int lane;
    int currentStep = -1;
    int displayMode = normal;
    float scale = 1.0f;
    int designX = 0, designY = 0, designWidth = referenceWidth, designHeight = referenceHeight;
    float width = (float)referenceWidth, height = (float)referenceHeight;
    float sx = 1.0f, sy = 1.0f;
    const int maximum;
    bool dragging = false, toggling = false;
    int lastPenStep = -1, lastPenValue = 0;
    std::vector<Event> queue;
    juce::Image background;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(SeqClass)
};

} // namespace zentak
