#include "SoundRecords.h"

namespace zentak::records
{
std::uint8_t encodeNameChar(juce::juce_wchar c)
{
    return c >= 20 && c <= 159 ? (std::uint8_t)c : (std::uint8_t)32;
}

void encodeName(const juce::String& text, std::uint8_t* dest)
{
    auto p = text.getCharPointer();
    int i = 0;
    for (; i < nameLength && !p.isEmpty(); ++i)
        dest[i] = encodeNameChar(p.getAndAdvance());
    for (; i < nameLength; ++i)
        dest[i] = 32;
}

juce::String decodeName(const std::uint8_t* bytes)
{
    juce::String s;
    s.preallocateBytes(32);
    for (int i = 0; i < nameLength; ++i)
        if (bytes[i] != 0)
            s += juce::String::charToString((juce::juce_wchar)bytes[i]);
    return s;
}

juce::String placeholderName(int bank, int slot)
{
    return "PROGRAM " + juce::String::charToString((juce::juce_wchar)('A' + bank)) + "-" +
           juce::String(slot + 1).paddedLeft('0', 3);
}

juce::MemoryBlock unpackPayload(const void* payload, size_t length)
{
    int tail = 0;
    if (length == (size_t)comboPayload || length == (size_t)programPayload)
        tail = 3;
    else if (length == (size_t)wavePayload)
        tail = 4;
    else
        return {};

    const auto* p = static_cast<const std::uint8_t*>(payload);
    const int len = (int)length;
    int groups = 0;
    while (8 * groups + 1 < len - 6)
        ++groups;

    juce::MemoryBlock out((size_t)(7 * groups + tail), true);
    auto* u = static_cast<std::uint8_t*>(out.getData());
    auto unpackGroup = [&](int g, int count)
    {
        const std::uint8_t high = p[8 * g];
        for (int k = 0; k < count; ++k)
            u[7 * g + k] = (std::uint8_t)((p[8 * g + 1 + k] & 0x7f) | (((high >> k) & 1) << 7));
    };
    for (int g = 0; g < groups; ++g)
        unpackGroup(g, 7);
    unpackGroup(groups, tail);
    return out;
}

juce::MemoryBlock unpackMessage(const juce::MemoryBlock& message)
{
    const auto* d = static_cast<const std::uint8_t*>(message.getData());
    switch (message.getSize())
    {
    case (size_t)comboPayload:
    case (size_t)programPayload:
    case (size_t)wavePayload:
        return unpackPayload(d, message.getSize());
    case (size_t)editProgramMessage:
        return unpackPayload(d + 5, programPayload);
    case (size_t)slotProgramMessage:
        return unpackPayload(d + 7, programPayload);
    default:
        return {};
    }
}

void packPayload(const std::uint8_t* bytes, size_t length, std::uint8_t* dest)
{
    const size_t groups = (length + 6) / 7;
    for (size_t g = 0; g < groups; ++g)
    {
        const size_t count = juce::jmin((size_t)7, length - 7 * g);
        std::uint8_t high = 0;
        for (size_t k = 0; k < count; ++k)
        {
            const std::uint8_t b = bytes[7 * g + k];
            high = (std::uint8_t)(high | ((b >> 7) << k));
            dest[8 * g + 1 + k] = (std::uint8_t)(b & 0x7f);
        }
        dest[8 * g] = high;
    }
}

juce::MemoryBlock packProgramMessage(const juce::MemoryBlock& record)
{
    if (record.getSize() != (size_t)programSize && record.getSize() != (size_t)programParamBytes)
        return {};
    juce::MemoryBlock out((size_t)editProgramMessage, true);
    auto* m = static_cast<std::uint8_t*>(out.getData());
    m[0] = 0xf0;
    m[1] = 0x01;
    m[2] = 0x20;
    m[3] = 0x01;
    m[4] = 0x03;
    packProgramPayload(static_cast<const std::uint8_t*>(record.getData()), m + 5);
    m[editProgramMessage - 1] = 0xf7;
    return out;
}
} // namespace zentak::records
