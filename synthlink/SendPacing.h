// SendPacing: the pieces of the outgoing path that decide what leaves next and when: the message as it
// waits to be sent, the cable pacer that keeps the output at the cable's byte rate, and the send buffer
// that coalesces repeated parameter changes. Plain data and logic with no clock or thread of their own;
// the ports' sender thread owns one pacer and one buffer (and tests drive them with made-up times).
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <deque>

namespace zentak
{

/** One message on its way to the output. Short messages travel inline; longer ones in a heap block
    that the sending thread allocates and the sender thread frees. */
struct OutgoingMessage
{
    static constexpr size_t inlineBytes = 16;
    std::uint32_t size = 0;
    std::uint32_t output = 0;  // the output generation it was queued for
    std::uint32_t tracked = 0; // 0, or the id the sender reports once the message has been handed over
    std::uint8_t bytes[inlineBytes]{};
    std::uint8_t* heap = nullptr;

    const std::uint8_t* data() const { return heap != nullptr ? heap : bytes; }
};

/** What a message is a change of, when a later change of the same thing may replace it while it waits
    for the cable: the instrument's parameter, step and main-parameter changes. -1 for every other
    message (notes and wheels included: a performance keeps every event), which keeps its place and is
    never passed by what follows it. */
inline int coalesceKey(const OutgoingMessage& m)
{
    if (m.tracked != 0 || m.heap != nullptr)
        return -1;
    const auto* d = m.bytes;
    if (m.size == 9 && d[0] == 0xF0 && d[1] == 0x01 && d[2] == 0x20 && d[3] == 0x01 && d[8] == 0xF7)
    {
        switch (d[4])
        {
        case 0x01:
            return 0x100 + d[5];
        case 0x08:
            return 0x200 + d[5];
        case 0x09:
            return 0x300 + d[5];
        default:
            return -1;
        }
    }
    return -1;
}

/** Keeps an output at a cable's byte rate: a message is handed over only when no more than
    aheadBytes of earlier messages are still on their way down the cable, so the device's buffer never
    holds more than that plus the message itself. Times in milliseconds on any steady clock. */
class CablePacer
{
public:
    static constexpr int aheadBytes = 8;

    /** bytesPerSecond 0: no pacing. */
    void setRate(int bytesPerSecond) { rate = std::max(0, bytesPerSecond); }
    int getRate() const { return rate; }

    /** Milliseconds from now until the next message may be handed over (0: now). */
    double waitMs(double now) const
    {
        if (rate == 0)
            return 0.0;
        return std::max(0.0, freeAt - now - aheadBytes * msPerByte());
    }

    /** A message of size bytes was handed over at now. */
    void sent(double now, size_t size)
    {
        if (rate == 0)
            return;
        freeAt = std::max(freeAt, now) + (double)size * msPerByte();
    }

    /** When the cable carries its last byte so far. */
    double idleAt() const { return freeAt; }
    /** Bytes still to travel at now. */
    double backlogBytes(double now) const
    {
        return rate == 0 ? 0.0 : std::max(0.0, freeAt - now) / msPerByte();
    }

private:
    double msPerByte() const { return 1000.0 / (double)rate; }
    int rate = 0;
    double freeAt = 0.0;
};

/** The messages waiting for the cable, in order (sender thread only). A change that can be coalesced
    replaces the bytes of a waiting change of the same thing, as long as no other kind of message lies
    between them: last value wins, the order between different parameters is kept, and a program change
    or dump keeps the changes before it on its own side. */
class SendBuffer
{
public:
    /** Appends m, or folds it into the waiting message it supersedes (returns false then). */
    bool add(const OutgoingMessage& m)
    {
        const int key = coalesceKey(m);
        if (key >= 0)
            for (auto it = waiting.rbegin(); it != waiting.rend(); ++it)
            {
                if (it->key < 0)
                    break;
                if (it->key == key && it->message.output == m.output)
                {
                    std::memcpy(it->message.bytes, m.bytes, m.size);
                    ++coalesced;
                    return false;
                }
            }
        waiting.push_back({m, key});
        return true;
    }

    bool isEmpty() const { return waiting.empty(); }
    size_t size() const { return waiting.size(); }
    const OutgoingMessage& front() const { return waiting.front().message; }
    OutgoingMessage popFront()
    {
        auto m = waiting.front().message;
        waiting.pop_front();
        return m;
    }
    /** Changes folded into a waiting one so far. */
    std::uint64_t coalescedCount() const { return coalesced; }

private:
    struct Entry
    {
        OutgoingMessage message;
        int key;
    };
    std::deque<Entry> waiting;
    std::uint64_t coalesced = 0;
};

} // namespace zentak
