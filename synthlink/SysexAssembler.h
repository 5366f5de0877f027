// SysexAssembler: collects one SysEx message from the instrument that may arrive in several pieces.
// Storage is reserved once; a message longer than the cap is discarded. MIDI-input thread only.
#pragma once

#include <juce_core/juce_core.h>

#include <vector>

namespace zentak
{

class SysexAssembler
{
public:
    static constexpr size_t cap = 64 * 1024;

    SysexAssembler() { buffer.reserve(cap); }

    /** Feeds one message's bytes. Returns true when a whole message (F0 ... F7) is ready in
        message(); the caller takes it with take(). Real-time bytes (F8 and above) never join. */
    bool feed(const juce::uint8* data, size_t size);
    /** The framework reports an unfinished SysEx: the collected bytes are dropped. */
    void discard() { buffer.clear(); }
    /** Moves the completed message out and empties the buffer. */
    std::vector<juce::uint8> take();

    bool isCollecting() const { return !buffer.empty(); }
    size_t size() const { return buffer.size(); }

private:
    std::vector<juce::uint8> buffer;
};

} // namespace zentak
