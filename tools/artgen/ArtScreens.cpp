// Screen art: the envelope screen, the glass reflection, the LCD panel and the sequencer lane screen.
#include "ArtCommon.h"

namespace artgen
{
using namespace juce;

namespace
{
/** A dark framed screen with a faint grid: bevel, deep blue-black glass, grid lines. */
void screen(Graphics& g, Rectangle<float> r, int columns, int rows, float corner)
{
    g.setColour(Colour(0xff000000));
    g.fillRoundedRectangle(r, corner + 1);
    g.setGradientFill(
        ColourGradient(Colour(0xff3a4a70), 0, r.getY(), Colour(0xff0c1224), 0, r.getBottom(), false));
    g.fillRoundedRectangle(r.reduced(1.0f), corner);
    const auto inner = r.reduced(3.0f);
    ColourGradient glass(Colour(0xff081230), inner.getCentreX(), inner.getY(), Colour(0xff01030a),
                         inner.getCentreX(), inner.getBottom(), false);
    g.setGradientFill(glass);
    g.fillRoundedRectangle(inner, jmax(1.0f, corner - 2));

    Graphics::ScopedSaveState save(g);
    g.reduceClipRegion(inner.toNearestInt());
    for (int i = 1; i < columns; ++i)
    {
        const float x = inner.getX() + inner.getWidth() * (float)i / (float)columns;
        g.setColour(Colour(i % 4 == 0 ? 0xff1a2c5a : 0xff101c3c));
        g.fillRect(std::floor(x), inner.getY(), 1.0f, inner.getHeight());
    }
    for (int j = 1; j < rows; ++j)
    {
        const float y = inner.getY() + inner.getHeight() * (float)j / (float)rows;
        g.setColour(Colour(0xff101c3c));
        g.fillRect(inner.getX(), std::floor(y), inner.getWidth(), 1.0f);
    }
    // Inner shadow along the top and left edges.
    g.setGradientFill(
        ColourGradient(Colour(0x90000000), 0, inner.getY(), Colour(0x00000000), 0, inner.getY() + 6, false));
    g.fillRect(inner.withHeight(6));
    g.setGradientFill(
        ColourGradient(Colour(0x60000000), inner.getX(), 0, Colour(0x00000000), inner.getX() + 5, 0, false));
    g.fillRect(inner.withWidth(5));
}

Image envelopeScreen()
{
    auto image = blank(218, 73, false);
    Graphics g(image);
    g.fillAll(Colour(0xff00002f));
    screen(g, {0.0f, 0.0f, 218.0f, 73.0f}, 12, 5, 4.0f);
    return image;
}

Image glassOverlay()
{
    auto image = blank(210, 66);
    Image::BitmapData data(image, Image::BitmapData::writeOnly);
    for (int y = 0; y < 66; ++y)
        for (int x = 0; x < 210; ++x)
        {
            // Reflection above a gentle curve falling to the right, plus a thin highlight at the top.
            const float curve =
                30.0f - 14.0f * ((float)x / 209.0f) + 6.0f * std::sin((float)x / 209.0f * 3.14159f);
            float a = 0.0f;
            if ((float)y < curve)
                a = 120.0f * (1.0f - (float)y / curve) + 35.0f;
            if (y < 3)
                a += 60.0f * (1.0f - (float)y / 3.0f);
            if (x < 3 || x > 206)
                a *= 0.5f;
            data.setPixelColour(x, y, Colour((uint8)220, 236, 255, (uint8)jlimit(0, 255, roundToInt(a))));
        }
    return image;
}

Image lcdPanel()
{
    auto image = blank(182, 45);
    Graphics g(image);
    const auto r = Rectangle<float>(0.5f, 0.5f, 181.0f, 44.0f);
    g.setGradientFill(ColourGradient(Colour(0xff2a3040), 0, 0, Colour(0xff0c0e14), 0, 45, false));
    g.fillRoundedRectangle(r, 6.0f);
    g.setColour(Colour(0xff000000));
    g.drawRoundedRectangle(r, 6.0f, 1.0f);
    g.setColour(Colour(0x50ffffff));
    g.drawLine(7.0f, 1.5f, 175.0f, 1.5f, 1.0f);

    const auto lcd = Rectangle<float>(5.0f, 4.0f, 172.0f, 37.0f);
    ColourGradient face(Colour(0xffc4e6fb), 0, lcd.getY(), Colour(0xff86bde6), 0, lcd.getBottom(), false);
    face.addColour(0.5, Colour(0xffa8d6f4));
    g.setGradientFill(face);
    g.fillRoundedRectangle(lcd, 3.0f);
    // Fine pixel grid of a dot-matrix glass.
    g.setColour(Colour(0x0c001040));
    for (float x = lcd.getX() + 2; x < lcd.getRight() - 1; x += 2.0f)
        g.fillRect(x, lcd.getY() + 1, 0.6f, lcd.getHeight() - 2);
    // Inner shadow and glass highlight.
    g.setGradientFill(
        ColourGradient(Colour(0x50002040), 0, lcd.getY(), Colour(0x00002040), 0, lcd.getY() + 5, false));
    g.fillRoundedRectangle(lcd.withHeight(6), 3.0f);
    g.setColour(Colour(0xff1a2a44));
    g.drawRoundedRectangle(lcd, 3.0f, 1.0f);
    return image;
}

Image sequencerScreen()
{
    auto image = blank(458, 155, false);
    Graphics g(image);
    g.fillAll(Colour(0xff00002f));
    screen(g, {0.0f, 0.0f, 458.0f, 155.0f}, 16, 8, 5.0f);
    return image;
}

} // namespace

std::vector<ArtItem> screenArt()
{
    return {
        {"envelopeScreen", envelopeScreen},
        {"glassOverlay", glassOverlay},
        {"lcdPanel", lcdPanel},
        {"sequencerScreen", sequencerScreen},
    };
}

} // namespace artgen
