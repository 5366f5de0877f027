// MidiCntrStateOptions: how a controller state is built (its folder, clock, devices, files and cable
// rate). Filled on the message thread before construction.
#pragma once

#include "MidiDevices.h"

#include <juce_core/juce_core.h>

#include <functional>
#include <memory>

namespace zentak
{
struct MidiCntrStateOptions
{
    /** Folder of the plug-in's own files; empty: the user's application data "PlugSettings". */
    juce::File settingsFolder;
    /** Millisecond counter used to timestamp the host-output queue; empty: the framework's. */
    std::function<juce::uint32()> clock;
    /** MIDI devices to offer; empty: the system's devices and the simulator. */
    std::shared_ptr<MidiDeviceBackend> devices;
    /** Read and write the settings, port and library files (off: start from factory data, save nothing). */
    bool useFiles = true;
    /** Reads the library file whole; empty: from the disk. False when it cannot be read. */
    std::function<bool(const juce::File&, juce::MemoryBlock&)> readLibraryFile;
    /** The byte rate the output to the instrument is kept to: its MIDI in is a DIN port. */
    int cableBytesPerSecond = 3125;
};
} // namespace zentak
