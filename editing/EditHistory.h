// EditHistory: the bounded history of changes to the edit record (parameter edits with their old and
// new bytes, or whole replacements with names) with undo, redo and jumps, and the gesture recorder
// that turns overlapping host gestures into one step. Plain data without locks: the message thread
// owns it.
#pragma once

#include <juce_core/juce_core.h>

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace zentak::editing
{

/** One parameter's byte before and after a step. */
struct ParamChange
{
    std::uint8_t index;  // program parameter 0..191
    std::uint8_t before; // byte before the step
    std::uint8_t after;  // byte after it
};

/** One undoable step: either parameter changes or a replacement of the whole record. */
struct EditStep
{
    juce::String label;               // what the step was, as the history list shows it
    std::vector<ParamChange> changes; // a parameter step: every parameter it changed
    juce::MemoryBlock before, after;  // a replacement: the whole records, names included

    bool isReplacement() const { return after.getSize() > 0; }
    /** Bytes this step holds, counted against the history's bound. */
    std::size_t footprint() const;
};

/** The list of steps and the position between the applied and the undone ones. */
class EditHistory
{
public:
    static constexpr std::size_t defaultMaxSteps = 2000;
    static constexpr std::size_t defaultMaxBytes = 1u << 20;

    explicit EditHistory(std::size_t maxSteps = defaultMaxSteps, std::size_t maxBytes = defaultMaxBytes);

    /** Adds a step after the applied ones and drops the undone ones (the redo branch). A step that
        changes nothing is not recorded. The oldest steps drop while a bound is exceeded. */
    bool record(EditStep step);

    bool canUndo() const { return applied > 0; }
    bool canRedo() const { return applied < (int)steps.size(); }
    /** The step undo would take back, the step redo would apply again; nullptr when there is none. */
    const EditStep* nextUndo() const { return canUndo() ? &steps[(size_t)applied - 1] : nullptr; }
    const EditStep* nextRedo() const { return canRedo() ? &steps[(size_t)applied] : nullptr; }
    /** Moves back (forward) one step and returns it, to be applied backwards (forwards). */
    const EditStep* undo();
    const EditStep* redo();

    int size() const { return (int)steps.size(); }
    /** Number of applied steps: 0 … size(). Steps at and after it are the redo branch. */
    int position() const { return applied; }
    const EditStep& step(int index) const { return steps[(size_t)index]; }
    std::size_t footprint() const { return bytes; }
    void clear();

private:
    void trimToBounds();

    std::vector<EditStep> steps;
    int applied = 0;
    std::size_t bytes = 0;
    std::size_t maxSteps, maxBytes;
};

/** Applies a step to a record (208 bytes, or 192 without the name): forwards writes the after bytes,
    backwards the before bytes. */
void applyStep(const EditStep& step, bool forwards, juce::MemoryBlock& record);

/** The parameters 0..191 whose bytes differ between two records (a missing byte reads as 0). */
std::vector<int> differingParameters(const juce::MemoryBlock& a, const juce::MemoryBlock& b);

/** A replacement step; empty (records equal, names included) when nothing changes. */
std::optional<EditStep> replacementStep(const juce::String& label, const juce::MemoryBlock& before,
                                        const juce::MemoryBlock& after);

/** "LPF Frequency 44 → 92" for one change, "LPF Frequency and 3 more" for several. */
juce::String changeLabel(const std::vector<ParamChange>& changes);

/** Bytes on the cable to bring the instrument's edit buffer to a step's other side: 9 per changed
    parameter, or one 226-byte edit-buffer dump when that is shorter (or the step is a replacement). */
int wireBytes(const EditStep& step);

/** Groups overlapping gestures into one step: the first begin opens the step, the last end closes
    it. Values between are kept as the latest byte of each parameter; a parameter keeps the byte it
    had when its first gesture began. */
class GestureRecorder
{
public:
    /** A gesture on index begins; before is the parameter's byte now. */
    void begin(int index, std::uint8_t before);
    /** A new byte inside an open gesture; a value with no gesture open makes a step by itself. */
    std::optional<EditStep> value(int index, std::uint8_t before, std::uint8_t after);
    /** The gesture on index ends with the parameter at byte now; returns the step when it was the
        last open one and something changed. */
    std::optional<EditStep> end(int index, std::uint8_t now);
    bool isOpen(int index) const;
    bool anyOpen() const { return openCount > 0; }
    /** Forgets open gestures without a step (the record was replaced under them). */
    void reset();

private:
    std::optional<EditStep> close();

    std::array<std::int16_t, 192> before{};
    std::array<std::int16_t, 192> latest{};
    std::array<bool, 192> open{};
    std::array<bool, 192> touched{};
    int openCount = 0;
};

} // namespace zentak::editing
