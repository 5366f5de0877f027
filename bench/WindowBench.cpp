// Cost of the window on the message thread: opening it (construction, layout and the first paint of
// the whole page) and showing a whole new sound on every control, which happens on every program
// change. Goals: opening well under 150 ms, a whole refresh under 5 ms, so a host never stutters when
// the editor opens or a program is chosen.
#include "plugin/ZentakAudioProcessor.h"
#include "synthlink/SystemMidiDevices.h"
#include "ui/main/MainComp.h"

#include <benchmark/benchmark.h>
#include <juce_gui_basics/juce_gui_basics.h>

using namespace zentak;

namespace
{
struct Setup
{
    juce::File folder = juce::File::createTempFile("zentak-bench");
    std::unique_ptr<ZentakAudioProcessor> processor;

    Setup()
    {
        folder.createDirectory();
        processor = std::make_unique<ZentakAudioProcessor>(
            MidiCntrStateOptions{folder, {}, std::make_shared<SystemMidiDevices>(false), false});
    }
    ~Setup()
    {
        processor.reset();
        folder.deleteRecursively();
    }
};

void paintWhole(juce::Component& c)
{
    juce::Image image(juce::Image::ARGB, c.getWidth(), c.getHeight(), true);
    juce::Graphics g(image);
    c.paintEntireComponent(g, false);
}
} // namespace

static void BM_WindowOpenAndFirstPaint(benchmark::State& s)
{
    Setup setup;
    for (auto _ : s)
    {
        MainComp window(&setup.processor->state());
        window.setSize(MainComp::designWidth, MainComp::designHeight);
        window.closeAbout();
        paintWhole(window);
    }
}
BENCHMARK(BM_WindowOpenAndFirstPaint)->Unit(benchmark::kMillisecond);

/** A different program each time, so every control really has a new value to show; with repaint, the
    whole window is painted after it. */
static void refreshLoop(benchmark::State& s, bool repaint)
{
    Setup setup;
    auto& state = setup.processor->state();
    MainComp window(&state);
    window.setSize(MainComp::designWidth, MainComp::designHeight);
    window.closeAbout();
    int n = 0;
    for (auto _ : s)
    {
        state.selectProgram(0, n++ % 128, false, false);
        window.refreshFromEditRecord();
        if (repaint)
            paintWhole(window);
    }
}

static void BM_WindowRefreshAWholeSound(benchmark::State& s)
{
    refreshLoop(s, false);
}
BENCHMARK(BM_WindowRefreshAWholeSound)->Unit(benchmark::kMicrosecond);

static void BM_WindowRefreshAndRepaint(benchmark::State& s)
{
    refreshLoop(s, true);
}
BENCHMARK(BM_WindowRefreshAndRepaint)->Unit(benchmark::kMillisecond);
