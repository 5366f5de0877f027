// Regression tests for the synth link's faults under cancel, late answers, teardown and restores:
// nothing the user did not ask for is replaced, no library is lost without a notice that reaches a
// window, and every report says what happened. The simulator is the instrument; where two instances
// matter, two controller states share one settings folder.
#include "TestSupport.h"
#include "library/LibraryFiles.h"
#include "plugin/ZentakAudioProcessor.h"
#include "synthlink/SettingsFiles.h"
#include "synthlink/SystemMidiDevices.h"
#include "synthlink/simulator/EvolverSimulator.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <thread>

using namespace zentak;
using namespace zentak::test;

namespace
{
namespace sf = settingsfiles;

/** A library record that no simulator slot holds: slot s of bank b, with its name. */
std::array<std::uint8_t, 208> ownRecord(int b, int s)
{
    std::array<std::uint8_t, 208> r{};
    for (int i = 0; i < 192; ++i)
        r[(size_t)i] = (std::uint8_t)((i * 5 + s * 3 + b * 11) % 90);
    records::encodeName("Own " + juce::String(b) + "-" + juce::String(s), r.data() + 192);
    return r;
}

struct LinkFaults : ::testing::Test
{
    TempFolder temp;
    std::shared_ptr<SystemMidiDevices> devices = std::make_shared<SystemMidiDevices>(false);
    std::unique_ptr<MidiCntrState> state;

    void SetUp() override
    {
        state = std::make_unique<MidiCntrState>(MidiCntrStateOptions{temp.folder, {}, devices, false});
        state->selectInputPort(1);
        state->selectOutputPort(1);
        state->setTransmitGapMs(1);
    }

    EvolverSimulator& sim() { return devices->simulator(); }

    void fillLibraryBank(int b)
    {
        for (int s = 0; s < 128; ++s)
            state->programBank(b)->setSlot(s, ownRecord(b, s).data(), 208);
    }

    template <typename Done> bool waitUntil(Done done, int limitMs = 30000)
    {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
        while (std::chrono::steady_clock::now() < end)
        {
            state->deliverPendingWakes();
            if (done())
                return true;
            std::this_thread::sleep_for(std::chrono::microseconds(300));
        }
        return false;
    }

    void settle()
    {
        for (int i = 0; i < 3; ++i)
        {
            state->ports().waitUntilSent();
            sim().waitUntilIdle();
        }
        state->deliverPendingWakes();
    }

    std::vector<std::uint8_t> edit() const
    {
        const auto* p = state->hostBank().editData();
        return {p, p + 208};
    }
};

int slotsDifferingFromOwn(MidiCntrState& s, int b)
{
    int n = 0;
    for (int slot = 0; slot < 128; ++slot)
        n += std::memcmp(s.programBank(b)->slotData(slot), ownRecord(b, slot).data(), 192) != 0 ? 1 : 0;
    return n;
}
} // namespace

TEST_F(LinkFaults, ACancelledReceiveStoresNoLateAnswerAndSaysWhichSlotsChanged)
{
    fillLibraryBank(1);
    const auto editBefore = edit();
    // Answers take long enough that the one in flight arrives after CANCEL.
    sim().setAnswerDelayMs(30);
    state->startTransfer(0, 1);
    ASSERT_TRUE(waitUntil([this] { return slotsDifferingFromOwn(*state, 1) >= 5; }));
    state->endTransfer();                                        // CANCEL
    std::this_thread::sleep_for(std::chrono::milliseconds(120)); // the late answer arrives
    settle();
    const int changed = slotsDifferingFromOwn(*state, 1);
    EXPECT_EQ(edit(), editBefore) << "a late answer never replaces the sound being edited";
    for (int s = 0; s < 128; ++s)
    {
        const bool received = s < changed;
        const auto expected = received ? sim().program(1, s) : ownRecord(1, s);
        ASSERT_EQ(std::memcmp(state->programBank(1)->slotData(s), expected.data(), 192), 0) << s;
        ASSERT_EQ(state->programBank(1)->slotName(s), records::decodeName(ownRecord(1, s).data() + 192))
            << "names unchanged: the names pass had not begun";
    }
    const auto range = changed == 1 ? juce::String("B:1") : "B:1-B:" + juce::String(changed);
    EXPECT_EQ(state->takeNotices(), juce::StringArray("Receive stopped. Changed in the library: " + range +
                                                      " (sounds only, names unchanged). Every other slot is "
                                                      "unchanged."));
}

TEST_F(LinkFaults, ALateReadBackAnswerIsStoredNowhere)
{
    // The simulator loses the program dump (its input buffer is too small for it) and answers every
    // request after the read-back has given up on it.
    sim().setInputBufferBytes(100);
    sim().setAnswerDelayMs(1700);
    const auto editBefore = edit();
    ASSERT_TRUE(state->writeProgram(2, 16, "Late Answers"));
    std::uint8_t written[208];
    state->programBank(2)->copySlot(16, written);
    ASSERT_TRUE(waitUntil([this] { return !state->isSending(); }, 20000));
    EXPECT_EQ(state->lastSendReport().outcome, SendReport::Outcome::mismatched);
    std::this_thread::sleep_for(std::chrono::milliseconds(2500)); // every late answer has arrived
    settle();
    EXPECT_GT(sim().answered(), 0);
    EXPECT_EQ(std::memcmp(state->programBank(2)->slotData(16), written, 208), 0)
        << "the library keeps what was written, not the instrument's wrong content";
    auto expectedEdit = editBefore;
    std::memcpy(expectedEdit.data() + 192, written + 192, 16); // the write named the sound
    EXPECT_EQ(edit(), expectedEdit);
    EXPECT_EQ(state->currentBank.load(), 2);
    EXPECT_EQ(state->currentProgram.load(), 16);
}

TEST_F(LinkFaults, ASendThatFindsTheQueueFullIsReportedAsSuch)
{
    auto slow = std::make_shared<RecordingDevices>();
    slow->delayMs = 20;
    MidiCntrState s(MidiCntrStateOptions{temp.folder, {}, slow, false, {}, 0});
    s.selectOutputPort(1);
    std::uint8_t body[40] = {0x2A};
    for (int i = 0; i < 6000; ++i)
        s.sendSysexBody(body, sizeof(body));
    EXPECT_FALSE(s.sendEditRecord()) << "dropped, so not sent";
    EXPECT_EQ(s.notSentReason(), juce::String("the send queue is full"));
    EXPECT_GT(s.ports().droppedSends(), 0u);
    s.selectOutputPort(0);
    EXPECT_FALSE(s.sendEditRecord());
    EXPECT_EQ(s.notSentReason(), juce::String("no MIDI output is open"));
}

TEST_F(LinkFaults, KeepingTheBanksFirstWritesThemToADatedFileThenTransmits)
{
    fillLibraryBank(0);
    std::vector<std::array<std::uint8_t, 208>> before;
    for (int s = 0; s < 128; ++s)
        before.push_back(sim().program(0, s));
    state->startTransmitKeepingBanks(100, 0);
    ASSERT_TRUE(waitUntil([this] { return state->keptBanksFile() != juce::File(); }, 60000));
    ASSERT_TRUE(waitUntil([this] { return !state->isSending() && !state->transferActive.load(); }, 60000));
    const auto kept = state->keptBanksFile();
    EXPECT_TRUE(kept.getFileName().startsWith("Before transmit ")) << kept.getFileName();
    EXPECT_EQ(kept.getParentDirectory(), temp.folder);
    juce::MemoryBlock image;
    ASSERT_TRUE(kept.loadFileAsData(image));
    ASSERT_EQ(image.getSize(), (size_t)145408);
    Bank_Program check("check");
    check.loadFromImage(0, image);
    for (int s = 0; s < 128; ++s)
    {
        ASSERT_EQ(std::memcmp(check.slotData(s), before[(size_t)s].data(), 192), 0) << s;
        ASSERT_EQ(std::memcmp(sim().program(0, s).data(), ownRecord(0, s).data(), 208), 0) << s;
    }
    const auto notices = state->takeNotices();
    ASSERT_EQ(notices.size(), 2);
    EXPECT_EQ(notices[0], "The banks of the simulator are kept in \"" + kept.getFileName() +
                              "\" (its combos and wave shapes are the library's); the transmit follows.");
    EXPECT_EQ(notices[1], juce::String("Bank A sent to the simulator and verified: 128 programs."));
}

TEST(LinkFiles, ANoticeAboutTheLibraryWaitsOnDiskUntilAWindowTakesIt)
{
    TempFolder temp;
    const auto library = temp.folder.getChildFile(sf::libraryFile);
    library.replaceWithText("not a library");
    const auto options = [&](bool readable)
    {
        MidiCntrStateOptions o{temp.folder, {}, std::make_shared<NoMidiDevices>()};
        if (!readable)
            o.readLibraryFile = [](const juce::File&, juce::MemoryBlock&) { return false; };
        return o;
    };
    const juce::String setAside =
        "The library file could not be used. It was kept as \"dataevl.evl.bak\" and "
        "the factory set was loaded (FILE: Restore Library From Backup...).";
    // A host's scan: the instance never opens a window.
    {
        MidiCntrState scan(options(false));
    }
    EXPECT_FALSE(library.existsAsFile());
    EXPECT_TRUE(temp.folder.getChildFile("dataevl.evl.bak").existsAsFile());
    {
        MidiCntrState second(options(true));
        EXPECT_EQ(second.takeNotices(), juce::StringArray(setAside)) << "the next start shows it";
    }
    // Shown once; while no newer library is saved, every start still says where it is.
    {
        MidiCntrState third(options(true));
        EXPECT_EQ(third.takeNotices(),
                  juce::StringArray("The library that could not be used is still kept as \"dataevl.evl.bak\" "
                                    "and the factory set is in use (FILE: Restore Library From Backup...)."));
        EXPECT_EQ(third.setAsideLibrary(), temp.folder.getChildFile("dataevl.evl.bak"));
        // Restoring is all or nothing: the set-aside file is no library, so nothing changes.
        const auto factorySlot = third.programBank(0)->getSlot(0);
        EXPECT_FALSE(third.restoreLibraryFromBackup(third.setAsideLibrary()));
        EXPECT_EQ(third.programBank(0)->getSlot(0), factorySlot);
        // A real backup is restored whole.
        auto image = third.buildDataImage();
        static_cast<std::uint8_t*>(image.getData())[0] = 77;
        const auto good = temp.folder.getChildFile("dataevl.evl.bak2");
        good.replaceWithData(image.getData(), image.getSize());
        third.takeNotices();
        EXPECT_TRUE(third.restoreLibraryFromBackup(good));
        EXPECT_EQ(third.programBank(0)->getSlot(0)[0], 77);
        EXPECT_EQ(third.takeNotices(), juce::StringArray("Library restored from \"dataevl.evl.bak2\"."));
        juce::MemoryBlock onDisk;
        library.loadFileAsData(onDisk);
        EXPECT_EQ(onDisk, image);
    }
    {
        MidiCntrState fourth(options(true));
        EXPECT_TRUE(fourth.takeNotices().isEmpty()) << "the restored library is in use";
        EXPECT_EQ(fourth.programBank(0)->getSlot(0)[0], 77);
    }
}

TEST(LinkFiles, AFailedWriteAtShutdownIsToldAtTheNextStart)
{
    TempFolder temp;
    {
        MidiCntrState s(MidiCntrStateOptions{temp.folder, {}, std::make_shared<NoMidiDevices>()});
        s.programBank(1)->setSlotName(3, "Changed");
        // A folder in the file's place, with something in it: the file cannot be written.
        temp.folder.getChildFile(sf::libraryFile).createDirectory();
        temp.folder.getChildFile(sf::libraryFile).getChildFile("x").replaceWithText("x");
    }
    temp.folder.getChildFile(sf::libraryFile).deleteRecursively();
    MidiCntrState next(MidiCntrStateOptions{temp.folder, {}, std::make_shared<NoMidiDevices>()});
    EXPECT_EQ(next.takeNotices(),
              juce::StringArray("The library could not be saved to \"" +
                                temp.folder.getChildFile(sf::libraryFile).getFullPathName() + "\"."));
}

TEST(LinkFiles, InstancesThatStartedFromDifferentFilesAreNotMerged)
{
    TempFolder temp;
    const auto library = temp.folder.getChildFile(sf::libraryFile);
    const auto opts = [&] {
        return MidiCntrStateOptions{temp.folder, {}, std::make_shared<NoMidiDevices>()};
    };
    // The user's library from an earlier run: every slot of bank A renamed.
    {
        MidiCntrState maker(MidiCntrStateOptions{temp.folder, {}, std::make_shared<NoMidiDevices>(), false});
        for (int s = 0; s < 128; ++s)
            maker.programBank(0)->setSlotName(s, "Mine " + juce::String(s));
        const auto image = maker.buildDataImage();
        library.replaceWithData(image.getData(), image.getSize());
    }
    auto real = std::make_unique<MidiCntrState>(opts()); // holds the user's library
    const auto aside = temp.folder.getChildFile("moved.evl");
    ASSERT_TRUE(library.moveFileTo(aside));
    auto fallback = std::make_unique<MidiCntrState>(opts()); // found no file: factory set
    ASSERT_TRUE(aside.moveFileTo(library));
    fallback->programBank(2)->setSlotName(0, "Fallback edit");
    const auto fallbackImage = fallback->buildDataImage();
    fallback.reset(); // writes its whole image
    real->programBank(3)->setSlotName(5, "Real edit");
    const auto realImage = real->buildDataImage();
    real.reset();

    juce::MemoryBlock onDisk;
    library.loadFileAsData(onDisk);
    EXPECT_EQ(onDisk, realImage) << "no factory slot taken from the other instance";
    // Each save found a file from another starting point: each kept it whole before writing its own.
    juce::MemoryBlock kept;
    temp.folder.getChildFile("dataevl.evl.bak2").loadFileAsData(kept);
    EXPECT_EQ(kept, fallbackImage) << "the other instance's file is kept whole";
    MidiCntrState next(opts());
    EXPECT_EQ(next.programBank(0)->slotName(7), juce::String("Mine 7").paddedRight(' ', 16));
    const auto notices = next.takeNotices();
    ASSERT_EQ(notices.size(), 2);
    EXPECT_EQ(notices[1],
              juce::String("Another instance saved a library that did not start from the same file as "
                           "this one. This instance's library was saved; the other is kept as "
                           "\"dataevl.evl.bak2\"."));
}

TEST(LinkFiles, BankFilesReadTheInstrumentsNamePaddingAsSpaces)
{
    Bank_Program bank("b");
    bank.setSlotName(0, "Pad");
    auto file = libraryfiles::writeProgramBank(bank, 0);
    auto* d = static_cast<std::uint8_t*>(file.getData());
    for (int i = 3; i < 16; ++i)
        d[228 + 7 + i] = 0x7F; // slot 0's name message, as the instrument pads it
    const auto read = libraryfiles::readProgramBank(file);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(records::decodeName(static_cast<const std::uint8_t*>(read->getData()) + 192),
              juce::String("Pad").paddedRight(' ', 16));
}

TEST(LinkSettings, AnOldSettingsFileWithZeroDoesNotSendTheSoundOnOpen)
{
    TempFolder temp;
    auto fields = sf::newFields();
    fields.set(sf::recallField, "0");
    temp.folder.getChildFile(sf::settingsFile).replaceWithText(sf::formatFields(fields));
    MidiCntrState s(MidiCntrStateOptions{temp.folder, {}, std::make_shared<NoMidiDevices>()});
    EXPECT_FALSE(s.sendSoundOnProjectOpen());
    TempFolder fresh;
    MidiCntrState n(MidiCntrStateOptions{fresh.folder, {}, std::make_shared<NoMidiDevices>()});
    EXPECT_TRUE(n.sendSoundOnProjectOpen()) << "a new file sends it";
}

TEST(LinkRecall, AfterAHostProgramChangeTheInstrumentPlaysWhatTheScreenShows)
{
    TempFolder temp;
    auto devices = std::make_shared<SystemMidiDevices>(false);
    ZentakAudioProcessor p(MidiCntrStateOptions{temp.folder, {}, devices, false});
    auto& s = p.state();
    s.selectInputPort(1);
    s.selectOutputPort(1);
    // The project: host program 4 differs from host program 9, and an edited sound on program 4.
    for (int i = 0; i < 192; ++i)
        s.hostBank().setEditByte(i, (std::uint8_t)(i % 50));
    s.hostBank().storeEdit(9);
    s.hostBank().setEditByte(16, 120);
    s.currentHostProgram.store(4);
    juce::MemoryBlock chunk;
    p.getStateInformation(chunk);
    p.setStateInformation(chunk.getData(), (int)chunk.getSize());
    const auto restored = s.hostBank().getEdit();
    // The host re-selects the restored program, late and twice: the restored sound stays.
    std::this_thread::sleep_for(std::chrono::milliseconds(2100));
    p.setCurrentProgram(4);
    p.setCurrentProgram(4);
    EXPECT_EQ(s.hostBank().getEdit(), restored);
    // Another program: the screen and the instrument get the slot.
    p.setCurrentProgram(9);
    s.deliverPendingWakes();
    for (int i = 0; i < 3; ++i)
    {
        s.ports().waitUntilSent();
        devices->simulator().waitUntilIdle();
    }
    const auto shown = s.hostBank().getEdit();
    EXPECT_EQ(std::memcmp(shown.getData(), s.hostBank().slotData(9), 192), 0);
    const auto playing = devices->simulator().editBuffer();
    EXPECT_EQ(std::memcmp(playing.data(), shown.getData(), 192), 0);
}
