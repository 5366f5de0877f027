#include "TestSupport.h"

#include <gtest/gtest.h>

#include <thread>

using namespace zentak;
using namespace zentak::test;

namespace
{
struct StateFixture : ::testing::Test, StateRig
{
    std::unique_ptr<MidiCntrState> state;

    void SetUp() override { state = std::make_unique<MidiCntrState>(options()); }

    std::vector<juce::MidiMessage> drain(int numSamples = 512)
    {
        juce::MidiBuffer out;
        EXPECT_TRUE(state->drainHostQueue(out, numSamples));
        std::vector<juce::MidiMessage> v;
        for (const auto meta : out)
            v.push_back(meta.getMessage());
        return v;
    }

    std::vector<std::vector<juce::uint8>> sent()
    {
        state->ports().waitUntilSent();
        return devices->messages();
    }

    static std::vector<juce::uint8> editMessage(int param, int value)
    {
        return bytes({0xF0, 0x01, 0x20, 0x01, 0x01, param, value & 0x0F, value >> 4, 0xF7});
    }
};
} // namespace

TEST_F(StateFixture, CodesFromTwoThreadsAreHandledInAppendOrder)
{
    CodeRecorder rec(*state);
    std::thread([&] { state->postChange(CS_SYNTH_ONLINE); }).join();
    EXPECT_EQ(rec.wakes, 0); // an off-thread post wakes the listener on the message thread
    state->postChange(CS_TRANSFER_DONE);
    EXPECT_EQ(rec.codes, (std::vector<int>{CS_SYNTH_ONLINE, CS_TRANSFER_DONE}));

    std::thread([&] { state->postChange(CS_NAMES_STORED); }).join();
    state->deliverPendingWakes();
    EXPECT_EQ(rec.codes.back(), CS_NAMES_STORED);
    const int wakes = rec.wakes;
    state->deliverPendingWakes(); // nothing new: no wake
    EXPECT_EQ(rec.wakes, wakes);
}

TEST_F(StateFixture, SelectProgramLoadsTheSlotAndReportsOnce)
{
    CodeRecorder rec(*state);
    state->programBank(2)->setSlotName(5, "Bank C Five");
    state->selectProgram(2, 5, false, false);
    EXPECT_EQ(state->currentBank.load(), 2);
    EXPECT_EQ(state->currentProgram.load(), 5);
    EXPECT_EQ(state->hostBank().getEdit(), state->programBank(2)->getSlot(5));
    EXPECT_EQ(rec.codes, (std::vector<int>{CS_EDIT_BUFFER_LOADED}));
    EXPECT_TRUE(drain().empty());
    EXPECT_TRUE(sent().empty());

    // Banks and slots that do not exist never reach a bank.
    state->selectProgram(4, 0, true, true);
    state->selectProgram(0, 128, true, true);
    state->selectProgram(-1, 0, true, true);
    EXPECT_EQ(rec.codes.size(), 1u);
    EXPECT_EQ(state->currentBank.load(), 2);
}

TEST_F(StateFixture, SelectProgramToHostAndToSynth)
{
    state->ports().openOutputPort(1);
    state->instrumentChannel = 3;
    state->selectProgram(1, 9, true, true);
    const auto host = drain();
    ASSERT_EQ(host.size(), 1u); // the controller on host channel 65535 is dropped
    EXPECT_TRUE(host[0].isProgramChange());
    EXPECT_EQ(host[0].getRawData()[0], 0xCF);
    EXPECT_EQ(host[0].getProgramChangeNumber(), 9);
    EXPECT_EQ(sent(), (std::vector<std::vector<juce::uint8>>{bytes({0xB2, 32, 1}), bytes({0xC2, 9})}));
}

TEST_F(StateFixture, InstrumentEditsOpenOneGesturePerParameter)
{
    HostLog host;
    state->setHostNotifier(&host);
    for (int i = 0; i < 10; ++i)
        state->handleSysex(editMessage(20, 40 + i).data(), 9);
    EXPECT_EQ(state->editByte(20), 49); // in the edit record as it arrives
    state->deliverHostEvents();
    EXPECT_EQ(host.valuesOf(20), (std::vector<int>{40, 41, 42, 43, 44, 45, 46, 47, 48, 49}));
    EXPECT_EQ(host.events.front(), (HostLog::Event{'b', 20, 0, false}));
    EXPECT_TRUE(host.events.back().fromInstrument);
    EXPECT_TRUE(state->isGestureTimerRunning());
    EXPECT_EQ(state->gestureTimerInterval(), 1000);

    state->timerCallback(); // one second after the last change
    EXPECT_EQ(host.events.back(), (HostLog::Event{'e', 20, 0, false}));
    EXPECT_FALSE(state->isGestureTimerRunning());

    state->handleSysex(editMessage(20, 7).data(), 9); // a later edit opens a new gesture
    state->handleSysex(editMessage(30, 3).data(), 9);
    state->deliverHostEvents();
    state->timerCallback();
    EXPECT_EQ(host.text().substr(host.text().find("e20") + 4), "b20 v20=i7 b30 v30=i3 e20 e30");
    EXPECT_TRUE(host.faults.empty());
    state->setHostNotifier(nullptr);
}

TEST_F(StateFixture, ValuesQueuedWhenTheTimerFiresKeepTheGestureOpen)
{
    HostLog host;
    state->setHostNotifier(&host);
    state->handleSysex(editMessage(20, 1).data(), 9);
    state->deliverHostEvents();
    state->handleSysex(editMessage(20, 2).data(), 9); // arrives just before the timer runs
    state->timerCallback();
    EXPECT_EQ(host.text(), "b20 v20=i1 v20=i2");
    EXPECT_TRUE(state->isGestureTimerRunning());
    state->timerCallback();
    EXPECT_EQ(host.text(), "b20 v20=i1 v20=i2 e20");
    state->setHostNotifier(nullptr);
}

// Each gesture belongs to whoever opened it; the host sees one begin when the first owner opens and
// one end when the last owner closes, and no value outside an open gesture.
TEST_F(StateFixture, GesturesBelongToWhoeverOpenedThem)
{
    struct Case
    {
        const char* steps; // S screen begin, s screen end, D screen drag value, I instrument edit, T timer
        const char* host;
    };
    const Case cases[] = {
        {"SDIsT", "b20 v20=1 v20=i2 e20"},       // screen then instrument, screen ends first
        {"SDITDs", "b20 v20=1 v20=i2 v20=3 e20"}, // the timer fires during the screen drag
        {"ISDsT", "b20 v20=i1 v20=2 e20"},        // instrument then screen, screen ends first
        {"ISDTs", "b20 v20=i1 v20=2 e20"},        // instrument then screen, instrument ends first
        {"SDTDs", "b20 v20=1 v20=2 e20"},         // a timer with no instrument gesture changes nothing
        {"D", "b20 v20=1 e20"},                   // a value with no gesture gets one of its own
        {"SSDss", "b20 v20=1 e20"},               // a second begin and a second end are not passed on
        {"s", ""},                                // an end with nothing open
        {"ITsI", "b20 v20=i1 e20 b20 v20=i2"},
    };
    for (const auto& c : cases)
    {
        HostLog host;
        state->setHostNotifier(&host);
        int next = 1;
        for (const char* p = c.steps; *p != 0; ++p)
        {
            switch (*p)
            {
            case 'S': state->beginHostGesture(20); break;
            case 's': state->endHostGesture(20); break;
            case 'D': state->notifyHostValue(20, next++); break;
            case 'I': // an edit, handed on by the message thread soon after it arrives
                state->handleSysex(editMessage(20, next++).data(), 9);
                state->deliverHostEvents();
                break;
            case 'T': state->timerCallback(); break;
            default: break;
            }
        }
        state->deliverHostEvents();
        EXPECT_EQ(host.text(), c.host) << c.steps;
        EXPECT_TRUE(host.faults.empty()) << c.steps;
        state->setHostNotifier(nullptr);
        state->timerCallback(); // closes what a case left open
        state->endHostGesture(20);
    }
}

TEST_F(StateFixture, AFullRelayStillBringsTheHostTheLastValue)
{
    HostLog host;
    state->setHostNotifier(&host);
    // The message thread is busy: far more edits arrive than the relay holds.
    for (int i = 0; i < 6000; ++i)
    {
        state->handleSysex(editMessage(20, i % 100).data(), 9);
        state->handleSysex(editMessage(30, (i * 7) % 100).data(), 9);
    }
    EXPECT_GT(state->relayOverflows(), 0);
    state->deliverHostEvents();
    state->timerCallback();
    EXPECT_EQ(host.valuesOf(20).back(), 5999 % 100);
    EXPECT_EQ(host.valuesOf(30).back(), std::min((5999 * 7) % 100, (int)state->paramMaximum[30]));
    EXPECT_EQ(state->editByte(20), 5999 % 100);
    EXPECT_TRUE(host.faults.empty());
    EXPECT_EQ(host.events.back().kind, 'e');
    state->setHostNotifier(nullptr);
}

TEST_F(StateFixture, AFullCodeListCollapsesToAFullRefresh)
{
    CodeRecorder rec(*state);
    std::thread(
        [&]
        {
            for (int i = 0; i < 20000; ++i)
                state->postChange(codes::paramChanged(20, i % 100));
        })
        .join();
    EXPECT_GT(state->codeOverflows(), 0);
    state->deliverPendingWakes();
    ASSERT_GE(rec.codes.size(), 2u);
    EXPECT_EQ(rec.codes[rec.codes.size() - 2], CS_EDIT_BUFFER_LOADED);
    EXPECT_EQ(rec.codes.back(), CS_NAMES_STORED);
}

TEST_F(StateFixture, OnlyTheInstrumentsOwnBytesCountAsItsEcho)
{
    HostLog host;
    state->setHostNotifier(&host);
    state->handleSysex(editMessage(20, 90).data(), 9);
    state->handleSysex(editMessage(20, 92).data(), 9);
    EXPECT_FALSE(state->isInstrumentEcho(20, 90)); // no gesture open yet on the message thread
    state->deliverHostEvents();
    EXPECT_TRUE(state->isInstrumentEcho(20, 90));
    EXPECT_TRUE(state->isInstrumentEcho(20, 92));
    EXPECT_FALSE(state->isInstrumentEcho(20, 91));
    EXPECT_FALSE(state->isInstrumentEcho(21, 90));
    state->timerCallback();
    EXPECT_FALSE(state->isInstrumentEcho(20, 90)); // forgotten when the instrument's gesture ends
    state->setHostNotifier(nullptr);
}

TEST_F(StateFixture, OutOfRangeHostIndicesAreIgnored)
{
    HostLog host;
    state->setHostNotifier(&host);
    for (int index : {192, 199, 200, -1})
    {
        state->notifyHostValue(index, 5);
        state->beginHostGesture(index);
        state->endHostGesture(index);
        state->parameterTouched(index);
    }
    state->deliverHostEvents();
    EXPECT_TRUE(host.events.empty());
    state->notifyHostValue(191, 101);
    EXPECT_EQ(host.text(), "b191 v191=101 e191");
    state->setHostNotifier(nullptr);
}

TEST_F(StateFixture, StoreProgramAndConnectionCheck)
{
    CodeRecorder rec(*state);
    juce::MemoryBlock record(208);
    std::memset(record.getData(), 7, 208);
    state->storeProgram(true, 3, 100, record);
    EXPECT_EQ(state->programBank(3)->getSlot(100), record);
    state->storeProgram(false, 0, 0, record);
    EXPECT_EQ(state->hostBank().getEdit(), record);
    state->storeProgram(true, 4, 0, record); // no such bank
    EXPECT_EQ(rec.codes, (std::vector<int>{CS_PROGRAM_STORED, CS_EDIT_BUFFER_LOADED, CS_EDIT_BUFFER_LOADED}));

    state->onLine = true;
    state->ports().openOutputPort(1);
    state->checkConnection();
    EXPECT_FALSE(state->onLine.load());
    EXPECT_EQ(rec.codes.back(), CS_SYNTH_OFFLINE);
    EXPECT_EQ(sent().back(), bytes({0xF0, 0x01, 0x20, 0x01, 0x0E, 0xF7}));
}

TEST_F(StateFixture, HostMidiBecomesCodesAndSelections)
{
    struct Case
    {
        std::vector<juce::uint8> message;
        int code; // 0: no code
    };
    const Case cases[] = {
        {bytes({0xB0, 0x01, 0x40}), ((0xB0 + 1) << 20) + (1 << 7) + 64},
        {bytes({0x9F, 60, 100}), codes::hostNoteOn(16, 60, 100)},
        {bytes({0x95, 61, 0}), codes::hostNoteOff(6, 61)},
        {bytes({0x80, 62, 30}), codes::hostNoteOff(1, 62)},
        {bytes({0xEF, 0x11, 0x40}), codes::hostPitchBend(16, 0x40, 0x11)},
        {bytes({0xB0, 0x00, 0x05}), 0},             // bank select MSB: ignored
        {bytes({0xB0, 32, 4}), 0},                  // bank 4 does not exist
        {bytes({0xD0, 0x20}), 0},                   // aftertouch
        {bytes({0xF0, 0x01, 0x20, 0x01, 0xF7}), 0}, // SysEx
        {bytes({0xF8}), 0},
    };
    CodeRecorder rec(*state);
    for (const auto& c : cases)
    {
        rec.codes.clear();
        state->handleHostMidi(c.message.data(), (int)c.message.size());
        state->deliverPendingWakes();
        if (c.code == 0)
            EXPECT_TRUE(rec.codes.empty()) << std::hex << (int)c.message[0];
        else
            EXPECT_EQ(rec.codes, (std::vector<int>{c.code})) << std::hex << (int)c.message[0];
    }
    EXPECT_EQ(state->currentBank.load(), 0);
}

TEST_F(StateFixture, HostMidiCodesOfChannel16KeepTheirKind)
{
    const int noteOn16 = codes::hostNoteOn(16, 60, 100);
    EXPECT_EQ(codes::kind(noteOn16), (int)CS_HOST_NOTE_ON);
    EXPECT_EQ(codes::hostChannel(noteOn16), 16);
    EXPECT_EQ(codes::kind(codes::hostNoteOff(16, 1)), (int)CS_HOST_NOTE_OFF);
    EXPECT_EQ(codes::kind(codes::hostController(16, 7, 1)), (int)CS_HOST_CONTROLLER);
    EXPECT_EQ(codes::kind(codes::hostPitchBend(16, 64, 0)), (int)CS_HOST_PITCH_BEND);
    EXPECT_EQ(codes::kind(codes::hostController(1, 7, 1)), (int)CS_HOST_CONTROLLER);
    EXPECT_EQ(codes::hostChannel(codes::hostController(1, 7, 1)), 1);
    EXPECT_EQ(codes::kind(codes::paramChanged(191, 255)), (int)CS_PARAM_CHANGED);
    EXPECT_EQ(codes::kind(codes::transferProgress(3, 127)), (int)CS_TRANSFER_PROGRESS);
}

TEST_F(StateFixture, HostProgramChangesSelectOnceAndReachTheInstrument)
{
    state->ports().openOutputPort(1);
    CodeRecorder rec(*state);
    const auto pc = bytes({0xC0, 5});
    state->handleHostMidi(pc.data(), 2);
    state->handleHostMidi(pc.data(), 2);
    state->deliverPendingWakes();
    EXPECT_EQ(rec.count(CS_EDIT_BUFFER_LOADED), 1);
    EXPECT_EQ(state->currentProgram.load(), 5);

    const auto bank = bytes({0xB0, 32, 2});
    state->handleHostMidi(bank.data(), 3);
    EXPECT_EQ(state->currentBank.load(), 2);
    EXPECT_EQ(sent(), (std::vector<std::vector<juce::uint8>>{bytes({0xB0, 32, 0}), bytes({0xC0, 5}),
                                                             bytes({0xB0, 32, 2}), bytes({0xC0, 5})}));
    EXPECT_TRUE(drain().empty()); // nothing goes back to the host
}

TEST_F(StateFixture, QueuedHostEventsOlderThan500msArePruned)
{
    clock.set(10000);
    state->queueHostProgramChange(1, 1);
    clock.set(10400);
    state->queueHostProgramChange(1, 2);
    clock.set(10950); // the first is now 950 ms old, the second 550 ms
    state->queueHostProgramChange(1, 3);
    auto events = drain();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].getProgramChangeNumber(), 3);

    clock.set(20000);
    state->queueHostProgramChange(1, 4);
    clock.set(20500); // exactly 500 ms old stays
    state->queueHostController(1, 7, 100);
    state->queueHostController(17, 7, 100);  // no channel 17
    state->queueHostController(1, 128, 100); // no controller 128
    state->queueHostProgramChange(65535, 9); // any channel: limited to 16
    events = drain();
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[2].getRawData()[0], 0xCF);
}

TEST_F(StateFixture, PitchWheelGoesToHostAndInstrument)
{
    state->ports().openOutputPort(1);
    state->sendPitchWheel(2, 8192);
    const auto host = drain();
    ASSERT_EQ(host.size(), 1u);
    EXPECT_EQ(host[0].getPitchWheelValue(), 8192);
    EXPECT_EQ(sent(), (std::vector<std::vector<juce::uint8>>{bytes({0xE1, 0x00, 0x40})}));
}

TEST_F(StateFixture, SendsAreSkippedWhileTheOutputIsClosed)
{
    state->sendRequest(5, 2, 0);
    state->sendParameterChange(20, 90);
    EXPECT_TRUE(sent().empty());

    state->ports().openOutputPort(1);
    state->sendRequest(5, 2, 0);
    state->sendRequest(6, 0, 0);
    state->sendParameterChange(20, 90);
    state->sendSequencerStepChange(3, 100);
    state->sendMainParameterChange(2, 255);
    const std::uint8_t rst[] = {0x04};
    state->sendSysexBody(rst, 1);
    EXPECT_EQ(sent(), (std::vector<std::vector<juce::uint8>>{
                          bytes({0xF0, 0x01, 0x20, 0x01, 0x05, 0x02, 0x00, 0xF7}),
                          bytes({0xF0, 0x01, 0x20, 0x01, 0x06, 0xF7}),
                          bytes({0xF0, 0x01, 0x20, 0x01, 0x01, 20, 0x0A, 0x05, 0xF7}),
                          bytes({0xF0, 0x01, 0x20, 0x01, 0x08, 3, 0x04, 0x06, 0xF7}),
                          bytes({0xF0, 0x01, 0x20, 0x01, 0x09, 2, 0x0F, 0x0F, 0xF7}),
                          bytes({0xF0, 0x01, 0x20, 0x01, 0x04, 0xF7}),
                      }));

    state->ports().openOutputPort(0);
    state->sendParameterChange(20, 91);
    EXPECT_EQ(sent().size(), 6u);
}

TEST_F(StateFixture, ChangingThePortWhileAnotherThreadSendsIsSafe)
{
    std::atomic<bool> run{true};
    std::thread sender(
        [&]
        {
            while (run.load())
                state->sendParameterChange(1, 2);
        });
    for (int i = 0; i < 200; ++i)
    {
        state->ports().openOutputPort(i % 2);
        std::this_thread::sleep_for(std::chrono::microseconds(100)); // let some sends through
    }
    // The output is paced to the cable, so a port reopened every 100 us may pass nothing on a busy
    // machine: leave it open (bounded) until the sends still coming arrive.
    state->ports().openOutputPort(1);
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (devices->messages().empty() && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    run = false;
    sender.join();
    state->ports().openOutputPort(0);
    const auto arrived = sent();
    EXPECT_FALSE(arrived.empty());
    for (const auto& m : arrived) // whole messages only, never torn or mixed
        ASSERT_EQ(m, bytes({0xF0, 0x01, 0x20, 0x01, 0x01, 1, 2, 0, 0xF7}));
    state->sendParameterChange(1, 2); // closed now: nothing more arrives
    EXPECT_EQ(sent().size(), arrived.size());
}

TEST_F(StateFixture, SendsQueuedForTheOldOutputAreNotDeliveredToTheNewOne)
{
    state->ports().openOutputPort(1);
    devices->delayMs = 2; // a slow cable keeps most of the sends waiting in the queue
    for (int v = 0; v < 50; ++v)
        state->sendParameterChange(20, v);
    state->ports().openOutputPort(1); // the same device opened again: a new output
    devices->delayMs = 0;
    state->sendParameterChange(20, 99);
    const auto arrived = sent();
    const auto receivers = devices->receivers();
    ASSERT_FALSE(arrived.empty());
    EXPECT_LT(arrived.size(), 51u);
    EXPECT_EQ(arrived.back(), bytes({0xF0, 0x01, 0x20, 0x01, 0x01, 20, 3, 6, 0xF7}));
    EXPECT_EQ(std::count(receivers.begin(), receivers.end(), 2), 1); // the new output got the new send only
}
