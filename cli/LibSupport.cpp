// The helpers that zentak-lib's verbs share: option parsing, gathering inputs, whole-file writes.
#include "LibCommands.h"

#include "sounddata/SoundRecords.h"

#include <iostream>

namespace zentak::cli
{
namespace
{
const char* kLibraryExtensions[] = {".syx", ".mid", ".midi", ".evp", ".ebp", ".evl"};

bool isLibraryFile(const juce::File& f)
{
    for (const char* e : kLibraryExtensions)
        if (f.hasFileExtension(e) || f.getFileExtension().equalsIgnoreCase(e))
            return true;
    return false;
}

juce::String labelFor(const juce::File& f)
{
    const auto here = juce::File::getCurrentWorkingDirectory();
    return f.isAChildOf(here) ? f.getRelativePathFrom(here) : f.getFullPathName();
}
} // namespace

juce::String Parsed::value(const juce::String& option) const
{
    const auto it = values.find(option);
    return it != values.end() ? it->second : juce::String();
}

bool parseCount(const juce::String& text, int& value)
{
    if (text.isEmpty() || text.length() > 9 || !text.containsOnly("0123456789"))
        return false;
    value = text.getIntValue();
    return true;
}

Parsed parseArguments(const juce::ArgumentList& args, const std::vector<OptionSpec>& options)
{
    Parsed parsed;
    for (int i = 1; i < args.size(); ++i)
    {
        const auto text = args[i].text;
        if (!text.startsWithChar('-') || text == "-")
        {
            parsed.positional.add(text);
            continue;
        }
        const auto written = text.upToFirstOccurrenceOf("=", false, false);
        const OptionSpec* match = nullptr;
        for (const auto& s : options)
            if (juce::StringArray::fromTokens(s.spellings, "|", {}).contains(written))
                match = &s;
        if (match == nullptr)
            juce::ConsoleApplication::fail("zentak-lib " + args[0].text + ": unknown option " + written +
                                               " (see 'zentak-lib " + args[0].text + " --help')",
                                           exitUsage);
        const auto key = juce::String(match->spellings).upToFirstOccurrenceOf("|", false, false);
        if (!match->takesValue)
        {
            parsed.values[key] = "1";
            continue;
        }
        if (text.containsChar('='))
            parsed.values[key] = text.fromFirstOccurrenceOf("=", false, false);
        else if (i + 1 < args.size())
            parsed.values[key] = args[++i].text;
        else
            juce::ConsoleApplication::fail("zentak-lib " + args[0].text + ": " + written + " needs a value",
                                           exitUsage);
    }
    return parsed;
}

std::vector<Source> readInputs(const juce::StringArray& names, bool& anyUnreadable)
{
    std::vector<Source> sources;
    for (const auto& name : names)
    {
        const auto f = juce::File::getCurrentWorkingDirectory().getChildFile(name);
        juce::Array<juce::File> files;
        if (f.isDirectory())
        {
            for (const auto& child :
                 f.findChildFiles(juce::File::findFiles, true, "*", juce::File::FollowSymlinks::noCycles))
                if (isLibraryFile(child))
                    files.add(child);
            files.sort();
            if (files.isEmpty())
                note(name + ": no library files (.syx, .mid, .midi, .evp, .ebp, .evl) in this folder");
        }
        else
        {
            files.add(f);
        }
        for (const auto& file : files)
        {
            Source s{file, f.isDirectory() ? labelFor(file) : name, programimport::importFile(file)};
            if (s.result.kind == programimport::FileKind::unreadable)
            {
                note(s.label + ": " + s.result.warnings.joinIntoString("; "));
                anyUnreadable = true;
                continue;
            }
            sources.push_back(std::move(s));
        }
    }
    return sources;
}

std::vector<ProgramRef> allPrograms(const std::vector<Source>& sources)
{
    std::vector<ProgramRef> refs;
    for (const auto& s : sources)
        for (size_t i = 0; i < s.result.programs.size(); ++i)
            refs.push_back({&s, (int)i + 1});
    return refs;
}

juce::String locationText(const programimport::FoundProgram& p)
{
    if (p.bank >= 0)
        return juce::String::charToString((juce::juce_wchar)('A' + p.bank)) + ":" +
               juce::String(p.slot + 1).paddedLeft('0', 3);
    return p.editBuffer ? "edit" : "-";
}

juce::String shownName(const programimport::FoundProgram& p)
{
    return p.name.trimEnd();
}

void writeWhole(const juce::File& file, const juce::MemoryBlock& data, bool force,
                const std::vector<Source>& inputs)
{
    for (const auto& s : inputs)
        if (s.file == file)
            juce::ConsoleApplication::fail("zentak-lib: " + file.getFullPathName() +
                                               " is one of the inputs, which are never replaced",
                                           exitUsage);
    if (file.isDirectory())
        juce::ConsoleApplication::fail("zentak-lib: " + file.getFullPathName() + " is a folder", exitUsage);
    if (file.exists() && !force)
        juce::ConsoleApplication::fail(
            "zentak-lib: " + file.getFullPathName() + " exists; add --force to replace it", exitUsage);
    if (!file.getParentDirectory().isDirectory())
        juce::ConsoleApplication::fail("zentak-lib: the folder " +
                                           file.getParentDirectory().getFullPathName() + " does not exist",
                                       exitRejected);

    juce::TemporaryFile temp(file, juce::TemporaryFile::useHiddenFile);
    bool written = false;
    {
        juce::FileOutputStream out(temp.getFile());
        written = out.openedOk() && out.write(data.getData(), data.getSize());
        out.flush();
        written = written && out.getStatus().wasOk();
    }
    if (!written || !temp.overwriteTargetFileWithTemporary())
        juce::ConsoleApplication::fail("zentak-lib: cannot write " + file.getFullPathName(), exitRejected);
}

void note(const juce::String& text)
{
    std::cerr << text << std::endl;
}
} // namespace zentak::cli
