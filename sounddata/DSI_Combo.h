// DSI_Combo: a holder of one combo record (80 bytes) while an incoming combo dump is unpacked.
// Owned by one thread at a time.
#pragma once

#include <juce_core/juce_core.h>

namespace zentak
{

class DSI_Combo
{
public:
    DSI_Combo() = default;
    virtual ~DSI_Combo() = default;

    /** The record becomes the 80 bytes unpacked from a 92-byte combo payload, name included. */
    void unpackDump(const juce::MemoryBlock& payload);
    juce::String getName() const;

    const juce::MemoryBlock& record() const { return bytes; }

private:
    juce::MemoryBlock bytes;
};

} // namespace zentak
