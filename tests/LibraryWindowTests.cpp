// The librarian half of the window end to end: the bank browser's modes and buttons, its menus and the
// application bar's FILE menu, program and bank files through the file dialogs, the write dialog, and
// a bank received from the instrument simulator through the browser's MIDI menu. Menus, file dialogs
// and questions are answered through their seams; everything else runs through the real window,
// controller state and ports.
#include "WidgetTestSupport.h"
#include "library/LibraryFiles.h"
#include "plugin/ZentakAudioProcessor.h"
#include "sounddata/SoundRecords.h"
#include "synthlink/SystemMidiDevices.h"
#include "synthlink/simulator/EvolverSimulator.h"
#include "synthlink/simulator/SimulatorCodec.h"
#include "ui/library/FileCommands.h"
#include "ui/main/FileSeam.h"
#include "ui/main/MainComp.h"
#include "ui/main/MenuSeam.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace juce
{
bool dispatchNextMessageOnSystemQueue(bool returnIfNoPendingMessages); // the framework's own loop step
}

using namespace zentak;
using namespace zentak::test;

namespace
{
/** The item id of a menu entry found by its text, following submenus: {"Receive Program Bank ",
    "Bank B"}. 0 when there is no such entry. */
int itemId(const juce::PopupMenu& menu, std::vector<juce::String> path)
{
    for (juce::PopupMenu::MenuItemIterator it(menu); it.next();)
    {
        const auto& item = it.getItem();
        if (item.text != path.front())
            continue;
        if (path.size() == 1)
            return item.itemID;
        if (item.subMenu != nullptr)
            return itemId(*item.subMenu, {path.begin() + 1, path.end()});
    }
    return 0;
}

/** The texts of a menu's entries in order ("-" for a separator, "text >" for a submenu). */
juce::StringArray texts(const juce::PopupMenu& menu)
{
    juce::StringArray out;
    for (juce::PopupMenu::MenuItemIterator it(menu); it.next();)
    {
        const auto& item = it.getItem();
        out.add(item.isSeparator ? juce::String("-") : item.text + (item.subMenu != nullptr ? " >" : ""));
    }
    return out;
}

struct LibraryWindow : ::testing::Test
{
    TempFolder temp;
    std::shared_ptr<SystemMidiDevices> devices = std::make_shared<SystemMidiDevices>(false);
    std::unique_ptr<ZentakAudioProcessor> processor;
    std::unique_ptr<MainComp> window;

    // The seams: the last menu shown, the file the next dialog chooses, the answer to a question.
    juce::PopupMenu menu;
    menus::Result menuResult;
    int menusShown = 0;
    menus::ScopedShower shower{[this](juce::PopupMenu&& m, juce::Component*, menus::Result r)
                               {
                                   menu = std::move(m);
                                   menuResult = std::move(r);
                                   ++menusShown;
                               }};
    juce::File nextFile;
    files::Request lastDialog;
    int dialogs = 0;
    files::ScopedChooser chooser{[this](const files::Request& r, files::Chosen chosen)
                                 {
                                     lastDialog = r;
                                     ++dialogs;
                                     chosen(nextFile);
                                 }};
    bool agree = true;
    int questions = 0;
    files::ScopedAsker asker{
        [this](const juce::String&, const juce::String&, const juce::String&, files::Answer a)
        {
            ++questions;
            a(agree);
        }};

    void SetUp() override
    {
        processor =
            std::make_unique<ZentakAudioProcessor>(MidiCntrStateOptions{temp.folder, {}, devices, false});
        state().selectInputPort(1);
        state().selectOutputPort(1);
        window = std::make_unique<MainComp>(&state());
        window->setSize(MainComp::designWidth, MainComp::designHeight);
        window->closeAbout();
        settle();
    }
    void TearDown() override
    {
        window.reset();
        pump();
        processor.reset();
    }

    MidiCntrState& state() { return processor->state(); }
    EvolverSimulator& sim() { return devices->simulator(); }
    BankComp& browser() { return window->bankBrowserPage(); }
    StsGrid& list() { return browser().grid(); }
    juce::String notice() { return window->appBar().noticeLabel().getText(); }

    /** Runs the message loop until nothing is waiting: change messages, posted deletions. */
    static void pump()
    {
        for (int i = 0; i < 10000 && juce::dispatchNextMessageOnSystemQueue(true); ++i)
        {
        }
    }
    void settle()
    {
        for (int i = 0; i < 3; ++i)
        {
            state().ports().waitUntilSent();
            sim().waitUntilIdle();
            state().deliverPendingWakes();
            pump();
        }
        window->handleUpdateNowIfNeeded();
    }

    /** A click on a text button, as the framework reports it. */
    void click(StsBut& b)
    {
        b.buttonClicked(b.getTextButton());
        settle();
    }
    /** Chooses the entry at path in the menu shown last. */
    void choose(std::vector<juce::String> path)
    {
        const int id = itemId(menu, path);
        ASSERT_NE(id, 0) << path.back();
        menuResult(id);
        settle();
    }
    /** Presses row r of the browser's list (the right button for the context menu). */
    void pressRow(int r, bool right = false)
    {
        const int y = (r - list().getFirstRow()) * list().rowHeight + 5;
        list().mouseDown(mouse(list(), 60.0f, (float)y, right ? rightButton : leftButton));
        settle();
    }
    size_t shortMessagesSince(size_t from) const
    {
        size_t n = 0;
        const auto all = devices->simulator().received();
        for (size_t i = from; i < all.size(); ++i)
            n += !all[i].empty() && all[i][0] != 0xf0 ? 1 : 0;
        return n;
    }
    juce::File write(const juce::String& name, const void* data, size_t size)
    {
        auto f = temp.folder.getChildFile(name);
        f.deleteFile();
        f.create();
        f.appendData(data, size);
        return f;
    }
    std::array<std::uint8_t, 208> slot(int bank, int s)
    {
        std::array<std::uint8_t, 208> out{};
        state().programBank(bank)->copySlot(s, out.data());
        return out;
    }
    /** Gives slot (bank, s) the category and a recognisable name. */
    void setCategory(int bank, int s, int category, const juce::String& name)
    {
        auto record = state().programBank(bank)->getSlot(s);
        static_cast<std::uint8_t*>(record.getData())[117] = (std::uint8_t)category;
        state().programBank(bank)->setSlot(s, record);
        state().programBank(bank)->setSlotName(s, name);
    }
};
} // namespace

TEST_F(LibraryWindow, MenusHaveTheirItemsAndIds)
{
    state().hostBank().setEditName("Warm Pad");
    EXPECT_EQ(texts(window->buildFileMenu()).joinIntoString("|"),
              "Load Single Program|Save Warm Pad|-|About");

    const auto bankFile = window->buildBankFileMenu();
    EXPECT_EQ(
        texts(bankFile).joinIntoString("|"),
        juce::String::fromUTF8("Load Program Bank To Bank A|Load Program Bank To Bank B|Load Program Bank "
                               "To Bank C|Load Program Bank To Bank D|-|Save Program Bank A|Save Program "
                               "Bank B|Save Program Bank C|Save Program Bank D|-|Restore Library From "
                               "Backup\u2026"));
    EXPECT_EQ(itemId(bankFile, {juce::String::fromUTF8("Restore Library From Backup\u2026")}), 300);
    EXPECT_EQ(itemId(bankFile, {"Load Program Bank To Bank D"}), 103);
    EXPECT_EQ(itemId(bankFile, {"Save Program Bank A"}), 200);

    const auto midi = window->buildBankMidiMenu();
    EXPECT_EQ(texts(midi).joinIntoString("|"),
              "Receive Program Bank  >|Receive All Banks|-|Transmit Program Bank  >|"
              "Transmit All Banks|-|Verify After Transmit");
    EXPECT_EQ(itemId(midi, {"Receive Program Bank ", "Bank A"}), 1);
    EXPECT_EQ(itemId(midi, {"Receive Program Bank ", "Bank D"}), 4);
    EXPECT_EQ(itemId(midi, {"Transmit Program Bank ", "Bank C"}), 102);
    EXPECT_EQ(itemId(midi, {"Receive All Banks"}), 200);
    EXPECT_EQ(itemId(midi, {"Transmit All Banks"}), 300);

    state().currentBank.store(2);
    const auto presets = window->buildPresetsMenu();
    EXPECT_EQ(texts(presets).joinIntoString("|"),
              "Evolver Factory Presets  >|PolyEvolver Rack Factory Presets  >|"
              "PolyEvolver Keyboards Factory Presets  >|-|Initialize Program Bank C");
    EXPECT_EQ(itemId(presets, {"PolyEvolver Rack Factory Presets ", "Bank B"}), 201);
    EXPECT_EQ(itemId(presets, {"PolyEvolver Keyboards Factory Presets ", "Bank D"}), 303);

    state().programBank(1)->setSlotName(9, "Tenth");
    EXPECT_EQ(texts(window->buildBankContextMenu(1, 9)).joinIntoString("|"),
              "Copy Program: Tenth|Paste|-|Save Tenth|Load Program ");
    window->bankContextMenuChosen(1, 1, 9); // copy
    EXPECT_EQ(texts(window->buildBankContextMenu(0, 0))[1], juce::String("Paste Tenth"));

    // Only the program menu ticks anything besides the verify switch.
    for (const auto& m : {window->buildFileMenu(), bankFile, presets})
        for (juce::PopupMenu::MenuItemIterator it(m, true); it.next();)
            EXPECT_FALSE(it.getItem().isTicked) << it.getItem().text;
}

TEST_F(LibraryWindow, BrowserCoversTheEditorAndListsOneBankOrOneCategory)
{
    state().selectProgram(2, 40, false, false);
    settle();
    window->runCommand(99);
    ASSERT_TRUE(window->isBankBrowserShown());
    EXPECT_TRUE(browser().isVisible());
    EXPECT_EQ(window->editorPage().getY(), -5000);
    EXPECT_EQ(list().getFillMode(), 0);
    EXPECT_EQ(list().getFillArgument(), 2);
    EXPECT_EQ(list().selectedRow, 40);
    EXPECT_LE(list().getFirstRow(), 40);
    EXPECT_GT(list().getFirstRow() + list().visibleRows(), 40) << "the current program is in sight";

    // One category across banks A to C: bank D is never searched, and the two unnamed categories
    // list their programs too.
    for (int b = 0; b < 4; ++b)
        for (int s = 0; s < 128; ++s)
            setCategory(b, s, 0, "x");
    setCategory(0, 3, 24, "A pad");
    setCategory(2, 100, 24, "C pad");
    setCategory(3, 7, 24, "D pad");
    setCategory(1, 5, 27, "B twenty-seven");
    click(browser().categoryButton(24));
    ASSERT_EQ(list().getFillMode(), 1);
    ASSERT_EQ(list().rowCount, 2);
    EXPECT_EQ(list().rowName(0).trimEnd(), juce::String("A pad"));
    EXPECT_EQ(list().rowName(1).trimEnd(), juce::String("C pad"));
    click(browser().categoryButton(27));
    ASSERT_EQ(list().rowCount, 1);
    EXPECT_EQ(list().rowBank(0), 1);
    EXPECT_EQ(list().rowSlot(0), 5);
    EXPECT_EQ(browser().categoryButton(0).getText(), juce::String("-----"));

    // PRESETS does nothing in category mode; in bank mode it opens its menu.
    const int before = menusShown;
    click(browser().presetsButton());
    EXPECT_EQ(menusShown, before);

    // BANK C (command id 0, like OK and every category button) returns to bank mode for C and selects
    // C with the current program on the instrument; OK closes the browser.
    const size_t sent = sim().receivedCount();
    click(browser().bankButton(2));
    EXPECT_TRUE(window->isBankBrowserShown());
    EXPECT_EQ(list().getFillMode(), 0);
    EXPECT_EQ(list().getFillArgument(), 2);
    EXPECT_EQ(state().currentBank.load(), 2);
    EXPECT_EQ(shortMessagesSince(sent), 2u) << "bank select and program change";
    click(browser().presetsButton());
    EXPECT_EQ(menusShown, before + 1);
    EXPECT_EQ(texts(menu).size(), 5);

    click(browser().okButton());
    EXPECT_FALSE(window->isBankBrowserShown());
    EXPECT_FALSE(browser().isVisible());
    EXPECT_EQ(window->editorPage().getY(), 28);
}

TEST_F(LibraryWindow, ChoosingARowSendsOnlyWithoutUseLoadedData)
{
    state().programBank(1)->setSlotName(6, "Chosen One");
    window->runCommand(99);
    click(browser().bankButton(1));
    ASSERT_FALSE(state().useLoadedData);

    // Use Loaded Data on: the slot becomes the edit record and nothing goes to the instrument.
    browser().useLoadedDataSwitch().mouseDown(mouse(browser().useLoadedDataSwitch(), 5.0f, 8.0f));
    settle();
    ASSERT_TRUE(state().useLoadedData);
    size_t sent = sim().receivedCount();
    pressRow(6);
    EXPECT_EQ(sim().receivedCount(), sent);
    EXPECT_EQ(state().hostBank().editName().trimEnd(), juce::String("Chosen One"));
    EXPECT_EQ(window->editorPage().lcd().getNameText().trimEnd(), juce::String("Chosen One"));

    // Off: the instrument is asked for bank B, program 8.
    browser().useLoadedDataSwitch().mouseDown(mouse(browser().useLoadedDataSwitch(), 5.0f, 8.0f));
    settle();
    ASSERT_FALSE(state().useLoadedData);
    sent = sim().receivedCount();
    pressRow(7);
    const auto all = sim().received();
    ASSERT_EQ(shortMessagesSince(sent), 2u);
    EXPECT_EQ(all[all.size() - 1][1], 7) << "program change";
    EXPECT_EQ(state().currentBank.load(), 1);
    EXPECT_EQ(state().currentProgram.load(), 7);

    // A right-button press opens the slot's context menu.
    const int before = menusShown;
    pressRow(9, true);
    EXPECT_EQ(menusShown, before + 1);
    EXPECT_TRUE(texts(menu)[0].startsWith("Copy Program: "));
}

TEST_F(LibraryWindow, RejectedFilesChangeNothingAndSaySo)
{
    const auto editBefore = state().hostBank().getEdit();
    std::uint8_t combo80[80] = {};
    const auto combo = simcodec::comboMessage(0x22, -1, -1, combo80);
    ASSERT_EQ(combo.size(), 98u);

    struct Case
    {
        const char* name;
        std::vector<std::uint8_t> bytes;
        const char* says;
    };
    const std::vector<Case> cases = {
        {"combo.syx", combo, "holds no program"},
        {"empty.evp", {}, "holds no SysEx"},
        {"text.evp", {'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd'}, "holds no SysEx"},
    };
    for (const auto& c : cases)
    {
        nextFile = write(c.name, c.bytes.data(), c.bytes.size());
        window->fileMenuChosen(1);
        settle();
        EXPECT_EQ(lastDialog.title, juce::String("Load Single Evolver Program"));
        EXPECT_EQ(lastDialog.start, temp.folder) << "dialogs start in the settings folder";
        EXPECT_TRUE(state().hostBank().getEdit() == editBefore) << c.name;
        EXPECT_TRUE(notice().contains("Not loaded")) << c.name << ": " << notice();
        EXPECT_TRUE(notice().contains(c.name)) << notice();
        EXPECT_TRUE(notice().contains(c.says)) << c.name << ": " << notice();
        window->appBar().clearNotice();
    }

    // A program file into a bank: rejected, so the bank stays; a bank file of 127 slots likewise.
    const auto bankBefore = state().programBank(3)->getSlot(5);
    nextFile = write("combo.syx", combo.data(), combo.size());
    window->bankContextMenuChosen(4, 3, 5);
    settle();
    EXPECT_TRUE(state().programBank(3)->getSlot(5) == bankBefore);
    const auto full = libraryfiles::writeProgramBank(*state().programBank(0), 0);
    nextFile = write("short.ebp", full.getData(), full.getSize() - 252);
    const auto dBefore = state().programBank(3)->getSlot(0);
    window->bankFileMenuChosen(103);
    settle();
    EXPECT_TRUE(state().programBank(3)->getSlot(0) == dBefore);
    EXPECT_TRUE(notice().contains("127 programs")) << notice();
    EXPECT_TRUE(notice().contains("Bank D was not changed")) << notice();

    // A cancelled dialog does nothing and says nothing.
    window->appBar().clearNotice();
    nextFile = juce::File();
    window->fileMenuChosen(1);
    settle();
    EXPECT_TRUE(notice().isEmpty());
}

TEST_F(LibraryWindow, BankAndProgramFilesRoundTripThroughTheDialogs)
{
    for (int s = 0; s < 128; ++s)
        state().programBank(1)->setSlotName(s, "B slot " + juce::String(s));
    window->runCommand(99); // the browser shows bank A

    // Save bank B: the dialog suggests the bank's name in the settings folder; the file is the bank.
    nextFile = temp.folder.getChildFile("mine"); // typed without an extension
    window->bankFileMenuChosen(201);
    settle();
    EXPECT_EQ(lastDialog.title, juce::String("Save Evolver Program Bank"));
    EXPECT_EQ(lastDialog.start, temp.folder.getChildFile("Program Bank B.ebp"));
    const auto saved = temp.folder.getChildFile("mine.ebp");
    ASSERT_TRUE(saved.existsAsFile()) << notice();
    EXPECT_EQ(saved.getSize(), (juce::int64)libraryfiles::bankFileSize);
    EXPECT_TRUE(notice().contains("saved")) << notice();

    // Load it into bank D while A is shown: D changes, nothing else; A's list is filled again.
    std::array<std::array<std::uint8_t, 208>, 3> others{slot(0, 0), slot(1, 0), slot(2, 0)};
    list().selectRow(20, true);
    nextFile = saved;
    window->bankFileMenuChosen(103);
    settle();
    for (int s = 0; s < 128; ++s)
        ASSERT_EQ(slot(3, s), slot(1, s)) << s;
    EXPECT_EQ(slot(0, 0), others[0]);
    EXPECT_EQ(slot(2, 0), others[2]);
    EXPECT_EQ(list().getFillArgument(), 0);
    EXPECT_EQ(list().selectedRow, 20) << "the refill keeps the row";
    EXPECT_TRUE(notice().contains("Bank D loaded")) << notice();

    // Saving over an existing file asks first; refusing keeps the file as it was.
    const auto original = saved.getLastModificationTime();
    agree = false;
    nextFile = saved;
    window->bankFileMenuChosen(200);
    settle();
    EXPECT_EQ(questions, 1);
    EXPECT_EQ(saved.getLastModificationTime(), original);
    EXPECT_TRUE(notice().contains("kept")) << notice();

    // Program from the context menu of slot 9 of bank B, loaded into slot 5 of bank A: only slot 5
    // changes, and it takes the file's name.
    nextFile = temp.folder.getChildFile("Ninth.evp");
    window->bankContextMenuChosen(3, 1, 9);
    settle();
    ASSERT_TRUE(nextFile.existsAsFile()) << notice();
    EXPECT_EQ(lastDialog.start.getFileName(), juce::String("B slot 9.evp"));
    EXPECT_EQ(nextFile.getSize(), 226);
    const auto a4 = slot(0, 4), a6 = slot(0, 6);
    window->bankContextMenuChosen(4, 0, 5);
    settle();
    const auto a5 = slot(0, 5), b9 = slot(1, 9);
    EXPECT_TRUE(std::equal(a5.begin(), a5.begin() + 192, b9.begin()));
    EXPECT_EQ(state().programBank(0)->slotName(5), juce::String("Ninth           "));
    EXPECT_EQ(slot(0, 4), a4);
    EXPECT_EQ(slot(0, 6), a6);

    // A folder that cannot be written: the user is told, nothing is reported as saved.
    nextFile = temp.folder.getChildFile("no such folder").getChildFile("x.evp");
    window->fileMenuChosen(2);
    settle();
    EXPECT_FALSE(nextFile.exists());
    EXPECT_TRUE(notice().contains("Not saved")) << notice();
}

TEST_F(LibraryWindow, FactoryPresetsReplaceTheCurrentBankOnlyAfterTheQuestion)
{
    state().currentBank.store(1);
    window->runCommand(99);
    click(browser().bankButton(1));
    const auto before = slot(1, 0);
    agree = false;
    window->presetsMenuChosen(99);
    settle();
    EXPECT_EQ(slot(1, 0), before);
    agree = true;
    window->presetsMenuChosen(99);
    settle();
    EXPECT_EQ(state().programBank(1)->slotName(0), juce::String("Untitled        "));
    EXPECT_EQ(list().rowName(0), juce::String("Untitled        "));
    window->presetsMenuChosen(300); // PolyEvolver Keyboards set, its bank A
    settle();
    Bank_Program expected("x");
    expected.loadFactory(3, 0);
    EXPECT_EQ(state().programBank(1)->slotName(0), expected.slotName(0));
    EXPECT_EQ(questions, 3);
}

TEST_F(LibraryWindow, WriteDialogRenamesAndWritesIntoTheChosenSlot)
{
    state().hostBank().setEditName("Old Name");
    state().selectProgram(0, 3, false, false);
    state().hostBank().setEditName("Old Name");
    settle();
    window->runCommand(969);
    auto* dialog = window->writeDialogPanel();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->chosenBank(), 0);
    EXPECT_EQ(dialog->chosenSlot(), 3);
    window->runCommand(99);
    EXPECT_FALSE(window->isBankBrowserShown()) << "BANK is refused while the dialog is open";

    // Rename: 20 typed characters keep 16; CANCEL of the dialog keeps the edit record's name.
    dialog->lcd().mouseDown(mouse(dialog->lcd(), 40.0f, 35.0f));
    settle();
    ASSERT_TRUE(dialog->isRenameOpen());
    auto& field = dialog->renameDialog()->nameField();
    field.selectAll();
    field.insertTextAtCaret("ABCDEFGHIJKLMNOPQRST");
    click(dialog->renameDialog()->okButton());
    EXPECT_FALSE(dialog->isRenameOpen());
    EXPECT_EQ(dialog->chosenName(), juce::String("ABCDEFGHIJKLMNOP"));
    EXPECT_EQ(dialog->lcd().getNameText(), juce::String("ABCDEFGHIJKLMNOP"));
    click(dialog->cancelButton());
    EXPECT_FALSE(window->isWriteDialogShown());
    EXPECT_EQ(state().hostBank().editName().trimEnd(), juce::String("Old Name"));

    // Again, to bank C slot 11: the instrument and the library hold the program under its new name.
    window->runCommand(969);
    dialog = window->writeDialogPanel();
    click(dialog->bankButton(2));
    EXPECT_EQ(dialog->chosenBank(), 2);
    EXPECT_EQ(dialog->chosenSlot(), 3) << "the slot number stays chosen in the other bank";
    dialog->grid().mouseDown(mouse(dialog->grid(), 60.0f, 11.0f * 26.0f + 5.0f));
    settle();
    EXPECT_EQ(dialog->lcd().getSlotText(), juce::String("C:012"));
    dialog->lcd().mouseDown(mouse(dialog->lcd(), 40.0f, 35.0f));
    settle();
    dialog->renameDialog()->nameField().setText("New Lead", false);
    click(dialog->renameDialog()->okButton());
    click(dialog->writeButton());
    EXPECT_FALSE(window->isWriteDialogShown());
    for (int i = 0; i < 400 && state().isSending(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    settle();
    EXPECT_EQ(state().programBank(2)->slotName(11), juce::String("New Lead        "));
    EXPECT_EQ(sim().programName(2, 11).trimEnd(), juce::String("New Lead"));
    const auto held = sim().program(2, 11);
    for (int p = 0; p < 192; ++p)
        ASSERT_EQ(held[(size_t)p], state().editByte(p)) << p;
    EXPECT_EQ(window->editorPage().lcd().getSlotText(), juce::String("C:012"));
    EXPECT_EQ(window->editorPage().lcd().getNameText().trimEnd(), juce::String("New Lead"));
}

// A bank received through the browser's MIDI menu from the simulator at the DIN cable's speed (about
// twelve seconds): the list shows the received names.
TEST_F(LibraryWindow, ReceivingBankBAtDinSpeedFillsTheList)
{
    std::uint8_t record[192];
    for (int s = 0; s < 128; ++s)
    {
        for (int i = 0; i < 192; ++i)
            record[i] = (std::uint8_t)((i * 7 + s) % 100);
        sim().setProgram(1, s, record, "Recv B " + juce::String(s + 1));
    }
    sim().setWireSpeed(EvolverSimulator::dinBytesPerSecond);
    window->runCommand(99);
    click(browser().bankButton(1));
    click(browser().midiButton());
    const size_t from = sim().receivedCount();
    choose({"Receive Program Bank ", "Bank B"});
    const auto asked = sim().received();
    ASSERT_GT(asked.size(), from);
    EXPECT_EQ(asked[from], (std::vector<std::uint8_t>{0xF0, 0x01, 0x20, 0x01, 0x05, 0x01, 0x00, 0xF7}));
    for (int i = 0; i < 3000 && state().programBank(1)->slotName(127).trimEnd() != "Recv B 128"; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    settle();
    for (int s = 0; s < 128; ++s)
    {
        ASSERT_EQ(list().rowName(s).trimEnd(), "Recv B " + juce::String(s + 1)) << s;
        const auto held = slot(1, s);
        ASSERT_EQ(held[20], (std::uint8_t)((20 * 7 + s) % 100)) << s;
    }
    state().endTransfer(); // idempotent: the window may have ended it already
}

// CANCEL half-way: the slots received so far are new, the rest as they were, and nothing more is asked.
TEST_F(LibraryWindow, CancelledReceiveKeepsWhatArrivedAndTheRest)
{
    std::uint8_t record[192];
    for (int s = 0; s < 128; ++s)
    {
        for (int i = 0; i < 192; ++i)
            record[i] = (std::uint8_t)(100 + (i + s) % 20);
        sim().setProgram(1, s, record, "New");
    }
    std::array<std::array<std::uint8_t, 208>, 128> old{};
    for (int s = 0; s < 128; ++s)
        old[(size_t)s] = slot(1, s);
    sim().setWireSpeed(EvolverSimulator::dinBytesPerSecond * 8);
    window->runCommand(99);
    window->bankBrowserCommand(BankComp::midiMenuWanted);
    menuResult(itemId(menu, {"Receive Program Bank ", "Bank B"})); // no settling: the chain runs on
    auto isNew = [&](int s) { return slot(1, s)[0] == (std::uint8_t)(100 + s % 20); };
    for (int i = 0; i < 2000 && !isNew(60); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    const int atCancel = [&]
    {
        int n = 0;
        while (n < 128 && isNew(n))
            ++n;
        return n;
    }();
    state().endTransfer(); // what the progress box's CANCEL does
    settle();
    ASSERT_GE(atCancel, 61);
    const size_t asked = sim().receivedCount();
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    settle();
    EXPECT_EQ(sim().receivedCount(), asked) << "no request after CANCEL";

    int received = 0;
    while (received < 128 && isNew(received))
        ++received;
    EXPECT_GE(received, 61);
    EXPECT_LT(received, 128);
    for (int s = received; s < 128; ++s)
        ASSERT_EQ(slot(1, s), old[(size_t)s]) << "slot " << s << " kept";
    // Cancelled in the program pass: the received slots keep their names until names are received.
    for (int s = 0; s < received; ++s)
    {
        const auto now = slot(1, s);
        ASSERT_TRUE(std::equal(now.begin() + 192, now.end(), old[(size_t)s].begin() + 192)) << s;
    }
}
