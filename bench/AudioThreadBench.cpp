// Cost of the audio-thread paths: processBlock of 512 samples with an empty and with a filled queue,
// setParameter during automation, and posting a notification code. The measured calls run on a thread
// of their own, as on a host's audio thread (the message thread takes other paths).
#include "plugin/ZentakAudioProcessor.h"

#include <benchmark/benchmark.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <chrono>
#include <functional>
#include <semaphore>
#include <thread>

using namespace zentak;

namespace
{
/** Runs jobs on one thread that is not the message thread and times them there. */
class AudioThread
{
public:
    AudioThread()
        : worker(
              [this]
              {
                  for (;;)
                  {
                      go.acquire();
                      if (quit)
                          return;
                      const auto start = std::chrono::steady_clock::now();
                      job();
                      elapsed =
                          std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
                      done.release();
                  }
              })
    {
    }
    ~AudioThread()
    {
        quit = true;
        go.release();
        worker.join();
    }
    double run(std::function<void()> f)
    {
        job = std::move(f);
        go.release();
        done.acquire();
        return elapsed;
    }

private:
    std::binary_semaphore go{0}, done{0};
    std::function<void()> job;
    double elapsed = 0.0;
    bool quit = false;
    std::thread worker;
};

struct NullListener : MidiCntrStateListener
{
    void midiCntrStateChanged(MidiCntrState*) override {}
};

struct Rig
{
    juce::File folder = juce::File::createTempFile("zentak-bench");
    std::atomic<juce::uint32> now{1000};
    std::unique_ptr<ZentakAudioProcessor> processor;
    NullListener listener; // an open editor: codes are kept for it
    juce::AudioBuffer<float> audio{2, 512};
    juce::MidiBuffer midi;
    AudioThread audioThread;

    Rig()
    {
        folder.createDirectory();
        processor = std::make_unique<ZentakAudioProcessor>(MidiCntrStateOptions{
            folder, [this] { return now.load(); }, std::make_shared<NoMidiDevices>(), false});
        processor->state().addListener(&listener);
        processor->prepareToPlay(44100.0, 512);
        audio.clear();
        midi.ensureSize(4096);
    }
    ~Rig()
    {
        processor->state().removeListener(&listener);
        processor.reset();
        folder.deleteRecursively();
    }
};

constexpr int batch = 1000;

void processBlockEmptyQueue(benchmark::State& s)
{
    Rig rig;
    for (auto _ : s)
        s.SetIterationTime(rig.audioThread.run(
            [&]
            {
                for (int i = 0; i < batch; ++i)
                {
                    rig.midi.clear();
                    rig.processor->processBlock(rig.audio, rig.midi);
                }
            }));
}

void processBlockThreeQueued(benchmark::State& s)
{
    Rig rig;
    for (auto _ : s)
    {
        rig.midi.clear();
        for (juce::uint32 t : {1000u, 1005u, 1010u})
        {
            rig.now = t;
            rig.processor->state().queueHostProgramChange(1, 1);
        }
        s.SetIterationTime(rig.audioThread.run([&] { rig.processor->processBlock(rig.audio, rig.midi); }));
        benchmark::DoNotOptimize(rig.midi.getNumEvents());
    }
}

void setParameterAutomation(benchmark::State& s)
{
    Rig rig;
    int k = 0;
    for (auto _ : s)
    {
        s.SetIterationTime(rig.audioThread.run(
            [&]
            {
                for (int i = 0; i < batch; ++i, ++k)
                    rig.processor->setParameter(k % 192, (float)(k % 11) / 11.0f);
            }));
        rig.processor->state().takePendingCodes();
    }
}

void postChangeCode(benchmark::State& s)
{
    Rig rig;
    for (auto _ : s)
    {
        s.SetIterationTime(rig.audioThread.run(
            [&]
            {
                for (int i = 0; i < batch; ++i)
                    rig.processor->state().postChange(CS_PARAM_CHANGED + i);
            }));
        rig.processor->state().takePendingCodes();
    }
}
} // namespace

// Batched benchmarks report the time of 1000 calls (microseconds per batch = nanoseconds per call).
BENCHMARK(processBlockEmptyQueue)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(2000);
BENCHMARK(processBlockThreeQueued)->UseManualTime()->Unit(benchmark::kNanosecond)->Iterations(20000);
BENCHMARK(setParameterAutomation)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(2000);
BENCHMARK(postChangeCode)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(2000);

int main(int argc, char** argv)
{
    juce::ScopedJuceInitialiser_GUI gui;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
