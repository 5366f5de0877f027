// LibCommands: the verbs of the command-line librarian zentak-lib (list, info, extract, bank, image,
// diff, dupes) and the helpers they share: option parsing, gathering input files, whole-file writes.
// Runs on the program's main thread; a verb ends by returning or through ConsoleApplication::fail
// with exit code 1 (input rejected or nothing found) or 2 (usage).
#pragma once

#include "library/ProgramImport.h"

#include <juce_core/juce_core.h>

#include <map>
#include <vector>

namespace zentak::cli
{
constexpr int exitRejected = 1;
constexpr int exitUsage = 2;

/** One option a verb accepts: its spellings ("-o|--output") and whether a value follows. */
struct OptionSpec
{
    const char* spellings;
    bool takesValue;
};

/** The arguments after the verb: positional ones in order, options by their first spelling. */
struct Parsed
{
    juce::StringArray positional;
    std::map<juce::String, juce::String> values;

    bool has(const juce::String& option) const { return values.count(option) > 0; }
    juce::String value(const juce::String& option) const;
};

/** Parses args from index 1 on ("--name value", "--name=value", "-o value"); an unknown option or
    a missing value fails with exitUsage. */
Parsed parseArguments(const juce::ArgumentList& args, const std::vector<OptionSpec>& options);

/** A whole number written in digits only (no sign, at most nine digits). */
bool parseCount(const juce::String& text, int& value);

/** A file read by the import engine, with the label it is shown by. */
struct Source
{
    juce::File file;
    juce::String label;
    programimport::ImportResult result;
};

/** A program of one of the sources; index is its 1-based place in that source's list. */
struct ProgramRef
{
    const Source* source;
    int index;
    const programimport::FoundProgram& program() const { return source->result.programs[(size_t)index - 1]; }
    juce::String label() const { return source->label + "#" + juce::String(index); }
};

/** Reads every named file, and every library file inside every named folder (sorted). A name that
    cannot be read is reported on stderr and sets anyUnreadable. */
std::vector<Source> readInputs(const juce::StringArray& names, bool& anyUnreadable);

/** All programs of the sources, in order. */
std::vector<ProgramRef> allPrograms(const std::vector<Source>& sources);

/** "A:001" for a program naming its slot, "edit" for an edit-buffer dump, "-" otherwise. */
juce::String locationText(const programimport::FoundProgram& p);

/** The name without its padding. */
juce::String shownName(const programimport::FoundProgram& p);

/** Writes data to file whole: a temporary file beside it, then a rename. An existing file is
    replaced only with force; an input is never replaced. */
void writeWhole(const juce::File& file, const juce::MemoryBlock& data, bool force,
                const std::vector<Source>& inputs);

/** Writes a line to stderr. */
void note(const juce::String& text);

int runList(const juce::ArgumentList& args);
int runInfo(const juce::ArgumentList& args);
int runExtract(const juce::ArgumentList& args);
int runBank(const juce::ArgumentList& args);
int runImage(const juce::ArgumentList& args);
int runDiff(const juce::ArgumentList& args);
int runDupes(const juce::ArgumentList& args);
} // namespace zentak::cli
