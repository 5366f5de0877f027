// zentak-lib's reading verbs: list, info, diff and dupes. Results go to stdout, notes to stderr.
#include "LibCommands.h"

#include "sounddata/ParDes.h"
#include "sounddata/ParamCatalogue.h"
#include "sounddata/ProgramCategories.h"
#include "sounddata/SoundRecords.h"

#include <cstring>
#include <iostream>
#include <string>
#include <unordered_map>

namespace zentak::cli
{
namespace
{
using programimport::FoundProgram;
using programimport::Use;

std::vector<Source> readOrFail(const juce::ArgumentList& args, const Parsed& parsed, bool& anyUnreadable)
{
    if (parsed.positional.isEmpty())
        juce::ConsoleApplication::fail("zentak-lib " + args[0].text + ": name at least one file or folder",
                                       exitUsage);
    return readInputs(parsed.positional, anyUnreadable);
}

const std::uint8_t* bytesOf(const FoundProgram& p)
{
    return static_cast<const std::uint8_t*>(p.record.getData());
}

juce::String row(const ProgramRef& r, bool withSource)
{
    const auto& p = r.program();
    const int category = bytesOf(p)[params::categoryIndex];
    return (withSource ? r.label().paddedRight(' ', 20) : juce::String(r.index).paddedLeft(' ', 4)) + "  " +
           locationText(p).paddedRight(' ', 5) + "  " + shownName(p).paddedRight(' ', 16) + "  " +
           categories::name(category);
}

/** A program named as FILE (holding exactly one) or FILE#N. */
ProgramRef resolveProgram(const juce::String& argument, std::vector<Source>& holder)
{
    const auto cwd = juce::File::getCurrentWorkingDirectory();
    juce::String path = argument;
    int index = 0;
    if (!cwd.getChildFile(argument).existsAsFile() && argument.containsChar('#'))
    {
        path = argument.upToLastOccurrenceOf("#", false, false);
        if (!parseCount(argument.fromLastOccurrenceOf("#", false, false), index) || index < 1)
            juce::ConsoleApplication::fail(
                "zentak-lib diff: " + argument + ": the program number after # is not valid", exitUsage);
    }
    bool unreadable = false;
    auto sources = readInputs(juce::StringArray(path), unreadable);
    if (unreadable || sources.size() != 1)
        juce::ConsoleApplication::fail("zentak-lib diff: " + path + " is not a file that can be read",
                                       exitRejected);
    holder.push_back(std::move(sources.front()));
    const auto& s = holder.back();
    const int count = (int)s.result.programs.size();
    if (count == 0)
        juce::ConsoleApplication::fail("zentak-lib diff: " + path + ": no programs found", exitRejected);
    if (index == 0 && count != 1)
        juce::ConsoleApplication::fail("zentak-lib diff: " + path + " holds " + juce::String(count) +
                                           " programs; name one as " + path + "#N",
                                       exitUsage);
    if (index > count)
        juce::ConsoleApplication::fail("zentak-lib diff: " + path + " holds " + juce::String(count) +
                                           " programs; there is no program " + juce::String(index),
                                       exitUsage);
    return {&s, index == 0 ? 1 : index};
}

juce::String valueText(int parameter, int value)
{
    return ParDes::valueText(parameter < params::numSoundParams ? parameter : params::seqStepKind, value);
}
} // namespace

int runList(const juce::ArgumentList& args)
{
    const auto parsed = parseArguments(args, {});
    bool unreadable = false;
    const auto sources = readOrFail(args, parsed, unreadable);
    size_t total = 0;
    for (const auto& s : sources)
    {
        if (sources.size() > 1)
            std::cout << s.label << ":" << std::endl;
        if (s.result.programs.empty())
            note(s.label + ": no programs found");
        for (size_t i = 0; i < s.result.programs.size(); ++i)
            std::cout << row({&s, (int)i + 1}, false) << std::endl;
        total += s.result.programs.size();
    }
    if (total == 0)
    {
        note("zentak-lib list: no programs found");
        return exitRejected;
    }
    return unreadable ? exitRejected : 0;
}

int runInfo(const juce::ArgumentList& args)
{
    const auto parsed = parseArguments(args, {});
    bool unreadable = false;
    const auto sources = readOrFail(args, parsed, unreadable);
    size_t total = 0;
    for (const auto& s : sources)
    {
        const auto& r = s.result;
        int slotDumps = 0, editDumps = 0;
        for (const auto& p : r.programs)
            (p.editBuffer ? editDumps : slotDumps) += 1;
        std::cout << s.label << std::endl
                  << "  kind      " << programimport::kindText(r) << ", " << (juce::int64)r.fileSize
                  << " bytes";
        if (r.kind != programimport::FileKind::dataImage)
            std::cout << ", " << r.sysexMessages << " complete SysEx messages";
        std::cout << std::endl << "  programs  " << r.programs.size();
        if (r.kind == programimport::FileKind::dataImage)
            std::cout << " (4 banks of 128 slots)";
        else
            std::cout << " (" << slotDumps << " naming their slot, " << editDumps << " edit-buffer dumps)";
        std::cout << std::endl << "  bytes" << std::endl;
        size_t sum = 0;
        for (size_t u = 0; u < (size_t)Use::count; ++u)
        {
            const auto& t = r.tally[u];
            if (t.bytes == 0 && t.items == 0)
                continue;
            sum += t.bytes;
            std::cout << "    " << juce::String((juce::int64)t.bytes).paddedLeft(' ', 10) << "  "
                      << programimport::useText((Use)u);
            if (t.items > 0)
                std::cout << " (" << t.items << ")";
            std::cout << std::endl;
        }
        std::cout << "    " << juce::String((juce::int64)sum).paddedLeft(' ', 10) << "  in all" << std::endl;

        juce::StringArray warnings = r.warnings;
        for (size_t i = 0; i < r.programs.size(); ++i)
            for (const auto& w : r.programs[i].warnings)
                warnings.add("program " + juce::String((int)i + 1) + " (" + locationText(r.programs[i]) +
                             " \"" + shownName(r.programs[i]) + "\"): " + w);
        if (!warnings.isEmpty())
        {
            std::cout << "  warnings" << std::endl;
            for (const auto& w : warnings)
                std::cout << "    " << w << std::endl;
        }
        total += r.programs.size();
    }
    if (total == 0)
    {
        note("zentak-lib info: no programs found");
        return exitRejected;
    }
    return unreadable ? exitRejected : 0;
}

int runDiff(const juce::ArgumentList& args)
{
    const auto parsed = parseArguments(args, {});
    if (parsed.positional.size() != 2)
        juce::ConsoleApplication::fail("zentak-lib diff: name two programs, A and B (FILE or FILE#N)",
                                       exitUsage);
    std::vector<Source> holder;
    holder.reserve(2);
    const auto a = resolveProgram(parsed.positional[0], holder);
    const auto b = resolveProgram(parsed.positional[1], holder);
    const auto* pa = bytesOf(a.program());
    const auto* pb = bytesOf(b.program());

    if (std::memcmp(pa + records::nameOffset, pb + records::nameOffset, (size_t)records::nameLength) != 0)
        std::cout << "name  \"" << shownName(a.program()) << "\" | \"" << shownName(b.program()) << "\""
                  << std::endl;
    for (int i = 0; i < params::numProgramParams; ++i)
        if (pa[i] != pb[i])
            std::cout << juce::String(i).paddedLeft(' ', 4) << "  "
                      << juce::String(params::hostName(i)).paddedRight(' ', 16) << "  " << valueText(i, pa[i])
                      << " | " << valueText(i, pb[i]) << std::endl;
    return 0;
}

int runDupes(const juce::ArgumentList& args)
{
    const auto parsed = parseArguments(args, {{"--within|-w", true}});
    int within = 0;
    if (parsed.has("--within") &&
        (!parseCount(parsed.value("--within"), within) || within < 1 || within > params::numProgramParams))
        juce::ConsoleApplication::fail("zentak-lib dupes: --within takes a number of parameters, 1 to 192",
                                       exitUsage);
    bool unreadable = false;
    const auto sources = readOrFail(args, parsed, unreadable);
    const auto refs = allPrograms(sources);
    if (refs.empty())
    {
        note("zentak-lib dupes: no programs found");
        return exitRejected;
    }

    // Same sound: identical 192 parameter bytes; groups in the order of their first member.
    std::unordered_map<std::string, size_t> groupOf;
    std::vector<std::vector<size_t>> groups;
    for (size_t i = 0; i < refs.size(); ++i)
    {
        const std::string key(reinterpret_cast<const char*>(bytesOf(refs[i].program())),
                              (size_t)params::numProgramParams);
        const auto [it, added] = groupOf.try_emplace(key, groups.size());
        if (added)
            groups.emplace_back();
        groups[it->second].push_back(i);
    }
    int found = 0;
    for (const auto& g : groups)
    {
        if (g.size() < 2)
            continue;
        ++found;
        std::cout << "same sound (" << g.size() << " programs):" << std::endl;
        for (size_t i : g)
            std::cout << "  " << row(refs[i], true) << std::endl;
    }

    // Near-duplicates: different sounds (one member of each group) within the given distance.
    for (size_t x = 0; within > 0 && x < groups.size(); ++x)
    {
        const auto* px = bytesOf(refs[groups[x].front()].program());
        for (size_t y = x + 1; y < groups.size(); ++y)
        {
            const auto* py = bytesOf(refs[groups[y].front()].program());
            juce::StringArray differing;
            for (int i = 0; i < params::numProgramParams && differing.size() <= within; ++i)
                if (px[i] != py[i])
                    differing.add(params::hostName(i));
            if (differing.size() > within)
                continue;
            ++found;
            std::cout << differing.size() << (differing.size() == 1 ? " parameter" : " parameters")
                      << " apart (" << differing.joinIntoString(", ") << "):" << std::endl
                      << "  " << row(refs[groups[x].front()], true) << std::endl
                      << "  " << row(refs[groups[y].front()], true) << std::endl;
        }
    }
    if (found == 0)
        note("zentak-lib dupes: no duplicates among " + juce::String((int)refs.size()) + " programs");
    return unreadable ? exitRejected : 0;
}
} // namespace zentak::cli
