// EvolverSimulator: the instrument's side of the SysEx protocol as the MIDI device "Evolver Simulator";
// any thread calls it, and it answers on its own thread.
//
// A software model of the instrument: four banks of 128 named programs, the edit buffer, the 16 main
// parameters and three combo banks. It answers requests, applies edits and stores programs and names
// as the instrument does, and can emit panel edits, bank selects and program changes. Every message
// it sends or reads goes through its own codec (SimulatorCodec), never the product's.
//
// Besides the plain answers it can send what real instruments and MIDI stacks deliver: the second
// program-dump form (0x0A), the 0x37 combo form and the 98-byte combo edit form, names padded with
// 0x7F, a device-inquiry reply, real-time bytes inside a SysEx, SysEx in driver-sized pieces, and the
// framework's own delivery (partial-SysEx reports, then the whole message).
//
// Threads: receive() may be called from any thread (our sender thread in practice); answers and panel
// messages are delivered to the connected input callback on the simulator's own thread, in order, at
// the configured wire speed (instant, or 3125 bytes per second as on a 31250 baud DIN cable). The
// model's state is guarded by its own lock; the accessors may be called from any thread.
//
// Its rooms: EvolverSimulatorProtocol.cpp (what it does with each message and what it sends of its
// own accord), EvolverSimulatorMemory.cpp (banks, edit buffer, main parameters, combos) and
// EvolverSimulatorCable.cpp (wiring, timing on the cable, drivers' ways of delivering, the monitor).
#pragma once

#include "SimulatorCodec.h"

#include <juce_audio_devices/juce_audio_devices.h>

#include <array>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <thread>

namespace juce
{
class MidiDataConcatenator;
}

namespace zentak
{

class EvolverSimulator
{
public:
    static constexpr int dinBytesPerSecond = 3125;

    EvolverSimulator();
    ~EvolverSimulator();

    // Wiring -------------------------------------------------------------------------------------
    /** Where answers go (nullptr: nowhere). Blocks until no delivery is in progress. */
    void connectInput(juce::MidiInputCallback* callback);
    /** A message arriving on the simulator's MIDI in (from our output). */
    void receive(const juce::MidiMessage& message);

    // Behaviour ----------------------------------------------------------------------------------
    /** 0 for instant delivery, otherwise bytes per second on each direction of the cable. */
    void setWireSpeed(int bytesPerSecond);
    /** Delivers every SysEx answer in pieces of this many bytes (0: whole), as some drivers do: each
        piece is one handleIncomingMidiMessage call. */
    void setSysexPieceSize(int bytes);
    /** Delivers everything as the framework's MIDI input does (0: off): the bytes are read from the
        cable in reads of this many bytes and handed to JUCE's own MidiDataConcatenator, which reports
        an unfinished SysEx through handlePartialSysexMessage after each read, real-time bytes as
        messages of their own, and then the whole SysEx through handleIncomingMidiMessage. */
    void setFrameworkDelivery(int readBytes);
    /** Every SysEx it sends carries a real-time byte after each 50 bytes, clock (F8) and active
        sensing (FE) in turn, as a sender that interleaves its clock with a long dump. */
    void setRealTimeInsideSysex(bool on);
    /** Program dumps go out with command 0x0A (the second form) instead of 0x02 and 0x03. */
    void setSecondProgramForm(bool on);
    /** The command of combo dumps: 0x22 (as it starts) or 0x37. */
    void setComboCommand(std::uint8_t command);
    /** Names go out with their trailing spaces sent as 0x7F; a blank name is sixteen 0x7F. */
    void setNamesPaddedWith7F(bool on);
    /** The interface in front of the simulator's MIDI in holds at most this many bytes that are not
        yet on the cable (0: unlimited). A message that does not fit is lost, as a driver whose buffer
        is full loses it, and counted as an overrun. */
    void setInputBufferBytes(int bytes);
    /** After storing a program or a name into a slot the instrument is busy for this long writing its
        memory; a message arriving meanwhile is lost (counted, see lostWhileStoring). 0: stores are
        instant. */
    void setStoreTimeMs(int ms);
    /** Every message it sends leaves this many milliseconds later, as an instrument busy with
        something else answers late (0: at once). */
    void setAnswerDelayMs(int ms) { answerDelayMs.store(ms); }
    /** The next answer is lost on the cable (called n times: the next n answers). */
    void dropNextAnswer();
    /** The next answer arrives with one byte missing from its middle. */
    void corruptNextAnswer();
    /** The next answer to a program request for (bank, slot) arrives with one byte missing. */
    void corruptAnswerFor(int bank, int slot);
    void setChannel(int channel1to16);

    // Panel --------------------------------------------------------------------------------------
    void panelEdit(int param, int value);        // command 0x01
    void panelStepEdit(int step, int value);     // command 0x08
    void panelSelectProgram(int bank, int slot); // bank select (controller 32) and program change

    // Unsolicited messages -----------------------------------------------------------------------
    /** Program (bank, slot) as a dump naming its slot (228 bytes); command 0x02, 0x03 or 0x0A. */
    void sendProgram(std::uint8_t command, int bank, int slot);
    /** The edit buffer as an edit dump (226 bytes). */
    void sendEditBuffer(std::uint8_t command);
    /** Combo (bank, slot) as a dump naming its slot (100 bytes), or in the edit form (98 bytes) as
        the combo being played; command 0x22 or 0x37. */
    void sendCombo(std::uint8_t command, int bank, int slot, bool editForm);
    /** The name message of program (bank, slot), padded as setNamesPaddedWith7F says. */
    void sendName(int bank, int slot);
    /** The Universal device-inquiry reply, F0 7E <device> 06 02 ... F7. */
    void sendDeviceInquiryReply();
    /** Any bytes, as the instrument would send them. */
    void sendRaw(std::vector<std::uint8_t> bytes);

    // Model --------------------------------------------------------------------------------------
    std::array<std::uint8_t, 208> program(int bank, int slot) const;
    void setProgram(int bank, int slot, const std::uint8_t* bytes192, const juce::String& name);
    juce::String programName(int bank, int slot) const;
    std::array<std::uint8_t, 192> editBuffer() const;
    void setEditBuffer(const std::uint8_t* bytes192);
    int mainParameter(int index) const;
    void setMainParameter(int index, int value);
    std::array<std::uint8_t, 80> combo(int bank, int slot) const;

    /** Requests answered so far, and bytes sent and received on the cable. */
    int answered() const { return answeredCount.load(); }
    std::int64_t bytesOnWire() const { return wireBytes.load(); }
    /** Blocks until everything received so far has been handled and delivered. */
    void waitUntilIdle();
    /** Summed time between an answer fully arriving at the other side and that side's next message:
        the other side's software share of the round trips. */
    double turnaroundMs() const;
    /** Summed time by which deliveries missed their byte time on the cable (the simulator's own
        scheduling error). */
    double lateMs() const;
    /** Every message that reached the simulator, in order (its MIDI monitor). */
    std::vector<std::vector<std::uint8_t>> received() const;
    size_t receivedCount() const;
    /** When each message of received() was taken in, on clockMs(). */
    std::vector<double> receivedAtMs() const;
    /** The simulator's clock: milliseconds since it was built. */
    double clockMs() const { return nowMs(); }
    /** Messages lost to a full input buffer, and the most bytes that buffer ever held. */
    int overruns() const { return overrunCount.load(); }
    double maxInputBacklogBytes() const;
    /** Messages that arrived while a store was being written, and were lost. */
    int lostWhileStoring() const { return lostStoring.load(); }

private:
    struct Pending
    {
        std::vector<std::uint8_t> bytes;
        double dueMs; // delivery time on the cable's clock
        bool fromUs;  // true: a message travelling to the simulator
    };

    void run();
    void handle(const std::vector<std::uint8_t>& m);
    void answer(std::vector<std::uint8_t> m, bool isAnswer = true);
    void schedule(std::vector<std::uint8_t> m, bool fromUs);
    void deliver(const std::vector<std::uint8_t>& m);
    std::vector<std::uint8_t> inquiryReply() const;
    /** Program (bank, slot), or the edit buffer for bank < 0, in the form the options choose. */
    std::vector<std::uint8_t> programDump(std::uint8_t command, int bank, int slot) const;
    /** Combo (bank, slot); the command the options choose when none is given. */
    std::vector<std::uint8_t> comboDump(std::optional<std::uint8_t> command, int bank, int slot,
                                        bool editForm) const;
    std::vector<std::uint8_t> nameAnswer(int bank, int slot) const;
    double nowMs() const;

    mutable std::mutex modelLock;
    std::array<std::uint8_t, 4 * 128 * 208> banks{};
    std::array<std::uint8_t, 192> edit{};
    std::array<std::uint8_t, 16> mainParams{};
    std::array<std::uint8_t, 3 * 128 * 80> combos{};
    int channel = 1;
    int selectedBank = 0;
    bool secondProgramForm = false;
    std::uint8_t comboCommand = 0x22;
    bool namesPadded = false;

    mutable std::mutex queueLock;
    double lateSum = 0.0;
    std::atomic<double> answerArrivedAt{0.0}, turnaroundSum{0.0};
    std::condition_variable wake;
    std::deque<Pending> queue;
    double toSimFreeAt = 0.0, fromSimFreeAt = 0.0;
    int bytesPerSecond = 0;
    int pieceSize = 0;
    int frameworkReadSize = 0;
    bool realTimeInside = false;
    int dropNext = 0;
    bool corruptNext = false;
    int corruptBank = -1, corruptSlot = -1;
    int inputBufferBytes = 0;
    double maxBacklog = 0.0;
    std::atomic<int> overrunCount{0};
    std::atomic<int> storeTimeMs{0};
    std::atomic<int> answerDelayMs{0};
    double busyUntil = 0.0; // worker thread only
    std::atomic<int> lostStoring{0};
    bool quit = false;
    int busy = 0;

    std::mutex callbackLock;
    juce::MidiInputCallback* input = nullptr;
    std::unique_ptr<juce::MidiDataConcatenator> concatenator; // the framework's own reassembly

    mutable std::mutex logLock;
    std::vector<std::vector<std::uint8_t>> log;
    std::vector<double> logTimes;
    std::atomic<int> answeredCount{0};
    std::atomic<std::int64_t> wireBytes{0};
    const double startMs;
    std::thread worker;
};

} // namespace zentak
