// zentak-lib's writing verbs: extract, bank and image. Each builds its output in memory with the
// library's own writers and writes it whole; notes go to stderr.
#include "LibCommands.h"

#include "library/Bank_Combo.h"
#include "library/Bank_Program.h"
#include "library/DataImage.h"
#include "library/FactorySets.h"
#include "library/LibraryFiles.h"
#include "library/WaveBank.h"

#include <memory>
#include <set>
#include <string>

namespace zentak::cli
{
namespace
{

juce::File outputFile(const juce::ArgumentList& args, const Parsed& parsed)
{
    if (!parsed.has("-o") || parsed.value("-o").isEmpty())
        juce::ConsoleApplication::fail("zentak-lib " + args[0].text + ": name the output with -o OUT",
                                       exitUsage);
    return juce::File::getCurrentWorkingDirectory().getChildFile(parsed.value("-o"));
}

/** The programs a bank or an image takes: from --start on, repeats left out with --unique. */
struct Selection
{
    std::vector<ProgramRef> chosen;
    int repeats = 0;   // left out by --unique
    int leftOver = 0;  // beyond the capacity
    int nextStart = 0; // --start of the programs left over
};

Selection select(const juce::ArgumentList& args, const Parsed& parsed, const std::vector<ProgramRef>& all,
                 int capacity)
{
    int start = 1;
    if (parsed.has("--start") && (!parseCount(parsed.value("--start"), start) || start < 1))
        juce::ConsoleApplication::fail(
            "zentak-lib " + args[0].text + ": --start takes a program number from 1 on", exitUsage);
    Selection s;
    std::vector<ProgramRef> sequence;
    std::set<std::string> seen;
    for (const auto& r : all)
    {
        const auto* bytes = static_cast<const char*>(r.program().record.getData());
        if (parsed.has("--unique") &&
            !seen.insert(std::string(bytes, (size_t)records::programParamBytes)).second)
        {
            ++s.repeats;
            continue;
        }
        sequence.push_back(r);
    }
    for (size_t i = (size_t)start - 1; i < sequence.size(); ++i)
    {
        if ((int)s.chosen.size() < capacity)
            s.chosen.push_back(sequence[i]);
        else
            ++s.leftOver;
    }
    s.nextStart = start + capacity;
    return s;
}

/** Reads the inputs of a bank or image; any unreadable input rejects the whole command. */
std::vector<Source> readAllOrFail(const juce::ArgumentList& args, const Parsed& parsed)
{
    if (parsed.positional.isEmpty())
        juce::ConsoleApplication::fail("zentak-lib " + args[0].text + ": name at least one file or folder",
                                       exitUsage);
    bool unreadable = false;
    auto sources = readInputs(parsed.positional, unreadable);
    if (unreadable)
        juce::ConsoleApplication::fail("zentak-lib " + args[0].text + ": nothing written", exitRejected);
    return sources;
}

void reportSelection(const Selection& s, int capacity, const juce::String& what)
{
    const int n = (int)s.chosen.size();
    if (n < capacity)
        note("slots " + juce::String(n + 1) + " to " + juce::String(capacity) + " of the " + what +
             " hold the initial program \"Untitled\"");
    if (s.repeats > 0)
        note(juce::String(s.repeats) + " repeated programs left out (--unique)");
    if (s.leftOver > 0)
        note(juce::String(s.leftOver) + " further programs left out; --start " + juce::String(s.nextStart) +
             " packs the next ones");
}
} // namespace

int runExtract(const juce::ArgumentList& args)
{
    const auto parsed =
        parseArguments(args, {{"--index|-i", true}, {"-o|--output", true}, {"--force|-f", false}});
    if (parsed.positional.size() != 1)
        juce::ConsoleApplication::fail("zentak-lib extract: name exactly one file", exitUsage);
    int index = 0;
    if (!parseCount(parsed.value("--index"), index) || index < 1)
        juce::ConsoleApplication::fail("zentak-lib extract: --index N names the program (1 = the first)",
                                       exitUsage);
    const auto out = outputFile(args, parsed);

    const auto sources = readAllOrFail(args, parsed);
    if (sources.size() != 1 || sources.front().result.programs.empty())
    {
        note("zentak-lib extract: no programs found");
        return exitRejected;
    }
    const auto& s = sources.front();
    if (index > (int)s.result.programs.size())
        juce::ConsoleApplication::fail("zentak-lib extract: " + s.label + " holds " +
                                           juce::String((int)s.result.programs.size()) +
                                           " programs; there is no program " + juce::String(index),
                                       exitUsage);
    const ProgramRef ref{&s, index};
    writeWhole(out, libraryfiles::writeSingleProgram(ref.program().record), parsed.has("--force"), sources);
    note("wrote \"" + shownName(ref.program()) + "\" (" + ref.label() + ") to " + out.getFullPathName());
    const auto fileName = libraryfiles::nameForFile(out).upToFirstOccurrenceOf(".", false, false);
    if (fileName.substring(0, records::nameLength).trimEnd() != shownName(ref.program()))
        note("the file carries no name: the plug-in will call the program \"" +
             fileName.substring(0, records::nameLength) + "\"");
    return 0;
}

int runBank(const juce::ArgumentList& args)
{
    const auto parsed = parseArguments(args, {{"-o|--output", true},
                                              {"--bank|-b", true},
                                              {"--start|-s", true},
                                              {"--unique|-u", false},
                                              {"--force|-f", false}});
    const auto letter = parsed.has("--bank") ? parsed.value("--bank").toUpperCase() : juce::String("A");
    if (letter.length() != 1 || !juce::String("ABCD").containsChar(letter[0]))
        juce::ConsoleApplication::fail("zentak-lib bank: --bank is A, B, C or D", exitUsage);
    const auto out = outputFile(args, parsed);
    const auto sources = readAllOrFail(args, parsed);
    const auto all = allPrograms(sources);
    if (all.empty())
    {
        note("zentak-lib bank: no programs found; nothing written");
        return exitRejected;
    }
    const auto selection = select(args, parsed, all, Bank_Program::numSlots);
    if (selection.chosen.empty())
    {
        note("zentak-lib bank: no programs from --start on; nothing written");
        return exitRejected;
    }

    auto bank = std::make_unique<Bank_Program>("Program Bank " + letter);
    bank->initialise();
    for (size_t i = 0; i < selection.chosen.size(); ++i)
        bank->setSlot((int)i, selection.chosen[i].program().record);
    writeWhole(out, libraryfiles::writeProgramBank(*bank, letter[0] - 'A'), parsed.has("--force"), sources);
    note("wrote " + juce::String((int)selection.chosen.size()) + " programs as bank " + letter + " to " +
         out.getFullPathName());
    reportSelection(selection, Bank_Program::numSlots, "bank");
    return 0;
}

int runImage(const juce::ArgumentList& args)
{
    const auto parsed = parseArguments(
        args, {{"-o|--output", true}, {"--start|-s", true}, {"--unique|-u", false}, {"--force|-f", false}});
    const auto out = outputFile(args, parsed);
    const auto sources = readAllOrFail(args, parsed);
    const auto all = allPrograms(sources);
    if (all.empty())
    {
        note("zentak-lib image: no programs found; nothing written");
        return exitRejected;
    }
    constexpr int capacity = 4 * Bank_Program::numSlots;
    const auto selection = select(args, parsed, all, capacity);
    if (selection.chosen.empty())
    {
        note("zentak-lib image: no programs from --start on; nothing written");
        return exitRejected;
    }

    std::unique_ptr<Bank_Program> programs[4];
    const Bank_Program* programList[4];
    for (int b = 0; b < 4; ++b)
    {
        programs[b] = std::make_unique<Bank_Program>("Program Bank " + juce::String::charToString('A' + b));
        programs[b]->initialise();
        programList[b] = programs[b].get();
    }
    for (size_t i = 0; i < selection.chosen.size(); ++i)
        programs[i / 128]->setSlot((int)(i % 128), selection.chosen[i].program().record);

    const auto factorySet = factory::image(1);
    auto waves = std::make_unique<WaveBank>();
    waves->loadFixedShapes(factory::fixedShapes(), factory::fixedShapesSize());
    waves->loadUserShapesFromImage(factorySet);
    std::unique_ptr<Bank_Combo> combos[3];
    const Bank_Combo* comboList[3];
    for (int c = 0; c < 3; ++c)
    {
        combos[c] = std::make_unique<Bank_Combo>("Combo Bank " + juce::String::charToString('A' + c));
        combos[c]->loadFactory(c);
        comboList[c] = combos[c].get();
    }
    writeWhole(out, image::build(programList, *waves, comboList), parsed.has("--force"), sources);
    note("wrote " + juce::String((int)selection.chosen.size()) + " programs as a data image to " +
         out.getFullPathName());
    reportSelection(selection, capacity, "image");
    return 0;
}
} // namespace zentak::cli
