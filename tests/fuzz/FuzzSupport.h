// Shared set-up of the fuzz targets: the framework's singletons, and a device backend whose single
// output swallows everything, so that request chains run without an instrument.
#pragma once

#include "synthlink/MidiCntrState.h"

#include "FuzzRate.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace zentak::fuzz
{

class SinkDevices : public MidiDeviceBackend
{
    struct Sink : MidiOutputDevice
    {
        void sendMessageNow(const juce::MidiMessage&) override {}
    };

public:
    juce::StringArray inputNames() override { return {}; }
    juce::StringArray outputNames() override { return {"Sink"}; }
    std::unique_ptr<MidiInputDevice> openInput(int, juce::MidiInputCallback*) override { return nullptr; }
    std::unique_ptr<MidiOutputDevice> openOutput(int) override { return std::make_unique<Sink>(); }
};

/** The framework lives until the process ends: the fuzzer exits from inside its loop, and tearing
    the framework down from static destructors would race the framework's own globals. */
inline void initialiseFramework()
{
    static auto* gui = new juce::ScopedJuceInitialiser_GUI();
    (void)gui;
}

/** An instant cable: the output is not paced to the DIN rate (pacing has tests of its own), so a
    target that waits for its sends does not wait for a cable. */
inline MidiCntrStateOptions options()
{
    return MidiCntrStateOptions{juce::File::getSpecialLocation(juce::File::tempDirectory),
                                {},
                                std::make_shared<SinkDevices>(),
                                false,
                                {},
                                0};
}

} // namespace zentak::fuzz
