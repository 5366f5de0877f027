// The controller state's host gestures and the relays that carry them: who owns each open gesture
// (the screen, the instrument or both), the 1000 ms timer that closes the instrument's, and the
// ordered delivery of values to the host. Message thread; the relay is filled from any thread.
#include "MidiCntrState.h"

#include "MessageThread.h"

namespace zentak
{
// Host notifications -----------------------------------------------------------------------------

namespace
{
bool validHostIndex(int index)
{
    return index >= 0 && index < params::numProgramParams;
}
} // namespace

void MidiCntrState::notifyHostValue(int index, int value)
{
    if (!validHostIndex(index))
        return;
    value = juce::jlimit(0, juce::jmax(0, (int)paramMaximum[index]), value);
    if (!onMessageThread())
    {
        relay.add(HandlerComp::value, HandlerComp::screen, index, value);
        return;
    }
    deliverHostEvents(); // whatever the instrument queued comes first
    deliverHostEvent({HandlerComp::value, HandlerComp::screen, (std::int16_t)index, (std::int16_t)value});
}

void MidiCntrState::beginHostGesture(int index)
{
    if (!validHostIndex(index))
        return;
    if (!onMessageThread())
    {
        relay.add(HandlerComp::gestureBegin, HandlerComp::screen, index);
        return;
    }
    deliverHostEvents();
    openGesture(index, screenOwner);
}

void MidiCntrState::endHostGesture(int index)
{
    if (!validHostIndex(index))
        return;
    if (!onMessageThread())
    {
        relay.add(HandlerComp::gestureEnd, HandlerComp::screen, index);
        return;
    }
    deliverHostEvents();
    closeGesture(index, screenOwner);
}

void MidiCntrState::parameterTouched(int index)
{
    if (!validHostIndex(index))
        return;
    openGesture(index, instrumentOwner);
    startTimer(1000);
}

void MidiCntrState::timerCallback()
{
    stopTimer();
    deliverHostEvents(); // values still queued belong inside the gestures about to close
    if (isTimerRunning())
        return; // they were new edits: the gestures stay open for another second
    const auto touched = touchedParameters;
    touchedParameters.clear();
    for (int index : touched)
        closeGesture(index, instrumentOwner);
}

void MidiCntrState::openGesture(int index, std::uint8_t owner)
{
    auto& bits = gestureOwners[(size_t)index];
    const auto old = bits.load();
    if ((old & owner) != 0)
        return;
    bits.store((std::uint8_t)(old | owner));
    if (owner == instrumentOwner)
        touchedParameters.push_back(index);
    if (old == 0 && hostNotifier != nullptr)
        hostNotifier->hostGestureBegin(index);
}

void MidiCntrState::closeGesture(int index, std::uint8_t owner)
{
    auto& bits = gestureOwners[(size_t)index];
    const auto old = bits.load();
    if ((old & owner) == 0)
        return;
    const auto rest = (std::uint8_t)(old & ~owner);
    bits.store(rest);
    if (owner == instrumentOwner)
        for (auto& word : instrumentBytes[(size_t)index])
            word.store(0);
    if (rest == 0 && hostNotifier != nullptr)
        hostNotifier->hostGestureEnd(index);
}

void MidiCntrState::deliverHostEvent(const HandlerComp::Entry& e)
{
    const int index = e.index;
    if (!validHostIndex(index))
        return;
    switch (e.kind)
    {
    case HandlerComp::gestureBegin:
        openGesture(index, screenOwner);
        return;
    case HandlerComp::gestureEnd:
        closeGesture(index, screenOwner);
        return;
    case HandlerComp::value:
        if (e.source == HandlerComp::instrument)
        {
            parameterTouched(index);
            if (hostNotifier != nullptr)
                hostNotifier->hostValue(index, e.byte, true);
            return;
        }
        if (ownerBits(index) == 0)
        {
            // A value with no open gesture gets a gesture of its own.
            openGesture(index, screenOwner);
            if (hostNotifier != nullptr)
                hostNotifier->hostValue(index, e.byte, false);
            closeGesture(index, screenOwner);
            return;
        }
        if (hostNotifier != nullptr)
            hostNotifier->hostValue(index, e.byte, false);
        return;
    }
}

void MidiCntrState::deliverHostEvents()
{
    HandlerComp::Entry e;
    while (relay.pop(e))
        deliverHostEvent(e);

    if (!relayOverflowed.exchange(false))
        return;
    // Instrument edits that found the relay full: their bytes are in the edit record already, so
    // the host gets the current byte of each, inside the instrument's gesture.
    for (int index = 0; index < params::numProgramParams; ++index)
        if (droppedInstrumentEdit[(size_t)index].exchange(false))
            deliverHostEvent({HandlerComp::value, HandlerComp::instrument, (std::int16_t)index,
                              (std::int16_t)editByte(index)});
}

bool MidiCntrState::isInstrumentEcho(int index, int value) const
{
    if (!instrumentOwnsGesture(index) || value < 0 || value > 255)
        return false;
    const auto word = instrumentBytes[(size_t)index][(size_t)(value >> 6)].load();
    return (word >> (value & 63)) & 1u;
}
} // namespace zentak
