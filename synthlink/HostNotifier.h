// HostNotifier: the interface through which the controller state hands host gestures and values to
// the processor. Called on the message thread only.
#pragma once

namespace zentak
{
/** Where the host's side of the gestures and values goes: the processor, which passes them on to the
    host in whichever plug-in format it runs. Called on the message thread only. */
class HostNotifier
{
public:
    virtual ~HostNotifier() = default;
    virtual void hostGestureBegin(int index) = 0;
    /** A new parameter byte inside an open gesture. fromInstrument: the byte is already in the edit
        record and must neither be stored again nor sent back to the instrument. */
    virtual void hostValue(int index, int byte, bool fromInstrument) = 0;
    virtual void hostGestureEnd(int index) = 0;
    /** The edit record was replaced as a whole: every parameter may have changed. */
    virtual void hostValuesReplaced() = 0;
};
} // namespace zentak
