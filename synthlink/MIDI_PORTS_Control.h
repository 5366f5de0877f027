// MIDI_PORTS_Control: owns the open MIDI input and output to the instrument and performs every send.
// Ports are opened and closed on the message thread. Sends may come from any thread, the audio thread
// included: each send is copied into a preallocated lock-free queue and delivered in order by the
// ports' own sender thread, which alone touches the output device. The sender keeps the output at the
// cable's byte rate (the instrument's MIDI in is a 31250 baud DIN port), and while changes of the same
// parameter wait for the cable only the last value is kept. A port change waits for the sender to
// finish the message in hand, so an output is never destroyed under a send.
#pragma once

#include "LockFreeQueue.h"
#include "MidiDevices.h"
#include "SendPacing.h"

#include <juce_audio_devices/juce_audio_devices.h>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <semaphore>
#include <thread>

namespace zentak
{

class MIDI_PORTS_Control
{
public:
    /** What became of a send. */
    enum class SendResult
    {
        queued,       // on its way to the output
        outputClosed, // no output open: nothing was sent
        queueFull     // the send queue was full: the message was dropped
    };

    /** A DIN MIDI cable: 31250 baud, ten bits per byte. */
    static constexpr int dinBytesPerSecond = 3125;

    explicit MIDI_PORTS_Control(std::shared_ptr<MidiDeviceBackend> backend,
                                int cableBytesPerSecond = dinBytesPerSecond);
    ~MIDI_PORTS_Control();

    MidiDeviceBackend& devices() { return *backend; }

    /** k = 0 closes; k >= 1 opens device k - 1. Sends still queued for the old output are dropped. */
    void openInputPort(int k, juce::MidiInputCallback* callback);
    void openOutputPort(int k);
    void closeInput();

    bool isInputOpen() const { return inputOpen.load(); }
    bool isOutputOpen() const { return outputOpen.load(); }
    int getInputIndex() const { return inputIndex.load(); }
    int getOutputIndex() const { return outputIndex.load(); }
    /** Counts output changes (opening, closing, another port). */
    std::uint32_t outputGenerationNow() const { return outputGeneration.load(); }

    // Sends: each does nothing unless the output is open. Channel 1..16.
    void sendController(int channel, int controller, int value);
    void sendNoteOn(int channel, int note, int velocity);
    void sendNoteOff(int channel, int note);
    void sendPitchWheelMessage(int channel, int value);
    void sendProgramChange(int channel, int program);
    /** One SysEx message (the whole F0 ... F7). Up to 16 bytes it neither allocates nor waits (the
        audio thread's parameter changes); longer ones are copied to the heap. Where the platform's
        output accepts them whole (ALSA drops a piece without its F7) they leave whole, elsewhere
        blocks above 256 bytes leave in 256-byte pieces. */
    SendResult sendSysex(const void* data, size_t size);
    /** The same for a caller that may wait briefly (never the audio thread): when nothing is waiting
        ahead of it and the cable is free, the message goes out on the calling thread at once, saving
        the hand-over to the sender thread. A request chain answers the instrument this way. */
    void sendSysexNow(const void* data, size_t size);

    // Tracked sends, for a sender that must know when its message has left (a program transmit):
    /** Queues a SysEx and returns its id (0: the output is closed or the queue full; why says which). */
    std::uint32_t sendSysexTracked(const void* data, size_t size, SendResult* why = nullptr);
    /** Waits until message id has been handed to the output (true) or dropped because the output
        closed or changed (false), or until stop() turns true or timeoutMs passes (false). */
    bool waitUntilHandedOver(std::uint32_t id, int timeoutMs, const std::function<bool()>& stop);
    /** Milliseconds until the cable has carried everything handed over so far. */
    double msUntilCableIdle();

    /** The cable's byte rate the output is kept to (0: unpaced). */
    void setCableRate(int bytesPerSecond);
    int cableRate();

    /** Message thread, for tests and shutdown: waits until every queued send has been delivered. */
    void waitUntilSent();
    /** Sends dropped because the queue was full. */
    size_t droppedSends() const { return queue.droppedCount(); }
    /** Changes that replaced a waiting change of the same parameter before it left. */
    std::uint64_t coalescedSends() const { return coalesced.load(); }

private:
    using Outgoing = OutgoingMessage;

    void enqueueShort(std::uint8_t b0, std::uint8_t b1, std::uint8_t b2, int size);
    bool enqueue(Outgoing& m);
    void signalSender();
    void senderLoop();
    /** Hands m to the output (outputLock held); false when it was meant for another output. */
    bool deliverLocked(const Outgoing& m);
    void reportTracked(std::uint32_t id, bool handedOver);
    static double nowMs();

    std::shared_ptr<MidiDeviceBackend> backend;
    std::unique_ptr<MidiInputDevice> input;
    std::unique_ptr<MidiOutputDevice> output;
    std::mutex outputLock; // held by the sender while delivering, by port changes and by the pacer's users
    std::atomic<int> inputIndex{-1}, outputIndex{-1};
    std::atomic<bool> inputOpen{false}, outputOpen{false};
    // Counts output changes: a send queued for one output is never delivered to the next.
    std::atomic<std::uint32_t> outputGeneration{0};
    CablePacer pacer; // outputLock

    LockFreeQueue<Outgoing> queue;
    std::binary_semaphore wake{0};
    std::atomic<bool> wakeSignalled{false};
    std::atomic<int> waiting{0}; // queued or in the sender's buffer, not yet delivered or dropped
    std::atomic<std::uint64_t> coalesced{0};
    std::atomic<std::uint32_t> nextTrackedId{0};
    std::mutex trackedLock;
    std::condition_variable trackedChanged;
    std::uint32_t lastTrackedId = 0; // trackedLock
    bool lastTrackedHandedOver = false;
    std::atomic<bool> quit{false};
    std::unique_ptr<std::thread> sender;
};

} // namespace zentak
