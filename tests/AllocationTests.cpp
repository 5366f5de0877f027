// Shows that the audio-thread paths allocate nothing: operator new is counted per thread while a
// measurement runs, and the measured calls run on a thread of their own, as a host's audio thread.
#include "TestSupport.h"
#include "plugin/ZentakAudioProcessor.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <thread>

namespace
{
thread_local bool counting = false;
thread_local int allocations = 0;

void* countedAlloc(std::size_t n)
{
    if (counting)
        ++allocations;
    if (void* p = std::malloc(n == 0 ? 1 : n))
        return p;
    throw std::bad_alloc();
}

template <typename F> int allocationsOnAnotherThread(F&& work)
{
    int count = -1;
    std::thread t(
        [&]
        {
            allocations = 0;
            counting = true;
            work();
            counting = false;
            count = allocations;
        });
    t.join();
    return count;
}
} // namespace

void* operator new(std::size_t n)
{
    return countedAlloc(n);
}
void* operator new[](std::size_t n)
{
    return countedAlloc(n);
}
void operator delete(void* p) noexcept
{
    std::free(p);
}
void operator delete[](void* p) noexcept
{
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept
{
    std::free(p);
}

using namespace zentak;
using namespace zentak::test;

TEST(AudioThread, ProcessBlockAndSetParameterAllocateNothing)
{
    TempFolder temp;
    ManualClock clock;
    auto devices = std::make_shared<RecordingDevices>();
    ZentakAudioProcessor processor(MidiCntrStateOptions{temp.folder, clock.function(), devices});
    processor.state().ports().openOutputPort(1);
    processor.prepareToPlay(44100.0, 512);
    CodeRecorder window(processor.state()); // with a window listening, every post keeps its code

    juce::AudioBuffer<float> audio(2, 512);
    audio.clear();
    juce::MidiBuffer midi;
    midi.ensureSize(4096);

    // Empty queue, then three queued events and host MIDI that selects programs and posts codes.
    EXPECT_EQ(allocationsOnAnotherThread([&] { processor.processBlock(audio, midi); }), 0);
    for (juce::uint32 t : {1000u, 1005u, 1010u})
    {
        clock.set(t);
        processor.state().queueHostProgramChange(1, 3);
    }
    EXPECT_EQ(allocationsOnAnotherThread(
                  [&]
                  {
                      midi.addEvent(juce::MidiMessage::programChange(1, 7), 0);
                      midi.addEvent(juce::MidiMessage::controllerEvent(1, 32, 2), 1);
                      midi.addEvent(juce::MidiMessage::noteOn(1, 60, (juce::uint8)90), 2);
                      midi.addEvent(juce::MidiMessage::pitchWheel(1, 100), 3);
                      processor.processBlock(audio, midi);
                  }),
              0);
    EXPECT_EQ(midi.getNumEvents(), 3);
    EXPECT_EQ(processor.state().currentBank.load(), 2);

    EXPECT_EQ(allocationsOnAnotherThread(
                  [&]
                  {
                      for (int i = 0; i < 192; ++i)
                          processor.setParameter(i, (float)(i % 7) / 7.0f);
                  }),
              0);
    processor.state().ports().waitUntilSent();
    EXPECT_GT(devices->messages().size(), 100u);
    processor.state().deliverPendingWakes();
    EXPECT_GT(window.codes.size(), 100u); // the codes pushed on the audio thread all arrived
}

// A VST3 host may change programs on its audio thread. With the host program dialog open the choice
// only moves the dialog: the window learns of it through the state's codes, without a lock or an
// allocation on the way, and it arrives.
TEST(AudioThread, AProgramChangeWhileTheHostDialogIsOpenAllocatesNothing)
{
    TempFolder temp;
    ManualClock clock;
    auto devices = std::make_shared<RecordingDevices>();
    ZentakAudioProcessor processor(MidiCntrStateOptions{temp.folder, clock.function(), devices});
    CodeRecorder window(processor.state());
    processor.state().hostDialogOpen = true;
    const auto before = processor.state().hostBank().getEdit();

    EXPECT_EQ(allocationsOnAnotherThread([&] { processor.setCurrentProgram(5); }), 0);
    processor.state().deliverPendingWakes();
    EXPECT_EQ(processor.state().currentHostProgram.load(), 5);
    EXPECT_EQ(processor.state().hostBank().getEdit(), before); // the sound stays while the dialog decides
    EXPECT_NE(std::find(window.codes.begin(), window.codes.end(), (int)CS_EDITOR_COMMAND),
              window.codes.end());
    EXPECT_EQ(processor.state().takeEditorCommands(), std::vector<juce::uint8>{180});
}
