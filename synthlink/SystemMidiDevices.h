// SystemMidiDevices: the MIDI devices offered to the user: the system's inputs and outputs as the
// framework lists them, each followed by one more device, "Evolver Simulator", which connects to an
// instrument simulator owned here. Lists and opening belong to the message thread.
#pragma once

#include "MidiDevices.h"

#include <memory>

namespace zentak
{
class EvolverSimulator;

class SystemMidiDevices : public MidiDeviceBackend
{
public:
    static constexpr const char* simulatorName = "Evolver Simulator";

    /** withSystemDevices false offers the simulator alone (tests, machines without MIDI). */
    explicit SystemMidiDevices(bool withSystemDevices = true);
    ~SystemMidiDevices() override;

    juce::StringArray inputNames() override;
    juce::StringArray outputNames() override;
    std::unique_ptr<MidiInputDevice> openInput(int index, juce::MidiInputCallback* callback) override;
    std::unique_ptr<MidiOutputDevice> openOutput(int index) override;

    /** The simulator behind "Evolver Simulator", created on first use. */
    EvolverSimulator& simulator();

private:
    juce::Array<juce::MidiDeviceInfo> systemInputs();
    juce::Array<juce::MidiDeviceInfo> systemOutputs();

    const bool useSystem;
    std::unique_ptr<EvolverSimulator> sim;
};

} // namespace zentak
