// The window's setup panels and dialogs against the real controller state and the instrument
// simulator: the MIDI setup panel, the global settings panel, the host program dialog and the progress
// box of bank receives and transmits (cancel, late reports, the window closing half-way).
#include "WidgetTestSupport.h"
#include "sounddata/ParDes.h"
#include "synthlink/SystemMidiDevices.h"
#include "synthlink/simulator/EvolverSimulator.h"
#include "ui/main/MainComp.h"
#include "ui/main/MenuSeam.h"

#include <gtest/gtest.h>

using namespace zentak;
using namespace zentak::test;

namespace
{
/** The simulator, plus a port "Broken Port" that is listed but cannot be opened and can be unplugged. */
class PanelDevices : public MidiDeviceBackend
{
public:
    juce::StringArray inputNames() override { return withBroken(system.inputNames()); }
    juce::StringArray outputNames() override { return withBroken(system.outputNames()); }
    std::unique_ptr<MidiInputDevice> openInput(int index, juce::MidiInputCallback* callback) override
    {
        return index < system.inputNames().size() ? system.openInput(index, callback) : nullptr;
    }
    std::unique_ptr<MidiOutputDevice> openOutput(int index) override
    {
        return index < system.outputNames().size() ? system.openOutput(index) : nullptr;
    }
    EvolverSimulator& simulator() { return system.simulator(); }

    bool brokenPlugged = true;

private:
    juce::StringArray withBroken(juce::StringArray names) const
    {
        if (brokenPlugged)
            names.add("Broken Port");
        return names;
    }
    SystemMidiDevices system{false};
};

struct PanelWindow : ::testing::Test
{
    TempFolder temp;
    std::shared_ptr<PanelDevices> devices = std::make_shared<PanelDevices>();
    std::unique_ptr<MidiCntrState> controller;
    std::unique_ptr<MainComp> window;

    void SetUp() override
    {
        // Unpaced: the tests that need the instrument's cable speed ask for it.
        auto options = MidiCntrStateOptions{temp.folder, {}, devices, true};
        options.cableBytesPerSecond = 0;
        controller = std::make_unique<MidiCntrState>(options);
        controller->selectInputPort(1);
        controller->selectOutputPort(1);
        controller->setTransmitGapMs(1);
        openWindow();
    }
    void TearDown() override
    {
        window.reset();
        controller.reset();
    }

    void openWindow()
    {
        window = std::make_unique<MainComp>(controller.get());
        window->setSize(MainComp::designWidth, MainComp::designHeight);
        window->closeAbout();
        settle();
    }

    MidiCntrState& state() { return *controller; }
    EvolverSimulator& sim() { return devices->simulator(); }

    void settle()
    {
        for (int i = 0; i < 3; ++i)
        {
            state().ports().waitUntilSent();
            sim().waitUntilIdle();
            state().deliverPendingWakes();
        }
        if (window != nullptr)
            window->handleUpdateNowIfNeeded();
    }

    /** Handles codes until done() holds (bounded); false when it never did. */
    bool waitUntil(const std::function<bool()>& done, int limitMs = 60000)
    {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
        while (std::chrono::steady_clock::now() < end)
        {
            state().deliverPendingWakes();
            window->handleUpdateNowIfNeeded();
            if (done())
                return true;
            std::this_thread::sleep_for(std::chrono::microseconds(300));
        }
        return false;
    }

    static void deliver(juce::ChangeBroadcaster& b) { b.dispatchPendingMessages(); }

    /** A text button's click, as the user makes it. */
    static void click(StsBut& b)
    {
        b.buttonClicked(b.getTextButton());
        deliver(b);
    }

    std::vector<std::vector<std::uint8_t>> sentSince(size_t from, std::uint8_t command)
    {
        std::vector<std::vector<std::uint8_t>> out;
        const auto all = sim().received();
        for (size_t i = from; i < all.size(); ++i)
            if (all[i].size() > 4 && all[i][0] == 0xf0 && all[i][4] == command)
                out.push_back(all[i]);
        return out;
    }

    juce::String notice() { return window->appBar().noticeLabel().getText(); }
};

/** Records the menus shown and answers each with the next of the given ids (0: dismissed). */
struct MenuLog
{
    std::vector<juce::StringArray> menus;
    std::vector<int> answers;
    menus::ScopedShower shower{[this](juce::PopupMenu&& menu, juce::Component*, menus::Result result)
                               {
                                   juce::StringArray items;
                                   for (juce::PopupMenu::MenuItemIterator it(menu); it.next();)
                                       items.add(juce::String(it.getItem().itemID) + "=" + it.getItem().text);
                                   menus.push_back(items);
                                   const int id = answers.empty() ? 0 : answers.front();
                                   if (!answers.empty())
                                       answers.erase(answers.begin());
                                   result(id);
                               }};
};
} // namespace

// MIDI setup --------------------------------------------------------------------------------------------

TEST_F(PanelWindow, MidiSetupShowsThePortsAndChoosingNoneClosesTheInput)
{
    window->runCommand(77);
    auto* panel = window->midiSetupPanel();
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->inputNames, juce::StringArray({"NONE", "Evolver Simulator", "Broken Port"}));
    EXPECT_EQ(panel->inputText(), juce::String("Evolver Simulator"));
    EXPECT_TRUE(panel->inputOpen && panel->outputOpen);
    EXPECT_EQ(panel->getBounds(), window->getLocalBounds());
    EXPECT_FALSE(panel->hitTest(200, 10)) << "the bar's MIDI button stays in reach";
    EXPECT_TRUE(panel->hitTest(200, 400)) << "nothing under the panel takes a click";

    // The panel says whether the instrument answers; GLOBAL is refused while it is open.
    settle();
    EXPECT_EQ(panel->statusLabel().getText(), juce::String("SIMULATOR ON-LINE"))
        << "never mistaken for the instrument";
    window->runCommand(771);
    EXPECT_EQ(window->globalSetupPanel(), nullptr);

    MenuLog log;
    panel->mouseDown(mouse(*panel, 200, 100)); // between the two fields
    EXPECT_TRUE(log.menus.empty());
    log.answers = {1}; // "NONE"
    panel->mouseDown(mouse(*panel, 200, 70));
    ASSERT_EQ(log.menus.size(), 1u);
    EXPECT_EQ(log.menus[0], juce::StringArray({"1=NONE", "2=Evolver Simulator", "3=Broken Port"}));
    deliver(*panel);
    EXPECT_FALSE(state().ports().isInputOpen());
    EXPECT_EQ(state().portNames[0], juce::String("NONE"));
    EXPECT_EQ(panel->selectedInput, 0);
    EXPECT_FALSE(panel->inputOpen);
    EXPECT_TRUE(panel->outputOpen);

    // A port that cannot be opened shows its name with the lamp off, and the window says so.
    log.answers = {3};
    panel->mouseDown(mouse(*panel, 200, 120));
    deliver(*panel);
    settle();
    EXPECT_EQ(panel->outputText(), juce::String("Broken Port"));
    EXPECT_FALSE(panel->outputOpen);
    EXPECT_EQ(notice(), juce::String("The MIDI output \"Broken Port\" could not be opened."));
    const auto image = render(*panel);
    EXPECT_TRUE(near(pixel(image, 335, 122), juce::Colour(0xff432d24), 8)) << "output lamp off";

    // An entry whose device went away meanwhile opens nothing in its place.
    devices->brokenPlugged = false;
    log.answers = {3};
    panel->mouseDown(mouse(*panel, 200, 70));
    deliver(*panel);
    settle();
    EXPECT_FALSE(state().ports().isInputOpen());
    EXPECT_EQ(panel->selectedInput, 0);
    EXPECT_EQ(notice(), juce::String("The MIDI input \"Broken Port\" is no longer there."));

    // With only "NONE" to offer there is no menu.
    panel->setPortLists({}, {});
    const auto shown = log.menus.size();
    panel->mouseDown(mouse(*panel, 200, 70));
    EXPECT_EQ(log.menus.size(), shown);
}

TEST_F(PanelWindow, MidiSetupOkAndEveryWayOfClosingItSaveThePorts)
{
    window->runCommand(77);
    auto* panel = window->midiSetupPanel();
    ASSERT_NE(panel, nullptr);
    MenuLog log;
    log.answers = {1};
    panel->mouseDown(mouse(*panel, 200, 120)); // output: NONE
    deliver(*panel);
    EXPECT_FALSE(state().ports().isOutputOpen());

    const auto portsFile = temp.folder.getChildFile("evoplports.dat");
    portsFile.deleteFile();
    click(panel->okButton());
    deliver(*panel);
    EXPECT_EQ(window->midiSetupPanel(), nullptr);
    ASSERT_TRUE(portsFile.existsAsFile());
    juce::MemoryBlock saved;
    portsFile.loadFileAsData(saved);
    EXPECT_EQ(saved.toString(), juce::String("Evolver Simulator\x0fNONE\x10NONE\x11"));

    // Pressing MIDI again while it is open saves the ports too; and an editor closed with the panel
    // open keeps what was chosen in it.
    window->runCommand(77);
    ASSERT_NE(window->midiSetupPanel(), nullptr);
    portsFile.deleteFile();
    window->runCommand(77);
    EXPECT_EQ(window->midiSetupPanel(), nullptr);
    EXPECT_TRUE(portsFile.existsAsFile());
    window->runCommand(77);
    portsFile.deleteFile();
    window.reset();
    EXPECT_TRUE(portsFile.existsAsFile());
}

// Global settings -----------------------------------------------------------------------------------------

TEST_F(PanelWindow, GlobalPanelShowsTheInstrumentsValuesAndSendsEachChange)
{
    sim().setMainParameter(4, 133); // tempo
    sim().setMainParameter(11, 61); // fine tune: beyond the first ten, still in the dump
    sim().setMainParameter(7, 2);   // MIDI clock select
    window->runCommand(771);
    auto* panel = window->globalSetupPanel();
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->boxX(), (MainComp::designWidth - 375) / 2);
    window->runCommand(77);
    EXPECT_EQ(window->midiSetupPanel(), nullptr) << "MIDI is refused while the global panel is open";

    settle(); // the instrument's dump arrives: the panel shows it
    auto& tempo = *panel->controlFor(4);
    EXPECT_EQ(tempo.value, 133);
    EXPECT_EQ(tempo.getValueText(), ParDes::globalValueText(4, 133));
    EXPECT_EQ(panel->controlFor(11)->value, 61);
    EXPECT_EQ(panel->controlFor(7)->value, 2);
    EXPECT_EQ(panel->controlFor(9)->getValueText(), juce::String("Normal MIDI")) << "a 0 has its text too";

    // Tempo 120 goes out as a main parameter change, low nibble first.
    const size_t before = sim().received().size();
    tempo.requestValue(120);
    deliver(tempo);
    settle();
    auto sent = sentSince(before, 0x09);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0], (std::vector<std::uint8_t>{0xf0, 0x01, 0x20, 0x01, 0x09, 0x04, 0x08, 0x07, 0xf7}));
    EXPECT_EQ(tempo.value, 120);
    EXPECT_EQ(sim().mainParameter(4), 120);

    // A selector's value menu lists the global texts; a dismissed menu sends nothing.
    auto& clock = *panel->controlFor(7);
    MenuLog log;
    clock.changeKind = StsCont::valueMenuWanted;
    clock.sendChangeMessage();
    deliver(clock);
    ASSERT_EQ(log.menus.size(), 1u);
    ASSERT_EQ(log.menus[0].size(), 7);
    EXPECT_EQ(log.menus[0][0], "1=" + ParDes::globalValueText(7, 0));
    EXPECT_EQ(log.menus[0][6], "7=" + ParDes::globalValueText(7, 6));
    settle();
    EXPECT_TRUE(sentSince(before + 1, 0x09).empty());
    log.answers = {5};
    clock.sendChangeMessage();
    deliver(clock);
    settle();
    sent = sentSince(before + 1, 0x09);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0][5], 7);
    EXPECT_EQ(clock.value, 4);
    EXPECT_EQ(clock.getValueText(), ParDes::globalValueText(7, 4));

    // The LED switch toggles; the state's record waits for the next dump.
    auto& lock = *panel->controlFor(8);
    lock.mouseDown(mouse(lock, 5, 10));
    deliver(lock);
    settle();
    EXPECT_EQ(sim().mainParameter(8), 1);
    EXPECT_EQ(lock.value, 1);

    // OK closes it; at 1000 pixels wide the box's left edge is at 312.
    click(panel->okButton());
    deliver(*panel);
    EXPECT_EQ(window->globalSetupPanel(), nullptr);
    window->setSize(1000, 600);
    window->runCommand(771);
    ASSERT_NE(window->globalSetupPanel(), nullptr);
    EXPECT_EQ(window->globalSetupPanel()->boxX(), 312);
    EXPECT_EQ(window->globalSetupPanel()->controlFor(4)->getX(), 312 + 189);
    window->runCommand(771);
    EXPECT_EQ(window->globalSetupPanel(), nullptr);
}

// Host program dialog
// ----------------------------------------------------------------------------------------

TEST_F(PanelWindow, HostDialogOkStoresTheEditIntoTheHostSlotAndCancelStoresNothing)
{
    auto& host = state().hostBank();
    std::vector<juce::MemoryBlock> slots;
    for (int s = 0; s < 128; ++s)
        slots.push_back(host.getSlot(s));
    state().hostBank().setEditName("Edited Sound");
    state().hostBank().setEditByte(5, 77);
    const auto edit = host.getEdit();

    state().currentHostProgram = 127;
    window->runCommand(729);
    auto* dialog = window->hostDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(state().hostDialogOpen.load());
    EXPECT_EQ(dialog->label().getText(), "127: " + host.slotName(127));
    click(dialog->cancelButton());
    EXPECT_EQ(window->hostDialog(), nullptr);
    EXPECT_FALSE(state().hostDialogOpen.load());
    for (int s = 0; s < 128; ++s)
        EXPECT_EQ(host.getSlot(s), slots[(size_t)s]) << s;

    window->runCommand(729);
    ASSERT_NE(window->hostDialog(), nullptr);
    window->hostProgramChanged(126); // the host moved on while the dialog is open
    EXPECT_EQ(window->hostDialog()->label().getText(), "126: " + host.slotName(126));
    click(window->hostDialog()->okButton());
    EXPECT_EQ(window->hostDialog(), nullptr);
    EXPECT_FALSE(state().hostDialogOpen.load());
    EXPECT_EQ(host.getSlot(126), edit);
    EXPECT_EQ(host.getEdit(), edit);
    for (int s = 0; s < 128; ++s)
    {
        if (s == 126)
            continue;
        EXPECT_EQ(host.getSlot(s), slots[(size_t)s]) << s;
    }
    window->hostProgramChanged(5); // no dialog: nothing to move
    EXPECT_EQ(window->hostDialog(), nullptr);
}

// Progress box
// ----------------------------------------------------------------------------------------------------

TEST_F(PanelWindow, ProgressBoxShowsTheSlotAndOnlyItsCancelEndsTheTransfer)
{
    sim().dropNextAnswer(); // the instrument stays silent: the box waits
    window->startTransfer(0, 3);
    auto* box = window->progressBox();
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(state().transferActive.load());
    EXPECT_TRUE(state().receiveIntoBank.load());
    settle();

    state().postChange(codes::transferProgress(3, 127));
    settle();
    EXPECT_EQ(box->label().getText(), juce::String("D:128"));
    EXPECT_EQ(box->fill().getWidth(), 381);
    EXPECT_EQ(box->track().getWidth(), 384);

    // Other widgets broadcasting meanwhile end nothing; a second start opens no second box.
    window->keyboard().sendChangeMessage();
    deliver(window->keyboard());
    window->appBar().channelLabel().sendChangeMessage();
    EXPECT_TRUE(state().transferActive.load());
    window->startTransfer(0, 1);
    EXPECT_EQ(window->progressBox(), box);

    const size_t before = sim().received().size();
    click(box->cancelButton());
    EXPECT_EQ(window->progressBox(), nullptr);
    EXPECT_FALSE(state().transferActive.load());
    EXPECT_FALSE(state().receiveIntoBank.load());
    EXPECT_EQ(state().transferKind.load(), -1);
    settle();
    EXPECT_TRUE(notice().startsWith("Receive stopped")) << notice();

    // Late reports after CANCEL, and a second end, are harmless.
    state().postChange(codes::transferProgress(3, 12));
    state().postChange(CS_TRANSFER_DONE);
    settle();
    window->endTransfer();
    window->endTransfer();
    EXPECT_EQ(window->progressBox(), nullptr);
    EXPECT_FALSE(state().transferActive.load());
    EXPECT_TRUE(sentSince(before, 0x05).empty()) << "nothing more is asked for";

    // A receive with no port to answer it is not started.
    state().selectInputPort(0);
    window->startTransfer(0, 1);
    EXPECT_EQ(window->progressBox(), nullptr);
    EXPECT_FALSE(state().transferActive.load());
    settle();
    EXPECT_EQ(notice(), juce::String("Not started: no MIDI input is open (MIDI setup)."));
}

// At the instrument's cable speed: the box counts B:1 ... B:128 through the programs, then the names;
// CANCEL half-way through the names leaves every program received, the names up to the cancel new and
// the rest as they were.
TEST_F(PanelWindow, BankReceiveAtDinSpeedCountsEverySlotAndCancelKeepsWhatArrived)
{
    window.reset();
    controller.reset();
    auto options = MidiCntrStateOptions{temp.folder, {}, devices, false};
    options.cableBytesPerSecond = MIDI_PORTS_Control::dinBytesPerSecond;
    controller = std::make_unique<MidiCntrState>(options);
    controller->selectInputPort(1);
    controller->selectOutputPort(1);
    sim().setWireSpeed(EvolverSimulator::dinBytesPerSecond);
    openWindow();

    auto& bank = *state().programBank(1);
    for (int s = 0; s < 128; ++s)
    {
        std::uint8_t bytes[192] = {};
        bytes[0] = (std::uint8_t)(s % 100);
        sim().setProgram(1, s, bytes, "Sim " + juce::String(s));
        bank.setSlotName(s, "Old " + juce::String(s));
    }
    const auto oldSlot = [&](int s) { return bank.getSlot(s); };
    std::vector<juce::MemoryBlock> old;
    for (int s = 0; s < 128; ++s)
        old.push_back(oldSlot(s));

    window->startTransfer(0, 1);
    ASSERT_NE(window->progressBox(), nullptr);
    juce::StringArray programs;
    int cancelledAt = -1;
    ASSERT_TRUE(waitUntil(
        [&]
        {
            auto* box = window->progressBox();
            if (box == nullptr)
                return true;
            const auto caption = box->label().getText();
            const bool names = box->titleLabel().getText().endsWith("names");
            if (!names && caption != "-" && (programs.isEmpty() || programs[programs.size() - 1] != caption))
                programs.add(caption);
            const int shown = caption.fromFirstOccurrenceOf(":", false, false).getIntValue();
            if (names && shown >= 64)
            {
                cancelledAt = shown - 1;
                click(box->cancelButton());
                return true;
            }
            return false;
        }));
    ASSERT_GE(cancelledAt, 63) << "the box closed before the names were half-way";
    ASSERT_LT(cancelledAt, 120);
    ASSERT_EQ(programs.size(), 128);
    for (int s = 0; s < 128; ++s)
        EXPECT_EQ(programs[s], "B:" + juce::String(s + 1));
    EXPECT_EQ(window->progressBox(), nullptr);
    EXPECT_FALSE(state().transferActive.load());
    settle();
    std::this_thread::sleep_for(std::chrono::milliseconds(50)); // an answer still on the cable
    settle();

    for (int s = 0; s < 128; ++s)
    {
        const auto theirs = sim().program(1, s);
        EXPECT_EQ(std::memcmp(bank.getSlot(s).getData(), theirs.data(), 192), 0) << "program " << s;
    }
    for (int s = 0; s <= cancelledAt; ++s)
        EXPECT_EQ(bank.slotName(s).trimEnd(), "Sim " + juce::String(s));
    for (int s = cancelledAt + 3; s < 128; ++s)
        EXPECT_EQ(bank.slotName(s).trimEnd(), "Old " + juce::String(s)) << s;
    EXPECT_LE(sentSince(0, 0x10).size(), (size_t)cancelledAt + 3) << "no names asked for after CANCEL";
}

TEST_F(PanelWindow, AFullReceiveClosesTheBoxAndSaysSo)
{
    window->startTransfer(0, 2);
    ASSERT_TRUE(waitUntil([this] { return window->progressBox() == nullptr; }));
    EXPECT_FALSE(state().transferActive.load());
    EXPECT_FALSE(state().receiveIntoBank.load());
    EXPECT_EQ(state().programBank(2)->slotName(77), sim().programName(2, 77));
    settle();
    EXPECT_EQ(notice(), juce::String("Bank C received from the simulator."));
}

TEST_F(PanelWindow, ATransmitShowsEachSlotThatDiffersAndNeverASilentSuccess)
{
    state().setVerifyTransmit(true);
    sim().corruptAnswerFor(0, 40); // the read-back of A:41 arrives damaged
    window->startTransfer(100, 0);
    ASSERT_NE(window->progressBox(), nullptr);
    EXPECT_TRUE(window->progressBox()->titleLabel().getText().startsWith("Sending Bank A"));
    ASSERT_TRUE(waitUntil([this] { return !state().isSending(); }));
    settle();
    auto* box = window->progressBox();
    ASSERT_NE(box, nullptr) << "the outcome stays in view";
    EXPECT_TRUE(box->detailsLabel().getText().contains("A:41 damaged answer"))
        << box->detailsLabel().getText();
    EXPECT_EQ(box->detailsLabel().getText(), state().lastSendReport().status);
    EXPECT_EQ(box->cancelButton().getText(), juce::String("CLOSE"));
    EXPECT_EQ(notice(), state().lastSendReport().status);
    EXPECT_FALSE(state().transferActive.load());
    click(box->cancelButton());
    EXPECT_EQ(window->progressBox(), nullptr);

    // Everything equal: the box closes and the status line says it was verified.
    window->startTransfer(100, 1);
    ASSERT_TRUE(waitUntil([this] { return window->progressBox() == nullptr; }));
    EXPECT_EQ(notice(), juce::String("Bank B sent to the simulator and verified: 128 programs."));
}

TEST_F(PanelWindow, ClosingTheWindowEndsARunningTransfer)
{
    // A receive that waits for an answer that never comes.
    sim().dropNextAnswer();
    window->startTransfer(7, 0);
    settle();
    ASSERT_TRUE(state().transferActive.load());
    window.reset();
    EXPECT_FALSE(state().transferActive.load());
    EXPECT_FALSE(state().receiveIntoBank.load());
    EXPECT_EQ(state().transferKind.load(), -1);

    // A transmit half-way stops after the message in hand.
    openWindow();
    EXPECT_TRUE(notice().startsWith("Receive stopped")) << "the next window tells what happened";
    state().setTransmitGapMs(5);
    window->startTransfer(100, 2);
    ASSERT_TRUE(waitUntil([this] { return state().lastSendReport().slotsSent >= 10; }));
    window.reset();
    EXPECT_FALSE(state().isSending());
    EXPECT_FALSE(state().transferActive.load());
    EXPECT_EQ(state().lastSendReport().outcome, SendReport::Outcome::cancelled);
}
