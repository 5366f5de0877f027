// FactorySets: the built-in data: three factory sets (each a data image), and the 96 fixed wave
// shapes. Constant data compiled into the plug-in; any thread.
#pragma once

#include <juce_core/juce_core.h>

namespace zentak::factory
{
constexpr int numSets = 3;

/** Data image of factory set 1..3 (an empty block for any other number). */
juce::MemoryBlock image(int set);

/** Menu title of a set, as the presets menu shows it. */
juce::String title(int set);

/** The 24576 bytes of wave shapes 0..95. */
const void* fixedShapes();
size_t fixedShapesSize();
} // namespace zentak::factory
