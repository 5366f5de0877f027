// SettingsFiles: the formats of the plug-in's own small files (the settings fields and the port names)
// and the atomic file replacement every file of ours uses. Pure functions; any thread.
#pragma once

#include <juce_core/juce_core.h>

namespace zentak::settingsfiles
{
constexpr const char* folderName = "PlugSettings";
constexpr const char* settingsFile = "evoplugsts.dat";
constexpr const char* portsFile = "evoplports.dat";
constexpr const char* libraryFile = "dataevl.evl";
constexpr const char* rejectedLibraryFile = "dataevl.evl.bak";
/** A notice about the library for the next start (written when no window could show it). */
constexpr const char* libraryNoticeFile = "dataevl.notice";
/** Names the backup a start set aside because the library could not be used. */
constexpr const char* setAsideFile = "dataevl.setaside";
/** The identity of the file the last writer of the library started from (see contentIdentity). */
constexpr const char* originFile = "dataevl.evl.origin";
constexpr int numFields = 50;
constexpr int channelField = 42;
/** Pause in ms after each program dump and name sent to a slot; "0", empty or out of 1..5000: the
    default. */
constexpr int transmitGapField = 43;
/** "Send sound when project opens": "off" and "0" (what files from before the field hold) turn it off,
    anything else is on. */
constexpr int recallField = 44;
/** Read back after a bank transmit: "off" turns it off, anything else is on. */
constexpr int verifyField = 45;
/** The gap the instrument is given to store each program (see MidiCntrStateSendJob.cpp). */
constexpr int defaultTransmitGapMs = 100;

/** The 50 fields of a new settings file. */
juce::StringArray newFields();

/** Splits "^|" field "|^" ... text into fields: the first 50 found when more than two are found,
    otherwise the new-file values; always filled up to 50 with "0". */
juce::StringArray parseFields(const juce::String& text);
juce::String formatFields(const juce::StringArray& fields);

/** Input name, 0x0F, output name, 0x10, third name, 0x11; names as UTF-8. */
juce::MemoryBlock formatPortNames(const juce::StringArray& names);
/** Reads the input and output names back. Returns false (names untouched) for a file of fewer than
    3 bytes or one without the markers; with the output marker before the input marker, only the
    input name is taken. */
bool parsePortNames(const juce::MemoryBlock& file, juce::String& input, juce::String& output,
                    bool& hasOutput);

/** Reads a whole file of at most maxBytes; false when it cannot be opened or read completely or is
    larger (data then holds what was read). */
bool readWholeFile(const juce::File& file, juce::MemoryBlock& data, juce::int64 maxBytes);

/** The first of name, name + "2", name + "3" ... (in the folder of name) that does not exist yet; an
    empty file when all are taken. Backups never overwrite each other. */
juce::File freeBackupName(const juce::File& name);

/** A short text that tells library contents apart: a 64-bit FNV-1a hash of the bytes, in hex. */
juce::String contentIdentity(const juce::MemoryBlock& data);
/** The starting point the last writer of the library in folder recorded; empty when none. */
juce::String readOrigin(const juce::File& folder);
void writeOrigin(const juce::File& folder, const juce::String& origin);

/** Writes a temporary file in the same folder and renames it over target; on failure the old file
    stays. Creates the folder when missing. */
bool replaceFile(const juce::File& target, const void* data, size_t size);
} // namespace zentak::settingsfiles
