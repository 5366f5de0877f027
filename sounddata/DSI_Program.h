// DSI_Program: a holder of one program record in native form (208 bytes and the decoded name); used
// as the library clipboard and as scratch space for incoming dumps. Owned by one thread at a time.
#pragma once

#include <juce_core/juce_core.h>

namespace zentak
{

class DSI_Program
{
public:
    DSI_Program();
    virtual ~DSI_Program() = default;

    /** Decodes the name bytes, keeps the text and returns it. */
    juce::String getName();
    /** Cuts or pads to 16 characters, keeps the text and writes the name bytes. */
    void setName(const juce::String& text);
    /** The record becomes the first min(length, 208) bytes of data. */
    void setRecord(const juce::MemoryBlock& data);
    /** The record becomes the 192 bytes unpacked from a 220-byte program payload. */
    void unpackDump(const juce::MemoryBlock& payload);

    const juce::MemoryBlock& record() const { return bytes; }

private:
    juce::String name;
    juce::MemoryBlock bytes;
};

} // namespace zentak
