// DataImage: the 145408-byte image of program banks A..D, user wave shapes and combo banks A..C that
// the library file and the factory sets use. Layout constants and the builder; any thread.
#pragma once

#include <juce_core/juce_core.h>

namespace zentak
{
class Bank_Program;
class Bank_Combo;
class WaveBank;

namespace image
{
constexpr size_t size = 145408;
constexpr size_t paramsOffset = 0; // bank b, slot s at 24576b + 192s
constexpr size_t paramsBankStride = 24576;
constexpr size_t userShapesOffset = 98304;
constexpr size_t userShapesSize = 8192;
constexpr size_t namesOffset = 106496; // bank b, slot s at 106496 + 2048b + 16s
constexpr size_t namesBankStride = 2048;
constexpr size_t combosOffset = 114688; // bank c, slot s at 114688 + 10240c + 80s
constexpr size_t combosBankStride = 10240;

/** Builds the image from four program banks, the wave bank's user shapes and three combo banks. */
juce::MemoryBlock build(const Bank_Program* const programs[4], const WaveBank& waves,
                        const Bank_Combo* const combos[3]);
} // namespace image
} // namespace zentak
