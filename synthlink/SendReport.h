// SendReport: how the last program write or bank transmit went. Written by the send job's thread,
// copied out under the controller state's report lock (any thread).
#pragma once

#include <juce_core/juce_core.h>

#include <vector>

namespace zentak
{
/** How the last program write or bank transmit went: what the progress box and the status line show.
    A copy taken with MidiCntrState::lastSendReport (any thread). */
struct SendReport
{
    enum class Outcome
    {
        none,         // nothing sent yet
        running,      // sending or reading back
        sent,         // everything sent, not read back (verify off)
        verified,     // everything sent and read back equal
        mismatched,   // read back, and at least one slot differs or did not answer (see problems)
        notVerified,  // sent, but the instrument could not be read back (no input, no answers)
        cancelled,    // CANCEL: stopped after the slot in hand
        outputClosed, // the MIDI output was closed or changed while sending
        queueFull,    // the send queue was full: a message could not be queued
        noOutput      // no MIDI output open: nothing was sent
    };
    struct Problem
    {
        int bank, slot;
        juce::String what; // "parameters differ", "name differs", "no answer", "damaged answer"
    };

    int kind = -1; // 100, 107 (transmit), or MidiCntrState::writeKind
    Outcome outcome = Outcome::none;
    int slotsTotal = 0, slotsSent = 0, slotsVerified = 0;
    std::vector<Problem> problems;
    /** Slots (bank * 128 + slot) whose dump was sent but not their name: the new sound under the old
        name. Slots past slotsSent and these are untouched. */
    std::vector<int> halfWritten;
    juce::String status; // one line for the status bar, also posted as a notice

    bool succeeded() const { return outcome == Outcome::verified || outcome == Outcome::sent; }
};
} // namespace zentak
