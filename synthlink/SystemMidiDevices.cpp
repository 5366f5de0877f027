#include "SystemMidiDevices.h"

#include "synthlink/simulator/EvolverSimulator.h"

namespace zentak
{
namespace
{
class SystemInput : public MidiInputDevice
{
public:
    explicit SystemInput(std::unique_ptr<juce::MidiInput> in) : device(std::move(in)) {}
    void start() override { device->start(); }
    void stop() override { device->stop(); }

private:
    std::unique_ptr<juce::MidiInput> device;
};

class SystemOutput : public MidiOutputDevice
{
public:
    explicit SystemOutput(std::unique_ptr<juce::MidiOutput> out) : device(std::move(out)) {}
    void sendMessageNow(const juce::MidiMessage& m) override { device->sendMessageNow(m); }

private:
    std::unique_ptr<juce::MidiOutput> device;
};

class SimulatorInput : public MidiInputDevice
{
public:
    SimulatorInput(EvolverSimulator& s, juce::MidiInputCallback* cb) : sim(s), callback(cb) {}
    ~SimulatorInput() override { sim.connectInput(nullptr); }
    void start() override { sim.connectInput(callback); }
    void stop() override { sim.connectInput(nullptr); }

private:
    EvolverSimulator& sim;
    juce::MidiInputCallback* callback;
};

class SimulatorOutput : public MidiOutputDevice
{
public:
    explicit SimulatorOutput(EvolverSimulator& s) : sim(s) {}
    void sendMessageNow(const juce::MidiMessage& m) override { sim.receive(m); }

private:
    EvolverSimulator& sim;
};
} // namespace

SystemMidiDevices::SystemMidiDevices(bool withSystemDevices) : useSystem(withSystemDevices) {}

SystemMidiDevices::~SystemMidiDevices() = default;

EvolverSimulator& SystemMidiDevices::simulator()
{
    if (sim == nullptr)
        sim = std::make_unique<EvolverSimulator>();
    return *sim;
}

juce::Array<juce::MidiDeviceInfo> SystemMidiDevices::systemInputs()
{
    return useSystem ? juce::MidiInput::getAvailableDevices() : juce::Array<juce::MidiDeviceInfo>();
}

juce::Array<juce::MidiDeviceInfo> SystemMidiDevices::systemOutputs()
{
    return useSystem ? juce::MidiOutput::getAvailableDevices() : juce::Array<juce::MidiDeviceInfo>();
}

juce::StringArray SystemMidiDevices::inputNames()
{
    juce::StringArray names;
    for (const auto& d : systemInputs())
        names.add(d.name);
    names.add(simulatorName);
    return names;
}

juce::StringArray SystemMidiDevices::outputNames()
{
    juce::StringArray names;
    for (const auto& d : systemOutputs())
        names.add(d.name);
    names.add(simulatorName);
    return names;
}

std::unique_ptr<MidiInputDevice> SystemMidiDevices::openInput(int index, juce::MidiInputCallback* callback)
{
    const auto devices = systemInputs();
    if (index >= 0 && index < devices.size())
    {
        if (auto in = juce::MidiInput::openDevice(devices[index].identifier, callback))
            return std::make_unique<SystemInput>(std::move(in));
        return nullptr;
    }
    if (index == devices.size())
        return std::make_unique<SimulatorInput>(simulator(), callback);
    return nullptr;
}

std::unique_ptr<MidiOutputDevice> SystemMidiDevices::openOutput(int index)
{
    const auto devices = systemOutputs();
    if (index >= 0 && index < devices.size())
    {
        if (auto out = juce::MidiOutput::openDevice(devices[index].identifier))
            return std::make_unique<SystemOutput>(std::move(out));
        return nullptr;
    }
    if (index == devices.size())
        return std::make_unique<SimulatorOutput>(simulator());
    return nullptr;
}
} // namespace zentak
