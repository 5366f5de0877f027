// StateChunks: the two chunks a host keeps in its project. The bank chunk "EvolverPluginBank" holds
// the 128 host programs (26651 bytes) followed by one section of ours with the current host program
// and the edit record; the program chunk "EvolverPluginSettings" holds the edit record (239 bytes).
// Called on the message thread (hosts save and restore there).
#pragma once

#include "synthlink/MidiCntrState.h"

namespace zentak::chunks
{
constexpr int bankHeaderLength = 17;                         // "EvolverPluginBank"
constexpr int programHeaderLength = 21;                      // "EvolverPluginSettings"
constexpr int versionLength = 10;                            // "Version100"
constexpr int bankChunkSize = 17 + 10 + 128 * 208;           // 26651
constexpr int programChunkSize = 21 + 10 + 208;              // 239
constexpr const char* editSectionHeader = "ZentakEditState"; // 15 bytes
constexpr int editSectionSize = 15 + 4 + 208;                // header, host program (LE), edit record

/** Appends the bank chunk and the edit-state section. */
void writeBank(MidiCntrState& state, juce::MemoryBlock& dest);
/** Reads a bank chunk; returns false (nothing changed) unless header and full size are right. */
bool readBank(MidiCntrState& state, const void* data, int size);
/** Commits the edit record to the current host slot and appends the program chunk. */
void writeProgram(MidiCntrState& state, juce::MemoryBlock& dest);
/** Reads a program chunk into the current host slot and the edit record. */
bool readProgram(MidiCntrState& state, const void* data, int size);
} // namespace zentak::chunks
