// MidiDevices: the small interface behind which the MIDI ports to the instrument live, so that the
// system's devices and the instrument simulator are opened the same way. Device lists and opening
// belong to the message thread; an open output's sendMessageNow is called from the sender thread only.
#pragma once

#include <juce_audio_devices/juce_audio_devices.h>

#include <memory>

namespace zentak
{

class MidiOutputDevice
{
public:
    virtual ~MidiOutputDevice() = default;
    virtual void sendMessageNow(const juce::MidiMessage& message) = 0;
};

class MidiInputDevice
{
public:
    virtual ~MidiInputDevice() = default;
    virtual void start() = 0;
    virtual void stop() = 0;
};

class MidiDeviceBackend
{
public:
    virtual ~MidiDeviceBackend() = default;
    virtual juce::StringArray inputNames() = 0;
    virtual juce::StringArray outputNames() = 0;
    /** Opens input device index, delivering to callback; nullptr when it cannot be opened. */
    virtual std::unique_ptr<MidiInputDevice> openInput(int index, juce::MidiInputCallback* callback) = 0;
    virtual std::unique_ptr<MidiOutputDevice> openOutput(int index) = 0;
};

/** A backend with no devices at all. */
class NoMidiDevices : public MidiDeviceBackend
{
public:
    juce::StringArray inputNames() override { return {}; }
    juce::StringArray outputNames() override { return {}; }
    std::unique_ptr<MidiInputDevice> openInput(int, juce::MidiInputCallback*) override { return nullptr; }
    std::unique_ptr<MidiOutputDevice> openOutput(int) override { return nullptr; }
};

} // namespace zentak
