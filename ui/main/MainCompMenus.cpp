// The main component's menus: EDIT, Send, the channel menu and the program menu. Each is built fresh,
// shown asynchronously through the menu seam, and its choice carried out when it answers.
#include "MainComp.h"

#include "MenuSeam.h"
#include "synthlink/SettingsFiles.h"

namespace zentak
{
namespace
{
juce::String trimmedName(const juce::String& name)
{
    return name.trimEnd();
}
} // namespace

juce::PopupMenu MainComp::buildEditMenu() const
{
    juce::PopupMenu m;
    m.addItem(1, "Copy Program: " + trimmedName(controller->hostBank().editName()));
    juce::String paste("Paste");
    if (clipboard.has_value() && clipboard->getSize() >= (size_t)records::programSize)
        paste = "Paste " + trimmedName(records::decodeName(
                               static_cast<const std::uint8_t*>(clipboard->getData()) + records::nameOffset));
    m.addItem(2, paste);
    return m;
}

juce::PopupMenu MainComp::buildSendMenu() const
{
    juce::PopupMenu m;
    m.addItem(1, "Current Preset: " + trimmedName(controller->hostBank().editName()));
    m.addItem(2, "FX Bank Preset: " +
                     trimmedName(controller->hostBank().slotName(controller->currentHostProgram.load())));
    return m;
}

juce::PopupMenu MainComp::buildChannelMenu() const
{
    juce::PopupMenu m;
    for (int n = 1; n <= 16; ++n)
        m.addItem(n, "Channel " + juce::String(n));
    return m;
}

juce::PopupMenu MainComp::buildProgramMenu() const
{
    juce::PopupMenu m;
    const int current = controller->currentBank.load();
    for (int b = 0; b < 4; ++b)
        m.addItem(100000 + b, controller->programBank(b)->getName(), true, b == current);
    m.addSeparator();
    if (auto* bank = controller->programBank(current))
        for (int s = 0; s < 128; ++s)
            m.addItem(1000 + s, trimmedName(bank->slotName(s)));
    return m;
}

void MainComp::editMenu()
{
    menus::show(buildEditMenu(), bar->button(73),
                menus::whileAlive(alive, [this](int id) { editMenuChosen(id); }));
}

void MainComp::sendMenu()
{
    menus::show(buildSendMenu(), bar->button(701),
                menus::whileAlive(alive, [this](int id) { sendMenuChosen(id); }));
}

void MainComp::channelMenu()
{
    menus::show(buildChannelMenu(), &bar->channelLabel(),
                menus::whileAlive(alive, [this](int id) { channelChosen(id); }));
}

void MainComp::programMenu()
{
    menus::show(buildProgramMenu(), nullptr,
                menus::whileAlive(alive, [this](int id) { programMenuChosen(id); }));
}

void MainComp::editMenuChosen(int id)
{
    if (id == 1)
        copyProgram(false, 0, 0);
    else if (id == 2)
        pasteProgram(false, 0, 0);
}

void MainComp::sendMenuChosen(int id)
{
    if (id == 1)
    {
        controller->storeProgram(false, 0, 0, controller->hostBank().getEdit());
        if (!controller->sendEditRecord())
            controller->addNotice("Not sent: " + controller->notSentReason() + ".");
    }
    else if (id == 2)
    {
        if (!controller->sendHostProgram())
            controller->addNotice("Not sent: " + controller->notSentReason() + ".");
    }
}

void MainComp::channelChosen(int n)
{
    if (n < 1 || n > 16)
        return;
    controller->instrumentChannel.store(n);
    controller->settings.set(settingsfiles::channelField, juce::String(n));
    bar->channelLabel().setText("Chan: " + juce::String(n));
}

void MainComp::programMenuChosen(int id)
{
    if (id >= 100000 && id < 100004)
        controller->currentBank.store(id - 100000);
    else if (id >= 1000 && id < 1128)
        controller->currentProgram.store(id - 1000);
    else
        return;
    controller->selectProgram(controller->currentBank.load(), controller->currentProgram.load(), true, true);
}
} // namespace zentak
