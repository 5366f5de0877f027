// The controller state's files and ports: the settings file, the port settings file, the data image
// of the library, and choosing and opening the MIDI ports. Message thread.
#include "MidiCntrState.h"

#include "SettingsFiles.h"
#include "SystemMidiDevices.h"
#include "library/DataImage.h"
#include "library/FactorySets.h"

#include <cstring>

namespace zentak
{
namespace sf = settingsfiles;

// Settings ---------------------------------------------------------------------------------------

void MidiCntrState::loadSettings()
{
    const auto file = folder.getChildFile(sf::settingsFile);
    if (!useFiles || !file.existsAsFile())
    {
        settings = sf::newFields();
        saveSettings();
        return;
    }
    settings = sf::parseFields(file.loadFileAsString());
}

void MidiCntrState::saveSettings()
{
    if (!useFiles)
        return;
    const auto text = sf::formatFields(settings).toStdString();
    sf::replaceFile(folder.getChildFile(sf::settingsFile), text.data(), text.size());
}

// Library ----------------------------------------------------------------------------------------

void MidiCntrState::fillBanks(const juce::MemoryBlock& image)
{
    const auto& source = image.getSize() == image::size ? image : factory::image(1);
    for (int b = 0; b < 4; ++b)
        programBanks[(size_t)b]->loadFromImage(b, source);
    for (int c = 0; c < 3; ++c)
        comboBanks[(size_t)c]->loadFromImage(c, source);
    waves->loadFixedShapes(factory::fixedShapes(), factory::fixedShapesSize());
    waves->loadUserShapesFromImage(source);
}

namespace
{
/** Where one library record lies in the data image: a program's parameters and its name, a user
    wave shape, or a combo. */
struct RecordSpans
{
    size_t offset[2];
    size_t size[2];
};

std::vector<RecordSpans> librarySpans()
{
    std::vector<RecordSpans> spans;
    for (size_t b = 0; b < 4; ++b)
        for (size_t s = 0; s < 128; ++s)
            spans.push_back({{image::paramsOffset + image::paramsBankStride * b + 192 * s,
                              image::namesOffset + image::namesBankStride * b + 16 * s},
                             {192, 16}});
    for (size_t w = 0; w < image::userShapesSize / 256; ++w)
        spans.push_back({{image::userShapesOffset + 256 * w, 0}, {256, 0}});
    for (size_t c = 0; c < 3; ++c)
        for (size_t s = 0; s < 128; ++s)
            spans.push_back({{image::combosOffset + image::combosBankStride * c + 80 * s, 0}, {80, 0}});
    return spans;
}

bool sameRecord(const juce::MemoryBlock& a, const juce::MemoryBlock& b, const RecordSpans& r)
{
    for (int k = 0; k < 2; ++k)
        if (std::memcmp(a.begin() + r.offset[k], b.begin() + r.offset[k], r.size[k]) != 0)
            return false;
    return true;
}

void copyRecord(juce::MemoryBlock& to, const juce::MemoryBlock& from, const RecordSpans& r)
{
    for (int k = 0; k < 2; ++k)
        std::memcpy(to.begin() + r.offset[k], from.begin() + r.offset[k], r.size[k]);
}
} // namespace

void MidiCntrState::loadLibrary()
{
    juce::MemoryBlock image;
    const auto file = folder.getChildFile(sf::libraryFile);
    loadedOrigin = "factory";
    bool pendingNotices = false;
    if (useFiles)
    {
        // Notices about the user's data that no window has shown yet: they stay on disk until one does.
        const auto notice = folder.getChildFile(sf::libraryNoticeFile);
        if (notice.existsAsFile())
        {
            auto lines = juce::StringArray::fromLines(notice.loadFileAsString());
            lines.removeEmptyStrings();
            const juce::ScopedLock sl(noticeLock);
            notices.addArray(lines);
            pendingNotices = !lines.isEmpty();
        }
    }
    if (useFiles && file.existsAsFile())
    {
        const bool read = readLibraryFile(file, image);
        if (!read || image.getSize() != image::size)
        {
            // Never lost and never overwritten: the file is kept whole under a backup name, and the
            // factory set is loaded in its place.
            image.reset();
            const auto backup = sf::freeBackupName(folder.getChildFile(sf::rejectedLibraryFile));
            if (backup != juce::File() && file.moveFileTo(backup))
            {
                folder.getChildFile(sf::setAsideFile).replaceWithText(backup.getFileName());
                addNotice("The library file could not be used. It was kept as \"" + backup.getFileName() +
                              "\" and the factory set was loaded (FILE: Restore Library From Backup...).",
                          true);
            }
            else
                addNotice("The library file could not be used and was left as it is; the factory set was "
                          "loaded.",
                          true);
            pendingNotices = true;
        }
        else
        {
            loadedOrigin = sf::contentIdentity(image);
        }
    }
    if (!pendingNotices)
    {
        const auto setAside = setAsideLibrary();
        if (setAside != juce::File())
            addNotice("The library that could not be used is still kept as \"" + setAside.getFileName() +
                      "\" and the factory set is in use (FILE: Restore Library From Backup...).");
    }
    fillBanks(image);
    libraryBase = buildDataImage();
}

juce::File MidiCntrState::setAsideLibrary() const
{
    if (!useFiles)
        return {};
    const auto marker = folder.getChildFile(sf::setAsideFile);
    if (!marker.existsAsFile())
        return {};
    const auto backup = folder.getChildFile(marker.loadFileAsString().trim());
    const auto library = folder.getChildFile(sf::libraryFile);
    if (!backup.existsAsFile() || backup.getParentDirectory() != folder)
        return {};
    // A library saved after the backup was set aside is the user's newer library.
    if (library.existsAsFile() && library.getLastModificationTime() > marker.getLastModificationTime())
        return {};
    return backup;
}

bool MidiCntrState::restoreLibraryFromBackup(const juce::File& backup)
{
    juce::MemoryBlock image;
    if (!backup.existsAsFile() || !readLibraryFile(backup, image) || image.getSize() != image::size)
    {
        addNotice("\"" + backup.getFileName() + "\" cannot be restored: it is not a library file of " +
                  juce::String((int)image::size) + " bytes. Nothing changed.");
        return false;
    }
    juce::String kept;
    if (useFiles)
    {
        const auto file = folder.getChildFile(sf::libraryFile);
        if (file.existsAsFile() && file != backup)
        {
            const auto previous = sf::freeBackupName(folder.getChildFile(sf::rejectedLibraryFile));
            if (previous == juce::File() || !file.copyFileTo(previous))
            {
                addNotice("The library was not restored: the library file in use could not be kept first.");
                return false;
            }
            kept = " The library it replaced is kept as \"" + previous.getFileName() + "\".";
        }
        if (!sf::replaceFile(file, image.getData(), image.getSize()))
        {
            addNotice("The library was not restored: \"" + file.getFullPathName() +
                      "\" could not be written.");
            return false;
        }
        sf::writeOrigin(folder, sf::contentIdentity(image));
        folder.getChildFile(sf::setAsideFile).deleteFile();
    }
    fillBanks(image);
    libraryBase = buildDataImage();
    loadedOrigin = sf::contentIdentity(image);
    postChange(CS_PROGRAM_STORED);
    postChange(CS_NAMES_STORED);
    addNotice("Library restored from \"" + backup.getFileName() + "\"." + kept);
    return true;
}

juce::MemoryBlock MidiCntrState::buildDataImage() const
{
    const Bank_Program* const p[4] = {programBanks[0].get(), programBanks[1].get(), programBanks[2].get(),
                                      programBanks[3].get()};
    const Bank_Combo* const c[3] = {comboBanks[0].get(), comboBanks[1].get(), comboBanks[2].get()};
    return image::build(p, *waves, c);
}

bool MidiCntrState::saveLibrary()
{
    if (!useFiles)
        return true;
    const auto current = buildDataImage();
    if (current == libraryBase)
        return true; // nothing changed here: whatever is on disk stays as it is

    const auto file = folder.getChildFile(sf::libraryFile);
    juce::MemoryBlock disk;
    const bool onDisk = file.existsAsFile() && readLibraryFile(file, disk) && disk.getSize() == image::size;
    auto result = current;
    int conflicts = 0;
    bool foreign = false; // saved by an instance that did not start from the file this one loaded
    juce::File backup;
    if (onDisk && disk != libraryBase)
    {
        // Another instance saved since this one loaded. Its slots are only taken when both started
        // from the same file: otherwise "unchanged here" would mean another starting point's slots.
        if (sf::readOrigin(folder) == loadedOrigin)
        {
            result = disk;
            for (const auto& r : librarySpans())
            {
                if (sameRecord(current, libraryBase, r))
                    continue;
                if (!sameRecord(disk, libraryBase, r) && !sameRecord(disk, current, r))
                    ++conflicts;
                copyRecord(result, current, r);
            }
        }
        else
        {
            foreign = true;
        }
    }
    if (conflicts > 0 || foreign || (file.existsAsFile() && !onDisk))
    {
        backup = sf::freeBackupName(folder.getChildFile(sf::rejectedLibraryFile));
        if (backup == juce::File() || !file.copyFileTo(backup))
        {
            addNotice("The library was not saved: the library file on disk, written by another instance, "
                      "could not be kept first.",
                      true);
            return false; // nothing is written over a file that could not be kept
        }
    }
    if (!sf::replaceFile(file, result.getData(), result.getSize()))
    {
        // Kept on disk for the next window: at shutdown nobody is left to show it.
        addNotice("The library could not be saved to \"" + file.getFullPathName() + "\".", true);
        return false;
    }
    sf::writeOrigin(folder, loadedOrigin);
    folder.getChildFile(sf::setAsideFile).deleteFile(); // a newer library than the one set aside
    libraryBase = current;
    if (conflicts > 0)
        addNotice(juce::String(conflicts) +
                      " library slots were changed by this and by another instance. This "
                      "instance's versions were saved; the other file is kept as \"" +
                      backup.getFileName() + "\".",
                  true);
    else if (foreign)
        addNotice("Another instance saved a library that did not start from the same file as this one. This "
                  "instance's library was saved; the other is kept as \"" +
                      backup.getFileName() + "\".",
                  true);
    return true;
}

// Ports ------------------------------------------------------------------------------------------

void MidiCntrState::selectInputPort(int k)
{
    const auto names = inputDeviceNames();
    if (k < 0 || k > names.size())
        return;
    portNames.set(0, k == 0 ? juce::String("NONE") : names[k - 1]);
    openInputPort(k);
}

void MidiCntrState::selectOutputPort(int k)
{
    const auto names = outputDeviceNames();
    if (k < 0 || k > names.size())
        return;
    portNames.set(1, k == 0 ? juce::String("NONE") : names[k - 1]);
    openOutputPort(k);
}

void MidiCntrState::openInputPort(int k)
{
    portsControl->openInputPort(k, this);
}

void MidiCntrState::openOutputPort(int k)
{
    portsControl->openOutputPort(k);
    const int index = portsControl->getOutputIndex();
    simulatorOutput.store(portsControl->isOutputOpen() &&
                          outputDeviceNames()[index] == juce::String(SystemMidiDevices::simulatorName));
    sendPendingRecall(); // a project restored before the output was open
}

void MidiCntrState::loadPortSettings()
{
    while (portNames.size() < 3)
        portNames.add("NONE");
    if (!useFiles)
        return;
    const auto file = folder.getChildFile(sf::portsFile);
    if (!file.existsAsFile())
        savePortSettings();
    juce::MemoryBlock data;
    file.loadFileAsData(data);
    if (data.getSize() < 3)
    {
        savePortSettings();
        return;
    }
    juce::String in, out;
    bool hasOutput = false;
    if (sf::parsePortNames(data, in, out, hasOutput))
    {
        portNames.set(0, in);
        if (hasOutput)
            portNames.set(1, out);
    }
}

void MidiCntrState::savePortSettings()
{
    if (!useFiles)
        return;
    const auto data = sf::formatPortNames(portNames);
    sf::replaceFile(folder.getChildFile(sf::portsFile), data.getData(), data.getSize());
}

void MidiCntrState::openSavedPorts()
{
    loadPortSettings();
    const auto find = [](const juce::String& name, const juce::StringArray& devices)
    { return name.length() >= 3 ? devices.indexOf(name) : -1; };
    openInputPort(find(portNames[0], inputDeviceNames()) + 1);
    openOutputPort(find(portNames[1], outputDeviceNames()) + 1);
}
} // namespace zentak

namespace zentak
{
juce::String MidiCntrState::instrumentWord() const
{
    return simulatorOutput.load() ? "the simulator" : "the instrument";
}
} // namespace zentak
