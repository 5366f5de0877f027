#include "MIDI_PORTS_Control.h"

#include <chrono>
#include <cstring>
#include <thread>

namespace zentak
{
namespace
{
// ALSA's output turns each message into sequencer events, and a SysEx piece without its closing F7
// produces none: on Linux a long SysEx must go out whole (the driver paces it onto the cable). The
// other platforms' outputs take consecutive raw pieces.
#if JUCE_LINUX || JUCE_BSD
constexpr bool sysexInPieces = false;
#else
constexpr bool sysexInPieces = true;
#endif
constexpr size_t sysexPiece = 256;
} // namespace

MIDI_PORTS_Control::MIDI_PORTS_Control(std::shared_ptr<MidiDeviceBackend> devicesToUse,
                                       int cableBytesPerSecond)
    : backend(devicesToUse != nullptr ? std::move(devicesToUse) : std::make_shared<NoMidiDevices>()),
      queue(4096)
{
    pacer.setRate(cableBytesPerSecond);
    sender = std::make_unique<std::thread>([this] { senderLoop(); });
}

MIDI_PORTS_Control::~MIDI_PORTS_Control()
{
    closeInput();
    quit.store(true);
    signalSender();
    sender->join();
    Outgoing m;
    while (queue.pop(m))
        delete[] m.heap;
    std::lock_guard<std::mutex> lock(outputLock);
    output.reset();
}

double MIDI_PORTS_Control::nowMs()
{
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

void MIDI_PORTS_Control::closeInput()
{
    if (input != nullptr)
        input->stop();
    input.reset();
    inputIndex.store(-1);
    inputOpen.store(false);
}

void MIDI_PORTS_Control::openInputPort(int k, juce::MidiInputCallback* callback)
{
    closeInput();
    if (k < 1)
        return;
    inputIndex.store(k - 1);
    input = backend->openInput(k - 1, callback);
    if (input != nullptr)
    {
        input->start();
        inputOpen.store(true);
    }
}

void MIDI_PORTS_Control::openOutputPort(int k)
{
    std::unique_ptr<MidiOutputDevice> old;
    {
        std::lock_guard<std::mutex> lock(outputLock);
        outputOpen.store(false);
        outputIndex.store(-1);
        outputGeneration.fetch_add(1);
        old = std::move(output);
    }
    old.reset();
    signalSender(); // messages waiting for the old output are dropped now, not when the cable frees
    if (k < 1)
        return;
    auto opened = backend->openOutput(k - 1);
    std::lock_guard<std::mutex> lock(outputLock);
    outputIndex.store(k - 1);
    output = std::move(opened);
    outputOpen.store(output != nullptr);
}

void MIDI_PORTS_Control::setCableRate(int bytesPerSecond)
{
    std::lock_guard<std::mutex> lock(outputLock);
    pacer.setRate(bytesPerSecond);
}

int MIDI_PORTS_Control::cableRate()
{
    std::lock_guard<std::mutex> lock(outputLock);
    return pacer.getRate();
}

void MIDI_PORTS_Control::signalSender()
{
    if (!wakeSignalled.exchange(true))
        wake.release();
}

bool MIDI_PORTS_Control::enqueue(Outgoing& m)
{
    waiting.fetch_add(1);
    if (queue.push(m))
    {
        signalSender();
        return true;
    }
    waiting.fetch_sub(1);
    delete[] m.heap;
    m.heap = nullptr;
    return false;
}

void MIDI_PORTS_Control::enqueueShort(std::uint8_t b0, std::uint8_t b1, std::uint8_t b2, int size)
{
    if (!outputOpen.load())
        return;
    Outgoing m{};
    m.size = (std::uint32_t)size;
    m.output = outputGeneration.load();
    m.bytes[0] = b0;
    m.bytes[1] = b1;
    m.bytes[2] = b2;
    enqueue(m);
}

void MIDI_PORTS_Control::sendController(int channel, int controller, int value)
{
    if (channel < 1 || channel > 16)
        return;
    enqueueShort((std::uint8_t)(0xB0 + channel - 1), (std::uint8_t)(controller & 0x7f),
                 (std::uint8_t)(value & 0x7f), 3);
}

void MIDI_PORTS_Control::sendNoteOn(int channel, int note, int velocity)
{
    if (channel < 1 || channel > 16 || note < 0 || note > 127)
        return;
    enqueueShort((std::uint8_t)(0x90 + channel - 1), (std::uint8_t)note, (std::uint8_t)(velocity & 0x7f), 3);
}

void MIDI_PORTS_Control::sendNoteOff(int channel, int note)
{
    if (channel < 1 || channel > 16 || note < 0 || note > 127)
        return;
    enqueueShort((std::uint8_t)(0x80 + channel - 1), (std::uint8_t)note, 0, 3);
}

void MIDI_PORTS_Control::sendPitchWheelMessage(int channel, int value)
{
    if (channel < 1 || channel > 16)
        return;
    value = juce::jlimit(0, 16383, value);
    enqueueShort((std::uint8_t)(0xE0 + channel - 1), (std::uint8_t)(value & 0x7f), (std::uint8_t)(value >> 7),
                 3);
}

void MIDI_PORTS_Control::sendProgramChange(int channel, int program)
{
    if (program < 0 || program > 127)
        return;
    enqueueShort((std::uint8_t)(0xC0 + juce::jlimit(0, 15, channel - 1)), (std::uint8_t)program, 0, 2);
}

MIDI_PORTS_Control::SendResult MIDI_PORTS_Control::sendSysex(const void* data, size_t size)
{
    if (!outputOpen.load() || data == nullptr || size == 0 || size > (1u << 24))
        return SendResult::outputClosed;
    Outgoing m{};
    m.size = (std::uint32_t)size;
    m.output = outputGeneration.load();
    if (size <= Outgoing::inlineBytes)
        std::memcpy(m.bytes, data, size);
    else
    {
        m.heap = new std::uint8_t[size];
        std::memcpy(m.heap, data, size);
    }
    return enqueue(m) ? SendResult::queued : SendResult::queueFull;
}

std::uint32_t MIDI_PORTS_Control::sendSysexTracked(const void* data, size_t size, SendResult* why)
{
    if (why != nullptr)
        *why = SendResult::outputClosed;
    if (!outputOpen.load() || data == nullptr || size == 0 || size > (1u << 24))
        return 0;
    Outgoing m{};
    m.size = (std::uint32_t)size;
    m.output = outputGeneration.load();
    m.tracked = nextTrackedId.fetch_add(1) + 1;
    m.heap = new std::uint8_t[size];
    std::memcpy(m.heap, data, size);
    if (!enqueue(m))
    {
        if (why != nullptr)
            *why = SendResult::queueFull;
        return 0;
    }
    if (why != nullptr)
        *why = SendResult::queued;
    return m.tracked;
}

void MIDI_PORTS_Control::reportTracked(std::uint32_t id, bool handedOver)
{
    if (id == 0)
        return;
    {
        std::lock_guard<std::mutex> l(trackedLock);
        lastTrackedId = id;
        lastTrackedHandedOver = handedOver;
    }
    trackedChanged.notify_all();
}

bool MIDI_PORTS_Control::waitUntilHandedOver(std::uint32_t id, int timeoutMs,
                                             const std::function<bool()>& stop)
{
    if (id == 0)
        return false;
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    std::unique_lock<std::mutex> l(trackedLock);
    while (lastTrackedId < id)
    {
        if ((stop && stop()) || std::chrono::steady_clock::now() >= end)
            return false;
        // Short slices: stop() is the caller's flag, which does not notify this condition.
        trackedChanged.wait_for(l, std::chrono::milliseconds(5));
    }
    return lastTrackedId == id && lastTrackedHandedOver;
}

double MIDI_PORTS_Control::msUntilCableIdle()
{
    std::lock_guard<std::mutex> lock(outputLock);
    return std::max(0.0, pacer.idleAt() - nowMs());
}

void MIDI_PORTS_Control::sendSysexNow(const void* data, size_t size)
{
    if (!outputOpen.load() || data == nullptr || size == 0 || size > Outgoing::inlineBytes ||
        waiting.load() != 0)
    {
        sendSysex(data, size);
        return;
    }
    Outgoing m{};
    m.size = (std::uint32_t)size;
    m.output = outputGeneration.load();
    std::memcpy(m.bytes, data, size);
    {
        std::lock_guard<std::mutex> lock(outputLock);
        const double now = nowMs();
        if (waiting.load() == 0 && pacer.waitMs(now) <= 0.0)
        {
            if (deliverLocked(m))
                pacer.sent(now, m.size);
            return;
        }
    }
    sendSysex(data, size); // the cable is busy: wait in line
}

void MIDI_PORTS_Control::waitUntilSent()
{
    while (waiting.load() != 0)
        std::this_thread::sleep_for(std::chrono::microseconds(100));
}

void MIDI_PORTS_Control::senderLoop()
{
    SendBuffer buffer; // this thread's own
    for (;;)
    {
        // One message at a time from the queue into the buffer, and out again at once while the
        // cable is free: a change is folded into a waiting one only when it really had to wait.
        Outgoing m;
        bool progressed = false;
        if (queue.pop(m))
        {
            progressed = true;
            if (!buffer.add(m))
                waiting.fetch_sub(1); // folded into a waiting change of the same parameter
            coalesced.store(buffer.coalescedCount());
        }

        if (quit.load())
        {
            while (queue.pop(m))
                buffer.add(m);
            while (!buffer.isEmpty())
            {
                auto left = buffer.popFront();
                delete[] left.heap;
                reportTracked(left.tracked, false);
            }
            return;
        }

        double wait = -1.0; // < 0: nothing to send
        if (!buffer.isEmpty())
        {
            std::lock_guard<std::mutex> lock(outputLock);
            const auto& next = buffer.front();
            if (output == nullptr || next.output != outputGeneration.load())
            {
                // Queued for an output that has been closed or changed since: dropped unsent.
                auto stale = buffer.popFront();
                delete[] stale.heap;
                reportTracked(stale.tracked, false);
                waiting.fetch_sub(1);
                continue;
            }
            const double now = nowMs();
            wait = pacer.waitMs(now);
            if (wait <= 0.0)
            {
                auto sending = buffer.popFront();
                deliverLocked(sending);
                pacer.sent(now, sending.size);
                delete[] sending.heap;
                reportTracked(sending.tracked, true);
                waiting.fetch_sub(1);
                continue;
            }
        }
        if (progressed)
            continue; // more may be waiting in the queue: take it in before sleeping
        // Nothing new: sleep until the cable frees, or a send arrives (the timeout when idle is a
        // safety net only: every send signals).
        const auto timeout = wait < 0.0 ? std::chrono::microseconds(50000)
                                        : std::chrono::microseconds((long long)(wait * 1000.0) + 1);
        if (wake.try_acquire_for(timeout))
            wakeSignalled.store(false);
    }
}

bool MIDI_PORTS_Control::deliverLocked(const Outgoing& m)
{
    if (output == nullptr || m.output != outputGeneration.load())
        return false; // queued for an output that has been closed or changed since
    const std::uint8_t* bytes = m.data();
    if (bytes[0] != 0xF0 || !sysexInPieces || m.size <= sysexPiece)
    {
        output->sendMessageNow(juce::MidiMessage(bytes, (int)m.size));
        return true;
    }
    for (size_t offset = 0; offset < m.size; offset += sysexPiece)
    {
        const size_t piece = juce::jmin(sysexPiece, (size_t)m.size - offset);
        output->sendMessageNow(juce::MidiMessage(bytes + offset, (int)piece));
    }
    return true;
}
} // namespace zentak
