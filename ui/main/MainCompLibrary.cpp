// The main component's librarian side: the bank browser and its menus (FILE, MIDI, PRESETS, the list's
// context menu and selection), the application bar's FILE menu, the write dialog, and the file commands
// they start. Menus are built fresh and shown asynchronously through the menu seam; file dialogs go
// through the file seam.
#include "MainComp.h"

#include "MenuSeam.h"
#include "sounddata/ProgramCategories.h"
#include "ui/library/FileCommands.h"

namespace zentak
{
namespace
{
juce::String letter(int bank)
{
    return juce::String::charToString((juce::juce_wchar)('A' + bank));
}

juce::String trimmed(const juce::String& name)
{
    return name.trimEnd();
}

} // namespace

void MainComp::createLibraryPages()
{
    bankBrowser = std::make_unique<BankComp>(controller);
    addChildComponent(*bankBrowser);
    bankBrowser->setBounds(0, 28, 10, 10);
    bankBrowser->grid().addChangeListener(this);
    bankBrowser->okButton().addChangeListener(this);
    bankBrowser->addChangeListener(this);
}

void MainComp::removeLibraryListeners()
{
    closeWriteDialog();
    bankBrowser->grid().removeChangeListener(this);
    bankBrowser->okButton().removeChangeListener(this);
    bankBrowser->removeChangeListener(this);
}

void MainComp::layoutLibraryPages(int w, int top)
{
    const float s = displayScale();
    if (browserShown)
    {
        // The sound editor waits out of sight while the browser covers the page.
        editor->setBounds(0, -5000, w, (int)(s * 164.0f));
        fitOverlay(*bankBrowser, {0, 28, w, top - 29}, BankComp::neededWidth, BankComp::neededHeight,
                   [this](int width, int height) { bankBrowser->layout(width, height); });
        bankBrowser->setVisible(true);
        bankBrowser->toFront(false);
    }
    if (writeDialog != nullptr)
    {
        writeDialog->layout(w, top - 28);
        writeDialog->toFront(false);
    }
}

bool MainComp::libraryChange(juce::ChangeBroadcaster* source)
{
    if (writeDialog != nullptr)
    {
        if (source == &writeDialog->writeButton())
        {
            writeChosen();
            return true;
        }
        if (source == &writeDialog->cancelButton())
        {
            closeWriteDialog();
            return true;
        }
    }
    if (source == &bankBrowser->grid())
    {
        if (browserShown)
            bankListEvent();
        return true;
    }
    if (source == &bankBrowser->okButton())
    {
        if (browserShown)
            runCommand(99);
        return true;
    }
    if (source == bankBrowser.get())
    {
        if (browserShown)
            bankBrowserCommand(bankBrowser->lastCommand());
        return true;
    }
    return false;
}

void MainComp::refreshBankList()
{
    bankBrowser->refill();
    if (writeDialog != nullptr)
        writeDialog->grid().repaint();
}

// The bank browser ------------------------------------------------------------------------------

void MainComp::toggleBankBrowser()
{
    if (writeDialog != nullptr)
        return;
    keys->setDisplayScale(displayScale());
    if (browserShown)
    {
        browserShown = false;
        bankBrowser->setVisible(false);
        bankBrowser->setTransform({});
        bankBrowser->setBounds(0, 28, 10, 10);
        relayout();
        return;
    }
    if (page != 97)
    {
        if (sequencer->isLaneEditingOpen())
            sequencer->closeLaneEditing();
        page = 97;
    }
    browserShown = true;
    bankBrowser->useLoadedDataSwitch().setOn(controller->useLoadedData);
    relayout();
    bankBrowser->showBank(controller->currentBank.load(), controller->currentProgram.load());
}

void MainComp::bankListEvent()
{
    auto& grid = bankBrowser->grid();
    if (grid.selectedRow < 0)
        return;
    const int bank = grid.selectedBank, slot = grid.selectedSlot;
    if (grid.eventCode == StsGrid::rowPressedRight)
        bankContextMenu(bank, slot);
    else if (grid.eventCode == StsGrid::rowSelected)
        bankSlotChosen(bank, slot);
}

void MainComp::bankSlotChosen(int bank, int slot)
{
    auto* b = controller->programBank(bank);
    if (b == nullptr || slot < 0 || slot > 127)
        return;
    if (controller->useLoadedData)
        controller->storeProgram(false, 0, 0, b->getSlot(slot)); // nothing is sent
    else
        controller->selectProgram(bank, slot, true, true);
}

void MainComp::bankBrowserCommand(int code)
{
    auto& grid = bankBrowser->grid();
    switch (code)
    {
    case BankComp::bankChosen:
        if (grid.getFillMode() == 0)
        {
            const int bank = grid.getFillArgument();
            controller->selectProgram(bank, controller->currentProgram.load(), true, true);
            bankBrowser->showBank(bank, controller->currentProgram.load());
        }
        return;
    case BankComp::presetsWanted:
        if (grid.getFillMode() == 0)
            presetsMenu();
        return;
    case BankComp::useLoadedDataFlipped:
        controller->useLoadedData = !controller->useLoadedData;
        bankBrowser->useLoadedDataSwitch().setOn(controller->useLoadedData);
        return;
    case BankComp::fileMenuWanted:
        bankFileMenu();
        return;
    case BankComp::midiMenuWanted:
        bankMidiMenu();
        return;
    default:
        return;
    }
}

// Menus ------------------------------------------------------------------------------------------

juce::PopupMenu MainComp::buildFileMenu() const
{
    juce::PopupMenu m;
    m.addItem(1, "Load Single Program");
    m.addItem(2, "Save " + trimmed(controller->hostBank().editName()));
    m.addSeparator();
    m.addItem(3, "About");
    return m;
}

juce::PopupMenu MainComp::buildBankFileMenu() const
{
    juce::PopupMenu m;
    for (int b = 0; b < 4; ++b)
        m.addItem(100 + b, "Load Program Bank To Bank " + letter(b));
    m.addSeparator();
    for (int b = 0; b < 4; ++b)
        m.addItem(200 + b, "Save Program Bank " + letter(b));
    m.addSeparator();
    m.addItem(300, juce::String::fromUTF8("Restore Library From Backup\u2026"));
    return m;
}

juce::PopupMenu MainComp::buildBankMidiMenu() const
{
    juce::PopupMenu receive, transmit, m;
    for (int b = 0; b < 4; ++b)
    {
        receive.addItem(b + 1, "Bank " + letter(b));
        transmit.addItem(100 + b, "Bank " + letter(b));
    }
    m.addSubMenu("Receive Program Bank ", receive);
    m.addItem(200, "Receive All Banks");
    m.addSeparator();
    m.addSubMenu("Transmit Program Bank ", transmit);
    m.addItem(300, "Transmit All Banks");
    m.addSeparator();
    m.addItem(400, "Verify After Transmit", true, controller->verifyTransmit());
    return m;
}

juce::PopupMenu MainComp::buildPresetsMenu() const
{
    static const char* const sets[] = {"Evolver Factory Presets ", "PolyEvolver Rack Factory Presets ",
                                       "PolyEvolver Keyboards Factory Presets "};
    juce::PopupMenu m;
    for (int set = 0; set < 3; ++set)
    {
        juce::PopupMenu banks;
        for (int b = 0; b < 4; ++b)
            banks.addItem(100 * (set + 1) + b, "Bank " + letter(b));
        m.addSubMenu(sets[set], banks);
    }
    m.addSeparator();
    m.addItem(99, "Initialize Program Bank " + letter(juce::jlimit(0, 3, controller->currentBank.load())));
    return m;
}

juce::PopupMenu MainComp::buildBankContextMenu(int bank, int slot) const
{
    juce::PopupMenu m;
    const auto* b = controller->programBank(bank);
    const juce::String name = b != nullptr ? trimmed(b->slotName(slot)) : juce::String();
    m.addItem(1, "Copy Program: " + name);
    juce::String paste("Paste");
    if (clipboard.has_value() && clipboard->getSize() >= (size_t)records::programSize)
        paste = "Paste " + trimmed(records::decodeName(
                               static_cast<const std::uint8_t*>(clipboard->getData()) + records::nameOffset));
    m.addItem(2, paste);
    m.addSeparator();
    m.addItem(3, "Save " + name);
    m.addItem(4, "Load Program ");
    return m;
}

void MainComp::fileMenu()
{
    menus::show(buildFileMenu(), bar->button(75),
                menus::whileAlive(alive, [this](int id) { fileMenuChosen(id); }));
}

void MainComp::bankFileMenu()
{
    menus::show(buildBankFileMenu(), &bankBrowser->fileButton(),
                menus::whileAlive(alive, [this](int id) { bankFileMenuChosen(id); }));
}

void MainComp::bankMidiMenu()
{
    menus::show(buildBankMidiMenu(), &bankBrowser->midiButton(),
                menus::whileAlive(alive, [this](int id) { bankMidiMenuChosen(id); }));
}

void MainComp::presetsMenu()
{
    menus::show(buildPresetsMenu(), &bankBrowser->presetsButton(),
                menus::whileAlive(alive, [this](int id) { presetsMenuChosen(id); }));
}

void MainComp::bankContextMenu(int bank, int slot)
{
    menus::show(
        buildBankContextMenu(bank, slot), nullptr,
        menus::whileAlive(alive, [this, bank, slot](int id) { bankContextMenuChosen(id, bank, slot); }));
}

void MainComp::fileMenuChosen(int id)
{
    switch (id)
    {
    case 1:
        filecommands::loadProgram(*controller, alive,
                                  [this](const juce::MemoryBlock& record, const juce::String& name)
                                  {
                                      controller->storeProgram(false, 0, 0, record);
                                      controller->addNotice("Loaded \"" + trimmed(name) +
                                                            "\" as the sound being edited.");
                                  });
        return;
    case 2:
        filecommands::saveProgram(*controller, alive, controller->hostBank().getEdit());
        return;
    case 3:
        if (writeDialog != nullptr)
            return;
        if (about != nullptr)
            closeAbout();
        else
            showAbout(0);
        return;
    default:
        return;
    }
}

void MainComp::bankFileMenuChosen(int id)
{
    if (id >= 100 && id < 104)
        filecommands::loadBank(*controller, alive, id - 100);
    else if (id >= 200 && id < 204)
        filecommands::saveBank(*controller, alive, id - 200);
    else if (id == 300)
        restoreLibraryFromBackup();
}

void MainComp::restoreLibraryFromBackup()
{
    // The chooser opens on the backup a start set aside, if one is waiting, otherwise in the folder.
    const auto setAside = controller->setAsideLibrary();
    files::Request request;
    request.title = "Restore Library From Backup";
    request.patterns = "*.bak*;*.evl";
    request.start = setAside != juce::File() ? setAside : controller->settingsFolder();
    std::weak_ptr<bool> weak = alive;
    files::choose(request,
                  [this, weak](const juce::File& file)
                  {
                      if (weak.expired() || file == juce::File())
                          return;
                      controller->restoreLibraryFromBackup(file); // all or nothing; a notice says which
                      refreshBankList();
                  });
}

void MainComp::askTransmit(int kind, int bank)
{
    // A transmit replaces the instrument's programs: asked first, as loading a factory set is.
    const bool all = kind == 107;
    const auto device = controller->instrumentWord();
    const auto what =
        all ? juce::String("all four banks (512 programs)") : "bank " + letter(bank) + " (128 programs)";
    const auto message = "Transmitting replaces " + what + " on " + device + " with the library's " +
                         (all ? juce::String("banks") : "bank " + letter(bank)) +
                         ". The programs it holds there now are lost unless they are kept first: keeping "
                         "receives all four banks into a dated library file in the settings folder, then "
                         "transmits.";
    std::weak_ptr<bool> weak = alive;
    files::askChoice((all ? juce::String("Transmit all banks") : "Transmit bank " + letter(bank)), message,
                     {"Keep the instrument's current banks first", "Transmit"},
                     [this, weak, kind, bank](int choice)
                     {
                         if (weak.expired() || choice == 0)
                             return;
                         startTransfer(kind, bank, choice == 1);
                     });
}

void MainComp::bankMidiMenuChosen(int id)
{
    // The transfers run in the controller state; the progress box follows its codes.
    if (id >= 1 && id <= 4)
        startTransfer(0, id - 1);
    else if (id == 200)
        startTransfer(7, 0);
    else if (id >= 100 && id < 104)
        askTransmit(100, id - 100);
    else if (id == 300)
        askTransmit(107, 0);
    else if (id == 400)
        controller->setVerifyTransmit(!controller->verifyTransmit());
}

void MainComp::presetsMenuChosen(int id)
{
    const int bank = juce::jlimit(0, 3, controller->currentBank.load());
    const int set = id / 100, factoryBank = id % 100;
    const bool initialise = id == 99;
    if (!initialise && (set < 1 || set > 3 || factoryBank > 3))
        return;
    // A whole bank is replaced: the user confirms first, since nothing else keeps the old programs.
    const juce::String what = initialise
                                  ? juce::String("Initialize every program of bank " + letter(bank) + "?")
                                  : "Replace every program of bank " + letter(bank) + " with bank " +
                                        letter(factoryBank) + " of the factory presets?";
    std::weak_ptr<bool> weak = alive;
    files::ask("Replace bank " + letter(bank), what + " The 128 programs it holds now are lost.",
               initialise ? "Initialize" : "Replace",
               [this, weak, bank, set, factoryBank, initialise](bool agreed)
               {
                   if (!agreed || weak.expired())
                       return;
                   auto* b = controller->programBank(bank);
                   if (initialise)
                       b->initialise();
                   else
                       b->loadFactory(set, factoryBank);
                   controller->postChange(CS_PROGRAM_STORED);
               });
}

void MainComp::bankContextMenuChosen(int id, int bank, int slot)
{
    auto* b = controller->programBank(bank);
    if (b == nullptr || slot < 0 || slot > 127)
        return;
    switch (id)
    {
    case 1:
        copyProgram(true, bank, slot);
        return;
    case 2:
        pasteProgram(true, bank, slot);
        return;
    case 3:
        filecommands::saveProgram(*controller, alive, b->getSlot(slot));
        return;
    case 4:
        filecommands::loadProgram(
            *controller, alive,
            [this, bank, slot](const juce::MemoryBlock& record, const juce::String& name)
            {
                controller->storeProgram(true, bank, slot, record);
                controller->addNotice("Loaded \"" + trimmed(name) + "\" into " +
                                      LCD_Comp::slotLabel(bank, slot) + ".");
            });
        return;
    default:
        return;
    }
}

// The write dialog -------------------------------------------------------------------------------

void MainComp::toggleWriteDialog()
{
    keys->setDisplayScale(displayScale());
    if (writeDialog != nullptr)
    {
        closeWriteDialog();
        return;
    }
    const auto record = controller->hostBank().getEdit();
    const int category =
        record.getSize() > 117 ? (int)static_cast<const std::uint8_t*>(record.getData())[117] : 0;
    writeDialog = std::make_unique<WriteSnd>(controller, controller->currentBank.load(),
                                             controller->currentProgram.load(),
                                             controller->hostBank().editName(), category);
    addAndMakeVisible(*writeDialog);
    writeDialog->writeButton().addChangeListener(this);
    writeDialog->cancelButton().addChangeListener(this);
    writeDialog->layout(getWidth(), keyboardTop() - 28);
    writeDialog->toFront(false);
}

void MainComp::closeWriteDialog()
{
    if (writeDialog == nullptr)
        return;
    writeDialog->writeButton().removeChangeListener(this);
    writeDialog->cancelButton().removeChangeListener(this);
    if (keys != nullptr)
        keys->setDisplayScale(displayScale());
    deleteLater(std::move(writeDialog));
}

void MainComp::writeChosen()
{
    const int bank = writeDialog->chosenBank(), slot = writeDialog->chosenSlot();
    if (slot < 0)
    {
        controller->addNotice("Not written: choose the slot to write to.");
        return;
    }
    if (!controller->writeProgram(bank, slot, writeDialog->chosenName()))
    {
        // Nothing changed: the dialog stays open for another try.
        controller->addNotice("Not written: the instrument is still busy with a transfer or another write.");
        return;
    }
    if (browserShown)
        bankBrowser->grid().repaint();
    closeWriteDialog();
}
} // namespace zentak
