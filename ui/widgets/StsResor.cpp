#include "StsResor.h"

#include "SkinImage.h"

namespace zentak
{
StsResor::StsResor()
    : keyboardShadow(skinImage("keyboardShadow")), cornerA_BL(skinImage("cornerA_BL")),
      cornerA_BR(skinImage("cornerA_BR")), cornerA_TL(skinImage("cornerA_TL")),
      cornerA_TR(skinImage("cornerA_TR")), textureA(skinImage("textureA")),
      cornerB_BL(skinImage("cornerB_BL")), cornerB_BR(skinImage("cornerB_BR")),
      cornerB_TL(skinImage("cornerB_TL")), cornerB_TR(skinImage("cornerB_TR")),
      textureB(skinImage("textureB")), whiteKey(skinImage("whiteKey")),
      whiteKeyDown(skinImage("whiteKeyDown")), blackKey(skinImage("blackKey")),
      blackKeyDown(skinImage("blackKeyDown"))
{
    juce::LookAndFeel::setDefaultLookAndFeel(&skinLook);
    juce::Typeface::clearTypefaceCache();
}

StsResor::~StsResor()
{
    if (&juce::LookAndFeel::getDefaultLookAndFeel() == &skinLook)
        juce::LookAndFeel::setDefaultLookAndFeel(nullptr);
    juce::Typeface::clearTypefaceCache();
}

void StsResor::paintPanelA(juce::Graphics& g, float scale, int width, int height) const
{
    paintPanel(g, {textureA, cornerA_TL, cornerA_TR, cornerA_BL, cornerA_BR}, scale, width, height);
}

void StsResor::paintPanelB(juce::Graphics& g, float scale, int width, int height) const
{
    paintPanel(g, {textureB, cornerB_TL, cornerB_TR, cornerB_BL, cornerB_BR}, scale, width, height);
}

void StsResor::paintPanel(juce::Graphics& g, const Scheme& scheme, float s, int w, int h)
{
    g.setOpacity(1.0f);
    const int tile = (int)(100.0f * s);
    const float wide = (float)w * s, high = (float)h * s;
    for (int x = 0; (float)x < wide;)
    {
        for (int y = 0; (float)y < high;)
        {
            g.drawImage(scheme.texture, x, y, tile, tile, 0, 0, 100, 100);
            const int next = (int)((float)y + 99.0f * s);
            if (next <= y)
                break;
            y = next;
        }
        const int next = (int)((float)x + 99.0f * s);
        if (next <= x)
            break;
        x = next;
    }

    // Dark squares behind the rounded corners. The far squares reach the panel's scaled edge: with
    // truncation, 19·s may stop one pixel short of it and leave texture showing outside the corner.
    g.setColour(juce::Colour(0xff00002f));
    const int sq = (int)(19.0f * s);
    const int right = (int)((float)(w - 19) * s), bottom = (int)((float)(h - 19) * s);
    const int farW = juce::jmax(sq, (int)wide - right), farH = juce::jmax(sq, (int)high - bottom);
    g.fillRect(0, 0, sq, sq);
    g.fillRect(right, 0, farW, sq);
    g.fillRect(0, bottom, sq, farH);
    g.fillRect(right, bottom, farW, farH);

    g.setOpacity(1.0f);
    const int c = (int)(20.0f * s);
    const int cx = (int)((float)(w - 20) * s), cy = (int)((float)(h - 20) * s);
    g.drawImage(scheme.topLeft, 0, 0, c, c, 0, 0, 20, 20);
    g.drawImage(scheme.topRight, cx, 0, c, c, 0, 0, 20, 20);
    g.drawImage(scheme.bottomLeft, 0, cy, c, c, 0, 0, 20, 20);
    g.drawImage(scheme.bottomRight, cx, cy, c, c, 0, 0, 20, 20);

    g.setColour(juce::Colour(0xffe4e4e4));
    g.drawRoundedRectangle(2.0f * s, 2.0f * s, (float)(w - 4) * s, (float)(h - 4) * s, 10.0f * s, 2.0f * s);
}

juce::Image StsResor::makePatchA(int width, int height) const
{
    return makePatch(textureA, width, height);
}

juce::Image StsResor::makePatchB(int width, int height) const
{
    return makePatch(textureB, width, height);
}

juce::Image StsResor::makePatch(const juce::Image& texture, int width, int height)
{
    juce::Image patch(juce::Image::RGB, juce::jmax(1, width), juce::jmax(1, height), true);
    juce::Graphics g(patch);
    for (int x = 0; x < width; x += 99)
        for (int y = 0; y < height; y += 99)
            g.drawImageAt(texture, x, y);
    return patch;
}

void StsResor::paintKeyboardShadow(juce::Graphics& g, float s, int x, int width) const
{
    int c = juce::jmin(width, 1440);
    if (c < 1)
        c = 10;
    g.setColour(juce::Colours::black.withAlpha((juce::uint8)199));
    g.drawImage(keyboardShadow, (int)((float)x * s), (int)(20.0f * s), c, (int)(40.0f * s), 0, 0, c, 78);
}
} // namespace zentak
