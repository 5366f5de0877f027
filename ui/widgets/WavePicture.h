// WavePicture: draws the 62 x 26 picture of one wave shape of the wave bank, as the wave selector shows
// it under its value box. The wave bank belongs to the GUI-free core, so its picture is drawn here,
// on the skin's wave background. Message thread.
#pragma once

#include "library/WaveBank.h"

#include <juce_graphics/juce_graphics.h>

namespace zentak
{

class WavePicture
{
public:
    static constexpr int width = 62, height = 26;

    /** The picture of shape n: black, the wave background, then the 128 samples as a gold line. */
    static juce::Image make(const WaveBank& bank, int n);
};

} // namespace zentak
