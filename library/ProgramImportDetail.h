// ProgramImportDetail: the parts the import engine shares between its SysEx scanner and its MIDI file
// reader: the collector that classifies complete messages and pairs dumps with names, and the stream
// that reassembles messages from pieces. Used only inside the import engine, on its caller's thread.
#pragma once

#include "ProgramImport.h"

#include <cstdint>

namespace zentak::programimport::detail
{
/** Classifies every complete SysEx message, keeps program dumps and name messages, and at the end
    pairs them and names the rest. */
class Collector
{
public:
    explicit Collector(ImportResult& resultToFill);

    /** A complete message m[0] = F0 … m[n - 1] = F7 that starts at offset in the file. */
    void message(const std::uint8_t* m, size_t n, size_t offset);
    /** A message that starts at offset and stops after bytes without its F7. */
    void cutShort(size_t bytes, size_t offset);
    void count(Use use, size_t bytes, int items = 0);
    void warn(const juce::String& text);
    /** Pairs the names with their dumps and names the programs that have none. */
    void finish(const juce::String& fileName);

private:
    struct Name
    {
        std::uint8_t bytes[16];
        int key;
        int bank, slot;
    };

    void programDump(const std::uint8_t* m, size_t n, size_t offset, int index);

    ImportResult& result;
    std::vector<int> dumpKeys; // per program: bank × 128 + slot as the message names it, or -1
    std::vector<Name> names;
    int suppressedWarnings = 0;
};

/** Reassembles SysEx messages from pieces, as a MIDI file's F0 and F7 events carry them. Bytes
    outside a message are counted as the given use. */
class Stream
{
public:
    Stream(Collector& collectorToFeed, Use outsideUse);

    void feed(const std::uint8_t* bytes, size_t n, size_t offset);
    /** Counts an unfinished message as cut short. */
    void end();

private:
    Collector& collector;
    Use outside;
    std::vector<std::uint8_t> pending;
    size_t start = 0;
    bool inMessage = false;
};

/** Reads a Standard MIDI File's chunks and tracks and feeds its SysEx events to the collector. */
void scanMidiFile(const std::uint8_t* d, size_t n, Collector& collector, ImportResult& result);
} // namespace zentak::programimport::detail
