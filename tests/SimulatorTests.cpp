// Bank receives, panel edits and failures against the instrument simulator, reached through the same
// device interface and ports as a real instrument.
#include "TestSupport.h"
#include "plugin/HostParam.h"
#include "plugin/ZentakAudioProcessor.h"
#include "synthlink/SystemMidiDevices.h"
#include "tools/simulator/EvolverSimulator.h"

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
    EXPECT_EQ(rec->codes[rec->codes.size() - 2], CS_NAMES_STORED);
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

namespace
{
/** The host as the processor's listeners see it: every begin, value and end, with the faults of a
    value outside an open gesture or an unbalanced begin or end. */
struct HostRecorder : juce::AudioProcessorListener
{
    explicit HostRecorder(ZentakAudioProcessor& p) : processor(p) { processor.addListener(this); }
    ~HostRecorder() override { processor.removeListener(this); }

    void audioProcessorParameterChanged(juce::AudioProcessor*, int index, float value) override
    {
        if (!open[(size_t)index])
            ++faults;
        const int maximum = processor.state().paramMaximum[index];
        values[(size_t)index].push_back(ZentakAudioProcessor::hostToByte(value, maximum));
    }
    void audioProcessorChanged(juce::AudioProcessor*, const ChangeDetails&) override {}
    void audioProcessorParameterChangeGestureBegin(juce::AudioProcessor*, int index) override
    {
        faults += open[(size_t)index] ? 1 : 0;
        open[(size_t)index] = true;
        ++begins;
    }
    void audioProcessorParameterChangeGestureEnd(juce::AudioProcessor*, int index) override
    {
        faults += open[(size_t)index] ? 0 : 1;
        open[(size_t)index] = false;
        ++ends;
    }

    ZentakAudioProcessor& processor;
    std::array<std::vector<int>, 192> values;
    std::array<bool, 192> open{};
    int begins = 0, ends = 0, faults = 0;
};
} // namespace

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
