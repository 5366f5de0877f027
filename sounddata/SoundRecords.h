// SoundRecords: byte layouts of programs, combos and wave shapes, the name character code, and the
// 7-bit packing of dump payloads. Pure functions; any thread.
#pragma once

#include <juce_core/juce_core.h>

#include <cstdint>

namespace zentak
{
namespace records
{
constexpr int programSize = 208; // 192 parameter bytes + 16 name bytes
constexpr int programParamBytes = 192;
constexpr int nameOffset = 192;
constexpr int nameLength = 16;
constexpr int comboSize = 80; // 64 part bytes + 16 name bytes
constexpr int comboNameOffset = 64;
constexpr int waveShapeSize = 256; // 128 signed 16-bit samples, low byte first
constexpr int numWaveShapes = 128;
constexpr int numFixedShapes = 96;
constexpr int numSlots = 128;

constexpr int programPayload = 220;     // packed 192 bytes
constexpr int comboPayload = 92;        // packed 80 bytes
constexpr int wavePayload = 293;        // packed 256 bytes
constexpr int editProgramMessage = 226; // F0 01 20 01 cmd payload F7
constexpr int slotProgramMessage = 228; // F0 01 20 01 cmd bank slot payload F7

/** The byte a name character is stored as: its code for 20..159, otherwise a space. */
std::uint8_t encodeNameChar(juce::juce_wchar c);

/** Cuts or pads text to 16 characters and writes their codes to dest[0..15]. */
void encodeName(const juce::String& text, std::uint8_t* dest);

/** The text of 16 stored name bytes; a zero byte contributes no character. */
juce::String decodeName(const std::uint8_t* bytes);

/** A name byte as a name message carries it: 7-bit, and 0x7F (the instrument's padding) as a space. */
constexpr std::uint8_t nameMessageByte(std::uint8_t b)
{
    return b < 0x7F ? b : (std::uint8_t)' ';
}

/** The name the instrument gives a program whose name is unset (name bytes starting 7F 7F 7F):
    "PROGRAM " + bank letter + "-" + the 1-based slot as three digits, e.g. "PROGRAM B-007". */
juce::String placeholderName(int bank, int slot);

/** Unpacks a payload of 92, 220 or 293 bytes into 80, 192 or 256 bytes; any other length: empty. */
juce::MemoryBlock unpackPayload(const void* payload, size_t length);

/** Accepts a bare payload (92, 220, 293 bytes) or a whole program message (226, 228 bytes). */
juce::MemoryBlock unpackMessage(const juce::MemoryBlock& message);

/** Packs length bytes (80, 192 or 256) into 7-bit groups at dest (92, 220 or 293 bytes): each group
    is a byte of high bits followed by up to seven data bytes with bit 7 cleared. */
void packPayload(const std::uint8_t* bytes, size_t length, std::uint8_t* dest);

/** Packs the first 192 bytes of a 208- or 192-byte record into the 220-byte payload at dest. */
inline void packProgramPayload(const std::uint8_t* record, std::uint8_t* dest)
{
    packPayload(record, 192, dest);
}

/** The 226-byte edit-buffer program message of a 208- or 192-byte record; other lengths: empty. */
juce::MemoryBlock packProgramMessage(const juce::MemoryBlock& record);
} // namespace records
} // namespace zentak
