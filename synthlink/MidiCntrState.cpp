#include "MidiCntrState.h"

#include "SettingsFiles.h"
#include "SystemMidiDevices.h"

#include <cstring>

namespace zentak
{
/** Wakes the listeners on the message thread for codes posted from other threads. */
class MidiCntrState::WakePump : public juce::Timer
{
public:
    explicit WakePump(MidiCntrState& s) : state(s) { startTimer(10); }
    ~WakePump() override { stopTimer(); }
    void timerCallback() override { state.deliverPendingWakes(); }

private:
    MidiCntrState& state;
};

namespace
{
bool onMessageThread()
{
    auto* mm = juce::MessageManager::getInstanceWithoutCreating();
    return mm != nullptr && mm->isThisTheMessageThread();
}
} // namespace

MidiCntrState::MidiCntrState(MidiCntrStateOptions options)
    : folder(options.settingsFolder != juce::File()
                 ? options.settingsFolder
                 : juce::File::getSpecialLocation(juce::File::userApplicationDataDirectory)
                       .getChildFile("PlugSettings")),
      clock(options.clock
                ? std::move(options.clock)
                : std::function<juce::uint32()>([] { return juce::Time::getMillisecondCounter(); })),
      useFiles(options.useFiles)
{
    clockBase = clock();
    hostQueue.ensureSize(8192);

    loadSettings();
    const int channel = settings[settingsfiles::channelField].getIntValue();
    if (channel < 1 || channel > 16 || !settings[settingsfiles::channelField].containsOnly("0123456789"))
    {
        instrumentChannel.store(1);
        settings.getReference(settingsfiles::channelField) = "1";
    }
    else
    {
        instrumentChannel.store(channel);
    }
    for (int i = 0; i < 32; ++i)
        settings.add("0");

    params::fillTables(paramMinimum, paramMaximum, paramDisplayKind);

    const char letters[] = "ABCD";
    for (int b = 0; b < 4; ++b)
        programBanks[(size_t)b] = std::make_unique<Bank_Program>(juce::String("Program Bank ") + letters[b]);
    for (int c = 0; c < 3; ++c)
        comboBanks[(size_t)c] = std::make_unique<Bank_Combo>(juce::String("Combo Bank ") + letters[c]);
    waves = std::make_unique<WaveBank>();
    loadLibrary();

    hostProgramBank = std::make_unique<Bank_Program>("Program Bank");
    hostProgramBank->initialise();

    for (auto& v : instrumentValue)
        v.store(0);

    portsControl = std::make_unique<MIDI_PORTS_Control>(
        options.devices != nullptr ? options.devices : std::make_shared<SystemMidiDevices>());
    openSavedPorts();

    for (auto& g : gestureOpen)
        g.store(0);

    wakePump = std::make_unique<WakePump>(*this);
}

MidiCntrState::~MidiCntrState()
{
    stopTimer();
    wakePump.reset();
    // No instrument message may change the banks while they are being saved.
    portsControl->closeInput();
    saveSettings();
    saveLibrary();
    portsControl.reset();
}

// Listeners --------------------------------------------------------------------------------------

void MidiCntrState::addListener(MidiCntrStateListener* listener)
{
    const juce::ScopedLock sl(lock);
    listeners.addIfNotAlreadyThere(listener);
    numListeners.store(listeners.size());
}

void MidiCntrState::removeListener(MidiCntrStateListener* listener)
{
    const juce::ScopedLock sl(lock);
    listeners.removeAllInstancesOf(listener);
    numListeners.store(listeners.size());
    if (listeners.isEmpty())
        pendingCodes.takeAll();
}

void MidiCntrState::postChange(int code)
{
    // Codes are kept for a listener only: with the window closed nobody takes them, and the main
    // component rebuilds itself from the state when it opens.
    if (numListeners.load() == 0)
        return;
    pendingCodes.push(code);
    if (onMessageThread())
    {
        wakePending.store(false);
        wakeListeners();
    }
    else
    {
        wakePending.store(true);
    }
}

void MidiCntrState::deliverPendingWakes()
{
    if (wakePending.exchange(false))
        wakeListeners();
}

void MidiCntrState::wakeListeners()
{
    juce::Array<MidiCntrStateListener*> copy;
    {
        const juce::ScopedLock sl(lock);
        copy = listeners;
    }
    for (int i = copy.size(); --i >= 0;)
        copy.getUnchecked(i)->midiCntrStateChanged(this);
}

// Programs ---------------------------------------------------------------------------------------

void MidiCntrState::selectProgram(int bank, int slot, bool toSynth, bool toHost)
{
    if (bank < 0 || bank > 3 || slot < 0 || slot > 127)
        return;
    currentBank.store(bank);
    currentProgram.store(slot);
    hostProgramBank->setEdit(programBanks[(size_t)bank]->slotData(slot), (size_t)Bank_Program::slotSize);
    postChange(CS_EDIT_BUFFER_LOADED);

    if (toHost)
    {
        queueHostController(hostChannel, 32, bank);
        queueHostProgramChange(hostChannel, slot);
    }
    if (toSynth)
    {
        const int ch = instrumentChannel.load();
        portsControl->sendController(ch, 32, bank);
        portsControl->sendProgramChange(ch, slot);
    }
}

void MidiCntrState::loadHostProgram()
{
    hostProgramBank->copySlotToEdit(juce::jlimit(0, 127, currentHostProgram.load()));
    postChange(CS_EDIT_BUFFER_LOADED);
}

void MidiCntrState::storeProgram(bool intoBank, int bank, int slot, const juce::MemoryBlock& record)
{
    if (intoBank)
    {
        auto* target = programBank(bank);
        if (target == nullptr || slot < 0 || slot > 127)
            return;
        target->setSlot(slot, record);
        postChange(CS_PROGRAM_STORED);
    }
    else
    {
        hostProgramBank->setEdit(record);
    }
    postChange(CS_EDIT_BUFFER_LOADED);
}

void MidiCntrState::checkConnection()
{
    onLine.store(false);
    postChange(CS_SYNTH_OFFLINE);
    sendRequest(14, 0, 0);
}

// Host notifications -----------------------------------------------------------------------------

void MidiCntrState::notifyHostValue(int index, int value)
{
    if (index < 0 || index >= params::numProgramParams)
        return;
    const int maximum = paramMaximum[index];
    parameterValueRelay.addValue(index, maximum > 0 ? (float)value / (float)maximum : 0.0f);
}

void MidiCntrState::beginHostGesture(int index)
{
    if (index >= 0 && index < params::numProgramParams)
        gestureBeginRelayComp.addIndex(index);
}

void MidiCntrState::endHostGesture(int index)
{
    if (index >= 0 && index < params::numProgramParams)
        gestureEndRelayComp.addIndex(index);
}

void MidiCntrState::parameterTouched(int index)
{
    if (index < 0 || index >= params::numProgramParams)
        return;
    if (gestureOpen[(size_t)index].exchange(1) == 0)
    {
        beginHostGesture(index);
        touchedParameters.push(index);
    }
    startTimer(1000);
}

void MidiCntrState::timerCallback()
{
    stopTimer();
    int index = 0;
    while (touchedParameters.pop(index))
    {
        gestureOpen[(size_t)index].store(0);
        endHostGesture(index);
    }
}

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
