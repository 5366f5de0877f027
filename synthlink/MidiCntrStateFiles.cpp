// The controller state's files and ports: the settings file, the port settings file, the data image
// of the library, and choosing and opening the MIDI ports. Message thread.
#include "MidiCntrState.h"

#include "SettingsFiles.h"
#include "library/DataImage.h"
#include "library/FactorySets.h"

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

void MidiCntrState::loadLibrary()
{
    juce::MemoryBlock image;
    const auto file = folder.getChildFile(sf::libraryFile);
    if (useFiles && file.existsAsFile())
    {
        file.loadFileAsData(image);
        if (image.getSize() != image::size)
        {
            // Kept aside before the next shutdown writes a good image over it.
            const auto backup = folder.getChildFile(sf::rejectedLibraryFile);
            sf::replaceFile(backup, image.getData(), image.getSize());
        }
    }
    fillBanks(image);
}

juce::MemoryBlock MidiCntrState::buildDataImage() const
{
    const Bank_Program* const p[4] = {programBanks[0].get(), programBanks[1].get(), programBanks[2].get(),
                                      programBanks[3].get()};
    const Bank_Combo* const c[3] = {comboBanks[0].get(), comboBanks[1].get(), comboBanks[2].get()};
    return image::build(p, *waves, c);
}

void MidiCntrState::saveLibrary()
{
    if (!useFiles)
        return;
    const auto image = buildDataImage();
    sf::replaceFile(folder.getChildFile(sf::libraryFile), image.getData(), image.getSize());
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
