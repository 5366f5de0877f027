// HandlerComp: a one-way relay of host notifications (parameter values, gesture begins, gesture ends)
// to the message thread. Any thread except the audio thread appends (append never allocates and never
// waits; the change message is posted asynchronously); the message thread takes and empties.
#pragma once

#include "LockFreeQueue.h"

#include <juce_events/juce_events.h>

#include <vector>

namespace zentak
{

class HandlerComp : public juce::ChangeBroadcaster
{
public:
    struct Entry
    {
        int index;
        float value;
    };

    explicit HandlerComp(size_t capacity = 4096) : entries(capacity) {}

    /** Parameter-value relay: a normalised value for a parameter index. */
    void addValue(int index, float value)
    {
        if (entries.push({index, value}))
            sendChangeMessage();
    }

    /** Gesture relays: a parameter index. */
    void addIndex(int index) { addValue(index, 0.0f); }

    /** Takes every pending entry in append order and empties the relay (message thread). */
    std::vector<Entry> take() { return entries.takeAll(); }

    bool isEmpty() const { return entries.isEmpty(); }

private:
    LockFreeQueue<Entry> entries;
};

} // namespace zentak
