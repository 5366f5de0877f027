#include "SimulatorCodec.h"

#include <algorithm>

namespace zentak::simcodec
{
namespace
{
constexpr size_t programPayloadBytes = 220, comboPayloadBytes = 92;

Bytes header(std::uint8_t command)
{
    return {0xF0, manufacturer, family, version, command};
}

bool framed(const Bytes& m)
{
    return m.size() >= 6 && m.front() == 0xF0 && m[1] == manufacturer && m[2] == family && m.back() == 0xF7;
}

/** Decodes a dump whose payload of payloadBytes follows either the command (edit form) or the bank
    and slot bytes. */
std::optional<Decoded> decodeDump(const Bytes& m, size_t payloadBytes, size_t recordBytes)
{
    if (!framed(m))
        return std::nullopt;
    const size_t editLength = 5 + payloadBytes + 1;
    Decoded d;
    d.command = m[4];
    size_t at = 5;
    if (m.size() == editLength + 2)
    {
        d.bank = m[5];
        d.slot = m[6];
        at = 7;
    }
    else if (m.size() != editLength)
    {
        return std::nullopt;
    }
    d.record = unpack(m.data() + at, payloadBytes);
    if (d.record.size() != recordBytes)
        return std::nullopt;
    return d;
}
} // namespace

Bytes pack(const std::uint8_t* data, size_t count)
{
    Bytes out;
    out.reserve(count + (count + 6) / 7);
    size_t highAt = 0;
    for (size_t i = 0; i < count; ++i)
    {
        const size_t k = i % 7;
        if (k == 0)
        {
            highAt = out.size();
            out.push_back(0);
        }
        if ((data[i] & 0x80) != 0)
            out[highAt] = (std::uint8_t)(out[highAt] | (1u << k));
        out.push_back((std::uint8_t)(data[i] & 0x7F));
    }
    return out;
}

Bytes unpack(const std::uint8_t* payload, size_t count)
{
    if (count == 0 || count % 8 == 1)
        return {};
    Bytes out;
    out.reserve(count);
    for (size_t run = 0; run < count; run += 8)
    {
        const std::uint8_t highs = payload[run];
        for (size_t k = 0; k < 7 && run + 1 + k < count; ++k)
        {
            const bool high = ((highs >> k) & 1) != 0;
            out.push_back((std::uint8_t)((payload[run + 1 + k] & 0x7F) | (high ? 0x80 : 0x00)));
        }
    }
    return out;
}

std::array<std::uint8_t, nameBytes> nameToBytes(const juce::String& text)
{
    std::array<std::uint8_t, nameBytes> out;
    out.fill(' ');
    int i = 0;
    for (auto p = text.getCharPointer(); i < nameBytes && !p.isEmpty(); ++i)
    {
        const auto c = p.getAndAdvance();
        out[(size_t)i] = (c >= 20 && c <= 159) ? (std::uint8_t)c : (std::uint8_t)' ';
    }
    return out;
}

juce::String bytesToName(const std::uint8_t* name16)
{
    juce::String s;
    for (int i = 0; i < nameBytes; ++i)
        if (name16[i] != 0)
            s << juce::String::charToString((juce::juce_wchar)name16[i]);
    return s;
}

Bytes frame(std::uint8_t command, const Bytes& body)
{
    Bytes m(body.size() + 6);
    const auto head = header(command);
    std::copy(head.begin(), head.end(), m.begin());
    std::copy(body.begin(), body.end(), m.begin() + 5);
    m.back() = 0xF7;
    return m;
}

Bytes programMessage(std::uint8_t command, int bank, int slot, const std::uint8_t* record192)
{
    Bytes body;
    if (bank >= 0)
        body = {(std::uint8_t)(bank & 0x7F), (std::uint8_t)(slot & 0x7F)};
    const auto payload = pack(record192, programBytes);
    body.insert(body.end(), payload.begin(), payload.end());
    return frame(command, body);
}

Bytes comboMessage(std::uint8_t command, int bank, int slot, const std::uint8_t* record80)
{
    Bytes body;
    if (bank >= 0)
        body = {(std::uint8_t)(bank & 0x7F), (std::uint8_t)(slot & 0x7F)};
    const auto payload = pack(record80, comboBytes);
    body.insert(body.end(), payload.begin(), payload.end());
    return frame(command, body);
}

Bytes nameMessage(int bank, int slot, const std::uint8_t* name16, bool padWith7F)
{
    Bytes body = {(std::uint8_t)(bank & 0x7F), (std::uint8_t)(slot & 0x7F)};
    for (int i = 0; i < nameBytes; ++i)
        body.push_back(name16[i] < 0x80 ? name16[i] : (std::uint8_t)' ');
    if (padWith7F)
        for (size_t i = body.size(); i > 2 && body[i - 1] == ' '; --i)
            body[i - 1] = 0x7F;
    return frame(0x11, body);
}

std::optional<Decoded> decodeProgramMessage(const Bytes& message)
{
    return decodeDump(message, programPayloadBytes, (size_t)programBytes);
}

std::optional<Decoded> decodeComboMessage(const Bytes& message)
{
    return decodeDump(message, comboPayloadBytes, (size_t)comboBytes);
}
} // namespace zentak::simcodec
