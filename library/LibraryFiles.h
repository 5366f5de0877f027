// LibraryFiles: readers and writers of the library's SysEx files: a single program (".evp", ".syx")
// and a program bank (".ebp", ".syx"). Reads are bounds-checked and all or nothing: a rejected file
// yields nothing. Pure functions; any thread.
#pragma once

#include <juce_core/juce_core.h>

#include <optional>

namespace zentak
{
class Bank_Program;

namespace libraryfiles
{
constexpr size_t bankFileSize = 128 * 252; // program message (228) and name message (24) per slot
constexpr size_t bankRecordBytes = 128 * 208;

/** The 208-byte record of a single program file, named from nameText (the part before its first
    ".", cut or padded to 16 characters); nothing for a rejected file. */
std::optional<juce::MemoryBlock> readSingleProgram(const juce::MemoryBlock& file,
                                                   const juce::String& nameText);

/** The 128 x 208 bytes of a program bank file; nothing unless exactly 128 programs and names. */
std::optional<juce::MemoryBlock> readProgramBank(const juce::MemoryBlock& file);

/** The 226-byte edit-buffer message of a 208-byte record (the name is not in the file). */
juce::MemoryBlock writeSingleProgram(const juce::MemoryBlock& record);

/** A program bank file: for every slot the program message naming bank index and slot, then the name
    message; name bytes of 128 and above travel as spaces. */
juce::MemoryBlock writeProgramBank(const Bank_Program& bank, int bankIndex);

/** The name the single-program reader gives a file: its file name. */
juce::String nameForFile(const juce::File& file);
} // namespace libraryfiles
} // namespace zentak
