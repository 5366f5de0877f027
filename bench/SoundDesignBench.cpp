// The sound-design engine and the edit history on one program: randomize, mutate and morph (goal at
// most 20 us each), eight children (at most 200 us), and recording and undoing history steps.
#include "editing/EditHistory.h"
#include "editing/SoundDesign.h"
#include "sounddata/ParamCatalogue.h"

#include <benchmark/benchmark.h>

using namespace zentak;
using namespace zentak::editing;

namespace
{
juce::MemoryBlock program(int salt)
{
    juce::MemoryBlock record(208, true);
    for (int i = 0; i < params::numProgramParams; ++i)
        record[(size_t)i] = (char)((i * 7 + salt) % (params::rangeMaximum(i) + 1));
    return record;
}
} // namespace

static void BM_Randomize(benchmark::State& state)
{
    DesignRandom random(1);
    const auto source = program(3);
    for (auto _ : state)
        benchmark::DoNotOptimize(randomize(source, ~ParamSet(), {}, random));
}
BENCHMARK(BM_Randomize)->Unit(benchmark::kMicrosecond);

static void BM_Mutate(benchmark::State& state)
{
    DesignRandom random(1);
    const auto source = program(3);
    for (auto _ : state)
        benchmark::DoNotOptimize(mutate(source, 0.3, {}, random));
}
BENCHMARK(BM_Mutate)->Unit(benchmark::kMicrosecond);

static void BM_Morph(benchmark::State& state)
{
    const auto a = program(3), b = program(11);
    double position = 0;
    for (auto _ : state)
    {
        benchmark::DoNotOptimize(morph(a, b, position));
        position = position > 0.99 ? 0.01 : position + 0.01;
    }
}
BENCHMARK(BM_Morph)->Unit(benchmark::kMicrosecond);

static void BM_BreedEightChildren(benchmark::State& state)
{
    DesignRandom random(1);
    const auto a = program(3), b = program(11);
    for (auto _ : state)
        benchmark::DoNotOptimize(breed(a, b, {}, random));
}
BENCHMARK(BM_BreedEightChildren)->Unit(benchmark::kMicrosecond);

// One replacement recorded, undone and applied, in a history kept full.
static void BM_HistoryReplacementUndo(benchmark::State& state)
{
    EditHistory history;
    auto record = program(3);
    const auto other = program(5);
    for (int n = 0; n < 3000; ++n)
        history.record(*replacementStep("Recv", n % 2 ? record : other, n % 2 ? other : record));
    for (auto _ : state)
    {
        const auto* step = history.undo();
        applyStep(*step, false, record);
        history.redo();
        benchmark::DoNotOptimize(record.getData());
    }
}
BENCHMARK(BM_HistoryReplacementUndo)->Unit(benchmark::kMicrosecond);
