// SimulatorCodec: the instrument simulator's own encoders and decoders of the instrument's SysEx
// messages (framing, 7-bit payload packing, name characters). Pure functions; any thread.
//
// Written apart from the product's record and packing code on purpose: the simulator is a witness of
// the byte layout, so a mistake made the same way in both directions of the product's codec shows up
// as a disagreement with the simulator (and both answer to the golden files in tests/data).
#pragma once

#include <juce_core/juce_core.h>

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace zentak::simcodec
{
using Bytes = std::vector<std::uint8_t>;

constexpr std::uint8_t manufacturer = 0x01, family = 0x20, version = 0x01;
constexpr int programBytes = 192; // parameters 0..127, then 64 sequencer steps
constexpr int comboBytes = 80;    // 64 part bytes, then 16 name bytes
constexpr int nameBytes = 16;

/** 7-bit packing: every run of up to seven bytes becomes one byte holding their bit 7s (bit k for the
    k-th byte of the run) followed by the run with bit 7 cleared. 192 bytes give 220, 80 give 92. */
Bytes pack(const std::uint8_t* data, size_t count);

/** The inverse of pack; empty when the length cannot come from pack (a last run of no bytes). */
Bytes unpack(const std::uint8_t* payload, size_t count);

/** The 16 stored name bytes of a text: cut or padded with spaces; a character outside 20..159 is a
    space. */
std::array<std::uint8_t, nameBytes> nameToBytes(const juce::String& text);

/** The text of 16 name bytes (a zero byte adds no character). */
juce::String bytesToName(const std::uint8_t* name16);

/** F0 01 20 01 command body... F7. */
Bytes frame(std::uint8_t command, const Bytes& body);

/** A program dump: with bank and slot (228 bytes) when slot names one (bank >= 0), otherwise the
    edit form (226 bytes). The command is 0x02, 0x03 or 0x0A. */
Bytes programMessage(std::uint8_t command, int bank, int slot, const std::uint8_t* record192);

/** A combo dump: 100 bytes with bank and slot (bank >= 0), otherwise the 98-byte edit form. The
    command is 0x22 or 0x37. */
Bytes comboMessage(std::uint8_t command, int bank, int slot, const std::uint8_t* record80);

/** The 24-byte program name message. Bytes of 128 and above travel as spaces; with padWith7F every
    trailing space travels as 0x7F, as the instrument pads its names. */
Bytes nameMessage(int bank, int slot, const std::uint8_t* name16, bool padWith7F = false);

/** A whole message decoded by its length, as the instrument reads what it is sent. */
struct Decoded
{
    std::uint8_t command = 0;
    int bank = -1, slot = -1; // -1: the edit form
    Bytes record;             // 192 (program) or 80 (combo) bytes
};
std::optional<Decoded> decodeProgramMessage(const Bytes& message);
std::optional<Decoded> decodeComboMessage(const Bytes& message);
} // namespace zentak::simcodec
