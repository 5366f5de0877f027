// All threads at once, as in a host: the instrument's input thread sending bursts of edits, dumps and
// names, the audio thread running blocks with host MIDI and automation, and the message thread
// editing on screen, delivering codes and relays and opening and closing the window. Run under the
// thread sanitizer by the test command; here it also checks that the host's gestures stay balanced
// and that the link still works afterwards.
#include "TestSupport.h"
#include "plugin/ZentakAudioProcessor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

using namespace zentak;
using namespace zentak::test;

namespace
{
struct GestureChecker : juce::AudioProcessorListener
{
    void audioProcessorParameterChanged(juce::AudioProcessor*, int index, float) override
    {
        if (juce::MessageManager::existsAndIsCurrentThread() && !open[(size_t)index])
            ++faults;
    }
    void audioProcessorChanged(juce::AudioProcessor*, const ChangeDetails&) override {}
    void audioProcessorParameterChangeGestureBegin(juce::AudioProcessor*, int index) override
    {
        faults += open[(size_t)index] ? 1 : 0;
        open[(size_t)index] = true;
    }
    void audioProcessorParameterChangeGestureEnd(juce::AudioProcessor*, int index) override
    {
        faults += open[(size_t)index] ? 0 : 1;
        open[(size_t)index] = false;
    }
    std::array<bool, 192> open{};
    int faults = 0;
};

std::vector<juce::uint8> programDump(int fill)
{
    std::vector<juce::uint8> record(192, (juce::uint8)(fill & 0x3f));
    std::vector<juce::uint8> m = {0xF0, 0x01, 0x20, 0x01, 0x03};
    m.resize(5 + 220);
    records::packProgramPayload(record.data(), m.data() + 5);
    m.push_back(0xF7);
    return m;
}
} // namespace

TEST(Concurrency, InstrumentAudioAndMessageThreadsAtOnce)
{
    TempFolder temp;
    auto devices = std::make_shared<RecordingDevices>();
    ZentakAudioProcessor processor(MidiCntrStateOptions{temp.folder, {}, devices, false});
    auto& state = processor.state();
    state.ports().openOutputPort(1);
    GestureChecker host;
    processor.addListener(&host);
    processor.prepareToPlay(48000.0, 256);

    std::atomic<int> running{2};
    std::thread instrument(
        [&]
        {
            for (int i = 0; i < 3000; ++i)
            {
                const int param = (i * 13) % 128, value = i % 100;
                const auto edit = bytes({0xF0, 0x01, 0x20, 0x01, 0x01, param, value & 15, value >> 4, 0xF7});
                // Delivered in two pieces with a clock byte between them, as some drivers do.
                state.handleIncomingMidiMessage(nullptr, juce::MidiMessage(edit.data(), 5));
                state.handleIncomingMidiMessage(nullptr, juce::MidiMessage::midiClock());
                state.handleIncomingMidiMessage(nullptr, juce::MidiMessage(edit.data() + 5, 4));
                if (i % 200 == 0)
                {
                    const auto dump = programDump(i);
                    state.handleIncomingMidiMessage(nullptr, juce::MidiMessage(dump.data(), (int)dump.size()));
                    const auto name = bytes({0xF0, 0x01, 0x20, 0x01, 0x11, 1, i % 128, 'C', 'o', 'n', 'c', 'u',
                                             'r', 'r', 'e', 'n', 't', ' ', ' ', ' ', ' ', ' ', ' ', 0xF7});
                    state.handleIncomingMidiMessage(nullptr, juce::MidiMessage(name.data(), (int)name.size()));
                }
            }
            --running;
        });
    std::thread audio(
        [&]
        {
            juce::AudioBuffer<float> buffer(2, 256);
            juce::MidiBuffer midi;
            for (int i = 0; i < 2000; ++i)
            {
                buffer.clear();
                midi.clear();
                midi.addEvent(juce::MidiMessage::noteOn(1, 60 + i % 12, (juce::uint8)100), 0);
                midi.addEvent(juce::MidiMessage::pitchWheel(1, (i * 97) % 16384), 10);
                if (i % 100 == 0)
                    midi.addEvent(juce::MidiMessage::programChange(1, i % 128), 20);
                processor.processBlock(buffer, midi);
                for (int k = 0; k < 4; ++k)
                    processor.setParameter((i * 4 + k) % 192, (float)((i + k) % 50) / 50.0f);
            }
            --running;
        });

    // The message thread: screen drags, relays, codes, the gesture timer, the window coming and going.
    std::unique_ptr<CodeRecorder> window;
    for (int i = 0; running.load() > 0 || i < 100; ++i)
    {
        const int param = 40 + i % 20;
        state.beginHostGesture(param);
        state.notifyHostValue(param, i % 30);
        state.endHostGesture(param);
        state.deliverHostEvents();
        state.deliverPendingWakes();
        if (i % 7 == 0)
            window.reset();
        else if (window == nullptr)
            window = std::make_unique<CodeRecorder>(state);
        if (i % 25 == 0)
            state.timerCallback();
        if (i % 50 == 0)
        {
            juce::MemoryBlock chunk;
            processor.getStateInformation(chunk);
            EXPECT_GE(chunk.getSize(), 26651u);
        }
        std::this_thread::yield();
    }
    instrument.join();
    audio.join();
    window.reset();
    state.deliverHostEvents();
    state.timerCallback();

    EXPECT_EQ(host.faults, 0);
    for (int i = 0; i < 192; ++i)
        EXPECT_FALSE(host.open[(size_t)i]) << "gesture left open on " << i;

    // The link still works: one more edit from the instrument arrives, one from the host goes out.
    const auto edit = bytes({0xF0, 0x01, 0x20, 0x01, 0x01, 20, 7, 2, 0xF7});
    state.handleIncomingMidiMessage(nullptr, juce::MidiMessage(edit.data(), (int)edit.size()));
    EXPECT_EQ(state.editByte(20), 39);
    processor.setParameter(21, 0.0f);
    processor.setParameter(21, 1.0f);
    state.ports().waitUntilSent();
    // Changes still waiting for the cable are coalesced: the last one sent for 21 carries the last value.
    const auto sent = devices->messages();
    const auto last21 = std::find_if(sent.rbegin(), sent.rend(),
                                     [](const auto& m) { return m.size() == 9 && m[4] == 0x01 && m[5] == 21; });
    ASSERT_NE(last21, sent.rend());
    EXPECT_EQ((*last21)[6] + 16 * (*last21)[7], state.editByte(21));
    EXPECT_EQ(state.editByte(21), state.paramMaximum[21]);
    processor.removeListener(&host);
}
