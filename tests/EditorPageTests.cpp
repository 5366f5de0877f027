// The sound editor window end to end: the group tables against the parameter catalogue, the layout at
// the design scales, and a knob turn, an automation value, a panel edit and a program receive running
// through the real window, controller state and ports to the instrument simulator and the host.
#include "HostRecorder.h"
#include "WidgetTestSupport.h"
#include "plugin/ZentakAudioProcessor.h"
#include "sounddata/ParDes.h"
#include "sounddata/ParamCatalogue.h"
#include "synthlink/SystemMidiDevices.h"
#include "synthlink/simulator/EvolverSimulator.h"
#include "ui/main/MainComp.h"
#include "ui/main/MenuSeam.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>

using namespace zentak;
using namespace zentak::test;

TEST(GroupTables, EveryRowAgreesWithTheParameterCatalogue)
{
    std::array<int, 128> seen{};
    for (const auto& g : groups::allTables())
        for (const auto& row : g.controls)
        {
            const auto* info = params::info(row.parameter);
            ASSERT_NE(info, nullptr) << g.name << " " << row.parameter;
            EXPECT_STREQ(row.label, info->label) << g.name << " " << row.parameter;
            EXPECT_STREQ(g.name, info->group) << row.parameter;
            EXPECT_EQ(row.minimum, info->minimum) << g.name << " " << row.parameter;
            EXPECT_EQ(row.maximum, info->maximum) << g.name << " " << row.parameter;
            ASSERT_LT(row.parameter, 128);
            ++seen[(size_t)row.parameter];
        }
    for (int p = 0; p < 128; ++p)
        EXPECT_EQ(seen[(size_t)p], 1) << "parameter " << p << " shown by exactly one control";
}

// The core builds without a display: nothing under the sound data, library, synth link or editing folders
// reaches for the GUI, the graphics or the plug-in.
TEST(Floors, TheCoreIncludesNoGuiPluginOrWindowCode)
{
    const std::regex forbidden(
        R"(#\s*include\s*[<"](juce_gui_\w+|juce_graphics|juce_audio_processors|ui/|plugin/))");
    int files = 0;
    for (const char* folder : {"sounddata", "library", "synthlink", "editing"})
        for (const auto& entry :
             std::filesystem::recursive_directory_iterator(std::filesystem::path(ZENTAK_SOURCE_DIR) / folder))
        {
            if (!entry.is_regular_file())
                continue;
            ++files;
            std::ifstream in(entry.path());
            std::string line;
            for (int n = 1; std::getline(in, line); ++n)
                EXPECT_FALSE(std::regex_search(line, forbidden)) << entry.path() << ":" << n << ": " << line;
        }
    EXPECT_GT(files, 30);
}

namespace
{
struct WindowFixture : ::testing::Test
{
    TempFolder temp;
    std::shared_ptr<SystemMidiDevices> devices = std::make_shared<SystemMidiDevices>(false);
    std::unique_ptr<ZentakAudioProcessor> processor;
    std::unique_ptr<MainComp> window;

    void SetUp() override
    {
        processor =
            std::make_unique<ZentakAudioProcessor>(MidiCntrStateOptions{temp.folder, {}, devices, false});
        state().selectInputPort(1);
        state().selectOutputPort(1);
        window = std::make_unique<MainComp>(&state());
        window->setSize(MainComp::designWidth, MainComp::designHeight);
        settle();
    }
    void TearDown() override
    {
        window.reset();
        processor.reset();
    }

    MidiCntrState& state() { return processor->state(); }
    EvolverSimulator& sim() { return devices->simulator(); }

    /** Everything sent has arrived and been answered, and the window has handled every code. */
    void settle()
    {
        for (int i = 0; i < 3; ++i)
        {
            state().ports().waitUntilSent();
            sim().waitUntilIdle();
            state().deliverPendingWakes();
        }
        state().deliverHostEvents();
        window->handleUpdateNowIfNeeded();
    }

    /** The change message of a control or display, delivered now. */
    static void deliver(juce::ChangeBroadcaster& b) { b.dispatchPendingMessages(); }

    StsCont& knob(int p)
    {
        auto* c = window->editorPage().control(p);
        EXPECT_NE(c, nullptr) << p;
        return *c;
    }

    /** The instrument's messages of one kind since index from: F0 01 20 01 command ... */
    std::vector<std::vector<std::uint8_t>> sentSince(size_t from, std::uint8_t command) const
    {
        std::vector<std::vector<std::uint8_t>> out;
        const auto all = devices->simulator().received();
        for (size_t i = from; i < all.size(); ++i)
            if (all[i].size() > 4 && all[i][0] == 0xf0 && all[i][4] == command)
                out.push_back(all[i]);
        return out;
    }
};
} // namespace

TEST_F(WindowFixture, BothPagesHaveOneControlPerSoundParameter)
{
    window->showFlashGroup(groups::amp);
    for (ParamPage* page : {(ParamPage*)&window->editorPage(), (ParamPage*)&window->flashPanel()})
        for (int p = 0; p < ParamPage::numControls; ++p)
        {
            ASSERT_NE(page->control(p), nullptr) << p;
            EXPECT_EQ(page->control(p)->parameterNumber, p);
        }
    EXPECT_EQ(window->editorPage().control(128), nullptr);
    EXPECT_EQ(window->editorPage().control(-1), nullptr);
}

TEST_F(WindowFixture, GroupsSitAtTheirDesignPlacesTimesTheScale)
{
    // Held to the layout's own numbers, not to what the tables say of themselves: a wrong coordinate
    // in the group tables fails here.
    const struct
    {
        groups::GroupId group;
        juce::Rectangle<int> bounds;
        int parameter;
        juce::Point<int> control;
    } places[] = {
        {groups::amp, {726, 396, 252, 220}, 24, {10, 24}},   {groups::amp, {726, 396, 252, 220}, 88, {45, 5}},
        {groups::amp, {726, 396, 252, 220}, 29, {190, 152}}, {groups::delay, {1257, 396, 252, 220}, -1, {}},
        {groups::keyMode, {1424, 72, 173, 82}, -1, {}},      {groups::env3, {7, 0, 569, 154}, -1, {}},
        {groups::osc, {7, 160, 330, 279}, -1, {}},           {groups::noise, {265, 506, 69, 110}, -1, {}},
    };
    for (const auto& p : places)
    {
        const auto& g = window->editorPage().group(p.group);
        EXPECT_EQ(g.getBounds(), p.bounds) << g.table().name;
        if (p.parameter >= 0)
        {
            auto* c = window->editorPage().control(p.parameter);
            ASSERT_NE(c, nullptr);
            EXPECT_EQ(c->getParentComponent(), &g) << p.parameter;
            EXPECT_EQ(c->getPosition(), p.control) << p.parameter;
        }
    }
    window->editorPage().setScale(0.6f);
    EXPECT_EQ(window->editorPage().group(groups::delay).getBounds(),
              juce::Rectangle<int>(754, 237, 151, 132));

    // Every size the window allows, and two a host might force on it: the bar keeps its height, the
    // page fills the window down to the keyboard, the whole keyboard and the status are inside, and
    // nothing is left unpainted.
    for (auto [w, h] : {std::pair{730, 408}, std::pair{959, 532}, std::pair{964, 515}, std::pair{1607, 858},
                        std::pair{1928, 1030}, std::pair{1928, 996}, std::pair{1000, 700}})
    {
        window->setSize(w, h);
        EXPECT_EQ(window->appBar().getHeight(), 28) << w;
        EXPECT_EQ(window->editorPage().getBottom(), window->keyboardTop()) << w;
        EXPECT_LE(window->editorPage().getRight(), w) << w;
        EXPECT_LE(window->keyboard().getBottom(), h) << w << "x" << h;
        const auto status = window->appBar().statusLabel().getBoundsInParent();
        EXPECT_TRUE(window->getLocalBounds().contains(status)) << w << "x" << h;
        EXPECT_GE(status.getWidth(), 190) << w << "x" << h;
        for (auto& c : window->getChildren())
            if (c->isVisible() && c != &window->editorPage() && c != &window->appBar().statusLabel() &&
                c->getY() > 28)
            {
                EXPECT_FALSE(c->getBounds().intersects(status)) << w << "x" << h;
            }
        const auto image = render(*window);
        int unpainted = 0;
        for (int y = 0; y < h; y += 7)
            for (int x = 0; x < w; x += 7)
                if (image.getPixelAt(x, y).getAlpha() < 255 && ++unpainted < 4)
                    ADD_FAILURE() << "unpainted at " << x << "," << y << " in " << w << "x" << h;
        EXPECT_EQ(unpainted, 0) << w << "x" << h;
    }
}

// One knob turn, end to end: the instrument receives every value as a parameter change, the host one
// gesture with the values inside it, and the knob shows where it stopped.
TEST_F(WindowFixture, KnobDragReachesTheInstrumentAndTheHostInsideOneGesture)
{
    auto& c = knob(24); // VCA Level
    state().beginHostGesture(24);
    state().notifyHostValue(24, 40);
    state().endHostGesture(24);
    settle();
    ASSERT_EQ(c.value, 40);
    HostRecorder host(*processor);
    const size_t before = sim().receivedCount();

    const float x = (float)c.getWidth() / 2, y = 20;
    c.mouseDown(mouse(c, x, y));
    deliver(c);
    for (int dy : {3, 6, 10})
    {
        c.mouseDrag(mouse(c, x, y - (float)dy, leftButton, {x, y}));
        deliver(c);
    }
    c.mouseUp(mouse(c, x, y - 10, leftButton, {x, y}));
    c.timerCallback(); // the gesture ends a moment after the release
    deliver(c);
    settle();

    EXPECT_EQ(c.value, 50);
    EXPECT_EQ(host.events, (std::vector<std::string>{"b24", "v24=43", "v24=46", "v24=50", "e24"}));
    EXPECT_EQ(host.faults, 0);
    // Values still waiting for the cable when a newer one comes are replaced by it: at least the last
    // one goes out, and the instrument ends where the knob stopped.
    const auto changes = sentSince(before, 0x01);
    ASSERT_GE(changes.size(), 1u);
    EXPECT_LE(changes.size(), 3u);
    EXPECT_EQ(changes.back()[5], 24);
    EXPECT_EQ(sim().editBuffer()[24], 50);
    EXPECT_FALSE(window->editorPage().isGestureOpen(24));
}

// Automation from the host and an edit on the instrument's panel both move the control, and neither
// is sent anywhere again.
TEST_F(WindowFixture, AutomationAndPanelEditsMoveTheControlsWithoutSending)
{
    const size_t before = sim().receivedCount();
    auto* hostParam = processor->getParameters()[31];
    hostParam->setValue(77.0f / (float)state().paramMaximum[31]);
    settle();
    EXPECT_EQ(knob(31).value, 77);
    const size_t afterAutomation = sim().receivedCount();
    EXPECT_EQ(afterAutomation, before + 1); // the automation value itself reaches the instrument once

    HostRecorder host(*processor);
    sim().panelEdit(19, 100);
    settle();
    state().timerCallback();
    EXPECT_EQ(knob(19).value, 100);
    EXPECT_EQ(knob(19).getValueText(), ParDes::valueText(19, 100));
    // The filter envelope display follows its decay.
    auto* env = window->editorPage().group(groups::lowPassFlt).envelope();
    ASSERT_NE(env, nullptr);
    EXPECT_EQ(env->decay, 100.0f);
    EXPECT_EQ(sim().receivedCount(), afterAutomation);
    EXPECT_EQ(host.events, (std::vector<std::string>{"b19", "v19=100", "e19"}));
}

// Recv asks the instrument for its sound and shows it on every control.
TEST_F(WindowFixture, RecvShowsTheInstrumentsSoundOnEveryControl)
{
    std::array<std::uint8_t, 192> sound{};
    for (int p = 0; p < 192; ++p)
        sound[(size_t)p] =
            (std::uint8_t)juce::jlimit(params::rangeMinimum(p), params::rangeMaximum(p), (p * 7) % 97);
    sim().setEditBuffer(sound.data());
    window->runCommand(71);
    settle();
    for (int p = 0; p < 128; ++p)
        EXPECT_EQ(knob(p).value, sound[(size_t)p]) << p;
    EXPECT_EQ(std::memcmp(state().hostBank().editData(), sound.data(), 192), 0);
}

TEST_F(WindowFixture, ValueMenuSendsOnlyAChosenValue)
{
    auto& c = knob(0);
    const int shown = c.value;
    HostRecorder host(*processor);
    const size_t before = sim().receivedCount();
    int answer = 0;
    menus::ScopedShower shower([&answer](juce::PopupMenu&&, juce::Component*, menus::Result r)
                               { r(answer); });

    c.changeKind = StsCont::valueMenuWanted;
    c.sendChangeMessage();
    deliver(c);
    settle();
    EXPECT_EQ(c.value, shown);
    EXPECT_TRUE(host.events.empty());
    EXPECT_EQ(sim().receivedCount(), before);

    answer = 61; // item ids are value + 1
    c.changeKind = StsCont::valueMenuWanted;
    c.sendChangeMessage();
    deliver(c);
    settle();
    EXPECT_EQ(c.value, 60);
    EXPECT_EQ(host.events, (std::vector<std::string>{"b0", "v0=60", "e0"}));
    EXPECT_EQ(sim().editBuffer()[0], 60);
}

// Lifting only the sustain segment of the amplifier envelope changes one parameter.
TEST_F(WindowFixture, EnvelopeSustainDragSendsOnlySustain)
{
    auto* env = window->editorPage().group(groups::amp).envelope();
    ASSERT_NE(env, nullptr);
    const auto start = sim().editBuffer();
    const size_t before = sim().receivedCount();
    const float sx = (env->pointX(2) + env->pointX(3)) / 2, sy = env->pointY(2);
    env->mouseDown(mouse(*env, sx, sy));
    deliver(*env);
    ASSERT_EQ(env->getHandle(), Envel::sustainSegment);
    env->mouseDrag(mouse(*env, sx, sy - 12, leftButton, {sx, sy}));
    deliver(*env);
    for (int p = 26; p <= 29; ++p)
        deliver(knob(p));
    env->mouseUp(mouse(*env, sx, sy - 12, leftButton, {sx, sy}));
    env->timerCallback();
    deliver(*env);
    settle();

    const auto changes = sentSince(before, 0x01);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0][5], 28);
    EXPECT_GT(sim().editBuffer()[28], start[28]);
    for (int p : {26, 27, 29})
        EXPECT_FALSE(window->editorPage().isGestureOpen(p)) << p;
}

// The program menu: four banks and the slots of the current one; choosing a bank keeps the slot and
// sends bank select and program change.
TEST_F(WindowFixture, ProgramMenuListsBanksAndSlotsAndChoosingABankKeepsTheSlot)
{
    state().selectProgram(0, 17, true, false);
    settle();
    auto menu = window->buildProgramMenu();
    int items = 0, ticked = 0, bankC = 0;
    for (juce::PopupMenu::MenuItemIterator it(menu); it.next();)
    {
        const auto& item = it.getItem();
        if (item.isSeparator)
            continue;
        ++items;
        ticked += item.isTicked ? 1 : 0;
        if (item.text == "Program Bank C")
            bankC = item.itemID;
    }
    EXPECT_EQ(items, 4 + 128);
    EXPECT_EQ(ticked, 1);
    ASSERT_NE(bankC, 0);

    const size_t before = sim().receivedCount();
    window->programMenuChosen(bankC);
    settle();
    EXPECT_EQ(state().currentBank.load(), 2);
    EXPECT_EQ(state().currentProgram.load(), 17);
    const auto all = sim().received();
    std::vector<std::vector<std::uint8_t>> shortMessages;
    for (size_t i = before; i < all.size(); ++i)
        if (!all[i].empty() && all[i][0] != 0xf0)
            shortMessages.push_back(all[i]);
    ASSERT_GE(shortMessages.size(), 2u);
    EXPECT_EQ(shortMessages[0][0] & 0xf0, 0xb0);
    EXPECT_EQ(shortMessages[0][1], 32);
    EXPECT_EQ(shortMessages[0][2], 2);
    EXPECT_EQ(shortMessages[1][0] & 0xf0, 0xc0);
    EXPECT_EQ(shortMessages[1][1], 17);
}

// The window asks for the instrument when it opens and shows its answer in the bar.
TEST_F(WindowFixture, TheStatusShowsTheInstrumentOnLine)
{
    EXPECT_EQ(window->appBar().statusLabel().getText(), juce::String("SIMULATOR ON-LINE"));
    state().selectOutputPort(0);
    state().checkConnection();
    settle();
    EXPECT_EQ(window->appBar().statusLabel().getText(), juce::String("OFF-LINE"));
}

// At the design scale every caption fits its place whole, at most narrowed a little (no ellipsis).
TEST(Captions, EveryCaptionFitsItsPlaceAtTheDesignScale)
{
    juce::SharedResourcePointer<StsResor> skin; // gives "Arial" the embedded faces
    const juce::Font font("Arial", 12.0f, juce::Font::plain);
    for (const auto& g : groups::allTables())
        for (const auto& row : g.controls)
        {
            if (row.extra & groups::hidden)
                continue;
            int room = row.width;
            if (row.kind == StsCont::compactSelector)
                room = row.width - groups::boxWidthFor(row.kind) - 5;
            else if (row.kind == StsCont::ledSwitch)
                room = row.width - 36;
            else if (row.kind == StsCont::narrowSelector)
                room = groups::boxWidthFor(row.kind);
            EXPECT_LE(font.getStringWidthFloat(row.label) * 0.8f, (float)room) << g.name << " " << row.label;
        }
}

// Every caption fits its control: no descender of any caption reaches the control's last row, where
// it would be cut, at the design scale and at 0.6.
TEST(Captions, NoCaptionIsCutAtTheBottomOfItsControl)
{
    juce::SharedResourcePointer<StsResor> skin;
    for (float s : {1.0f, 0.6f})
        for (const auto& g : groups::allTables())
            for (const auto& row : g.controls)
            {
                if (row.extra & groups::hidden)
                    continue;
                StsCont c;
                c.setup(row.parameter, row.label, row.minimum, row.maximum, row.kind,
                        groups::boxWidthFor(row.kind));
                c.setDesignBounds(0, 0, (float)row.width, (float)row.height);
                c.setDisplayScale(s);
                c.showValue(row.minimum, ParDes::valueText(row.parameter, row.minimum));
                const auto image = render(c);
                int ink = 0;
                // A side switch's caption starts right of its lamp.
                const int from = row.kind == StsCont::ledSwitch ? (int)(36 * s) : 0;
                for (int x = from; x < image.getWidth(); ++x)
                    ink += image.getPixelAt(x, image.getHeight() - 1).getAlpha() > 40 ? 1 : 0;
                EXPECT_EQ(ink, 0) << g.name << " " << row.label << " at " << s;
            }
}

// An open window with nothing happening runs no timer of its own: the widgets' short timers run only
// after a release, the splash only for its time.
TEST_F(WindowFixture, AnIdleWindowRunsNoTimer)
{
    window->closeAbout();
    settle();
    std::function<int(juce::Component&)> running = [&running](juce::Component& c)
    {
        int n = 0;
        if (auto* t = dynamic_cast<juce::Timer*>(&c); t != nullptr && t->isTimerRunning())
            n += 1;
        for (auto* child : c.getChildren())
            n += running(*child);
        return n;
    };
    EXPECT_EQ(running(*window), 0);
}

// A receive started from the browser's MIDI menu shows its progress box, and CANCEL ends it; while the
// write dialog is open, MIDI, GLOBAL and Host wait.
TEST_F(WindowFixture, BrowserReceiveShowsItsBoxAndTheWriteDialogHoldsThePanels)
{
    window->runCommand(99);
    window->bankMidiMenuChosen(2); // receive bank B
    ASSERT_NE(window->progressBox(), nullptr);
    EXPECT_TRUE(state().transferActive.load());
    window->endTransfer();
    settle();
    EXPECT_EQ(window->progressBox(), nullptr);
    EXPECT_FALSE(state().transferActive.load());
    window->runCommand(99);

    window->runCommand(969);
    ASSERT_TRUE(window->isWriteDialogShown());
    for (int id : {77, 771, 729})
        window->runCommand(id);
    EXPECT_EQ(window->midiSetupPanel(), nullptr);
    EXPECT_EQ(window->globalSetupPanel(), nullptr);
    EXPECT_EQ(window->hostDialog(), nullptr);
    window->closeWriteDialog();
    window->runCommand(77);
    EXPECT_NE(window->midiSetupPanel(), nullptr);
}

// Whatever replaces the edit record, whichever code announces it, the window shows the new sound
// everywhere: the controls of both pages, the envelope displays, the sequencer page and the LCD.
TEST_F(WindowFixture, EveryRoadThatReplacesTheEditRecordRefreshesTheWholeWindow)
{
    window->showFlashGroup(groups::lowPassFlt); // what is on the flash panel follows as well
    const struct
    {
        const char* road;
        std::function<void(MidiCntrState&, const juce::MemoryBlock&)> replace;
    } roads[] = {
        {"edit buffer dump (0x03)",
         [](MidiCntrState& s, const juce::MemoryBlock& r)
         {
             s.hostBank().setEdit(r);
             s.editRecordReplaced(CS_EDIT_BUFFER_LOADED);
         }},
        {"second dump form (0x0A)",
         [](MidiCntrState& s, const juce::MemoryBlock& r)
         {
             s.hostBank().setEdit(r);
             s.editRecordReplaced(CS_PROGRAM2_EDIT_LOADED);
         }},
        {"paste into the edit record",
         [](MidiCntrState& s, const juce::MemoryBlock& r) { s.storeProgram(false, 0, 0, r); }},
        {"host program change",
         [](MidiCntrState& s, const juce::MemoryBlock& r)
         {
             s.hostBank().setSlot(17, r);
             s.currentHostProgram = 17;
             s.loadHostProgram();
         }},
    };
    int round = 0;
    for (const auto& road : roads)
    {
        ++round;
        auto record = state().hostBank().getEdit();
        auto* bytes = static_cast<std::uint8_t*>(record.getData());
        bytes[18] = (std::uint8_t)(200 + round);     // filter attack out of range: drawn at its limit
        bytes[19] = (std::uint8_t)(10 + round);      // filter decay
        bytes[24] = (std::uint8_t)(50 + round);      // VCA level
        bytes[128 + 3] = (std::uint8_t)(20 + round); // sequence 1, step 4
        const juce::String name = ("Road " + juce::String(round)).paddedRight(' ', 16);
        for (int i = 0; i < 16; ++i)
            bytes[192 + i] = (std::uint8_t)name[i];
        road.replace(state(), record);
        settle();

        auto& flash = window->flashPanel();
        auto* envelope = flash.group(groups::lowPassFlt).envelope();
        ASSERT_NE(envelope, nullptr);
        EXPECT_EQ(knob(24).value, 50 + round) << road.road;
        EXPECT_EQ(knob(19).value, 10 + round) << road.road;
        EXPECT_EQ(knob(18).value, 110) << road.road;
        EXPECT_EQ(flash.control(19)->value, 10 + round) << road.road;
        EXPECT_FALSE(flash.control(19)->repaintPending) << road.road;
        EXPECT_EQ(envelope->decay, (float)(10 + round)) << road.road;
        EXPECT_EQ(envelope->attack, 110.0f) << road.road;
        EXPECT_EQ(window->editorPage().group(groups::lowPassFlt).envelope()->attack, 110.0f) << road.road;
        EXPECT_EQ(window->sequencerPage().lane(0).displayedValue(3), 20 + round) << road.road;
        EXPECT_EQ(window->editorPage().lcd().getNameText().trimEnd(), name.trimEnd()) << road.road;
    }
}

// The flash panel's controls move while the user drags them, and show the values the instrument and
// the host change while the panel is open.
TEST_F(WindowFixture, TheFlashPanelShowsEveryValueAtOnce)
{
    auto& group = window->editorPage().group(groups::lowPassFlt);
    group.mouseDown(mouse(group, 2, 2, rightButton));
    deliver(group);
    auto& flash = window->flashPanel();
    ASSERT_TRUE(flash.isVisible());
    auto& c = *flash.control(16); // Frequency
    state().beginHostGesture(16);
    state().notifyHostValue(16, 44);
    state().endHostGesture(16);
    settle();
    ASSERT_EQ(c.value, 44);
    const size_t before = sim().receivedCount();

    c.repaintPending = false;
    const float x = (float)c.getWidth() / 2, y = 20;
    c.mouseDown(mouse(c, x, y));
    deliver(c);
    c.mouseDrag(mouse(c, x, y - 48, leftButton, {x, y}));
    deliver(c);
    EXPECT_EQ(c.value, 92);
    EXPECT_FALSE(c.repaintPending) << "repainted at once, not deferred";
    c.mouseUp(mouse(c, x, y - 48, leftButton, {x, y}));
    c.timerCallback();
    deliver(c);
    settle();
    EXPECT_EQ(state().editByte(16), 92);
    EXPECT_FALSE(sentSince(before, 0x01).empty());

    // The instrument's panel turns it back while the flash panel is still open.
    state().beginHostGesture(16);
    state().notifyHostValue(16, 60);
    state().endHostGesture(16);
    settle();
    EXPECT_EQ(c.value, 60);
    EXPECT_FALSE(c.repaintPending);
    EXPECT_EQ(knob(16).value, 60);
}

// One reading of the context click everywhere: the platform's popup-menu click reports the context
// kind on controls and envelopes (no drag) and opens the flash panel on a group.
TEST_F(WindowFixture, TheContextClickIsReadTheSameWayEverywhere)
{
    const juce::ModifierKeys context(juce::ModifierKeys::popupMenuClickModifier);
    auto& c = knob(24);
    c.mouseDown(mouse(c, 10, 10, context));
    EXPECT_EQ(c.changeKind, StsCont::rightButton);
    EXPECT_FALSE(c.isDragging());
    auto* e = window->editorPage().group(groups::amp).envelope();
    e->mouseDown(mouse(*e, 10, 10, context));
    EXPECT_EQ(e->changeKind, 100);
    EXPECT_FALSE(e->isDragging());
    auto& g = window->editorPage().group(groups::amp);
    g.mouseDown(mouse(g, 2, 2, context));
    deliver(g);
    EXPECT_TRUE(window->flashPanel().isVisible());
}

namespace
{
/** Every visible part of an overlay, in the window's coordinates, lies inside the window. */
void expectWholeInside(MainComp& window, juce::Component& overlay, const std::string& what)
{
    std::function<void(juce::Component&)> check = [&](juce::Component& c)
    {
        if (!c.isVisible())
            return;
        const auto r = window.getLocalArea(&c, c.getLocalBounds());
        EXPECT_TRUE(window.getLocalBounds().contains(r))
            << what << ": " << c.getName() << " at " << r.toString() << " in " << window.getWidth() << "x"
            << window.getHeight();
        for (auto* child : c.getChildren())
            check(*child);
    };
    check(overlay);
}
} // namespace

// Resizing with a box or panel open: each follows the window, stays whole inside it and covers what
// it must, at the smallest and the largest size the window allows.
TEST_F(WindowFixture, OverlaysFollowTheWindowAndStayWholeAtEverySize)
{
    window->setVisible(true); // clicks find only what is visible
    window->startTransfer(0, 1); // the box stays until the codes are handled
    ASSERT_NE(window->progressBox(), nullptr);
    for (auto [w, h] : {std::pair{730, 408}, std::pair{1928, 1030}, std::pair{1000, 552}})
    {
        window->setSize(w, h);
        auto& box = *window->progressBox();
        EXPECT_EQ(window->getLocalArea(&box, box.getLocalBounds()), window->getLocalBounds()) << w;
        expectWholeInside(*window, box, "progress box");
        // A click anywhere on the page lands on the box.
        for (auto pt :
             {juce::Point<int>(3, h - 3), juce::Point<int>(w - 3, 40), juce::Point<int>(w / 2, h - 20)})
            EXPECT_TRUE(box.isParentOf(window->getComponentAt(pt)) || window->getComponentAt(pt) == &box)
                << w << " " << pt.toString() << " "
                << (window->getComponentAt(pt) != nullptr ? typeid(*window->getComponentAt(pt)).name() : "none");
    }
    window->endTransfer();

    for (auto [w, h] : {std::pair{730, 408}, std::pair{1928, 1030}})
    {
        window->setSize(w, h);
        window->toggleMidiSetup();
        ASSERT_NE(window->midiSetupPanel(), nullptr);
        expectWholeInside(*window, *window->midiSetupPanel(), "MIDI setup");
        const auto covered =
            window->getLocalArea(window->midiSetupPanel(), window->midiSetupPanel()->getLocalBounds());
        EXPECT_GE(covered.getWidth(), w - 1); // reduced to fit, it still covers the window
        EXPECT_GE(covered.getHeight(), h - 1);
        window->toggleMidiSetup();
        window->toggleGlobalSetup();
        ASSERT_NE(window->globalSetupPanel(), nullptr);
        expectWholeInside(*window, *window->globalSetupPanel(), "global settings");
        window->toggleGlobalSetup();
        window->showAbout(0);
        expectWholeInside(*window, *window->getChildComponent(window->getNumChildComponents() - 1), "about");
        window->closeAbout();
        window->openHostDialog(3);
        expectWholeInside(*window, *window->hostDialog(), "host dialog");
        window->closeHostDialog();
        window->toggleBankBrowser();
        expectWholeInside(*window, window->bankBrowserPage(), "bank browser");
        window->toggleBankBrowser();
        window->toggleWriteDialog();
        expectWholeInside(*window, *window->writeDialogPanel(), "write dialog");
        window->toggleWriteDialog();
        for (auto id : {groups::osc, groups::env3, groups::lfo})
        {
            window->showFlashGroup(id);
            expectWholeInside(*window, window->flashPanel(), "flash panel");
        }
        window->closeFlashPanel();
    }
}

// A notice is read whole at every size: beside the status where it fits, else in a banner of its own
// below the bar, wrapped; it stays until clicked or replaced.
TEST_F(WindowFixture, NoticesAndTheStatusReadInFullAtEverySize)
{
    const juce::String text = "Not saved: the library file \"/home/someone/Music/Evolver/My Sounds.ebp\" "
                              "could not be written (the folder is read-only).";
    for (auto [w, h] : {std::pair{730, 408}, std::pair{1200, 641}, std::pair{1928, 1030}})
    {
        window->setSize(w, h);
        state().addNotice(text);
        settle();
        auto& notice = window->appBar().noticeLabel();
        ASSERT_TRUE(notice.isVisible()) << w;
        EXPECT_EQ(notice.getText(), text);
        const auto r = notice.getBoundsInParent();
        EXPECT_TRUE(window->getLocalBounds().contains(r)) << w;
        if (r.getY() >= 28) // a banner: as high as the wrapped text
        {
            EXPECT_GE(r.getHeight(), notice.heightForWidth(r.getWidth())) << w;
        }
        // Every word drawn: the text needs no more lines than the label has.
        const juce::Font font(notice.typefaceName, notice.fontHeight, notice.fontStyle);
        const int lines = r.getY() >= 28 ? (r.getHeight() - 2) / 14 : 1;
        EXPECT_LE(font.getStringWidthFloat(text), (float)((r.getWidth() - 2 * notice.margin) * lines)) << w;
        const auto image = render(*window);
        EXPECT_GT(countInk(image, r, 0.1f, 0.3f), 200) << w;
        window->resized(); // a relayout keeps it
        EXPECT_TRUE(notice.isVisible());
        notice.mouseDown(mouse(notice, 5, 5));
        deliver(notice);
        EXPECT_FALSE(notice.isVisible()) << "dismissed with a click";
    }
}

// Several codes in one update are handled in the order they were posted.
TEST_F(WindowFixture, SeveralCodesInOneUpdateAreHandledInOrder)
{
    state().postChange(codes::paramChanged(24, 10));
    state().postChange(codes::paramChanged(24, 77));
    state().postChange(codes::paramChanged(130, 5));
    state().postChange(codes::paramChanged(195, 1));
    settle();
    EXPECT_EQ(knob(24).value, 77);
    EXPECT_EQ(window->sequencerPage().lane(0).displayedValue(2), 5);
}
