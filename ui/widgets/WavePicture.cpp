#include "WavePicture.h"

#include "SkinImage.h"

namespace zentak
{
juce::Image WavePicture::make(const WaveBank& bank, int n)
{
    juce::Image picture(juce::Image::RGB, width, height, true);
    juce::Graphics g(picture);
    g.fillAll(juce::Colours::black);
    g.drawImageAt(skinImage("waveBackground"), 0, 0);

    float u[128];
    for (int k = 0; k < 128; ++k)
        u[k] = (float)(bank.sample(n, k) + 32768);

    g.setColour(juce::Colour(0xffd5b639));
    for (int j = 0; j < 127; ++j)
        g.drawLine((float)j / 2.5f + 5.0f, (65536.0f - u[j]) * 0.000275f + 4.0f, (float)j / 2.5f + 6.0f,
                   (65536.0f - u[j + 1]) * 0.000275f + 4.0f);
    return picture;
}
} // namespace zentak
