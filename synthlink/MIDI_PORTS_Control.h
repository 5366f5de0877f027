// MIDI_PORTS_Control: owns the open MIDI input and output to the instrument and performs every send.
// Ports are opened and closed on the message thread. Sends may come from any thread, the audio thread
// included: each send is copied into a preallocated lock-free queue and delivered in order by the
// ports' own sender thread, which alone touches the output device; a port change waits for the
// sender to finish the message in hand, so an output is never destroyed under a send.
#pragma once

#include "LockFreeQueue.h"
#include "MidiDevices.h"

#include <juce_audio_devices/juce_audio_devices.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <semaphore>

namespace zentak
{

class MIDI_PORTS_Control
{
public:
    explicit MIDI_PORTS_Control(std::shared_ptr<MidiDeviceBackend> backend);
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

    // Sends: each does nothing unless the output is open. Channel 1..16.
    void sendController(int channel, int controller, int value);
    void sendNoteOn(int channel, int note, int velocity);
    void sendNoteOff(int channel, int note);
    void sendPitchWheelMessage(int channel, int value);
    void sendProgramChange(int channel, int program);
    /** One SysEx message (the whole F0 ... F7); blocks above 256 bytes leave in 256-byte pieces. */
    void sendSysex(const void* data, size_t size);
    /** The same for a caller that may wait briefly (never the audio thread): when nothing is queued
        ahead of it, the message goes out on the calling thread at once, saving the hand-over to the
        sender thread. A request chain answers the instrument this way. */
    void sendSysexNow(const void* data, size_t size);

    /** Message thread, for tests and shutdown: waits until every queued send has been delivered. */
    void waitUntilSent();
    /** Sends dropped because the queue was full. */
    size_t droppedSends() const { return queue.droppedCount(); }

private:
    static constexpr size_t inlineBytes = 16;
    struct Outgoing
    {
        std::uint32_t size;
        std::uint32_t output; // the output generation it was queued for
        std::uint8_t bytes[inlineBytes];
        std::uint8_t* heap; // larger messages, allocated by the sending thread, freed by the sender
    };

    void enqueueShort(std::uint8_t b0, std::uint8_t b1, std::uint8_t b2, int size);
    void senderLoop();
    void deliver(const Outgoing& m);

    std::shared_ptr<MidiDeviceBackend> backend;
    std::unique_ptr<MidiInputDevice> input;
    std::unique_ptr<MidiOutputDevice> output;
    std::mutex outputLock; // held by the sender while delivering and by port changes only
    std::atomic<int> inputIndex{-1}, outputIndex{-1};
    std::atomic<bool> inputOpen{false}, outputOpen{false};
    // Counts output changes: a send queued for one output is never delivered to the next.
    std::atomic<std::uint32_t> outputGeneration{0};

    LockFreeQueue<Outgoing> queue;
    std::counting_semaphore<1 << 20> wake{0};
    std::atomic<int> inFlight{0};
    std::atomic<bool> quit{false};
    std::unique_ptr<std::thread> sender;
};

} // namespace zentak
