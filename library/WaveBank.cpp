#include "WaveBank.h"

#include "DataImage.h"

#include <cstring>

namespace zentak
{
void WaveBank::loadFixedShapes(const void* data, size_t size)
{
    std::memset(shapes.data(), 0, (size_t)fixedBytes);
    if (data != nullptr)
        std::memcpy(shapes.data(), data, juce::jmin(size, (size_t)fixedBytes));
}

void WaveBank::loadUserShapesFromImage(const juce::MemoryBlock& image)
{
    const auto* src = static_cast<const std::uint8_t*>(image.getData());
    for (size_t i = 0; i < (size_t)userBytes; ++i)
    {
        const size_t at = image::userShapesOffset + i;
        shapes[(size_t)fixedBytes + i] = at < image.getSize() ? src[at] : 0;
    }
}

juce::MemoryBlock WaveBank::userShapes() const
{
    return juce::MemoryBlock(shapes.data() + fixedBytes, (size_t)userBytes);
}

int WaveBank::sample(int n, int k) const
{
    if (n < 0 || n >= records::numWaveShapes || k < 0 || k >= 128)
        return 0;
    const auto* p = shapes.data() + (size_t)n * records::waveShapeSize + 2 * (size_t)k;
    return (std::int16_t)(p[0] | (p[1] << 8));
}
} // namespace zentak
