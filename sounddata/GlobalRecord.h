// GlobalRecord: the instrument's global (main) parameters by global parameter number, as decoded
// from its main-parameter dump. Written on the MIDI-input thread, read on the message thread; entries
// are single bytes in fixed storage.
#pragma once

#include <juce_core/juce_core.h>

#include <array>
#include <atomic>
#include <cstdint>

namespace zentak
{

class GlobalRecord
{
public:
    static constexpr int capacity = 64;

    /** Entry n, or 0 for an entry the record does not hold. */
    int get(int number) const;
    void set(int number, int value);
    int size() const { return count.load(); }

    /** Fills entries from a whole main-parameter dump: entry i = byte 5 + 2i + 16 x byte 6 + 2i.
        Bytes beyond the end of the message read as 0. minEntries entries are always decoded;
        beyond that every complete nibble pair the message carries before its closing F7. */
    void decodeDump(const std::uint8_t* message, size_t length, int minEntries = 10);

private:
    std::array<std::atomic<std::uint8_t>, capacity> values{};
    std::atomic<int> count{0};
};

} // namespace zentak
