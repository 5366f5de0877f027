#include "DSI_Program.h"

#include "SoundRecords.h"

namespace zentak
{
DSI_Program::DSI_Program() : bytes((size_t)records::programSize, true)
{
    setName("Untitled");
}

juce::String DSI_Program::getName()
{
    // A record too short to hold a name has none (not the name of an earlier record).
    name = bytes.getSize() >= (size_t)records::programSize
               ? records::decodeName(static_cast<const std::uint8_t*>(bytes.getData()) + records::nameOffset)
               : juce::String();
    return name;
}

void DSI_Program::setName(const juce::String& text)
{
    if (bytes.getSize() < (size_t)records::programSize)
        bytes.setSize((size_t)records::programSize, true);
    auto* d = static_cast<std::uint8_t*>(bytes.getData()) + records::nameOffset;
    records::encodeName(text, d);
    name = records::decodeName(d);
}

void DSI_Program::setRecord(const juce::MemoryBlock& data)
{
    bytes.replaceAll(data.getData(), juce::jmin(data.getSize(), (size_t)records::programSize));
}

void DSI_Program::unpackDump(const juce::MemoryBlock& payload)
{
    bytes = records::unpackPayload(payload.getData(), payload.getSize());
}
} // namespace zentak
