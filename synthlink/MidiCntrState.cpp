// The controller state's construction and teardown, its listeners, the pending notification codes
// and the user notices. Constructed and destroyed on the message thread; postChange and addNotice
// from any thread.
#include "MidiCntrState.h"

#include "MessageThread.h"
#include "SettingsFiles.h"
#include "SystemMidiDevices.h"

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
    if (editSendPending.exchange(false))
        sendEditRecord();
    if (backupDone.exchange(false))
        finishBackupReceive();
    if (wakePending.exchange(false))
        wakeListeners();
}

void MidiCntrState::addNotice(const juce::String& text, bool aboutUserData)
{
    {
        const juce::ScopedLock sl(noticeLock);
        notices.add(text);
        if (aboutUserData)
            persistNotice(text);
    }
    postChange(CS_NOTICE);
}

juce::StringArray MidiCntrState::takeNotices()
{
    const juce::ScopedLock sl(noticeLock);
    auto taken = notices;
    notices.clear();
    forgetPersistedNotices(taken);
    return taken;
}

// The notices about the user's data wait in a file of their own, one a line, until a window shows
// them; several instances may add to it, and each takes out only what it showed.

void MidiCntrState::persistNotice(const juce::String& text)
{
    if (!useFiles)
        return;
    const auto file = folder.getChildFile(settingsfiles::libraryNoticeFile);
    auto lines = juce::StringArray::fromLines(file.existsAsFile() ? file.loadFileAsString() : juce::String());
    lines.removeEmptyStrings();
    lines.add(text.replaceCharacters("\r\n", "  "));
    const auto body = lines.joinIntoString("\n").toStdString();
    settingsfiles::replaceFile(file, body.data(), body.size());
}

void MidiCntrState::forgetPersistedNotices(const juce::StringArray& shown)
{
    const auto file = folder.getChildFile(settingsfiles::libraryNoticeFile);
    if (!useFiles || shown.isEmpty() || !file.existsAsFile())
        return;
    auto lines = juce::StringArray::fromLines(file.loadFileAsString());
    lines.removeEmptyStrings();
    const int before = lines.size();
    for (const auto& s : shown)
    {
        const int at = lines.indexOf(s.replaceCharacters("\r\n", "  "));
        if (at >= 0)
            lines.remove(at);
    }
    if (lines.size() == before)
        return;
    if (lines.isEmpty())
    {
        file.deleteFile();
        return;
    }
    const auto body = lines.joinIntoString("\n").toStdString();
    settingsfiles::replaceFile(file, body.data(), body.size());
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
} // namespace zentak
