// MidiCntrStateListener: the interface through which the controller state announces new notification
// codes. Called on the message thread.
#pragma once

namespace zentak
{
class MidiCntrState;

class MidiCntrStateListener
{
public:
    virtual ~MidiCntrStateListener() = default;
    /** New codes are pending; take them with MidiCntrState::takePendingCodes. */
    virtual void midiCntrStateChanged(MidiCntrState* state) = 0;
};
} // namespace zentak
