// Bank_Program: 128 program slots of 208 bytes in one fixed array, plus the edit record (used by the
// host program bank only). Storage is allocated once; writes copy bytes in place and never
// reallocate. Written from the message, MIDI-input and audio threads without a lock: every byte is
// read and written as a relaxed atomic, so a record copied while another thread writes it may mix
// old and new bytes but never reads a torn byte. The copy-in/copy-out operations that take no
// MemoryBlock allocate nothing.
#pragma once

#include "SharedBytes.h"
#include "sounddata/SoundRecords.h"

#include <array>
#include <atomic>
#include <cstdint>

namespace zentak
{

class Bank_Program
{
public:
    static constexpr int numSlots = records::numSlots;
    static constexpr int slotSize = records::programSize;
    static constexpr int bankBytes = numSlots * slotSize;

    explicit Bank_Program(juce::String bankName);
    virtual ~Bank_Program() = default;

    const juce::String& getName() const { return name; }

    /** Every slot and the edit record become the initial program named "Untitled". */
    void initialise();
    /** Rebuilds the slots from a data image (bank index b 0..3); bytes beyond the image read 0. */
    void loadFromImage(int b, const juce::MemoryBlock& image);
    /** The same from factory set 1..3. */
    void loadFactory(int set, int b);

    juce::String slotName(int s) const;
    void setSlotName(int s, const juce::String& text);
    /** A copy of slot s (s below 0 counts as 0; an empty block for s of 128 and above). */
    juce::MemoryBlock getSlot(int s) const;
    /** Writes bytes from the start of slot s (192 bytes keep the name), never past the bank. */
    void setSlot(int s, const void* data, size_t size);
    void setSlot(int s, const juce::MemoryBlock& data) { setSlot(s, data.getData(), data.getSize()); }
    /** Replaces every slot from 128 x 208 bytes. */
    void setAllSlots(const void* data, size_t size);

    juce::MemoryBlock getEdit() const;
    /** Writes bytes over the edit record from offset 0 (at most 208). */
    void setEdit(const void* data, size_t size);
    void setEdit(const juce::MemoryBlock& data) { setEdit(data.getData(), data.getSize()); }
    juce::String editName() const;
    void setEditName(const juce::String& text);
    /** Copies the edit record into slot s and returns that copy. */
    juce::MemoryBlock storeEdit(int s);
    /** The 226-byte edit-buffer program message of slot s. */
    juce::MemoryBlock slotMessage(int s) const;

    /** Allocation-free paths for the audio thread. */
    void copySlotToEdit(int s);
    void copySlotFrom(const Bank_Program& other, int s, int intoSlot);
    std::uint8_t editByte(int i) const { return i >= 0 && i < slotSize ? load(edit[(size_t)i]) : 0; }
    void setEditByte(int i, std::uint8_t v)
    {
        if (i >= 0 && i < slotSize)
            store(edit[(size_t)i], v);
    }
    /** Byte i of slot s (s clamped to 0..127), 0 outside the record. */
    std::uint8_t slotByte(int s, int i) const
    {
        return i >= 0 && i < slotSize ? load(slots[(size_t)clampSlot(s) * slotSize + (size_t)i]) : 0;
    }
    /** Copies the 208 bytes of slot s (clamped to 0..127) / of the edit record to out. */
    void copySlot(int s, std::uint8_t* out) const;
    void copyEdit(std::uint8_t* out) const;

    /** Raw views, for readers that no other thread writes to at the same time (tests). */
    const std::uint8_t* slotData(int s) const { return slots.data() + (size_t)clampSlot(s) * slotSize; }
    const std::uint8_t* editData() const { return edit.data(); }

private:
    static std::uint8_t load(const std::uint8_t& b) { return sharedbytes::load(b); }
    static void store(std::uint8_t& b, std::uint8_t v) { sharedbytes::store(b, v); }
    static void loadBytes(std::uint8_t* out, const std::uint8_t* shared, size_t n)
    {
        sharedbytes::loadBytes(out, shared, n);
    }
    static void storeBytes(std::uint8_t* shared, const std::uint8_t* in, size_t n)
    {
        sharedbytes::storeBytes(shared, in, n);
    }

    static int clampSlot(int s) { return s < 0 ? 0 : (s >= numSlots ? numSlots - 1 : s); }

    juce::String name;
    alignas(8) std::array<std::uint8_t, (size_t)bankBytes> slots{};
    alignas(8) std::array<std::uint8_t, (size_t)slotSize> edit{};
};

} // namespace zentak
