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
      readLibraryFile(options.readLibraryFile ? std::move(options.readLibraryFile)
                                              : std::function<bool(const juce::File&, juce::MemoryBlock&)>(
                                                    [](const juce::File& f, juce::MemoryBlock& data) {
                                                        return settingsfiles::readWholeFile(f, data, 1 << 24);
                                                    })),
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

    touchedParameters.reserve(params::tableSize);
    relay.addChangeListener(this);

    portsControl = std::make_unique<MIDI_PORTS_Control>(
        options.devices != nullptr ? options.devices : std::make_shared<SystemMidiDevices>(),
        options.cableBytesPerSecond);
    openSavedPorts();

    wakePump = std::make_unique<WakePump>(*this);
}

MidiCntrState::~MidiCntrState()
{
    // The input goes first: no instrument message may change the banks while they are being saved,
    // and none can queue host work after the timer and the relay have stopped.
    portsControl->closeInput();
    joinSendJob();
    stopTimer();
    wakePump.reset();
    relay.removeChangeListener(this);
    hostNotifier = nullptr;
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
    if (!pendingCodes.push(code))
    {
        codesOverflowed.store(true);
        codeOverflowCount.fetch_add(1);
    }
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

std::vector<int> MidiCntrState::takePendingCodes()
{
    auto codes = pendingCodes.takeAll();
    if (codesOverflowed.exchange(false))
    {
        // Whatever was lost, the window shows the whole state again.
        codes.push_back(CS_EDIT_BUFFER_LOADED);
        codes.push_back(CS_NAMES_STORED);
    }
    return codes;
}

void MidiCntrState::deliverPendingWakes()
{
    if (editReplacedPending.exchange(false) && hostNotifier != nullptr)
        hostNotifier->hostValuesReplaced();
    if (wakePending.exchange(false))
        wakeListeners();
}

void MidiCntrState::addNotice(const juce::String& text)
{
    {
        const juce::ScopedLock sl(noticeLock);
        notices.add(text);
    }
    postChange(CS_NOTICE);
}

juce::StringArray MidiCntrState::takeNotices()
{
    const juce::ScopedLock sl(noticeLock);
    auto taken = notices;
    notices.clear();
    return taken;
}

void MidiCntrState::editRecordReplaced(int code)
{
    editReplacedPending.store(true);
    postChange(code);
}

void MidiCntrState::markEditRestored()
{
    restoredEditAt.store(relativeNow());
    restoredEditPending.store(true);
}

bool MidiCntrState::keepsRestoredEdit(int program)
{
    // The host's own re-selection follows the restore at once; two seconds leave room for a slow
    // host while a deliberate choice of the same program later still loads it.
    if (!restoredEditPending.exchange(false))
        return false;
    return program == currentHostProgram.load() && relativeNow() - restoredEditAt.load() <= 2000;
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
    std::uint8_t record[Bank_Program::slotSize];
    programBanks[(size_t)bank]->copySlot(slot, record);
    hostProgramBank->setEdit(record, sizeof(record));
    editRecordReplaced();

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
    editRecordReplaced();
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
        postChange(CS_EDIT_BUFFER_LOADED);
        return;
    }
    hostProgramBank->setEdit(record);
    editRecordReplaced();
}

void MidiCntrState::checkConnection()
{
    onLine.store(false);
    postChange(CS_SYNTH_OFFLINE);
    sendRequest(14, 0, 0);
}

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
