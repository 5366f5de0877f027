#include "ArtCommon.h"

#include "FontData.h"

namespace artgen
{
using namespace juce;

Image blank(int w, int h, bool alpha)
{
    Image image(alpha ? Image::ARGB : Image::RGB, w, h, true, SoftwareImageType());
    return image;
}

namespace
{
Typeface::Ptr& face(bool bold)
{
    static Typeface::Ptr faces[2];
    return faces[bold ? 1 : 0];
}
} // namespace

Font sans(float height, bool bold)
{
    auto& f = face(bold);
    if (f == nullptr)
        f = bold ? Typeface::createSystemTypefaceFor(FontData::LiberationSansBold_ttf,
                                                     (size_t)FontData::LiberationSansBold_ttfSize)
                 : Typeface::createSystemTypefaceFor(FontData::LiberationSansRegular_ttf,
                                                     (size_t)FontData::LiberationSansRegular_ttfSize);
    Font font(f);
    font.setHeight(height);
    return font;
}

void releaseFonts()
{
    face(false) = nullptr;
    face(true) = nullptr;
}

TileNoise::TileNoise(int sizeIn, int periodIn, int64 seed)
    : size(sizeIn), period(periodIn), cells(sizeIn / periodIn), lattice((size_t)(cells * cells))
{
    Random random(seed);
    for (auto& v : lattice)
        v = random.nextFloat();
}

float TileNoise::at(float x, float y) const
{
    const float fx = x / (float)period, fy = y / (float)period;
    const int x0 = (int)std::floor(fx), y0 = (int)std::floor(fy);
    auto smooth = [](float t) { return t * t * (3.0f - 2.0f * t); };
    const float tx = smooth(fx - (float)x0), ty = smooth(fy - (float)y0);
    auto cell = [this](int cx, int cy)
    {
        cx = ((cx % cells) + cells) % cells;
        cy = ((cy % cells) + cells) % cells;
        return lattice[(size_t)(cy * cells + cx)];
    };
    const float a = cell(x0, y0), b = cell(x0 + 1, y0), c = cell(x0, y0 + 1), d = cell(x0 + 1, y0 + 1);
    return jmap(ty, jmap(tx, a, b), jmap(tx, c, d));
}

Colour meanColour(const Image& image)
{
    double r = 0, gr = 0, b = 0, n = 0;
    const Image::BitmapData data(image, Image::BitmapData::readOnly);
    for (int y = 0; y < image.getHeight(); ++y)
        for (int x = 0; x < image.getWidth(); ++x)
        {
            const auto c = data.getPixelColour(x, y);
            if (c.getAlpha() == 0)
                continue;
            r += c.getRed();
            gr += c.getGreen();
            b += c.getBlue();
            n += 1;
        }
    if (n == 0)
        return {};
    return Colour((uint8)roundToInt(r / n), (uint8)roundToInt(gr / n), (uint8)roundToInt(b / n));
}

void setMeanColour(Image& image, Colour target)
{
    // A few passes, because clipping at 0 and 255 moves the mean again.
    for (int pass = 0; pass < 4; ++pass)
    {
        const auto m = meanColour(image);
        const int dr = target.getRed() - m.getRed(), dg = target.getGreen() - m.getGreen(),
                  db = target.getBlue() - m.getBlue();
        if (dr == 0 && dg == 0 && db == 0)
            return;
        Image::BitmapData data(image, Image::BitmapData::readWrite);
        for (int y = 0; y < image.getHeight(); ++y)
            for (int x = 0; x < image.getWidth(); ++x)
            {
                const auto c = data.getPixelColour(x, y);
                if (c.getAlpha() == 0)
                    continue;
                data.setPixelColour(x, y,
                                    Colour((uint8)jlimit(0, 255, c.getRed() + dr),
                                           (uint8)jlimit(0, 255, c.getGreen() + dg),
                                           (uint8)jlimit(0, 255, c.getBlue() + db), c.getAlpha()));
            }
    }
}

void softShadow(Graphics& g, Rectangle<float> r, float corner, float spread, float alpha)
{
    const int steps = jmax(1, (int)spread * 2);
    for (int i = steps; i >= 1; --i)
    {
        const float t = (float)i / (float)steps;
        g.setColour(Colours::black.withAlpha(alpha / (float)steps * 1.6f * (1.0f - t * 0.6f)));
        g.fillRoundedRectangle(r.expanded(spread * t), corner + spread * t);
    }
}

float trackedWidth(const Font& font, const String& text, float tracking)
{
    GlyphArrangement ga;
    ga.addLineOfText(font, text, 0, 0);
    if (ga.getNumGlyphs() == 0)
        return 0;
    return ga.getBoundingBox(0, -1, false).getRight() + tracking * (float)(text.length() - 1);
}

void trackedText(Graphics& g, const String& text, float x, float y, float tracking)
{
    const auto font = g.getCurrentFont();
    for (int i = 0; i < text.length(); ++i)
    {
        const String ch = text.substring(i, i + 1);
        g.drawSingleLineText(ch, roundToInt(x), roundToInt(y));
        x += font.getStringWidthFloat(ch) + tracking;
    }
}

void drawEmblem(Graphics& g, Rectangle<float> r)
{
    const auto c = r.getCentre();
    const float R = r.getWidth() * 0.5f;

    // Outer ring: a knob's travel arc in amber, open at the bottom like a control's range.
    Path ring;
    ring.addCentredArc(c.x, c.y, R * 0.86f, R * 0.86f, 0, -MathConstants<float>::pi * 0.78f,
                       MathConstants<float>::pi * 0.78f, true);
    g.setGradientFill(
        ColourGradient(Colour(0xfff7cf86), c.x, r.getY(), Colour(0xffb9772a), c.x, r.getBottom(), false));
    g.strokePath(ring, PathStrokeType(R * 0.16f, PathStrokeType::curved, PathStrokeType::rounded));

    // Inner disc, deep blue with a light rim.
    const float d = R * 0.58f;
    g.setGradientFill(ColourGradient(Colour(0xff3d63d8), c.x - d * 0.5f, c.y - d, Colour(0xff0c1a5c),
                                     c.x + d * 0.5f, c.y + d, false));
    g.fillEllipse(c.x - d, c.y - d, 2 * d, 2 * d);
    g.setColour(Colour(0xffa9c4ff).withAlpha(0.8f));
    g.drawEllipse(c.x - d, c.y - d, 2 * d, 2 * d, jmax(1.0f, R * 0.04f));

    // The Z: two bars joined by a diagonal, in light cyan.
    const float z = d * 0.56f, t = d * 0.2f;
    Path zed;
    zed.startNewSubPath(c.x - z, c.y - z);
    zed.lineTo(c.x + z, c.y - z);
    zed.lineTo(c.x + z, c.y - z + t);
    zed.lineTo(c.x - z + t * 1.5f, c.y + z - t);
    zed.lineTo(c.x + z, c.y + z - t);
    zed.lineTo(c.x + z, c.y + z);
    zed.lineTo(c.x - z, c.y + z);
    zed.lineTo(c.x - z, c.y + z - t);
    zed.lineTo(c.x + z - t * 1.5f, c.y - z + t);
    zed.lineTo(c.x - z, c.y - z + t);
    zed.closeSubPath();
    g.setColour(Colour(0xffe6fbff));
    g.fillPath(zed);

    // Pointer dot on the ring, as on a knob near its maximum.
    const float a = MathConstants<float>::pi * 0.55f;
    const Point<float> p(c.x + std::sin(a) * R * 0.86f, c.y - std::cos(a) * R * 0.86f);
    g.setColour(Colour(0xffffffff));
    g.fillEllipse(p.x - R * 0.075f, p.y - R * 0.075f, R * 0.15f, R * 0.15f);
}

void drawMiniKnob(Graphics& g, Point<float> c, float r, float angle)
{
    g.setColour(Colours::black.withAlpha(0.45f));
    g.fillEllipse(c.x - r + 1.0f, c.y - r + 1.5f, 2 * r, 2 * r);
    g.setGradientFill(ColourGradient(Colour(0xff6a7088), c.x - r * 0.6f, c.y - r, Colour(0xff14161e),
                                     c.x + r * 0.6f, c.y + r, false));
    g.fillEllipse(c.x - r, c.y - r, 2 * r, 2 * r);
    g.setColour(Colour(0xff05060a));
    g.drawEllipse(c.x - r, c.y - r, 2 * r, 2 * r, 0.8f);
    g.setColour(Colour(0xffe8f0ff));
    g.drawLine(c.x + std::sin(angle) * r * 0.25f, c.y - std::cos(angle) * r * 0.25f,
               c.x + std::sin(angle) * r * 0.85f, c.y - std::cos(angle) * r * 0.85f, jmax(1.0f, r * 0.18f));
}

} // namespace artgen
