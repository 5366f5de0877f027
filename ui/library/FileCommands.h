// FileCommands: the library's load and save commands: a single program and a program bank, moved
// between the banks and files through the window's file dialogs (asynchronous, starting in the settings
// folder). A load changes nothing unless the whole file is accepted; a rejected or unreadable file, a
// file that cannot be written, and every finished load or save are told to the user as a notice of the
// controller state. Each command answers only while the window that started it still lives (alive).
// Message thread only.
#pragma once

#include "synthlink/MidiCntrState.h"
#include "ui/main/FileSeam.h"

#include <functional>
#include <memory>

namespace zentak::filecommands
{
/** The dialog of a kind: 1 load program, 3 load program bank, 101 save program, 103 save bank. */
files::Request dialog(int kind, const juce::File& start);

/** Files larger than this are refused before they are read: no program or bank file comes close. */
constexpr juce::int64 largestFile = 4 * 1024 * 1024;

/** Lets the user choose a single program file; apply receives its 208 bytes (named after the file). */
void loadProgram(MidiCntrState& state, std::weak_ptr<bool> alive,
                 std::function<void(const juce::MemoryBlock& record, const juce::String& name)> apply);

/** Saves a 208-byte record as a single program file, suggesting a file named after the program. */
void saveProgram(MidiCntrState& state, std::weak_ptr<bool> alive, const juce::MemoryBlock& record);

/** Lets the user choose a program bank file for program bank `bank`; replaces the bank whole. */
void loadBank(MidiCntrState& state, std::weak_ptr<bool> alive, int bank);

/** Saves program bank `bank` as a program bank file, suggesting a file named after the bank. */
void saveBank(MidiCntrState& state, std::weak_ptr<bool> alive, int bank);

/** Writes bytes to file whole: into a temporary file beside it that then replaces it, so a failed
    write leaves an existing file as it was. */
bool writeWhole(const juce::File& file, const juce::MemoryBlock& bytes);

/** Why a file was refused, in words ("it holds a combo, not a program"). */
juce::String describeRefusal(const juce::MemoryBlock& bytes, bool wantedBank);
} // namespace zentak::filecommands
