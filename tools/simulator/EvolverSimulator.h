// EvolverSimulator: a software model of the instrument's side of the SysEx protocol, offered as the
// MIDI device "Evolver Simulator". It keeps four banks of 128 named programs, the edit buffer, the 16
// main parameters and three combo banks; it answers requests, applies edits and stores programs and
// names as the instrument does, and can emit panel edits, bank selects and program changes.
//
// Threads: receive() may be called from any thread (our sender thread in practice); answers and panel
// messages are delivered to the connected input callback on the simulator's own thread, in order, at
// the configured wire speed (instant, or 3125 bytes per second as on a 31250 baud DIN cable). The
// model's state is guarded by its own lock; the accessors may be called from any thread.
#pragma once

#include <juce_audio_devices/juce_audio_devices.h>

#include <array>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

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
    /** Delivers every SysEx answer in pieces of this many bytes (0: whole), as some drivers do. */
    void setSysexPieceSize(int bytes);
    /** The next answer is lost on the cable. */
    void dropNextAnswer();
    /** The next answer arrives with one byte missing from its middle. */
    void corruptNextAnswer();
    void setChannel(int channel1to16);

    // Panel --------------------------------------------------------------------------------------
    void panelEdit(int param, int value);        // command 0x01
    void panelStepEdit(int step, int value);     // command 0x08
    void panelSelectProgram(int bank, int slot); // bank select (controller 32) and program change

    // Model --------------------------------------------------------------------------------------
    std::array<std::uint8_t, 208> program(int bank, int slot) const;
    void setProgram(int bank, int slot, const std::uint8_t* bytes192, const juce::String& name);
    juce::String programName(int bank, int slot) const;
    std::array<std::uint8_t, 192> editBuffer() const;
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
    double nowMs() const;

    mutable std::mutex modelLock;
    std::array<std::uint8_t, 4 * 128 * 208> banks{};
    std::array<std::uint8_t, 192> edit{};
    std::array<std::uint8_t, 16> mainParams{};
    std::array<std::uint8_t, 3 * 128 * 80> combos{};
    int channel = 1;
    int selectedBank = 0;

    mutable std::mutex queueLock;
    double lateSum = 0.0;
    std::atomic<double> answerArrivedAt{0.0}, turnaroundSum{0.0};
    std::condition_variable wake;
    std::deque<Pending> queue;
    double toSimFreeAt = 0.0, fromSimFreeAt = 0.0;
    int bytesPerSecond = 0;
    int pieceSize = 0;
    bool dropNext = false, corruptNext = false;
    bool quit = false;
    int busy = 0;

    std::mutex callbackLock;
    juce::MidiInputCallback* input = nullptr;

    mutable std::mutex logLock;
    std::vector<std::vector<std::uint8_t>> log;
    std::atomic<int> answeredCount{0};
    std::atomic<std::int64_t> wireBytes{0};
    const double startMs;
    std::thread worker;
};

} // namespace zentak
