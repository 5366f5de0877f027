// Panel and keyboard art: the two seamless textures and their corners, keys, the keyboard's strips,
// glow and shadow, and the orange signal-flow connectors.
#include "ArtCommon.h"

namespace artgen
{
using namespace juce;

namespace
{
constexpr uint32 connector = 0xffe4ac59;

bool isBlack(int note)
{
    const int n = note % 12;
    return n == 1 || n == 3 || n == 6 || n == 8 || n == 10;
}

/** Brushed anodised blue: fine horizontal streaks over soft clouds. Tiles seamlessly. */
Image textureA()
{
    auto image = blank(100, 100, false);
    const TileNoise clouds(100, 25, 11), streaks(100, 5, 12);
    Random random(13);
    float row[100];
    for (auto& r : row)
        r = random.nextFloat();
    Image::BitmapData data(image, Image::BitmapData::writeOnly);
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x)
        {
            const float streak =
                (row[y] - 0.5f) * 0.6f + (streaks.at((float)x, (float)y * 0.2f) - 0.5f) * 0.5f;
            const float v = (clouds.at((float)x, (float)y) - 0.5f) * 3.0f + streak * 9.0f +
                            (random.nextFloat() - 0.5f) * 5.0f;
            data.setPixelColour(x, y,
                                Colour((uint8)jlimit(0, 255, roundToInt(31 + v * 0.55f)),
                                       (uint8)jlimit(0, 255, roundToInt(50 + v * 0.75f)),
                                       (uint8)jlimit(0, 255, roundToInt(143 + v * 1.3f))));
        }
    setMeanColour(image, Colour(31, 50, 143));
    return image;
}

/** Steel blue with a fine woven grain. Tiles seamlessly (the weave's period divides 100). */
Image textureB()
{
    auto image = blank(100, 100, false);
    const TileNoise clouds(100, 20, 21), fine(100, 4, 22);
    Random random(23);
    Image::BitmapData data(image, Image::BitmapData::writeOnly);
    const float tau = MathConstants<float>::twoPi;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x)
        {
            const float weave = std::sin(tau * (float)(x + y) / 5.0f) * std::sin(tau * (float)(x - y) / 5.0f);
            const float v = (clouds.at((float)x, (float)y) - 0.5f) * 3.0f + weave * 3.0f +
                            (fine.at((float)x, (float)y) - 0.5f) * 5.0f + (random.nextFloat() - 0.5f) * 4.0f;
            data.setPixelColour(x, y,
                                Colour((uint8)jlimit(0, 255, roundToInt(33 + v * 0.6f)),
                                       (uint8)jlimit(0, 255, roundToInt(72 + v * 0.9f)),
                                       (uint8)jlimit(0, 255, roundToInt(132 + v * 1.2f))));
        }
    setMeanColour(image, Colour(33, 72, 132));
    return image;
}

/** A 20 x 20 panel corner: the texture, cut by a quarter circle that the panel outline covers. */
Image corner(const Image& texture, bool right, bool bottom)
{
    auto image = blank(20, 20);
    const float cx = right ? 8.0f : 12.0f, cy = bottom ? 8.0f : 12.0f;
    const int ox = right ? 80 : 0, oy = bottom ? 80 : 0;
    const Image::BitmapData src(texture, Image::BitmapData::readOnly);
    Image::BitmapData data(image, Image::BitmapData::writeOnly);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
        {
            const float px = (float)x + 0.5f, py = (float)y + 0.5f;
            const bool outsideX = right ? px > cx : px < cx, outsideY = bottom ? py > cy : py < cy;
            float alpha = 1.0f;
            if (outsideX && outsideY)
                alpha = jlimit(0.0f, 1.0f, 10.5f - std::hypot(px - cx, py - cy) + 0.5f);
            const auto c = src.getPixelColour(ox + x, oy + y);
            data.setPixelColour(x, y, c.withAlpha(alpha));
        }
    return image;
}

Image key(int w, int h, Colour face, Colour mean, bool white, bool down)
{
    auto image = blank(w, h, false);
    Graphics g(image);
    g.fillAll(Colour(0xff0a0a0a));
    const float lip = white ? (down ? 5.0f : 9.0f) : (down ? 6.0f : 10.0f);
    const auto body =
        Rectangle<float>(white ? 0.0f : 1.0f, 0.0f, (float)w - (white ? 1.0f : 2.0f), (float)h - 1);
    g.setGradientFill(
        ColourGradient(face.darker(white ? 0.18f : 0.3f), 0, 0, face, 0, body.getBottom() - lip, false));
    g.fillRoundedRectangle(body, 2.5f);
    // Front lip of the key.
    const auto front = body.withTop(body.getBottom() - lip);
    g.setGradientFill(ColourGradient(face.brighter(white ? 0.08f : 0.6f), 0, front.getY(),
                                     face.darker(white ? 0.35f : 0.1f), 0, front.getBottom(), false));
    g.fillRoundedRectangle(front, 2.5f);
    g.setColour(Colours::black.withAlpha(0.35f));
    g.fillRect(front.getX(), front.getY(), front.getWidth(), 1.0f);
    // Side light and shadow.
    g.setColour(Colours::white.withAlpha(white ? 0.35f : 0.12f));
    g.fillRect(body.getX() + 1, 0.0f, 1.0f, front.getY());
    g.setColour(Colours::black.withAlpha(white ? 0.18f : 0.4f));
    g.fillRect(body.getRight() - 2, 0.0f, 1.0f, front.getY());
    if (down)
    {
        g.setGradientFill(ColourGradient(Colour(0x70000000), 0, 0, Colour(0x00000000), 0, 18, false));
        g.fillRect(body.withHeight(18));
    }
    setMeanColour(image, mean);
    return image;
}

Image keyboardShadow()
{
    auto image = blank(1440, 78);
    Image::BitmapData data(image, Image::BitmapData::writeOnly);
    for (int y = 0; y < 78; ++y)
    {
        const float t = 1.0f - (float)y / 77.0f;
        const auto c = Colour((uint8)0, 0, 0, (uint8)roundToInt(255.0f * t * t));
        for (int x = 0; x < 1440; ++x)
            data.setPixelColour(x, y, c);
    }
    return image;
}

Image keyGlow()
{
    auto image = blank(168, 291);
    const auto inner = Rectangle<float>(26.0f, 26.0f, 116.0f, 239.0f);
    Image::BitmapData data(image, Image::BitmapData::writeOnly);
    for (int y = 0; y < 291; ++y)
        for (int x = 0; x < 168; ++x)
        {
            const float px = (float)x + 0.5f, py = (float)y + 0.5f;
            const float dx = jmax(inner.getX() - px, 0.0f, px - inner.getRight());
            const float dy = jmax(inner.getY() - py, 0.0f, py - inner.getBottom());
            const float d = std::hypot(dx, dy);
            const float a = d <= 0.0f ? 0.0f : 230.0f * std::exp(-d / 8.0f) * jmin(1.0f, d / 1.5f);
            data.setPixelColour(x, y, Colour((uint8)70, 150, 255, (uint8)jlimit(0, 255, roundToInt(a))));
        }
    return image;
}

Image octaveStrip()
{
    auto image = blank(269, 18, false);
    Graphics g(image);
    g.fillAll(Colour(0xff05070c));
    const float kw = 25.0f / 7.0f;
    int white = 0;
    for (int n = 0; n < 128; ++n)
        if (!isBlack(n))
        {
            const float x = 1.0f + (float)white * kw;
            g.setGradientFill(ColourGradient(Colour(0xffaaa89c), 0, 1, Colour(0xffe8e6da), 0, 16, false));
            g.fillRect(x, 1.0f, kw - 0.6f, 16.0f);
            ++white;
        }
    white = 0;
    for (int n = 0; n < 128; ++n)
    {
        if (!isBlack(n))
        {
            ++white;
            continue;
        }
        const float x = 1.0f + (float)white * kw - kw * 0.32f;
        g.setColour(Colour(0xff14141a));
        g.fillRect(x, 1.0f, kw * 0.64f, 10.0f);
    }
    // Octave marks on every C.
    for (int octave = 0; octave <= 10; ++octave)
    {
        g.setColour(Colour(0xff5a7ab8));
        g.fillRect(1.0f + (float)octave * 25.0f, 15.0f, 1.2f, 2.0f);
    }
    return image;
}

Image keyboardBox()
{
    auto image = blank(27, 13, false);
    Graphics g(image);
    g.fillAll(Colour(0xff1a2236));
    g.setColour(Colour(0xff04060c));
    g.fillRoundedRectangle(1.0f, 1.0f, 25.0f, 11.0f, 2.0f);
    g.setColour(Colour(0xff3c5078));
    g.drawRoundedRectangle(0.5f, 0.5f, 26.0f, 12.0f, 2.5f, 1.0f);
    g.setColour(Colour(0x50000000));
    g.fillRect(2, 2, 23, 2);
    return image;
}

Image keyboardBar()
{
    auto image = blank(100, 20, false);
    Graphics g(image);
    ColourGradient grad(Colour(0xff2a3450), 0, 0, Colour(0xff070a14), 0, 20, false);
    grad.addColour(0.45, Colour(0xff141a2c));
    g.setGradientFill(grad);
    g.fillAll();
    g.setColour(Colour(0x70a0c0ff));
    g.fillRect(0, 0, 100, 1);
    g.setColour(Colour(0xff03050a));
    g.fillRect(0, 8, 100, 1);
    g.setColour(Colour(0x40ffffff));
    g.fillRect(0, 9, 100, 1);
    g.setColour(Colour(0xff000000));
    g.fillRect(0, 19, 100, 1);
    return image;
}

Image triangle(int w, int h, Point<float> a, Point<float> b, Point<float> c)
{
    auto image = blank(w, h);
    Graphics g(image);
    Path p;
    p.addTriangle(a, b, c);
    g.setColour(Colour(connector));
    g.fillPath(p);
    return image;
}

Image ring()
{
    auto image = blank(10, 10);
    Graphics g(image);
    g.setColour(Colour(connector));
    g.drawEllipse(1.2f, 1.2f, 7.6f, 7.6f, 1.8f);
    return image;
}

Image dot()
{
    auto image = blank(10, 10);
    Graphics g(image);
    g.setColour(Colour(connector));
    g.fillEllipse(1.0f, 1.0f, 8.0f, 8.0f);
    return image;
}

} // namespace

std::vector<ArtItem> panelArt()
{
    const Image a = textureA(), b = textureB();
    return {
        {"textureA", [a] { return a.createCopy(); }},
        {"textureB", [b] { return b.createCopy(); }},
        {"cornerA_TL", [a] { return corner(a, false, false); }},
        {"cornerA_TR", [a] { return corner(a, true, false); }},
        {"cornerA_BL", [a] { return corner(a, false, true); }},
        {"cornerA_BR", [a] { return corner(a, true, true); }},
        {"cornerB_TL", [b] { return corner(b, false, false); }},
        {"cornerB_TR", [b] { return corner(b, true, false); }},
        {"cornerB_BL", [b] { return corner(b, false, true); }},
        {"cornerB_BR", [b] { return corner(b, true, true); }},
        {"whiteKey", [] { return key(25, 152, Colour(0xffd4d1c2), Colour(191, 189, 178), true, false); }},
        {"whiteKeyDown", [] { return key(25, 152, Colour(0xff9a978a), Colour(139, 137, 123), true, true); }},
        {"blackKey", [] { return key(16, 100, Colour(0xff2a2a26), Colour(29, 29, 26), false, false); }},
        {"blackKeyDown", [] { return key(16, 100, Colour(0xff1a1a18), Colour(18, 18, 17), false, true); }},
        {"keyboardShadow", keyboardShadow},
        {"keyGlow", keyGlow},
        {"octaveStrip", octaveStrip},
        {"keyboardBox", keyboardBox},
        {"keyboardBar", keyboardBar},
        {"arrowDown",
         [] {
             return triangle(16, 10, {1, 1}, {15, 1}, {8, 9});
         }},
        {"arrowUp",
         [] {
             return triangle(16, 10, {1, 9}, {15, 9}, {8, 1});
         }},
        {"arrowLeft",
         [] {
             return triangle(10, 16, {9, 1}, {9, 15}, {1, 8});
         }},
        {"arrowRight",
         [] {
             return triangle(10, 16, {1, 1}, {1, 15}, {9, 8});
         }},
        {"ring", ring},
        {"dot", dot},
    };
}

} // namespace artgen
