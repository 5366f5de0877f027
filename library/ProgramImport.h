// ProgramImport: the import engine. Finds every program in the bytes of a file (raw SysEx captures,
// Standard MIDI Files with embedded dumps, our own single-program, bank and data-image files) and
// reports where each was found and what was skipped, without touching any bank. Pure functions; any
// thread. Bounded on any input: never reads past the end, work and memory linear in the file size.
#pragma once

#include <juce_core/juce_core.h>

#include <array>
#include <vector>

namespace zentak::programimport
{
enum class FileKind
{
    sysex,     // a sequence of SysEx messages with anything between them (.syx, .evp, .ebp, captures)
    midiFile,  // a Standard MIDI File, format 0, 1 or 2
    dataImage, // our 145408-byte data image (.evl)
    unreadable // the file could not be read
};

/** Where the bytes of a file went. Every byte of a file is counted in exactly one of these. */
enum class Use
{
    programs,      // program dumps (or data-image slots) that gave a program
    names,         // name messages paired with a program
    unpairedNames, // name messages for a slot that no dump in the file fills
    combos,        // combo dumps (or the combo banks of a data image)
    globals,       // global parameter dumps
    waves,         // wave shape dumps (or the user shapes of a data image)
    otherEvolver,  // any other message of the instrument: parameter changes, requests, …
    foreign,       // messages for other instruments (another manufacturer or family)
    malformed,     // truncated or oversized messages, dumps of a length the instrument never sends
    garbage,       // bytes outside any message
    midiStructure, // a MIDI file's headers, delta times, event headers and non-SysEx events
    count
};

struct Tally
{
    int items = 0;    // messages (or image slots)
    size_t bytes = 0; // bytes of the file
};

struct FoundProgram
{
    juce::MemoryBlock record; // 208 bytes: 192 parameter bytes, 16 name bytes
    juce::String name;        // the decoded name, 16 characters
    int messageIndex = -1;    // the dump's index among the file's SysEx messages; -1 for an image slot
    size_t offset = 0;        // byte offset of the dump (or image slot) in the file
    int bank = -1;            // 0..3 when the dump or image names its slot, else -1
    int slot = -1;            // 0..127 likewise
    int command = 0;          // the dump's command byte (0x02, 0x03, 0x0A); 0 for an image slot
    bool editBuffer = false;  // an edit-buffer dump (226 bytes), which names no slot
    juce::StringArray warnings;
};

struct ImportResult
{
    FileKind kind = FileKind::sysex;
    size_t fileSize = 0;
    int midiFormat = -1;   // MIDI files: the header's format
    int midiTracks = 0;    // MIDI files: track chunks read
    int sysexMessages = 0; // complete SysEx messages (F0 … F7) seen
    std::array<Tally, (size_t)Use::count> tally{};
    std::vector<FoundProgram> programs;
    juce::StringArray warnings; // about the file as a whole (at most maxWarnings, then a summary)

    const Tally& operator[](Use u) const { return tally[(size_t)u]; }
};

constexpr int maxWarnings = 50;

/** Imports the bytes of a file. fileName names the programs that carry no name of their own (the
    part before its first ".", as the single-program reader does); it is never opened. */
ImportResult importBytes(const void* data, size_t size, const juce::String& fileName);

/** Reads a file (memory-mapped where possible) and imports it; the file is never written. */
ImportResult importFile(const juce::File& file);

/** A short text for a byte use, e.g. "combo dumps". */
const char* useText(Use use);

/** A short text for a file kind, e.g. "Standard MIDI File". */
juce::String kindText(const ImportResult& result);
} // namespace zentak::programimport
