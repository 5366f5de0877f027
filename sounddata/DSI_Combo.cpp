#include "DSI_Combo.h"

#include "SoundRecords.h"

namespace zentak
{
void DSI_Combo::unpackDump(const juce::MemoryBlock& payload)
{
    bytes = records::unpackPayload(payload.getData(), payload.getSize());
}

juce::String DSI_Combo::getName() const
{
    if (bytes.getSize() < (size_t)records::comboSize)
        return {};
    return records::decodeName(static_cast<const std::uint8_t*>(bytes.getData()) + records::comboNameOffset);
}
} // namespace zentak
