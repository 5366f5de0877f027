#include "SysexAssembler.h"

namespace zentak
{
bool SysexAssembler::feed(const juce::uint8* data, size_t size)
{
    if (data == nullptr || size == 0)
        return false;
    if (data[0] == 0xF0)
    {
        buffer.clear();
    }
    else
    {
        if (buffer.empty() || (size == 1 && data[0] >= 0xF8))
            return false;
    }
    if (buffer.size() + size > cap)
    {
        buffer.clear();
        return false;
    }
    // A real-time byte may stand anywhere in a piece, also first: it never joins the message.
    for (size_t i = 0; i < size; ++i)
        if (data[i] < 0xF8)
            buffer.push_back(data[i]);
    return buffer.size() >= 2 && buffer.front() == 0xF0 && buffer.back() == 0xF7;
}

std::vector<juce::uint8> SysexAssembler::take()
{
    std::vector<juce::uint8> out(buffer.begin(), buffer.end());
    buffer.clear();
    return out;
}
} // namespace zentak
