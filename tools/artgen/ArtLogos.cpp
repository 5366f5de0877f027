// Marks and pictures: the product mark (small and large), plain typographic marks for the instrument
// and its maker, the decorative ring and the about picture.
#include "ArtCommon.h"

namespace artgen
{
using namespace juce;

namespace
{
const Colour ink(0xffeef6ff), amber(0xffe9b460), paleBlue(0xff9fbef5);

/** Draws the product mark into a box of w x h: emblem on the left, the two words to its right. */
void productMark(Graphics& g, float w, float h, bool large)
{
    const float e = h * (large ? 0.78f : 0.7f);
    const float ex = large ? 6.0f : 2.0f, ey = (h - e) * 0.5f;
    drawEmblem(g, {ex, ey, e, e});

    const float tx = ex + e + (large ? 16.0f : 6.0f);
    const float room = w - tx - 4.0f;
    auto word = sans(e * 0.56f, true);
    const float natural = trackedWidth(word, "ZENTAK", word.getHeight() * 0.05f);
    if (natural > room)
        word.setHeight(word.getHeight() * room / natural);
    const float tracking = word.getHeight() * 0.05f;
    const float baseline = ey + e * 0.56f;
    g.setFont(word);
    g.setGradientFill(ColourGradient(Colours::white, 0, baseline - word.getAscent(), Colour(0xffb8d4ff), 0,
                                     baseline, false));
    trackedText(g, "ZENTAK", tx, baseline, tracking);
    const float wordWidth = trackedWidth(word, "ZENTAK", tracking);

    auto sub = sans(word.getHeight() * 0.42f, true);
    const float subTrack = (wordWidth - trackedWidth(sub, "CONTROL", 0)) / 6.0f;
    g.setFont(sub);
    g.setColour(amber);
    trackedText(g, "CONTROL", tx + 1, baseline + sub.getHeight() * 1.25f, subTrack * 0.97f);

    if (large)
    {
        g.setColour(paleBlue.withAlpha(0.85f));
        g.fillRect(tx, baseline + sub.getHeight() * 1.7f, wordWidth, 1.0f);
        g.setFont(sans(13.0f));
        g.drawText("editor and librarian for the Evolver", (int)tx, (int)(baseline + sub.getHeight() * 1.9f),
                   (int)(w - tx), 18, Justification::centredLeft, false);
    }
}

Image productLogo()
{
    auto image = blank(133, 70);
    Graphics g(image);
    productMark(g, 133, 70, false);
    return image;
}

Image productLogoLarge()
{
    auto image = blank(356, 148);
    Graphics g(image);
    productMark(g, 356, 148, true);
    return image;
}

// The instrument and its maker are named in plain lettering, as a compatibility line reads: nothing
// here imitates their own artwork or suggests that they endorse this product.
Image makerLogo()
{
    auto image = blank(179, 52);
    Graphics g(image);
    g.setFont(sans(12.0f));
    g.setColour(paleBlue);
    g.drawText("for the", Rectangle<int>(0, 4, 179, 16), Justification::centred, false);
    g.setFont(sans(24.0f, true));
    g.setColour(ink);
    g.drawText("DSI", Rectangle<int>(0, 20, 179, 28), Justification::centred, false);
    return image;
}

Image instrumentLogo()
{
    auto image = blank(179, 70);
    Graphics g(image);
    g.setFont(sans(34.0f, true));
    g.setColour(Colours::white);
    g.drawText("Evolver", Rectangle<int>(0, 6, 179, 40), Justification::centred, false);
    g.setFont(sans(12.0f));
    g.setColour(amber);
    g.drawText("desktop synthesizer", Rectangle<int>(0, 46, 179, 16), Justification::centred, false);
    return image;
}

Image swoosh()
{
    auto image = blank(787, 646);
    Graphics g(image);
    Path ring;
    ring.addEllipse(12, 20, 740, 606);
    ring.addEllipse(96, 66, 660, 520);
    ring.setUsingNonZeroWinding(false);
    ColourGradient fade(Colour(0xff3f7cff), 0, 0, Colour(0x003f7cff), 700, 0, false);
    fade.addColour(0.35, Colour(0xd02a5fe0));
    g.setGradientFill(fade);
    g.fillPath(ring);
    Path edge;
    edge.addEllipse(12, 20, 740, 606);
    ColourGradient shine(Colour(0xc0d8e8ff), 0, 0, Colour(0x00d8e8ff), 520, 0, false);
    g.setGradientFill(shine);
    g.strokePath(edge, PathStrokeType(5.0f));
    return image;
}

void module(Graphics& g, Rectangle<float> r)
{
    // Shadow on the desk and the module's body: a dark metal case with blue end cheeks.
    softShadow(g, r.translated(0, 8).reduced(6, 2), 8, 10, 0.55f);
    const auto cheekL = r.withWidth(16), cheekR = r.withLeft(r.getRight() - 16);
    for (auto cheek : {cheekL, cheekR})
    {
        g.setGradientFill(ColourGradient(Colour(0xff3a64d8), cheek.getX(), cheek.getY(), Colour(0xff0e1e5c),
                                         cheek.getRight(), cheek.getBottom(), false));
        g.fillRoundedRectangle(cheek, 5.0f);
    }
    const auto face = r.reduced(14, 0);
    g.setGradientFill(
        ColourGradient(Colour(0xff2c3040), 0, face.getY(), Colour(0xff0c0d12), 0, face.getBottom(), false));
    g.fillRect(face);
    g.setColour(Colour(0x50ffffff));
    g.fillRect(face.withHeight(1.5f));
    g.setColour(Colour(0xff000000));
    g.fillRect(face.withTop(face.getBottom() - 2));

    // Display, mark and two rows of knobs.
    const auto lcd = Rectangle<float>(face.getX() + 12, face.getY() + 12, 70, 20);
    g.setGradientFill(
        ColourGradient(Colour(0xffc4e6fb), 0, lcd.getY(), Colour(0xff7fb4e0), 0, lcd.getBottom(), false));
    g.fillRoundedRectangle(lcd, 2.0f);
    g.setColour(Colour(0xff000e62));
    g.setFont(sans(8.0f, true));
    g.drawText("A:001 Big Sawz", lcd.reduced(4, 0), Justification::centredLeft, false);
    g.setFont(sans(11.0f, true));
    g.setColour(ink.withAlpha(0.9f));
    g.drawText("EVOLVER", (int)lcd.getX(), (int)lcd.getBottom() + 8, 80, 14, Justification::centredLeft,
               false);
    for (int row = 0; row < 2; ++row)
        for (int i = 0; i < 8; ++i)
        {
            const Point<float> c(face.getX() + 104 + (float)i * 18.5f, face.getY() + 18 + (float)row * 26);
            drawMiniKnob(g, c, 6.5f, -2.2f + (float)((i * 5 + row * 3) % 9) * 0.55f);
        }
    for (int i = 0; i < 6; ++i)
    {
        g.setColour(i == 2 ? Colour(0xffff4a3a) : Colour(0xff4a1010));
        g.fillEllipse(face.getX() + 14 + (float)i * 11, face.getBottom() - 12, 4, 4);
    }
}

Image aboutPicture()
{
    auto image = blank(460, 260, false);
    Graphics g(image);
    ColourGradient back(Colour(0xff0c1a4e), 300, 60, Colour(0xff01030e), 0, 260, true);
    g.setGradientFill(back);
    g.fillAll();
    g.setColour(Colour(0xff3f7cff).withAlpha(0.18f));
    g.drawEllipse(170, -70, 420, 330, 18.0f);
    g.setColour(Colour(0xffa0c0ff).withAlpha(0.3f));
    g.drawRect(0, 0, 460, 260, 1);

    // The instrument's and its maker's marks at the top left; the version line goes below them.
    g.setOpacity(1.0f);
    g.drawImageAt(instrumentLogo().rescaled(143, 56, Graphics::highResamplingQuality), 28, 18);
    g.drawImageAt(makerLogo().rescaled(116, 34, Graphics::highResamplingQuality), 42, 78);

    module(g, {168, 150, 276, 88});
    return image;
}

} // namespace

std::vector<ArtItem> logoArt()
{
    return {
        {"productLogo", productLogo}, {"productLogoLarge", productLogoLarge},
        {"makerLogo", makerLogo},     {"instrumentLogo", instrumentLogo},
        {"swoosh", swoosh},           {"aboutPicture", aboutPicture},
    };
}

} // namespace artgen
