// MidiCntrState: the controller state at the centre of the system. It owns the MIDI ports to the
// instrument, the sound library (program, combo and wave banks, the host program bank with the edit
// record), the parameter tables, the settings, the queue of MIDI for the host and the relays that
// carry host notifications to the message thread, and announces every change as a notification code.
//
// Threads: constructed and destroyed on the message thread. The instrument's MIDI-input thread runs
// the MidiInputCallback side; the audio thread calls handleHostMidi, drainHostQueue and, through the
// processor, writes edit bytes; the send job (a program write or bank transmit and its read-back) runs
// on a thread of its own; everything else is the message thread's. Paths reachable from the audio
// thread (postChange, handleHostMidi, selectProgram, the parameter sends) neither allocate nor wait.
//
// One class in several rooms, each file opening with its job and its threads:
//   MidiCntrState.cpp          construction, teardown, listeners, notification codes, notices
//   MidiCntrStateGestures.cpp  host gestures and the relays that carry them to the host
//   MidiCntrStatePrograms.cpp  program selection, stored records, the restored edit record
//   MidiCntrStateMessages.cpp  sends to the instrument: requests, parameter changes, notes
//   MidiCntrStateHostMidi.cpp  the host's MIDI input and the queue of MIDI for the host
//   MidiCntrStateReceive.cpp   the instrument's MIDI input and the request chains of a bank receive
//   MidiCntrStateSend.cpp      the edit record, program writes and the recall sent to the instrument
//   MidiCntrStateSendJob.cpp   the send job: writes and transmits, their read-back and report
//   MidiCntrStateFiles.cpp     settings, port settings, the library file, opening the ports
#pragma once

#include "HandlerComp.h"
#include "HostNotifier.h"
#include "LockFreeQueue.h"
#include "MIDI_PORTS_Control.h"
#include "MidiCntrStateListener.h"
#include "MidiCntrStateOptions.h"
#include "NotificationCodes.h"
#include "RequestBook.h"
#include "SendReport.h"
#include "SysexAssembler.h"
#include "library/Bank_Combo.h"
#include "library/Bank_Program.h"
#include "library/WaveBank.h"
#include "sounddata/GlobalRecord.h"
#include "sounddata/ParamCatalogue.h"

#include <juce_audio_devices/juce_audio_devices.h>
#include <juce_events/juce_events.h>

#include <array>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

namespace zentak
{

class MidiCntrState : public juce::MidiInputCallback, private juce::Timer, private juce::ChangeListener
{
public:
    explicit MidiCntrState(MidiCntrStateOptions options = {});
    ~MidiCntrState() override;

    // Listeners and notification codes ---------------------------------------------------------
    void addListener(MidiCntrStateListener* listener);
    void removeListener(MidiCntrStateListener* listener);
    /** Appends a code (any thread, never blocks) and wakes the listeners on the message thread. */
    void postChange(int code);
    /** Takes every pending code in append order and empties the list (message thread). When codes
        were lost because the list was full, a full refresh (CS_EDIT_BUFFER_LOADED, CS_NAMES_STORED)
        closes the list instead. */
    std::vector<int> takePendingCodes();
    /** Wakes the listeners now if codes were posted off the message thread, and tells the host when
        the edit record was replaced (message thread). */
    void deliverPendingWakes();
    /** Codes lost to a full list, and host relay entries lost to a full relay, since construction. */
    int codeOverflows() const { return codeOverflowCount.load(); }
    int relayOverflows() const { return relayOverflowCount.load(); }

    // User notices: things the user should know (a library file set aside, a failed write). Any
    // thread appends; the window takes them (message thread). CS_NOTICE announces each.
    // A notice about the user's data (a library set aside, merged or not saved) is also kept on disk
    // until a window has taken it, so an instance that never opens its window (a host's scan, an
    // offline render, a second instance) cannot drop it: the next start shows it again.
    void addNotice(const juce::String& text, bool aboutUserData = false);
    juce::StringArray takeNotices();

    // Programs ---------------------------------------------------------------------------------
    void selectProgram(int bank, int slot, bool toSynth, bool toHost);
    void loadHostProgram();
    void storeProgram(bool intoBank, int bank, int slot, const juce::MemoryBlock& record);
    void checkConnection();

    // Host notifications -------------------------------------------------------------------------
    // Every gesture on a parameter belongs to whoever opened it, the screen or the instrument. The
    // host sees one begin when the first owner opens and one end when the last owner closes, and
    // every value inside an open gesture. The screen's calls (message thread) are delivered at once,
    // after whatever the instrument queued before them; the instrument's edits travel through the
    // ordered relay.
    void setHostNotifier(HostNotifier* notifier) { hostNotifier = notifier; }
    /** Screen: a new byte for parameter index (a value with no open gesture gets one of its own). */
    void notifyHostValue(int index, int value);
    void beginHostGesture(int index);
    void endHostGesture(int index);
    /** The instrument opens (or keeps open) its gesture on index (message thread). */
    void parameterTouched(int index);
    /** Closes the gestures opened by instrument edits (the 1000 ms gesture timer; message thread). */
    void timerCallback() override;
    bool isGestureTimerRunning() const { return isTimerRunning(); }
    int gestureTimerInterval() const { return getTimerInterval(); }
    /** Hands everything in the relay to the host, in order (message thread). */
    void deliverHostEvents();
    HandlerComp& hostRelay() { return relay; }
    bool screenOwnsGesture(int index) const { return ownerBits(index) & screenOwner; }
    bool instrumentOwnsGesture(int index) const { return ownerBits(index) & instrumentOwner; }
    /** True when value is one the instrument itself sent for index during its open gesture: a host
        playing that value back must not send it to the instrument again (any thread). */
    bool isInstrumentEcho(int index, int value) const;

    // Restored edit record: a host re-selecting the current program after restoring a project keeps
    // the restored sound instead of reloading the slot over it, however late the re-selection comes,
    // until the sound is edited or another program or sound is loaded.
    void markEditRestored();
    /** True when program is the current host program and the restored edit record still stands. */
    bool keepsRestoredEdit(int program);
    void forgetRestoredEdit() { restoredEditPending.store(false); }
    /** Announces that the edit record was replaced as a whole: posts code and tells the host. */
    void editRecordReplaced(int code = CS_EDIT_BUFFER_LOADED);

    // Sends to the instrument (skipped while the output is closed) --------------------------------
    /** A request (never from the audio thread: it may go out on the calling thread). */
    void sendRequest(int kind, int bank, int slot);
    void sendSysexBody(const void* body, size_t size);
    void sendParameterChange(int index, int value);
    void sendSequencerStepChange(int step, int value);
    void sendMainParameterChange(int index, int value);
    void sendNoteOn(int channel, int note, int velocity);
    void sendNoteOff(int channel, int note);
    /** The on-screen keyboard's wheels: to the instrument only, never queued for the host. */
    void sendInstrumentPitchWheel(int channel, int value);
    void sendInstrumentController(int channel, int controller, int value);

    // Host MIDI -----------------------------------------------------------------------------------
    /** One event of the host's MIDI input (audio thread, allocation-free). */
    void handleHostMidi(const juce::uint8* data, int size);
    void handleHostMidi(const juce::MidiMessage& m) { handleHostMidi(m.getRawData(), m.getRawDataSize()); }
    void queueHostController(int channel, int controller, int value);
    void queueHostProgramChange(int channel, int program);
    void sendPitchWheel(int channel, int value);
    /** Audio thread: moves the host-output queue into a block of numSamples. Returns false, leaving
        the queue for the next block, if a sender holds the lock at this moment. */
    bool drainHostQueue(juce::MidiBuffer& out, int numSamples);
    /** Empties the host-output queue (prepareToPlay, releaseResources). */
    void clearHostQueue();
    juce::uint32 nowMs() const { return clock(); }

    // MIDI input from the instrument (MIDI-input thread) ------------------------------------------
    void handleIncomingMidiMessage(juce::MidiInput* source, const juce::MidiMessage& message) override;
    void handlePartialSysexMessage(juce::MidiInput* source, const juce::uint8* data, int size,
                                   double time) override;
    /** One whole SysEx message from the instrument. */
    void handleSysex(const juce::uint8* message, size_t size);

    // Bank transfers ----------------------------------------------------------------------------
    /** kind 0 receives program bank `bank`, 7 all four banks (message thread). Kind 100 transmits
        program bank `bank` to the instrument and 107 all four banks: each slot as its program dump
        (0x02) and name (0x11), paced to the cable, with transmitGapMs() after each of them for the
        instrument to store it; CS_TRANSFER_PROGRESS per slot sent, then (verify on) the slots are read
        back with CS_TRANSFER_VERIFYING, CS_TRANSFER_PROGRESS per slot read and CS_TRANSFER_MISMATCH per
        slot that differs; CS_TRANSFER_DONE and a notice with the outcome at the end (lastSendReport()
        has the details). The library's banks are only read. While a write or another transfer runs,
        a transmit is not started: a notice says so (and CS_TRANSFER_DONE follows unless a transfer is
        running, so a progress box opened for it closes). */
    void startTransfer(int kind, int bank);
    /** A transmit (kind 100 or 107) that first keeps the instrument's current four banks: they are
        received into a data-image file of their own in the settings folder ("Before transmit
        2026-12-11 14.05.evl"; combos and wave shapes in it are the library's), then the transmit
        starts. A failed or cancelled receive sends nothing. Message thread. */
    void startTransmitKeepingBanks(int kind, int bank);
    /** The file the last kept banks went to (message thread). */
    juce::File keptBanksFile() const { return keptBanks; }
    /** Ends a receive, or cancels a transmit after the message in hand (CANCEL; message thread). */
    void endTransfer();

    // Sending programs to the instrument (message thread) ------------------------------------------
    /** Kind of the report of a program write (writeProgram). */
    static constexpr int writeKind = 200;
    /** Send -> "Current Preset": the edit record to the instrument's edit buffer (0x03, 226 bytes).
        False when no output is open or the send queue was full (notSentReason() says which). */
    bool sendEditRecord();
    /** Why the last refused send was refused: "no MIDI output is open" or "the send queue is full". */
    juce::String notSentReason() const;
    /** Asks for the edit record to be sent from the message thread (any thread, the audio thread
        included: no allocation). After a host program change the instrument plays what the screen
        shows. */
    void sendEditRecordSoon() { editSendPending.store(true); }
    /** Send -> "FX Bank Preset": loads the current host program into the edit record and sends it. */
    bool sendHostProgram();
    /** WRITE: stores the edit record under `name` (cut or padded to 16 characters; characters that a
        name message cannot carry become spaces) into program bank `bank` (0..3), slot `slot` (0..127):
        the library's slot gets the same 208 bytes, the edit record the name, (bank, slot) becomes the
        current program, and CS_PROGRAM_STORED, CS_NAMES_STORED, CS_EDIT_NAME_CHANGED are posted at once.
        Then the instrument's slot is written (0x02 dump naming the slot, 0x11 name) and, with verify,
        read back and compared. The outcome arrives as a notice (CS_NOTICE) and in lastSendReport().
        Returns false, changing nothing, for a bad bank or slot or while a transfer or another write
        runs; with no output open the library is still written and the notice says the instrument was
        not. */
    bool writeProgram(int bank, int slot, const juce::String& name, bool verify = true);
    /** True while a write or a transmit is sending or reading back. */
    bool isSending() const { return sending.load(); }
    SendReport lastSendReport() const;

    /** The edit record a host project just restored goes to the instrument's edit buffer, now if the
        output is open, otherwise as soon as it opens ("Send sound when project opens"). */
    void recallRestoredEdit();

    // Send settings (message thread; kept in the settings file) -------------------------------------
    /** Pause after each program dump and name of a transmit or write, for the instrument to store it. */
    int transmitGapMs() const;
    void setTransmitGapMs(int ms);
    /** Read back and compare after a bank transmit (the MIDI menu's verify option). */
    bool verifyTransmit() const;
    void setVerifyTransmit(bool on);
    /** "Send sound when project opens". */
    bool sendSoundOnProjectOpen() const;
    void setSendSoundOnProjectOpen(bool on);

    // Ports and files (message thread) ----------------------------------------------------------
    juce::StringArray inputDeviceNames() { return portsControl->devices().inputNames(); }
    juce::StringArray outputDeviceNames() { return portsControl->devices().outputNames(); }
    /** k = 0: no port; 1 <= k <= number of devices: device k - 1. Sets the port name and opens. */
    void selectInputPort(int k);
    void selectOutputPort(int k);
    void openInputPort(int k);
    void openOutputPort(int k);
    void loadPortSettings();
    void savePortSettings();
    void loadSettings();
    void saveSettings();
    /** Fills the banks from the data image file, or from factory set 1. A file that exists but cannot
        be read or has the wrong size is moved aside intact to a numbered backup, and the user told. */
    void loadLibrary();
    /** Writes the library when this instance changed it since it was loaded. When another instance
        saved the file meanwhile, the two are merged slot by slot: slots changed here are written,
        every other slot keeps what is on disk; a slot changed in both keeps this instance's version
        and the other's file is kept whole as a numbered backup. Returns false when writing failed. */
    bool saveLibrary();
    /** Replaces the library with a backup file, all or nothing: a file that is not a 145408-byte image
        changes nothing. The library file it replaces is kept as a numbered backup first. The outcome
        is a notice. False when nothing changed. */
    bool restoreLibraryFromBackup(const juce::File& backup);
    /** The backup a start set aside as unusable, while no newer library was saved (else empty). */
    juce::File setAsideLibrary() const;
    /** "the simulator" when the simulator is the chosen output, otherwise "the instrument". */
    juce::String instrumentWord() const;
    bool simulatorChosen() const { return simulatorOutput.load(); }
    /** True when the banks differ from what was loaded or last saved. */
    bool libraryChanged() const { return buildDataImage() != libraryBase; }
    juce::MemoryBlock buildDataImage() const;
    /** Banks and wave shapes from a data image, or from factory set 1 when it is not 145408 bytes. */
    void fillBanks(const juce::MemoryBlock& image);

    // Editor commands -----------------------------------------------------------------------------
    void addEditorCommand(juce::uint8 command) { editorCommands.push(command); }
    std::vector<juce::uint8> takeEditorCommands() { return editorCommands.takeAll(); }

    // Banks ---------------------------------------------------------------------------------------
    Bank_Program& hostBank() { return *hostProgramBank; }
    Bank_Program* programBank(int b) { return b >= 0 && b < 4 ? programBanks[(size_t)b].get() : nullptr; }
    Bank_Combo* comboBank(int c) { return c >= 0 && c < 3 ? comboBanks[(size_t)c].get() : nullptr; }
    WaveBank& waveBank() { return *waves; }
    std::uint8_t editByte(int i) const { return hostProgramBank->editByte(i); }

    MIDI_PORTS_Control& ports() { return *portsControl; }
    const juce::File& settingsFolder() const { return folder; }

    // Tables and simple state (public like the record they describe) ------------------------------
    std::int16_t paramMinimum[params::tableSize]{};
    std::int16_t paramMaximum[params::tableSize]{};
    std::int16_t paramDisplayKind[params::tableSize]{};

    juce::StringArray portNames{"NONE", "NONE", "NONE"};
    juce::StringArray settings;
    GlobalRecord mainParameters;

    std::atomic<int> instrumentChannel{1};
    static constexpr int hostChannel = 65535;
    std::atomic<bool> transferActive{false};
    std::atomic<bool> receiveIntoBank{false};
    std::atomic<int> transferKind{-1};
    std::atomic<int> currentHostProgram{0};
    int keyboardOctave = 3;
    int keyboardVelocity = 100;
    std::atomic<bool> hostDialogOpen{false};
    std::atomic<int> currentBank{0}, currentProgram{0};
    std::atomic<int> currentComboBank{0}, currentCombo{0};
    float displayScale = 1.0f;
    bool mainWindowReady = false;
    bool firstOpen = false;
    bool useLoadedData = false;
    std::atomic<bool> onLine{false};

    /** Guards the host-output queue and the listener list. */
    juce::CriticalSection lock;

private:
    class WakePump;
    class SendJob;
    friend class SendJob;

    void sendHostQueued(const juce::MidiMessage& m);
    void openSavedPorts();
    void wakeListeners();
    void changeListenerCallback(juce::ChangeBroadcaster*) override { deliverHostEvents(); }
    void handleInstrumentEdit(int index, int value);
    void deliverHostEvent(const HandlerComp::Entry& e);
    void openGesture(int index, std::uint8_t owner);
    void closeGesture(int index, std::uint8_t owner);
    std::uint8_t ownerBits(int index) const
    {
        return index >= 0 && index < params::tableSize ? gestureOwners[(size_t)index].load() : 0;
    }
    void handleProgramDump(const juce::uint8* m, size_t size, int command);
    void handleProgramName(const juce::uint8* m, size_t size);
    void handleComboDump(const juce::uint8* m, size_t size);
    void pruneHostQueue(int now);
    void startSendJob(int kind, std::vector<int> slots, bool verify);
    void joinSendJob();
    /** CANCEL of a running transmit (a write runs on). */
    void cancelTransmit();
    /** A verify is waiting for an answer: takes the read-back dumps and names (MIDI-input thread). */
    bool offerVerifyAnswer(const juce::uint8* m, size_t size);
    /** Registers the request as the receive's and sends it (MIDI-input or message thread). */
    void requestForReceive(int request, int bank, int slot);
    /** The receive chain has taken the last name: the notice, then the transfer ends. */
    void finishReceive();
    /** Which slots the running receive has changed, e.g. "B:1-B:10 (sounds only, names unchanged)". */
    juce::String receiveSummary() const;
    /** Where a receive stores: the library's bank, or the kept banks before a transmit. */
    Bank_Program* receiveBank(int b)
    {
        return backupReceive.load() ? backupBanks[(size_t)b].get() : programBanks[(size_t)b].get();
    }
    /** The kept banks have arrived: written to their file, then the transmit starts (message thread). */
    void finishBackupReceive();
    void startPendingTransmit();
    void persistNotice(const juce::String& text);
    void forgetPersistedNotices(const juce::StringArray& shown);
    void sendPendingRecall();
    bool settingFlag(int field) const;
    int relativeNow() const { return (int)(clock() - clockBase); }

    juce::File folder;
    std::function<juce::uint32()> clock;
    std::function<bool(const juce::File&, juce::MemoryBlock&)> readLibraryFile;
    juce::MemoryBlock libraryBase; // the banks' image as loaded or last saved
    juce::uint32 clockBase = 0;

    LockFreeQueue<int> pendingCodes{16384};
    std::atomic<bool> codesOverflowed{false};
    std::atomic<int> codeOverflowCount{0};
    std::atomic<bool> wakePending{false};
    std::atomic<bool> editReplacedPending{false};
    std::atomic<bool> restoredEditPending{false};
    std::atomic<bool> editSendPending{false};
    std::atomic<int> lastRefusal{0}; // 1 no output, 2 queue full
    std::atomic<bool> simulatorOutput{false};
    juce::String loadedOrigin; // identity of the library file as loaded: its content hash, or "factory"
    std::unique_ptr<WakePump> wakePump;
    LockFreeQueue<juce::uint8> editorCommands{256};

    static constexpr std::uint8_t screenOwner = 1, instrumentOwner = 2;
    HandlerComp relay;
    HostNotifier* hostNotifier = nullptr;
    std::array<std::atomic<std::uint8_t>, params::tableSize> gestureOwners{};
    std::vector<int> touchedParameters; // message thread
    // Bytes the instrument sent per parameter during its open gesture, one bit per value 0..255.
    std::array<std::array<std::atomic<std::uint64_t>, 4>, params::tableSize> instrumentBytes{};
    std::atomic<bool> relayOverflowed{false};
    std::atomic<int> relayOverflowCount{0};
    std::array<std::atomic<bool>, params::tableSize> droppedInstrumentEdit{};

    juce::CriticalSection noticeLock;
    juce::StringArray notices;

    std::array<std::unique_ptr<Bank_Program>, 4> programBanks;
    std::array<std::unique_ptr<Bank_Combo>, 3> comboBanks;
    std::unique_ptr<WaveBank> waves;
    std::unique_ptr<Bank_Program> hostProgramBank;

    std::unique_ptr<MIDI_PORTS_Control> portsControl;
    bool useFiles = true;

    struct SendJobDeleter
    {
        void operator()(SendJob* job) const;
    };
    std::unique_ptr<SendJob, SendJobDeleter> sendJob;
    std::atomic<bool> sending{false};
    std::atomic<bool> verifying{false};
    std::atomic<bool> recallPending{false};
    RequestBook requests;
    std::array<std::atomic<int>, 4> receivedPrograms{}, receivedNames{}; // slots stored by the receive
    std::atomic<int> receiveFirstBank{0};
    std::atomic<bool> backupReceive{false};
    std::array<std::unique_ptr<Bank_Program>, 4> backupBanks;
    std::atomic<bool> backupDone{false};
    int pendingTransmitKind = -1, pendingTransmitBank = 0; // message thread
    juce::File keptBanks;
    mutable std::mutex reportLock;
    SendReport report;
    std::mutex answerLock; // read-back answers on their way from the MIDI-input thread to the job
    std::condition_variable answerArrived;
    std::deque<std::vector<std::uint8_t>> answers;
    SysexAssembler assembler;

    juce::MidiBuffer hostQueue;
    juce::Array<MidiCntrStateListener*> listeners;
    std::atomic<int> numListeners{0};

    JUCE_DECLARE_NON_COPYABLE(MidiCntrState)
};

} // namespace zentak
