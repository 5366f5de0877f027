// HandlerComp: the one ordered relay of host notifications (gesture begins, parameter values, gesture
// ends) to the message thread. The screen appends on the message thread, the instrument's edits on
// the MIDI-input thread (append never allocates and never waits; the change message is posted
// asynchronously); the message thread takes and empties it, so a begin, its values and its end reach
// the host in the order they were appended.
#pragma once

#include "LockFreeQueue.h"

#include <juce_events/juce_events.h>

#include <cstdint>
#include <vector>

namespace zentak
{

class HandlerComp : public juce::ChangeBroadcaster
{
public:
    enum Kind : std::uint8_t
    {
        gestureBegin,
        value,
        gestureEnd
    };
    enum Source : std::uint8_t
    {
        screen,
        instrument
    };

    struct Entry
    {
        Kind kind;
        Source source;
        std::int16_t index;
        std::int16_t byte; // the parameter byte, for values
    };

    explicit HandlerComp(size_t capacity = 4096) : entries(capacity) {}

    /** Appends an entry; false (and nothing appended) when the relay is full. */
    bool add(Kind kind, Source source, int index, int byte = 0)
    {
        if (!entries.push({kind, source, (std::int16_t)index, (std::int16_t)byte}))
            return false;
        sendChangeMessage();
        return true;
    }

    /** Takes one entry in append order (message thread). */
    bool pop(Entry& e) { return entries.pop(e); }
    /** Takes every pending entry in append order and empties the relay (message thread). */
    std::vector<Entry> take() { return entries.takeAll(); }

    bool isEmpty() const { return entries.isEmpty(); }

private:
    LockFreeQueue<Entry> entries;
};

} // namespace zentak
