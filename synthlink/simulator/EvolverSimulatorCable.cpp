// EvolverSimulator's cable: the wiring to the input callback, the timing of each direction at the
// wire speed, the input buffer in front of its MIDI in, the ways a driver delivers SysEx, and the
// monitor of what arrived. receive() any thread; delivery on the simulator's own thread.
#include "EvolverSimulator.h"

// The framework's own reassembly of MIDI input bytes, as its ALSA input uses it. The header is not
// part of the module's public interface and has no include guard: included here only.
#include <juce_audio_basics/midi/juce_MidiDataConcatenator.h>

namespace zentak
{
namespace
{
constexpr size_t realTimeEvery = 50;

/** A SysEx with a real-time byte after every realTimeEvery bytes, clock and active sensing in turn. */
std::vector<std::uint8_t> withRealTimeBytes(const std::vector<std::uint8_t>& m)
{
    std::vector<std::uint8_t> out;
    out.reserve(m.size() + m.size() / realTimeEvery + 1);
    bool clock = true;
    for (size_t i = 0; i < m.size(); ++i)
    {
        out.push_back(m[i]);
        if ((i + 1) % realTimeEvery == 0 && i + 1 < m.size())
        {
            out.push_back(clock ? 0xF8 : 0xFE);
            clock = !clock;
        }
    }
    return out;
}
} // namespace

void EvolverSimulator::connectInput(juce::MidiInputCallback* callback)
{
    std::lock_guard<std::mutex> l(callbackLock);
    input = callback;
}

double EvolverSimulator::nowMs() const
{
    return juce::Time::getMillisecondCounterHiRes() - startMs;
}

void EvolverSimulator::setWireSpeed(int bps)
{
    std::lock_guard<std::mutex> l(queueLock);
    bytesPerSecond = juce::jmax(0, bps);
}

void EvolverSimulator::setSysexPieceSize(int bytes)
{
    std::lock_guard<std::mutex> l(queueLock);
    pieceSize = juce::jmax(0, bytes);
}

void EvolverSimulator::setFrameworkDelivery(int readBytes)
{
    std::lock_guard<std::mutex> l(queueLock);
    frameworkReadSize = juce::jmax(0, readBytes);
}

void EvolverSimulator::setRealTimeInsideSysex(bool on)
{
    std::lock_guard<std::mutex> l(queueLock);
    realTimeInside = on;
}

void EvolverSimulator::setInputBufferBytes(int bytes)
{
    std::lock_guard<std::mutex> l(queueLock);
    inputBufferBytes = juce::jmax(0, bytes);
}

void EvolverSimulator::setStoreTimeMs(int ms)
{
    storeTimeMs.store(juce::jmax(0, ms));
}

double EvolverSimulator::maxInputBacklogBytes() const
{
    std::lock_guard<std::mutex> l(queueLock);
    return maxBacklog;
}

void EvolverSimulator::dropNextAnswer()
{
    std::lock_guard<std::mutex> l(queueLock);
    ++dropNext;
}

void EvolverSimulator::corruptNextAnswer()
{
    std::lock_guard<std::mutex> l(queueLock);
    corruptNext = true;
}

void EvolverSimulator::corruptAnswerFor(int bank, int slot)
{
    std::lock_guard<std::mutex> l(queueLock);
    corruptBank = bank;
    corruptSlot = slot;
}

void EvolverSimulator::receive(const juce::MidiMessage& message)
{
    // The time the other side took to answer the last answer delivered: its software's share of a
    // request/answer round trip.
    const double arrived = answerArrivedAt.exchange(0.0);
    if (arrived > 0.0)
        turnaroundSum.store(turnaroundSum.load() + (nowMs() - arrived));
    const auto* d = message.getRawData();
    schedule(std::vector<std::uint8_t>(d, d + message.getRawDataSize()), true);
}

void EvolverSimulator::schedule(std::vector<std::uint8_t> m, bool fromUs)
{
    {
        std::lock_guard<std::mutex> l(queueLock);
        double due = nowMs() + (fromUs ? 0.0 : (double)answerDelayMs.load());
        if (bytesPerSecond > 0)
        {
            // Each direction of the cable carries one byte after another.
            double& freeAt = fromUs ? toSimFreeAt : fromSimFreeAt;
            if (fromUs)
            {
                // What the interface holds that is not on the cable yet: earlier bytes still waiting
                // and the message being handed over.
                const double backlog =
                    juce::jmax(0.0, freeAt - due) * (double)bytesPerSecond / 1000.0 + (double)m.size();
                if (inputBufferBytes > 0 && backlog > (double)inputBufferBytes)
                {
                    ++overrunCount;
                    return;
                }
                maxBacklog = juce::jmax(maxBacklog, backlog);
            }
            const double start = juce::jmax(due, freeAt);
            due = start + 1000.0 * (double)m.size() / (double)bytesPerSecond;
            freeAt = due;
        }
        wireBytes += (std::int64_t)m.size();
        queue.push_back({std::move(m), due, fromUs});
        ++busy;
    }
    wake.notify_all();
}

void EvolverSimulator::waitUntilIdle()
{
    for (;;)
    {
        {
            std::lock_guard<std::mutex> l(queueLock);
            if (busy == 0)
                return;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(50));
    }
}

void EvolverSimulator::run()
{
    std::unique_lock<std::mutex> l(queueLock);
    for (;;)
    {
        wake.wait(l, [this] { return quit || !queue.empty(); });
        if (quit)
            return;
        // The earliest due message goes next; messages keep their order within a direction.
        auto next = queue.begin();
        for (auto it = queue.begin(); it != queue.end(); ++it)
            if (it->dueMs < next->dueMs)
                next = it;
        const double wait = next->dueMs - nowMs();
        if (wait > 3.0)
        {
            // Sleep most of the way, then yield until the byte time is reached: the cable's
            // timing stays exact to a few microseconds instead of the scheduler's slack.
            wake.wait_for(l, std::chrono::microseconds((long long)((wait - 2.5) * 1000.0)));
            continue;
        }
        if (wait > 0.0)
        {
            l.unlock();
            std::this_thread::yield();
            l.lock();
            continue;
        }
        Pending p = std::move(*next);
        queue.erase(next);
        lateSum += nowMs() - p.dueMs;
        l.unlock();
        if (p.fromUs)
            handle(p.bytes);
        else
            deliver(p.bytes);
        l.lock();
        --busy;
    }
}

void EvolverSimulator::deliver(const std::vector<std::uint8_t>& m)
{
    int piece, reads;
    {
        std::lock_guard<std::mutex> l(queueLock);
        piece = pieceSize;
        reads = frameworkReadSize;
    }
    std::lock_guard<std::mutex> l(callbackLock);
    if (input == nullptr || m.empty())
        return;
    if (m[0] == 0xF0)
        answerArrivedAt.store(nowMs());
    if (reads > 0)
    {
        // The framework's input thread: whatever one read returns is pushed into its reassembly,
        // which calls back with partial SysEx reports and complete messages.
        for (size_t offset = 0; offset < m.size(); offset += (size_t)reads)
        {
            const int n = (int)juce::jmin((size_t)reads, m.size() - offset);
            concatenator->pushMidiData(m.data() + offset, n, 0.0, (juce::MidiInput*)nullptr, *input);
        }
        return;
    }
    if (m[0] != 0xF0 || piece <= 0 || (int)m.size() <= piece)
    {
        input->handleIncomingMidiMessage(nullptr, juce::MidiMessage(m.data(), (int)m.size()));
        return;
    }
    for (size_t offset = 0; offset < m.size(); offset += (size_t)piece)
    {
        const int n = (int)juce::jmin((size_t)piece, m.size() - offset);
        input->handleIncomingMidiMessage(nullptr, juce::MidiMessage(m.data() + offset, n));
    }
}

void EvolverSimulator::answer(std::vector<std::uint8_t> m, bool isAnswer)
{
    if (isAnswer)
    {
        std::lock_guard<std::mutex> l(queueLock);
        if (dropNext > 0)
        {
            --dropNext;
            return;
        }
        if (corruptNext && m.size() > 2)
        {
            corruptNext = false;
            m.erase(m.begin() + (std::ptrdiff_t)(m.size() / 2));
        }
    }
    if (isAnswer)
        ++answeredCount;
    bool realTime;
    {
        std::lock_guard<std::mutex> l(queueLock);
        realTime = realTimeInside;
    }
    if (realTime && !m.empty() && m[0] == 0xF0)
        m = withRealTimeBytes(m);
    schedule(std::move(m), false);
}

double EvolverSimulator::turnaroundMs() const
{
    return turnaroundSum.load();
}

double EvolverSimulator::lateMs() const
{
    std::lock_guard<std::mutex> l(queueLock);
    return lateSum;
}

std::vector<std::vector<std::uint8_t>> EvolverSimulator::received() const
{
    std::lock_guard<std::mutex> l(logLock);
    return log;
}

std::vector<double> EvolverSimulator::receivedAtMs() const
{
    std::lock_guard<std::mutex> l(logLock);
    return logTimes;
}

size_t EvolverSimulator::receivedCount() const
{
    std::lock_guard<std::mutex> l(logLock);
    return log.size();
}
} // namespace zentak
