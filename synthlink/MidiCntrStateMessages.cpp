// The controller state's sends to the instrument: requests, SysEx bodies, parameter, sequencer step
// and main parameter changes, notes, the wheels and controllers of the on-screen keyboard. Message
// and MIDI-input threads, and the audio thread through the parameter sends (no allocation there).
#include "MidiCntrState.h"

namespace zentak
{
// Sends ------------------------------------------------------------------------------------------

void MidiCntrState::sendRequest(int kind, int bank, int slot)
{
    const juce::uint8 withSlot[] = {
        0xF0, 0x01, 0x20, 0x01, (juce::uint8)kind, (juce::uint8)(bank & 0x7f), (juce::uint8)(slot & 0x7f),
        0xF7};
    const juce::uint8 plain[] = {0xF0, 0x01, 0x20, 0x01, (juce::uint8)kind, 0xF7};
    switch (kind)
    {
    case 0x05:
    case 0x10:
    case 0x21:
        portsControl->sendSysexNow(withSlot, sizeof(withSlot));
        break;
    case 0x06:
    case 0x0E:
        portsControl->sendSysexNow(plain, sizeof(plain));
        break;
    default:
        break;
    }
}

void MidiCntrState::sendSysexBody(const void* body, size_t size)
{
    if (!portsControl->isOutputOpen())
        return;
    juce::MemoryBlock m;
    const juce::uint8 header[] = {0xF0, 0x01, 0x20, 0x01};
    m.append(header, sizeof(header));
    m.append(body, size);
    const juce::uint8 end = 0xF7;
    m.append(&end, 1);
    portsControl->sendSysex(m.getData(), m.getSize());
}

namespace
{
void sendNibbleCommand(MIDI_PORTS_Control& ports, int command, int param, int value)
{
    const juce::uint8 m[] = {0xF0,
                             0x01,
                             0x20,
                             0x01,
                             (juce::uint8)command,
                             (juce::uint8)(param & 0x7f),
                             (juce::uint8)(value & 0x0f),
                             (juce::uint8)((value >> 4) & 0x0f),
                             0xF7};
    ports.sendSysex(m, sizeof(m));
}
} // namespace

void MidiCntrState::sendParameterChange(int index, int value)
{
    if (index >= 0 && index < params::numSoundParams)
        sendNibbleCommand(*portsControl, 0x01, index, value);
}

void MidiCntrState::sendSequencerStepChange(int step, int value)
{
    if (step >= 0 && step < 64)
        sendNibbleCommand(*portsControl, 0x08, step, value);
}

void MidiCntrState::sendMainParameterChange(int index, int value)
{
    if (index >= 0 && index < 128)
        sendNibbleCommand(*portsControl, 0x09, index, value);
}

void MidiCntrState::sendNoteOn(int channel, int note, int velocity)
{
    if (note >= 128 || channel > 16)
        return;
    portsControl->sendNoteOn(channel, note, velocity);
}

void MidiCntrState::sendNoteOff(int channel, int note)
{
    portsControl->sendNoteOff(channel, note);
}

void MidiCntrState::sendInstrumentPitchWheel(int channel, int value)
{
    portsControl->sendPitchWheelMessage(channel, juce::jlimit(0, 16383, value));
}

void MidiCntrState::sendInstrumentController(int channel, int controller, int value)
{
    if (controller >= 0 && controller < 128)
        portsControl->sendController(channel, controller, value & 0x7f);
}
} // namespace zentak
