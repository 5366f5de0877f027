// Cost of the audio-thread paths: processBlock of 512 samples with an empty and with a filled queue,
// setParameter during automation, and posting a notification code.
#include "plugin/ZentakAudioProcessor.h"

#include <benchmark/benchmark.h>
#include <juce_gui_basics/juce_gui_basics.h>

using namespace zentak;

namespace
{
struct Rig
{
    juce::File folder = juce::File::createTempFile("zentak-bench");
    std::atomic<juce::uint32> now{1000};
    std::unique_ptr<ZentakAudioProcessor> processor;
    juce::AudioBuffer<float> audio{2, 512};
    juce::MidiBuffer midi;

    Rig()
    {
        folder.createDirectory();
        processor = std::make_unique<ZentakAudioProcessor>(
            MidiCntrStateOptions{folder, [this] { return now.load(); }, {}});
        processor->prepareToPlay(44100.0, 512);
        audio.clear();
        midi.ensureSize(4096);
    }
    ~Rig()
    {
        processor.reset();
        folder.deleteRecursively();
    }
};

void processBlockEmptyQueue(benchmark::State& s)
{
    Rig rig;
    for (auto _ : s)
    {
        rig.midi.clear();
        rig.processor->processBlock(rig.audio, rig.midi);
        benchmark::DoNotOptimize(rig.midi.getNumEvents());
    }
}

void processBlockThreeQueued(benchmark::State& s)
{
    Rig rig;
    for (auto _ : s)
    {
        s.PauseTiming();
        rig.midi.clear();
        for (juce::uint32 t : {1000u, 1005u, 1010u})
        {
            rig.now = t;
            rig.processor->state().queueHostProgramChange(1, 1);
        }
        s.ResumeTiming();
        rig.processor->processBlock(rig.audio, rig.midi);
        benchmark::DoNotOptimize(rig.midi.getNumEvents());
    }
}

void setParameterAutomation(benchmark::State& s)
{
    Rig rig;
    int i = 0;
    for (auto _ : s)
    {
        rig.processor->setParameter(i % 192, (float) (i % 11) / 11.0f);
        ++i;
        if ((i & 1023) == 0)
            rig.processor->state().takePendingCodes();
    }
}

void postChangeCode(benchmark::State& s)
{
    Rig rig;
    int i = 0;
    for (auto _ : s)
    {
        rig.processor->state().postChange(CS_PARAM_CHANGED + i);
        if ((++i & 1023) == 0)
            rig.processor->state().takePendingCodes();
    }
}
} // namespace

BENCHMARK(processBlockEmptyQueue);
BENCHMARK(processBlockThreeQueued);
BENCHMARK(setParameterAutomation);
BENCHMARK(postChangeCode);

int main(int argc, char** argv)
{
    juce::ScopedJuceInitialiser_GUI gui;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
