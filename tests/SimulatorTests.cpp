// Bank receives, panel edits, every message form and MIDI-stack delivery a real instrument produces,
// and failures, against the instrument simulator reached through the same device interface and ports
// as a real instrument. The simulator's own codec answers to the golden files.
#include "HostRecorder.h"
#include "TestSupport.h"
#include "plugin/HostParam.h"
#include "plugin/ZentakAudioProcessor.h"
#include "synthlink/SystemMidiDevices.h"
#include "sounddata/ParamCatalogue.h"
#include "synthlink/simulator/EvolverSimulator.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

using namespace zentak;
using namespace zentak::test;

namespace
{
struct SimFixture : ::testing::Test
{
    TempFolder temp;
    std::shared_ptr<SystemMidiDevices> devices = std::make_shared<SystemMidiDevices>(false);
    std::unique_ptr<MidiCntrState> state;
    std::unique_ptr<CodeRecorder> rec;

    void SetUp() override
    {
        state = std::make_unique<MidiCntrState>(MidiCntrStateOptions{temp.folder, {}, devices, false});
        state->selectInputPort(1);
        state->selectOutputPort(1);
        rec = std::make_unique<CodeRecorder>(*state);
    }

    EvolverSimulator& sim() { return devices->simulator(); }

    /** Waits (bounded) until the code arrives or nothing moves any more. */
    bool waitFor(int code, int limitMs = 20000)
    {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
        while (std::chrono::steady_clock::now() < end)
        {
            state->deliverPendingWakes();
            if (rec->count(code) > 0)
                return true;
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        return false;
    }

    /** Lets the link settle: everything sent has been answered and handled. */
    void settle()
    {
        for (int i = 0; i < 3; ++i)
        {
            state->ports().waitUntilSent();
            sim().waitUntilIdle();
        }
        state->deliverPendingWakes();
    }

    int progressCount() const
    {
        int n = 0;
        for (int c : rec->codes)
            n += codes::kind(c) == CS_TRANSFER_PROGRESS ? 1 : 0;
        return n;
    }
};
} // namespace

TEST_F(SimFixture, TheSimulatorIsTheLastDeviceOfBothLists)
{
    EXPECT_EQ(state->inputDeviceNames().strings.getLast(), juce::String("Evolver Simulator"));
    EXPECT_EQ(state->outputDeviceNames().strings.getLast(), juce::String("Evolver Simulator"));
    EXPECT_TRUE(state->ports().isInputOpen());
    EXPECT_TRUE(state->ports().isOutputOpen());
    EXPECT_EQ(state->portNames[0], juce::String("Evolver Simulator"));
}

TEST_F(SimFixture, ReceiveOneBankAsksForProgramsThenNames)
{
    state->startTransfer(0, 2);
    ASSERT_TRUE(waitFor(CS_TRANSFER_DONE));
    settle();
    const auto log = sim().received();
    ASSERT_EQ(log.size(), 256u);
    EXPECT_EQ(log[0], bytes({0xF0, 0x01, 0x20, 0x01, 0x05, 0x02, 0x00, 0xF7}));
    EXPECT_EQ(log[127], bytes({0xF0, 0x01, 0x20, 0x01, 0x05, 0x02, 0x7F, 0xF7}));
    EXPECT_EQ(log[128], bytes({0xF0, 0x01, 0x20, 0x01, 0x10, 0x02, 0x00, 0xF7}));
    for (int s = 0; s < 128; ++s)
    {
        const auto expected = sim().program(2, s);
        ASSERT_EQ(std::memcmp(state->programBank(2)->slotData(s), expected.data(), 208), 0) << s;
    }
    EXPECT_EQ(progressCount(), 256);
    EXPECT_EQ(rec->codes.back(), CS_TRANSFER_DONE);
    EXPECT_EQ(rec->codes[rec->codes.size() - 3], CS_NAMES_STORED);
    EXPECT_EQ(state->takeNotices(), juce::StringArray("Bank C received from the simulator."));
    state->endTransfer();
}

TEST_F(SimFixture, ReceiveAllBanksEndsOnceAfterTheLastName)
{
    sim().setSysexPieceSize(50); // the driver hands SysEx over in pieces
    state->startTransfer(7, 0);
    ASSERT_TRUE(waitFor(CS_TRANSFER_DONE));
    settle();
    EXPECT_EQ(rec->count(CS_TRANSFER_DONE), 1);
    EXPECT_EQ(progressCount(), 4 * 256);
    for (int b = 0; b < 4; ++b)
        for (int s = 0; s < 128; ++s)
        {
            const auto expected = sim().program(b, s);
            ASSERT_EQ(std::memcmp(state->programBank(b)->slotData(s), expected.data(), 208), 0)
                << b << ":" << s;
            ASSERT_EQ(state->programBank(b)->slotName(s), sim().programName(b, s));
        }
    EXPECT_EQ(sim().received().size(), 4u * 256u);
    state->endTransfer();
}

TEST_F(SimFixture, CancelStopsFurtherRequests)
{
    sim().setWireSpeed(EvolverSimulator::dinBytesPerSecond * 40);
    state->startTransfer(0, 1);
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (progressCount() < 10 && std::chrono::steady_clock::now() < end)
    {
        state->deliverPendingWakes();
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    ASSERT_GE(progressCount(), 10);
    state->endTransfer();
    settle();
    const auto requests = sim().receivedCount();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    settle();
    EXPECT_EQ(sim().receivedCount(), requests);
    EXPECT_LT(requests, 40u);
    EXPECT_EQ(rec->count(CS_TRANSFER_DONE), 0);
    // An answer still on its way is handled as a single dump that names its slot; no more follow.
    EXPECT_LE(rec->count(CS_PROGRAM_STORED), 1);
    EXPECT_FALSE(state->receiveIntoBank.load());
}

TEST_F(SimFixture, LostOrCorruptedAnswersStallHarmlessly)
{
    for (int corrupt = 0; corrupt < 2; ++corrupt)
    {
        rec->codes.clear();
        if (corrupt)
            sim().corruptNextAnswer();
        else
            sim().dropNextAnswer();
        state->startTransfer(0, 3);
        settle();
        EXPECT_EQ(progressCount(), 0);
        EXPECT_TRUE(state->transferActive.load()); // waiting for the answer; cancel is the way out
        state->endTransfer();
        EXPECT_FALSE(state->receiveIntoBank.load());
    }
    // The link still works afterwards.
    state->sendRequest(0x06, 0, 0);
    settle();
    EXPECT_EQ(rec->count(CS_EDIT_BUFFER_LOADED), 1);
}

TEST_F(SimFixture, ConnectionCheckBringsTheInstrumentOnLine)
{
    state->checkConnection();
    ASSERT_TRUE(waitFor(CS_SYNTH_ONLINE));
    EXPECT_TRUE(state->onLine.load());
    EXPECT_EQ(state->mainParameters.size(), 16);
    EXPECT_EQ(state->mainParameters.get(11), sim().mainParameter(11));
    EXPECT_EQ(state->mainParameters.get(14), sim().mainParameter(14));
}

TEST(SimulatorLink, PanelEditsAreShownAndReportedButNotSentBack)
{
    TempFolder temp;
    auto devices = std::make_shared<SystemMidiDevices>(false);
    ZentakAudioProcessor processor(MidiCntrStateOptions{temp.folder, {}, devices, false});
    auto& state = processor.state();
    state.selectInputPort(1);
    state.selectOutputPort(1);
    CodeRecorder rec(state);
    auto& sim = devices->simulator();

    sim.panelEdit(20, 77);
    sim.waitUntilIdle();
    state.deliverPendingWakes();
    state.deliverHostEvents();
    EXPECT_EQ(state.editByte(20), 77);
    EXPECT_EQ(rec.count(codes::paramChanged(20, 77)), 1);
    EXPECT_TRUE(dynamic_cast<HostParam*>(processor.getParameters()[20])->isInGesture());
    state.timerCallback();
    EXPECT_FALSE(dynamic_cast<HostParam*>(processor.getParameters()[20])->isInGesture());

    state.ports().waitUntilSent();
    sim.waitUntilIdle();
    EXPECT_EQ(sim.receivedCount(), 0u); // the instrument's own value is not echoed

    processor.setParameter(20, 0.5f); // a host edit of the same parameter does go out
    state.ports().waitUntilSent();
    sim.waitUntilIdle();
    EXPECT_EQ(sim.received().back(), bytes({0xF0, 0x01, 0x20, 0x01, 0x01, 20, 0x02, 0x03, 0xF7}));
    EXPECT_EQ(sim.editBuffer()[20], 50);
}

TEST(SimulatorLink, HostProgramChangesFromTheAudioThreadReachTheInstrument)
{
    TempFolder temp;
    auto devices = std::make_shared<SystemMidiDevices>(false);
    ZentakAudioProcessor processor(MidiCntrStateOptions{temp.folder, {}, devices, false});
    processor.state().selectOutputPort(1);
    juce::AudioBuffer<float> audio(2, 64);
    juce::MidiBuffer midi;
    midi.addEvent(juce::MidiMessage::controllerEvent(1, 32, 3), 0);
    midi.addEvent(juce::MidiMessage::programChange(1, 42), 1);
    std::thread([&] { processor.processBlock(audio, midi); }).join();
    processor.state().ports().waitUntilSent();
    auto& sim = devices->simulator();
    sim.waitUntilIdle();
    const auto log = sim.received();
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[log.size() - 1], bytes({0xC0, 42}));
    const auto expected = sim.program(3, 42);
    EXPECT_EQ(std::memcmp(sim.editBuffer().data(), expected.data(), 192), 0);
}

// A fast turn of a knob on the instrument sends many values before the message thread runs. None of
// them may go back to the instrument, the host gets every one inside one gesture, and afterwards the
// instrument and the plug-in hold the same sound.
TEST(SimulatorLink, BurstsOfPanelEditsAreNeverSentBack)
{
    struct Case
    {
        int edits;
        bool twoParameters;
    };
    for (const auto c : {Case{2, false}, Case{10, false}, Case{100, false}, Case{100, true}})
    {
        TempFolder temp;
        auto devices = std::make_shared<SystemMidiDevices>(false);
        ZentakAudioProcessor processor(MidiCntrStateOptions{temp.folder, {}, devices, false});
        auto& state = processor.state();
        auto& sim = devices->simulator();
        state.selectInputPort(1);
        state.selectOutputPort(1);
        state.sendRequest(0x06, 0, 0); // start from the instrument's sound
        state.ports().waitUntilSent();
        sim.waitUntilIdle();
        const size_t sentBefore = sim.receivedCount();
        HostRecorder host(processor);

        std::vector<int> expected20, expected21;
        for (int k = 0; k < c.edits; ++k)
        {
            expected20.push_back(10 + (k * 7) % 90);
            sim.panelEdit(20, expected20.back());
            if (c.twoParameters)
            {
                expected21.push_back((k * 3) % 100);
                sim.panelEdit(21, expected21.back());
            }
        }
        sim.waitUntilIdle();
        state.deliverHostEvents();
        state.timerCallback();
        state.ports().waitUntilSent();
        sim.waitUntilIdle();

        const auto label = std::to_string(c.edits) + (c.twoParameters ? " x2" : "");
        EXPECT_EQ(sim.receivedCount(), sentBefore) << label; // nothing echoed
        const auto synth = sim.editBuffer();
        EXPECT_EQ(std::memcmp(synth.data(), state.hostBank().editData(), 192), 0) << label;
        EXPECT_EQ(host.values[20], expected20) << label;
        EXPECT_EQ(host.values[21], expected21) << label;
        EXPECT_EQ(host.faults, 0) << label;
        EXPECT_EQ(host.begins, c.twoParameters ? 2 : 1) << label;
        EXPECT_EQ(host.ends, host.begins) << label;
    }
}

// The simulator's own codec against the golden files, which a separate generator writes from the
// byte layout: the simulator answers to them exactly as the product does.
TEST(SimulatorCodec, EncodesTheGoldenFilesAndReadsThemBack)
{
    const juce::File data(ZENTAK_TEST_DATA), source(ZENTAK_SOURCE_DIR);
    juce::MemoryBlock golden, goldenBank; // loadFileAsData appends: one block per file

    ASSERT_TRUE(data.getChildFile("init_program.syx").loadFileAsData(golden));
    const simcodec::Bytes initMessage((const std::uint8_t*)golden.getData(),
                                      (const std::uint8_t*)golden.getData() + golden.getSize());
    const auto& init = params::initialProgram();
    EXPECT_EQ(simcodec::programMessage(0x03, -1, -1, init.data()), initMessage);
    const auto initBack = simcodec::decodeProgramMessage(initMessage);
    ASSERT_TRUE(initBack.has_value());
    EXPECT_EQ(initBack->bank, -1);
    EXPECT_EQ(initBack->record, simcodec::Bytes(init.begin(), init.end()));

    // Factory set 1, bank B: the parameters and names straight from the data image.
    juce::MemoryBlock image;
    ASSERT_TRUE(source.getChildFile("resources/factory/set1.evl").loadFileAsData(image));
    ASSERT_TRUE(data.getChildFile("factory1_bankB.syx").loadFileAsData(goldenBank));
    const auto* img = (const std::uint8_t*)image.getData();
    const auto* file = (const std::uint8_t*)goldenBank.getData();
    simcodec::Bytes made;
    for (int slot = 0; slot < 128; ++slot)
    {
        const auto* params = img + 24576 + 192 * slot;
        const auto* name = img + 106496 + 2048 + 16 * slot;
        const auto program = simcodec::programMessage(0x02, 1, slot, params);
        const auto nameMsg = simcodec::nameMessage(1, slot, name);
        made.insert(made.end(), program.begin(), program.end());
        made.insert(made.end(), nameMsg.begin(), nameMsg.end());

        const simcodec::Bytes fromFile(file + 252 * slot, file + 252 * slot + 228);
        const auto back = simcodec::decodeProgramMessage(fromFile);
        ASSERT_TRUE(back.has_value()) << slot;
        EXPECT_EQ(back->command, 0x02);
        EXPECT_EQ(back->bank, 1);
        EXPECT_EQ(back->slot, slot);
        ASSERT_EQ(back->record, simcodec::Bytes(params, params + 192)) << slot;
        EXPECT_EQ(simcodec::bytesToName(file + 252 * slot + 228 + 7), simcodec::bytesToName(name)) << slot;
    }
    EXPECT_EQ(made, simcodec::Bytes(file, file + goldenBank.getSize()));

    // Lengths no dump has are refused.
    auto cut = initMessage;
    cut.erase(cut.begin() + 100);
    EXPECT_FALSE(simcodec::decodeProgramMessage(cut).has_value());
    EXPECT_FALSE(simcodec::decodeComboMessage(initMessage).has_value());
    EXPECT_TRUE(simcodec::unpack(initMessage.data() + 5, 217).empty());
}

namespace
{
/** 192 (or n) bytes that differ per seed and include bytes with bit 7 set. */
std::vector<std::uint8_t> pattern(int seed, size_t n = 192)
{
    std::vector<std::uint8_t> v(n);
    for (size_t k = 0; k < n; ++k)
        v[k] = (std::uint8_t)(seed * 37 + (int)k * 11 + 5);
    return v;
}

std::vector<std::uint8_t> first(const std::uint8_t* p, size_t n)
{
    return std::vector<std::uint8_t>(p, p + n);
}
} // namespace

TEST_F(SimFixture, EveryProgramDumpFormLandsWhereItBelongs)
{
    struct Case
    {
        std::uint8_t command;
        bool namesSlot;
        std::vector<int> codes;
    };
    const Case cases[] = {
        {0x02, true, {CS_PROGRAM_STORED, CS_EDIT_BUFFER_LOADED}},
        {0x03, true, {CS_PROGRAM_STORED, CS_EDIT_BUFFER_LOADED}},
        {0x0A, true, {CS_PROGRAM2_STORED, CS_PROGRAM2_EDIT_LOADED}}, // the second form, 228 bytes
        {0x03, false, {CS_EDIT_BUFFER_LOADED}},
        {0x02, false, {CS_EDIT_BUFFER_LOADED}},
        {0x0A, false, {CS_PROGRAM2_EDIT_LOADED}}, // the second form, 226 bytes
    };
    int seed = 1;
    for (const auto& c : cases)
    {
        SCOPED_TRACE(testing::Message() << std::hex << (int)c.command << (c.namesSlot ? " slot" : " edit"));
        rec->codes.clear();
        const auto record = pattern(++seed);
        const int slot = 10 + seed;
        const auto nameBefore = state->programBank(2)->slotName(slot);
        const auto otherSlot = state->programBank(2)->getSlot(slot);
        if (c.namesSlot)
        {
            sim().setProgram(2, slot, record.data(), "Not Sent");
            sim().sendProgram(c.command, 2, slot);
        }
        else
        {
            sim().setEditBuffer(record.data());
            sim().sendEditBuffer(c.command);
        }
        settle();
        EXPECT_EQ(rec->codes, c.codes);
        EXPECT_EQ(first((const std::uint8_t*)state->hostBank().getEdit().getData(), 192), record);
        if (c.namesSlot)
        {
            EXPECT_EQ(first(state->programBank(2)->slotData(slot), 192), record);
            EXPECT_EQ(state->programBank(2)->slotName(slot), nameBefore); // a dump carries no name
            EXPECT_EQ(state->currentBank.load(), 2);
            EXPECT_EQ(state->currentProgram.load(), slot);
        }
        else
        {
            EXPECT_EQ(state->programBank(2)->getSlot(slot), otherSlot);
        }
    }
    EXPECT_EQ(sim().receivedCount(), 0u);
}

TEST_F(SimFixture, BankReceivesOfTheSecondFormTakeEveryBankWithItsNames)
{
    // The second dump form carries no name: each bank is its programs, then their names, in either
    // form, and "Receive All Banks" goes on to bank D (it once stopped after bank B and said "All
    // banks received").
    sim().setSecondProgramForm(true);
    sim().setNamesPaddedWith7F(true);
    struct Case
    {
        int kind, bank;
        std::vector<int> banks; // filled, in order
        const char* notice;
    };
    const Case cases[] = {{0, 3, {3}, "Bank D received from the simulator."},
                          {7, 0, {0, 1, 2, 3}, "All banks received from the simulator."}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.kind);
        rec->codes.clear();
        const auto before = sim().receivedCount();
        state->startTransfer(c.kind, c.bank);
        ASSERT_TRUE(waitFor(CS_TRANSFER_DONE, 60000));
        settle();
        const auto log = sim().received();
        ASSERT_EQ(log.size() - before, 256u * c.banks.size());
        for (size_t i = 0; i < c.banks.size(); ++i)
        {
            const int b = c.banks[i];
            for (int s = 0; s < 128; ++s)
            {
                ASSERT_EQ(log[before + i * 256 + (size_t)s],
                          bytes({0xF0, 0x01, 0x20, 0x01, 0x05, b, s, 0xF7}));
                ASSERT_EQ(log[before + i * 256 + 128 + (size_t)s],
                          bytes({0xF0, 0x01, 0x20, 0x01, 0x10, b, s, 0xF7}));
                const auto expected = sim().program(b, s);
                ASSERT_EQ(first(state->programBank(b)->slotData(s), 192), first(expected.data(), 192));
                ASSERT_EQ(state->programBank(b)->slotName(s), sim().programName(b, s));
            }
        }
        EXPECT_EQ(progressCount(), 256 * (int)c.banks.size());
        EXPECT_EQ(rec->codes.back(), CS_TRANSFER_DONE);
        EXPECT_EQ(rec->count(CS_TRANSFER_DONE), 1);
        EXPECT_EQ(state->takeNotices(), juce::StringArray(c.notice));
        state->endTransfer();
    }
}

TEST_F(SimFixture, BothComboFormsAndBothCommandsArrive)
{
    struct Case
    {
        std::uint8_t command;
        bool editForm;
        std::vector<int> codes;
    };
    const Case cases[] = {
        {0x22, false, {CS_COMBO_STORED, CS_COMBO_EDIT_LOADED}},
        {0x37, false, {CS_COMBO_STORED, CS_COMBO_EDIT_LOADED}},
        {0x22, true, {CS_COMBO_EDIT_LOADED}}, // the 98-byte edit form
        {0x37, true, {CS_COMBO_EDIT_LOADED}},
    };
    const auto edit = state->hostBank().getEdit();
    int slot = 40;
    for (const auto& c : cases)
    {
        SCOPED_TRACE(testing::Message() << std::hex << (int)c.command << (c.editForm ? " edit" : " slot"));
        rec->codes.clear();
        ++slot;
        const auto before = state->comboBank(2)->getSlot(slot);
        sim().sendCombo(c.command, 2, slot, c.editForm);
        settle();
        EXPECT_EQ(rec->codes, c.codes);
        const auto expected = sim().combo(2, slot);
        if (c.editForm)
        {
            EXPECT_EQ(state->comboBank(2)->getSlot(slot), before);
        }
        else
        {
            EXPECT_EQ(state->comboBank(2)->getSlot(slot), juce::MemoryBlock(expected.data(), 80));
            EXPECT_EQ(state->currentComboBank.load(), 2);
            EXPECT_EQ(state->currentCombo.load(), slot);
        }
        EXPECT_EQ(state->hostBank().getEdit(), edit); // a combo is not a program
    }
}

TEST_F(SimFixture, NamesPaddedWith7FReadAsSpaces)
{
    sim().setNamesPaddedWith7F(true);
    const auto p = sim().program(3, 5);
    sim().setProgram(3, 5, p.data(), "");     // a slot never named: sixteen 0x7F
    sim().setProgram(3, 6, p.data(), "Bass"); // "Bass" and twelve 0x7F
    sim().setProgram(3, 7, p.data(), "A");    // only the first byte is a character

    state->startTransfer(0, 3);
    ASSERT_TRUE(waitFor(CS_TRANSFER_DONE));
    settle();
    state->endTransfer();
    EXPECT_EQ(state->programBank(3)->slotName(5), juce::String("PROGRAM D-006   "));
    EXPECT_EQ(state->programBank(3)->slotName(6), juce::String("Bass            "));
    EXPECT_EQ(state->programBank(3)->slotName(7), juce::String("A               "));
    EXPECT_EQ(state->programBank(3)->slotName(0), juce::String("Sim D-001       "));
    EXPECT_EQ(state->programBank(3)->slotName(127), juce::String("Sim D-128       "));

    // Outside a bank receive the name also becomes the edit record's.
    rec->codes.clear();
    sim().sendName(3, 6);
    settle();
    EXPECT_EQ(state->hostBank().editName(), juce::String("Bass            "));
    EXPECT_EQ(rec->codes, (std::vector<int>{CS_NAMES_STORED, CS_EDIT_NAME_CHANGED}));
}

// How the bytes reach the input callback: whole, in a driver's pieces, or through the framework's own
// reassembly (partial-SysEx reports, then the whole message), with real-time bytes inside the SysEx.
TEST_F(SimFixture, EveryDeliveryOfTheMidiStackIsReassembled)
{
    struct Case
    {
        const char* what;
        int pieces, frameworkReads;
        bool realTime;
    };
    const Case cases[] = {
        {"whole, real-time bytes inside", 0, 0, true},
        {"driver pieces of 50, real-time bytes inside", 50, 0, true},
        {"framework, reads of 64", 0, 64, false},
        {"framework, reads of 50, real-time bytes inside", 0, 50, true},
        {"framework, byte by byte, real-time bytes inside", 0, 1, true},
    };
    int bank = 0, take = 0;
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        ++take;
        sim().setSysexPieceSize(c.pieces);
        sim().setFrameworkDelivery(c.frameworkReads);
        sim().setRealTimeInsideSysex(c.realTime);
        bank = (bank + 1) % 4;
        for (int s = 0; s < 128; ++s)
        {
            const auto record = pattern(take * 1000 + s);
            sim().setProgram(bank, s, record.data(), "Take " + juce::String(take) + "/" + juce::String(s));
        }
        rec->codes.clear();
        state->startTransfer(0, bank);
        ASSERT_TRUE(waitFor(CS_TRANSFER_DONE, 30000));
        settle();
        state->endTransfer();
        for (int s = 0; s < 128; ++s)
        {
            const auto expected = sim().program(bank, s);
            ASSERT_EQ(std::memcmp(state->programBank(bank)->slotData(s), expected.data(), 208), 0) << s;
        }
        EXPECT_EQ(progressCount(), 256);

        // A short message in the same delivery: the main parameters.
        rec->codes.clear();
        sim().setMainParameter(11, 40 + bank);
        state->checkConnection();
        settle();
        EXPECT_EQ(rec->codes, (std::vector<int>{CS_SYNTH_OFFLINE, CS_SYNTH_ONLINE}));
        EXPECT_EQ(state->mainParameters.get(11), 40 + bank);
    }
}

TEST_F(SimFixture, WhatTheProductDoesNotReadChangesNothing)
{
    const auto edit = state->hostBank().getEdit();
    const auto slot = state->programBank(0)->getSlot(3);
    auto truncated = simcodec::programMessage(0x02, 0, 3, pattern(9).data());
    truncated.erase(truncated.begin() + 120); // 227 bytes
    sim().sendDeviceInquiryReply();
    sim().sendRaw(truncated);
    sim().sendRaw(simcodec::frame(0x2A, {0x01, 0x02}));
    sim().sendRaw(simcodec::frame(0x09, {0x03, 0x04, 0x00}));
    settle();
    EXPECT_TRUE(rec->codes.empty());
    EXPECT_EQ(state->hostBank().getEdit(), edit);
    EXPECT_EQ(state->programBank(0)->getSlot(3), slot);

    // The link reads the next message normally.
    sim().sendProgram(0x02, 0, 3);
    settle();
    EXPECT_EQ(rec->codes, (std::vector<int>{CS_PROGRAM_STORED, CS_EDIT_BUFFER_LOADED}));
    EXPECT_EQ(first(state->programBank(0)->slotData(3), 192), first(sim().program(0, 3).data(), 192));
}
