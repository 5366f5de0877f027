// Bank_Combo: 128 combo slots of 80 bytes in one fixed array. Storage is allocated once. Written from
// the message and MIDI-input threads without a lock: every byte is read and written as a relaxed
// atomic (sharedbytes), as the program banks are.
#pragma once

#include "SharedBytes.h"
#include "sounddata/SoundRecords.h"

#include <array>
#include <cstdint>

namespace zentak
{

class Bank_Combo
{
public:
    static constexpr int numSlots = records::numSlots;
    static constexpr int slotSize = records::comboSize;
    static constexpr int bankBytes = numSlots * slotSize;

    explicit Bank_Combo(juce::String bankName);
    virtual ~Bank_Combo() = default;

    const juce::String& getName() const { return name; }

    /** Writes bytes from byte 80s on, never past the bank. */
    void setSlot(int s, const void* data, size_t size);
    void setSlot(int s, const juce::MemoryBlock& data) { setSlot(s, data.getData(), data.getSize()); }
    juce::MemoryBlock getSlot(int s) const;
    juce::String slotName(int s) const;
    /** Slots from a data image, combo bank index c 0..2; bytes beyond the image read 0. */
    void loadFromImage(int c, const juce::MemoryBlock& image);
    /** Combo bank c from factory set 1. */
    void loadFactory(int c);

    /** Copies the whole bank (80 bytes per slot) to out. */
    void copyAll(std::uint8_t* out) const;

private:
    juce::String name;
    alignas(8) std::array<std::uint8_t, (size_t)bankBytes> slots{};
};

} // namespace zentak
