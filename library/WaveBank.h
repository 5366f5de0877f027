// WaveBank: the 128 wave shapes (96 fixed, 32 user) in one fixed 32768-byte array. Written on the
// message thread at start-up and by library commands; read for drawing.
#pragma once

#include "sounddata/SoundRecords.h"

#include <array>
#include <cstdint>

namespace zentak
{

class WaveBank
{
public:
    static constexpr int bytes = records::numWaveShapes * records::waveShapeSize;
    static constexpr int fixedBytes = records::numFixedShapes * records::waveShapeSize;
    static constexpr int userBytes = bytes - fixedBytes;

    WaveBank() = default;

    const juce::String& getName() const { return name; }

    /** Shapes 0..95 become the given fixed shapes (at most 24576 bytes). */
    void loadFixedShapes(const void* data, size_t size);
    /** Shapes 96..127 from the 8192 bytes at offset 98304 of a data image. */
    void loadUserShapesFromImage(const juce::MemoryBlock& image);
    /** A copy of shapes 96..127. */
    juce::MemoryBlock userShapes() const;
    /** Sample k (0..127) of shape n (0..127); 0 outside. */
    int sample(int n, int k) const;

    const std::uint8_t* data() const { return shapes.data(); }

private:
    juce::String name{"Wave Bank"};
    std::array<std::uint8_t, (size_t)bytes> shapes{};
};

} // namespace zentak
