#include "FileCommands.h"

#include "library/LibraryFiles.h"
#include "library/ProgramImport.h"

namespace zentak::filecommands
{
namespace
{
juce::String letter(int bank)
{
    return juce::String::charToString((juce::juce_wchar)('A' + bank));
}

juce::String quoted(const juce::File& file)
{
    return "\"" + file.getFileName() + "\"";
}

/** A file name for a program or bank name: what the file system allows, never empty. */
juce::String fileNameFor(const juce::String& name)
{
    auto legal = juce::File::createLegalFileName(name.trim());
    return legal.isEmpty() ? juce::String("Untitled") : legal;
}

/** Reads a chosen file whole, or says why it could not. */
bool readChosen(MidiCntrState& state, const juce::File& file, juce::MemoryBlock& bytes)
{
    if (!file.existsAsFile())
    {
        state.addNotice("Not loaded: " + quoted(file) + " does not exist. Nothing was changed.");
        return false;
    }
    if (file.getSize() > largestFile)
    {
        state.addNotice("Not loaded: " + quoted(file) +
                        " is far too large for a program or bank file. "
                        "Nothing was changed.");
        return false;
    }
    if (!file.loadFileAsData(bytes))
    {
        state.addNotice("Not loaded: " + quoted(file) + " could not be read. Nothing was changed.");
        return false;
    }
    return true;
}

/** Adds the extension of the dialog's first pattern when the typed name has none. */
juce::File withExtension(const juce::File& file, const char* extension)
{
    return file.hasFileExtension("") ? file.withFileExtension(extension) : file;
}

/** Writes bytes to the chosen file, asking first when it exists; tells the user how it went. */
void saveChosen(MidiCntrState& state, std::weak_ptr<bool> alive, const juce::File& chosen,
                const char* extension, juce::MemoryBlock bytes, juce::String what)
{
    if (chosen == juce::File())
        return; // cancelled
    const auto file = withExtension(chosen, extension);
    auto write = [&state, alive, file, bytes, what]
    {
        if (alive.expired())
            return;
        if (writeWhole(file, bytes))
            state.addNotice(what + " saved to " + quoted(file) + ".");
        else
            state.addNotice("Not saved: " + quoted(file) + " could not be written (" +
                            file.getParentDirectory().getFullPathName() + ").");
    };
    if (!file.exists())
    {
        write();
        return;
    }
    if (file.isDirectory())
    {
        state.addNotice("Not saved: " + quoted(file) + " is a folder.");
        return;
    }
    files::ask("Replace file?", quoted(file) + " already exists. Replace it?", "Replace",
               [write, &state, alive, file](bool agreed)
               {
                   if (alive.expired())
                       return;
                   if (agreed)
                       write();
                   else
                       state.addNotice("Not saved: " + quoted(file) + " was kept as it was.");
               });
}
} // namespace

files::Request dialog(int kind, const juce::File& start)
{
    files::Request r;
    r.start = start;
    r.save = kind > 100;
    switch (kind)
    {
    case 1:
        r.title = "Load Single Evolver Program";
        r.patterns = "*.evp;*.syx;";
        break;
    case 3:
        r.title = "Load Evolver Program Bank";
        r.patterns = "*.ebp;*.syx;";
        break;
    case 101:
        r.title = "Save Evolver Program";
        r.patterns = "*.evp;*.syx;";
        break;
    case 103:
        r.title = "Save Evolver Program Bank";
        r.patterns = "*.ebp;*.syx;";
        break;
    default:
        break;
    }
    return r;
}

bool writeWhole(const juce::File& file, const juce::MemoryBlock& bytes)
{
    if (!file.getParentDirectory().isDirectory())
        return false;
    juce::TemporaryFile temp(file);
    if (!temp.getFile().replaceWithData(bytes.getData(), bytes.getSize()))
        return false;
    if (temp.getFile().getSize() != (juce::int64)bytes.getSize())
        return false;
    return temp.overwriteTargetFileWithTemporary();
}

juce::String describeRefusal(const juce::MemoryBlock& bytes, bool wantedBank)
{
    using programimport::Use;
    const auto found = programimport::importBytes(bytes.getData(), bytes.getSize(), {});
    juce::StringArray parts;
    const int names = found[Use::names].items + found[Use::unpairedNames].items;
    if (!found.programs.empty())
        parts.add(juce::String((int)found.programs.size()) + " program" +
                  (found.programs.size() == 1 ? "" : "s"));
    if (wantedBank && names > 0)
        parts.add(juce::String(names) + " name" + (names == 1 ? "" : "s"));
    for (auto use : {Use::combos, Use::globals, Use::waves, Use::foreign, Use::malformed})
        if (found[use].items > 0)
            parts.add(juce::String(found[use].items) + " " + programimport::useText(use));

    if (found.sysexMessages == 0)
        return "it holds no SysEx message";
    const juce::String what =
        parts.isEmpty() ? juce::String() : " (found " + parts.joinIntoString(", ") + ")";
    if (wantedBank)
        return "it is not a bank of 128 programs with their names" + what;
    if (found.programs.empty())
        return "it holds no program" + what;
    return "its first message is not a program dump" + what;
}

void loadProgram(MidiCntrState& state, std::weak_ptr<bool> alive,
                 std::function<void(const juce::MemoryBlock&, const juce::String&)> apply)
{
    files::choose(dialog(1, state.settingsFolder()),
                  [&state, alive, apply = std::move(apply)](const juce::File& file)
                  {
                      if (alive.expired() || file == juce::File())
                          return;
                      juce::MemoryBlock bytes;
                      if (!readChosen(state, file, bytes))
                          return;
                      const auto record =
                          libraryfiles::readSingleProgram(bytes, libraryfiles::nameForFile(file));
                      if (!record.has_value())
                      {
                          state.addNotice("Not loaded: " + quoted(file) + ": " +
                                          describeRefusal(bytes, false) + ". Nothing was changed.");
                          return;
                      }
                      const auto name = records::decodeName(
                          static_cast<const std::uint8_t*>(record->getData()) + records::nameOffset);
                      apply(*record, name);
                  });
}

void saveProgram(MidiCntrState& state, std::weak_ptr<bool> alive, const juce::MemoryBlock& record)
{
    if (record.getSize() < (size_t)records::programSize)
        return;
    const auto name =
        records::decodeName(static_cast<const std::uint8_t*>(record.getData()) + records::nameOffset);
    auto bytes = libraryfiles::writeSingleProgram(record);
    const auto suggested = state.settingsFolder().getChildFile(fileNameFor(name) + ".evp");
    files::choose(dialog(101, suggested),
                  [&state, alive, bytes, name](const juce::File& file)
                  {
                      if (!alive.expired())
                          saveChosen(state, alive, file, ".evp", bytes, "Program \"" + name.trimEnd() + "\"");
                  });
}

void loadBank(MidiCntrState& state, std::weak_ptr<bool> alive, int bank)
{
    if (state.programBank(bank) == nullptr)
        return;
    auto request = dialog(3, state.settingsFolder());
    request.title << " To Bank " << letter(bank);
    files::choose(request,
                  [&state, alive, bank](const juce::File& file)
                  {
                      if (alive.expired() || file == juce::File())
                          return;
                      juce::MemoryBlock bytes;
                      if (!readChosen(state, file, bytes))
                          return;
                      const auto records = libraryfiles::readProgramBank(bytes);
                      if (!records.has_value())
                      {
                          state.addNotice("Not loaded: " + quoted(file) + ": " +
                                          describeRefusal(bytes, true) + ". Bank " + letter(bank) +
                                          " was not changed.");
                          return;
                      }
                      state.programBank(bank)->setAllSlots(records->getData(), records->getSize());
                      state.postChange(CS_PROGRAM_STORED);
                      state.addNotice("Bank " + letter(bank) + " loaded from " + quoted(file) + ".");
                  });
}

void saveBank(MidiCntrState& state, std::weak_ptr<bool> alive, int bank)
{
    auto* b = state.programBank(bank);
    if (b == nullptr)
        return;
    auto bytes = libraryfiles::writeProgramBank(*b, bank);
    const auto suggested = state.settingsFolder().getChildFile(fileNameFor(b->getName()) + ".ebp");
    files::choose(dialog(103, suggested),
                  [&state, alive, bytes, bank](const juce::File& file)
                  {
                      if (!alive.expired())
                          saveChosen(state, alive, file, ".ebp", bytes, "Bank " + letter(bank));
                  });
}
} // namespace zentak::filecommands
