// The controller state's host MIDI: the host's MIDI input (bank select, program change, notes,
// controllers, pitch bend) and the queue of MIDI for the host's output. handleHostMidi and
// drainHostQueue on the audio thread (no allocation; the queue's lock is only tried there); the queue
// is filled from the message and MIDI-input threads.
#include "MidiCntrState.h"

namespace zentak
{
// Host MIDI --------------------------------------------------------------------------------------

void MidiCntrState::handleHostMidi(const juce::uint8* data, int size)
{
    if (data == nullptr || size < 1 || data[0] < 0x80 || data[0] >= 0xF0)
        return;
    const int type = data[0] & 0xF0;
    const int channel = (data[0] & 0x0F) + 1;
    const int d1 = size > 1 ? (data[1] & 0x7f) : 0;
    const int d2 = size > 2 ? (data[2] & 0x7f) : 0;

    switch (type)
    {
    case 0xB0:
        if (d1 == 32)
        {
            if (d2 == currentBank.load() || d2 > 3)
                return;
            selectProgram(d2, currentProgram.load(), true, false);
        }
        else if (d1 != 0)
        {
            postChange(codes::hostController(channel, d1, d2));
        }
        return;
    case 0xC0:
        if (d1 == currentProgram.load())
            return;
        selectProgram(currentBank.load(), d1, true, false);
        return;
    case 0x90:
        postChange(d2 > 0 ? codes::hostNoteOn(channel, d1, d2) : codes::hostNoteOff(channel, d1));
        return;
    case 0x80:
        postChange(codes::hostNoteOff(channel, d1));
        return;
    case 0xE0:
        postChange(codes::hostPitchBend(channel, d2, d1));
        return;
    default:
        return;
    }
}

void MidiCntrState::pruneHostQueue(int now)
{
    if (hostQueue.isEmpty())
        return;
    const int first = hostQueue.getFirstEventTime();
    const int cutoff = now - 500;
    if (cutoff > first)
        hostQueue.clear(first, cutoff - first);
}

void MidiCntrState::sendHostQueued(const juce::MidiMessage& m)
{
    const juce::ScopedLock sl(lock);
    const int now = relativeNow();
    hostQueue.addEvent(m, now);
    pruneHostQueue(now);
}

void MidiCntrState::queueHostController(int channel, int controller, int value)
{
    if (channel < 1 || channel > 16 || controller < 0 || controller >= 128)
        return;
    sendHostQueued(juce::MidiMessage::controllerEvent(channel, controller & 0x7f, value & 0x7f));
}

void MidiCntrState::queueHostProgramChange(int channel, int program)
{
    if (program < 0 || program >= 128)
        return;
    sendHostQueued(juce::MidiMessage::programChange(juce::jlimit(0, 15, channel - 1) + 1, program));
}

void MidiCntrState::sendPitchWheel(int channel, int value)
{
    value = juce::jlimit(0, 16383, value);
    if (channel >= 1 && channel <= 16)
        sendHostQueued(juce::MidiMessage::pitchWheel(channel, value));
    portsControl->sendPitchWheelMessage(channel, value);
}

bool MidiCntrState::drainHostQueue(juce::MidiBuffer& out, int numSamples)
{
    const juce::ScopedTryLock sl(lock);
    if (!sl.isLocked())
        return false;
    if (hostQueue.isEmpty())
        return true;

    const double first = hostQueue.getFirstEventTime();
    const double last = hostQueue.getLastEventTime();
    const double perMs = (double)numSamples / (last - first + 1.0);
    const int lastSample = juce::jmax(0, numSamples - 1);
    for (const auto meta : hostQueue)
    {
        const int pos = juce::jlimit(0, lastSample, (int)std::lround((meta.samplePosition - first) * perMs));
        out.addEvent(meta.data, meta.numBytes, pos);
    }
    hostQueue.clear();
    return true;
}

void MidiCntrState::clearHostQueue()
{
    const juce::ScopedLock sl(lock);
    hostQueue.clear();
}
} // namespace zentak
