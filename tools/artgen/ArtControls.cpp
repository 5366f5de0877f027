// Control art: the knob film, the value box parts, LEDs, image buttons, the list grid and the wheels.
#include "ArtCommon.h"

namespace artgen
{
using namespace juce;

namespace
{
constexpr float pi = MathConstants<float>::pi;

void knobFrame(Graphics& g, float x0, int k)
{
    const float cx = x0 + 18.0f, cy = 18.0f;
    const float start = -pi * 0.75f, end = pi * 0.75f;
    const float angle = start + (end - start) * (float)k / 54.0f;

    // Soft shadow falling down and right, reaching about 43 pixels and staying inside the frame.
    for (int i = 9; i >= 1; --i)
    {
        const float r = 12.5f + (float)i * 0.9f;
        g.setColour(Colours::black.withAlpha(0.06f));
        g.fillEllipse(cx + 3.0f - r, cy + 4.0f - r, 2 * r, 2 * r);
    }

    // Travel track and lit value arc.
    Path track;
    track.addCentredArc(cx, cy, 16.2f, 16.2f, 0, start, end, true);
    g.setColour(Colour(0xff070b22));
    g.strokePath(track, PathStrokeType(3.2f, PathStrokeType::curved, PathStrokeType::rounded));
    if (k > 0)
    {
        Path lit;
        lit.addCentredArc(cx, cy, 16.2f, 16.2f, 0, start, angle, true);
        g.setColour(Colour(0x55f0a640));
        g.strokePath(lit, PathStrokeType(3.6f, PathStrokeType::curved, PathStrokeType::rounded));
        g.setColour(Colour(0xfff4bb62));
        g.strokePath(lit, PathStrokeType(2.0f, PathStrokeType::curved, PathStrokeType::rounded));
    }
    else
    {
        g.setColour(Colour(0xfff4bb62));
        g.fillEllipse(cx + std::sin(start) * 16.2f - 1.0f, cy - std::cos(start) * 16.2f - 1.0f, 2.0f, 2.0f);
    }

    // Skirt: dark ring with a fine bevel.
    g.setGradientFill(
        ColourGradient(Colour(0xff4b5370), cx - 8, cy - 12, Colour(0xff0b0d16), cx + 8, cy + 12, false));
    g.fillEllipse(cx - 13.2f, cy - 13.2f, 26.4f, 26.4f);
    g.setColour(Colour(0xff03040a));
    g.drawEllipse(cx - 13.2f, cy - 13.2f, 26.4f, 26.4f, 0.9f);

    // Cap: brushed metal in cool grey, lit from the top left.
    ColourGradient cap(Colour(0xffb9c2d8), cx - 5, cy - 8, Colour(0xff2c3246), cx + 6, cy + 9, false);
    cap.addColour(0.45, Colour(0xff6c7590));
    g.setGradientFill(cap);
    g.fillEllipse(cx - 10.0f, cy - 10.0f, 20.0f, 20.0f);
    g.setColour(Colour(0x60ffffff));
    g.drawEllipse(cx - 9.6f, cy - 9.6f, 19.2f, 19.2f, 0.6f);
    for (int ring = 0; ring < 4; ++ring)
    {
        const float r = 2.5f + (float)ring * 2.0f;
        g.setColour(Colour(ring % 2 == 0 ? 0x10ffffff : 0x12000000));
        g.drawEllipse(cx - r, cy - r, 2 * r, 2 * r, 0.8f);
    }

    // Pointer: dark groove with a bright line.
    const float sx = std::sin(angle), sy = -std::cos(angle);
    g.setColour(Colour(0xc0000000));
    g.drawLine(cx + sx * 3.0f, cy + sy * 3.0f, cx + sx * 10.4f, cy + sy * 10.4f, 3.2f);
    g.setColour(Colour(0xfff6fbff));
    g.drawLine(cx + sx * 3.6f, cy + sy * 3.6f, cx + sx * 9.6f, cy + sy * 9.6f, 1.7f);
}

Image knobFilm()
{
    auto image = blank(3188, 56);
    Graphics g(image);
    for (int k = 0; k < 55; ++k)
    {
        Graphics::ScopedSaveState save(g);
        g.reduceClipRegion(58 * k, 0, 56, 56);
        knobFrame(g, (float)(58 * k), k);
    }
    return image;
}

void valueBoxBody(Graphics& g, float w, float h)
{
    g.setGradientFill(ColourGradient(Colour(0xff02040e), 0, 0, Colour(0xff0c1630), 0, h, false));
    g.fillRect(0.0f, 0.0f, w, h);
    g.setColour(Colour(0xff000000));
    g.fillRect(0.0f, 0.0f, w, 1.0f);
    g.setColour(Colour(0xff3a5a9c));
    g.fillRect(0.0f, h - 1.0f, w, 1.0f);
    g.setColour(Colour(0x40000000));
    g.fillRect(0.0f, 1.0f, w, 2.0f);
}

Image valueBar()
{
    auto image = blank(200, 18, false);
    Graphics g(image);
    valueBoxBody(g, 200, 18);
    g.setColour(Colour(0xff000000));
    g.fillRect(0, 0, 1, 18);
    g.setColour(Colour(0xff26407a));
    g.fillRect(1, 1, 1, 16);
    return image;
}

Image valueEndCap()
{
    auto image = blank(14, 18, false);
    Graphics g(image);
    valueBoxBody(g, 14, 18);
    g.setColour(Colour(0xff1d2f5c));
    g.fillRect(0, 3, 1, 12);
    g.setColour(Colour(0xff000000));
    g.fillRect(13, 0, 1, 18);
    Path arrow;
    arrow.addTriangle(4.0f, 7.0f, 10.0f, 7.0f, 7.0f, 11.0f);
    g.setColour(Colour(0xff7fb8d8));
    g.fillPath(arrow);
    return image;
}

Image valueSheen()
{
    auto image = blank(113, 17);
    Image::BitmapData data(image, Image::BitmapData::writeOnly);
    for (int y = 0; y < 17; ++y)
        for (int x = 0; x < 113; ++x)
        {
            const float t = (float)y / 16.0f;
            const float a = y < 8 ? 25.0f * (1.0f - t * 0.9f) : 4.0f * (1.0f - t);
            const float edge = jmin(1.0f, (float)(x + 1) / 6.0f);
            data.setPixelColour(x, y,
                                Colour((uint8)200, 250, 255, (uint8)jlimit(0, 25, roundToInt(a * edge))));
        }
    return image;
}

Image waveOverlay()
{
    auto image = blank(62, 26);
    Image::BitmapData data(image, Image::BitmapData::writeOnly);
    for (int y = 0; y < 26; ++y)
        for (int x = 0; x < 62; ++x)
        {
            const float t = (float)y / 25.0f;
            float a = 8.0f + 55.0f * t * t;
            if (y < 3)
                a += 22.0f * (1.0f - (float)y / 3.0f);
            data.setPixelColour(x, y, Colour((uint8)150, 205, 255, (uint8)jlimit(0, 63, roundToInt(a))));
        }
    return image;
}

void ledOval(Graphics& g, float x, bool on)
{
    const Rectangle<float> bezel(x + 1.5f, 1.5f, 34.0f, 17.0f);
    g.setColour(Colour(0x70000000));
    g.fillEllipse(bezel.translated(0.5f, 1.0f));
    g.setGradientFill(ColourGradient(Colour(0xff151823), 0, 1, Colour(0xff8a90a6), 0, 19, false));
    g.fillEllipse(bezel);
    const auto lens = bezel.reduced(2.6f, 2.4f);
    if (on)
    {
        ColourGradient red(Colour(0xffff8a7a), lens.getCentreX() - 4, lens.getY() + 2, Colour(0xff8c0c0c),
                           lens.getCentreX() + 6, lens.getBottom(), true);
        red.addColour(0.35, Colour(0xffee2a22));
        g.setGradientFill(red);
    }
    else
    {
        ColourGradient grey(Colour(0xff9aa0ac), lens.getCentreX() - 4, lens.getY() + 2, Colour(0xff2b2e36),
                            lens.getCentreX() + 6, lens.getBottom(), true);
        grey.addColour(0.4, Colour(0xff5d626e));
        g.setGradientFill(grey);
    }
    g.fillEllipse(lens);
    g.setColour(Colour(on ? 0x90ffe0d8 : 0x60ffffff));
    g.fillEllipse(lens.getX() + 5, lens.getY() + 1.2f, lens.getWidth() - 10, 3.6f);
}

Image ledSwitch()
{
    auto image = blank(74, 20);
    Graphics g(image);
    ledOval(g, 0, false);
    ledOval(g, 36, true);
    return image;
}

Image waveBackground()
{
    auto image = blank(62, 26, false);
    Graphics g(image);
    g.setGradientFill(ColourGradient(Colour(0xff050a1c), 0, 0, Colour(0xff0a1434), 0, 26, false));
    g.fillAll();
    g.setColour(Colour(0xff14244c));
    for (int x = 5; x < 62; x += 13)
        g.fillRect(x, 2, 1, 22);
    g.fillRect(2, 13, 58, 1);
    g.setColour(Colour(0xff000000));
    g.drawRect(0, 0, 62, 26, 1);
    g.setColour(Colour(0xff2c4684));
    g.fillRect(1, 25, 60, 1);
    return image;
}

// Image buttons: one face drawn over the combined width, then cut into left and right parts.
enum class Face
{
    normal,
    hover,
    pressed
};

Image buttonFace(int w, int h, bool large, Face state)
{
    auto image = blank(w, h);
    Graphics g(image);
    const auto r = Rectangle<float>(0.5f, 0.5f, (float)w - 1.0f, (float)h - 1.0f);
    const float corner = large ? 4.0f : 3.5f;
    Colour top, bottom, rim;
    if (large)
    {
        top = state == Face::pressed ? Colour(0xff5d8fc8)
                                     : (state == Face::hover ? Colour(0xffd6ecff) : Colour(0xffb8d6f6));
        bottom = state == Face::pressed ? Colour(0xff8ab6e4)
                                        : (state == Face::hover ? Colour(0xff7fb2ec) : Colour(0xff6a9ad4));
        rim = Colour(0xff0a1a3c);
    }
    else
    {
        top = state == Face::pressed ? Colour(0xff0e2250)
                                     : (state == Face::hover ? Colour(0xff4f7fd8) : Colour(0xff3a64b8));
        bottom = state == Face::pressed ? Colour(0xff24468e)
                                        : (state == Face::hover ? Colour(0xff1e3f8c) : Colour(0xff162e6a));
        rim = Colour(0xff02081c);
    }
    g.setGradientFill(ColourGradient(top, 0, 0, bottom, 0, (float)h, false));
    g.fillRoundedRectangle(r, corner);
    if (state != Face::pressed)
    {
        g.setColour(Colour(large ? 0x70ffffff : 0x45ffffff));
        g.fillRoundedRectangle(r.getX() + 2, r.getY() + 1, r.getWidth() - 4, (float)h * 0.38f, corner - 1);
    }
    else
    {
        g.setColour(Colour(0x50000000));
        g.fillRoundedRectangle(r.getX() + 1, r.getY() + 1, r.getWidth() - 2, 2.0f, 1.0f);
    }
    if (state == Face::hover)
    {
        g.setColour(Colour(large ? 0xa0ffffff : 0x80a8d0ff));
        g.drawRoundedRectangle(r.reduced(1.0f), corner - 1, 1.0f);
    }
    g.setColour(rim);
    g.drawRoundedRectangle(r, corner, 1.0f);
    return image;
}

Image leftPart(int w, int h, bool large, Face state)
{
    return buttonFace(w + 80, h, large, state).getClippedImage({0, 0, w, h}).createCopy();
}

Image rightPart(int w, int h, bool large, Face state)
{
    return buttonFace(w + 80, h, large, state).getClippedImage({80, 0, w, h}).createCopy();
}

Image ledPair()
{
    auto image = blank(28, 9);
    Graphics g(image);
    for (int i = 0; i < 2; ++i)
    {
        const auto r = Rectangle<float>((float)(14 * i) + 1.0f, 1.0f, 12.0f, 7.0f);
        g.setColour(Colour(0xff05070c));
        g.fillRoundedRectangle(r.expanded(0.6f), 3.6f);
        if (i == 1)
        {
            g.setGradientFill(ColourGradient(Colour(0xffe4f8ff), r.getCentreX(), r.getY() + 1,
                                             Colour(0xff3aa6e6), r.getCentreX(), r.getBottom() + 2, true));
        }
        else
        {
            g.setGradientFill(ColourGradient(Colour(0xff3a4458), r.getCentreX(), r.getY(), Colour(0xff12161f),
                                             r.getCentreX(), r.getBottom(), false));
        }
        g.fillRoundedRectangle(r.reduced(0.8f), 3.0f);
        g.setColour(Colour(i == 1 ? 0x90ffffff : 0x30ffffff));
        g.fillRoundedRectangle(r.getX() + 2.5f, r.getY() + 1.2f, 7.0f, 1.6f, 0.8f);
    }
    return image;
}

Image gridBackground()
{
    auto image = blank(246, 360, false);
    Graphics g(image);
    ColourGradient grad(Colour(0xff18306e), 0, 0, Colour(0xff02040e), 0, 360, false);
    grad.addColour(0.08, Colour(0xff0c1c4c));
    g.setGradientFill(grad);
    g.fillAll();
    g.setGradientFill(ColourGradient(Colour(0x3080c8ff), 0, 0, Colour(0x0080c8ff), 0, 60, false));
    g.fillRect(0, 0, 246, 60);
    return image;
}

Image gridGrip()
{
    auto image = blank(25, 43);
    Graphics g(image);
    const auto r = Rectangle<float>(1.0f, 1.0f, 23.0f, 41.0f);
    g.setGradientFill(ColourGradient(Colour(0xff8fa6cc), 1, 0, Colour(0xff3c4f78), 24, 0, false));
    g.fillRoundedRectangle(r, 3.0f);
    g.setColour(Colour(0xff0a1228));
    g.drawRoundedRectangle(r, 3.0f, 1.0f);
    g.setColour(Colour(0x60ffffff));
    g.drawLine(3.0f, 2.5f, 22.0f, 2.5f, 1.0f);
    for (int i = 0; i < 6; ++i)
    {
        const float y = 12.0f + (float)i * 3.6f;
        g.setColour(Colour(0xff1c2a4c));
        g.fillRect(6.0f, y, 13.0f, 1.2f);
        g.setColour(Colour(0xa0dbe8ff));
        g.fillRect(6.0f, y + 1.2f, 13.0f, 1.0f);
    }
    return image;
}

// One wheel frame: a blue cylinder turning in a dark slot; the marker moves up as the value rises.
void wheelFrame(Graphics& g, float x0, int f)
{
    const float w = 30.0f, h = 112.0f;
    g.setColour(Colour(0xff05060a));
    g.fillRect(x0, 0.0f, 31.0f, h);
    g.setGradientFill(ColourGradient(Colour(0xff1b2030), x0, 0, Colour(0xff0b0d14), x0 + w, 0, false));
    g.fillRoundedRectangle(x0 + 1, 1, w - 2, h - 2, 4.0f);
    g.setColour(Colour(0xff000000));
    g.drawRoundedRectangle(x0 + 1.5f, 1.5f, w - 3, h - 3, 4.0f, 1.0f);

    const auto body = Rectangle<float>(x0 + 5, 5, w - 10, h - 10);
    const float cy = body.getCentreY(), R = body.getHeight() * 0.5f;
    // Cylinder shading: rows of colour, brightest at the middle.
    for (int row = 0; row < (int)body.getHeight(); ++row)
    {
        const float yy = body.getY() + (float)row + 0.5f;
        const float s = jlimit(-1.0f, 1.0f, (yy - cy) / R);
        const float light = std::sqrt(1.0f - s * s);
        const auto colour = Colour(0xff0a1850).interpolatedWith(Colour(0xff4f86f0), light * 0.85f);
        g.setColour(colour);
        g.fillRect(body.getX(), yy - 0.5f, body.getWidth(), 1.0f);
    }
    // Ridges at fixed angles on the cylinder, turned by the frame.
    const float turn = (float)f / 34.0f * 2.2f;
    for (int i = -20; i <= 20; ++i)
    {
        const float a = (float)i * 0.16f - turn + 1.1f;
        if (std::abs(a) > 1.45f)
            continue;
        const float y = cy - std::sin(a) * R;
        const float fade = std::cos(a);
        g.setColour(Colour(0xff000000).withAlpha(0.55f * fade));
        g.fillRect(body.getX() + 1, y, body.getWidth() - 2, 1.0f);
        g.setColour(Colour(0xffb6d4ff).withAlpha(0.35f * fade));
        g.fillRect(body.getX() + 1, y + 1.0f, body.getWidth() - 2, 0.8f);
    }
    // Marker: a bright band at the value's angle (frame 17 sits at the centre).
    const float am = ((float)f - 17.0f) / 17.0f * 1.1f;
    const float ym = cy - std::sin(am) * R;
    const float thick = 4.0f * std::cos(am) + 0.6f;
    g.setColour(Colour(0xffeaf4ff));
    g.fillRect(body.getX(), ym - thick * 0.5f, body.getWidth(), thick);
    // Side shading of the slot edges over the wheel.
    g.setGradientFill(
        ColourGradient(Colour(0x90000000), body.getX(), 0, Colour(0x00000000), body.getX() + 5, 0, false));
    g.fillRect(body.getX(), body.getY(), 5.0f, body.getHeight());
    g.setGradientFill(ColourGradient(Colour(0x00000000), body.getRight() - 5, 0, Colour(0x90000000),
                                     body.getRight(), 0, false));
    g.fillRect(body.getRight() - 5, body.getY(), 5.0f, body.getHeight());
}

Image wheelFilm()
{
    auto image = blank(1084, 112, false);
    Graphics g(image);
    for (int f = 0; f < 35; ++f)
    {
        Graphics::ScopedSaveState save(g);
        g.reduceClipRegion(31 * f, 0, 31, 112);
        wheelFrame(g, (float)(31 * f), f);
    }
    return image;
}

} // namespace

std::vector<ArtItem> controlArt()
{
    std::vector<ArtItem> items = {
        {"knobFilm", knobFilm},
        {"valueBar", valueBar},
        {"valueEndCap", valueEndCap},
        {"valueSheen", valueSheen},
        {"waveOverlay", waveOverlay},
        {"ledSwitch", ledSwitch},
        {"waveBackground", waveBackground},
        {"ledPair", ledPair},
        {"gridBackground", gridBackground},
        {"gridGrip", gridGrip},
        {"wheelFilm", wheelFilm},
    };
    const std::pair<const char*, Face> states[] = {
        {"Normal", Face::normal}, {"Hover", Face::hover}, {"Pressed", Face::pressed}};
    for (const auto& [suffix, face] : states)
    {
        const Face state = face;
        items.push_back(
            {juce::String("btnLargeLeft") + suffix, [state] { return leftPart(60, 18, true, state); }});
        items.push_back(
            {juce::String("btnLargeRight") + suffix, [state] { return rightPart(47, 18, true, state); }});
        items.push_back(
            {juce::String("btnSmallLeft") + suffix, [state] { return leftPart(47, 14, false, state); }});
        const int w = state == Face::normal ? 23 : 33;
        items.push_back(
            {juce::String("btnSmallRight") + suffix, [state, w] { return rightPart(w, 14, false, state); }});
    }
    return items;
}

} // namespace artgen
