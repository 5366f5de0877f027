// The skin images against their table (sizes, frames, transparency, colours), the typeface that
// "Arial" resolves to, and StsResor's panels, patches and keyboard shadow.
#include "WidgetTestSupport.h"

#include "ui/widgets/SkinImage.h"

using namespace zentak;
using namespace zentak::test;

namespace
{
struct ImageSize
{
    const char* name;
    int width, height;
};

const ImageSize imageTable[] = {
    {"knobFilm", 3188, 56},
    {"valueBar", 200, 18},
    {"valueEndCap", 14, 18},
    {"valueSheen", 113, 17},
    {"waveOverlay", 62, 26},
    {"ledSwitch", 74, 20},
    {"waveBackground", 62, 26},
    {"btnLargeLeftNormal", 60, 18},
    {"btnLargeLeftHover", 60, 18},
    {"btnLargeLeftPressed", 60, 18},
    {"btnLargeRightNormal", 47, 18},
    {"btnLargeRightHover", 47, 18},
    {"btnLargeRightPressed", 47, 18},
    {"btnSmallLeftNormal", 47, 14},
    {"btnSmallLeftHover", 47, 14},
    {"btnSmallLeftPressed", 47, 14},
    {"btnSmallRightNormal", 23, 14},
    {"btnSmallRightHover", 33, 14},
    {"btnSmallRightPressed", 33, 14},
    {"ledPair", 28, 9},
    {"gridBackground", 246, 360},
    {"gridGrip", 25, 43},
    {"envelopeScreen", 218, 73},
    {"glassOverlay", 210, 66},
    {"lcdPanel", 182, 45},
    {"wheelFilm", 1084, 112},
    {"keyboardShadow", 1440, 78},
    {"whiteKey", 25, 152},
    {"whiteKeyDown", 25, 152},
    {"blackKey", 16, 100},
    {"blackKeyDown", 16, 100},
    {"cornerA_TL", 20, 20},
    {"cornerA_TR", 20, 20},
    {"cornerA_BL", 20, 20},
    {"cornerA_BR", 20, 20},
    {"textureA", 100, 100},
    {"cornerB_TL", 20, 20},
    {"cornerB_TR", 20, 20},
    {"cornerB_BL", 20, 20},
    {"cornerB_BR", 20, 20},
    {"textureB", 100, 100},
    {"octaveStrip", 269, 18},
    {"keyboardBox", 27, 13},
    {"keyboardBar", 100, 20},
    {"keyGlow", 168, 291},
    {"arrowDown", 16, 10},
    {"arrowUp", 16, 10},
    {"arrowLeft", 10, 16},
    {"arrowRight", 10, 16},
    {"ring", 10, 10},
    {"dot", 10, 10},
    {"productLogo", 133, 70},
    {"makerLogo", 179, 52},
    {"instrumentLogo", 179, 70},
    {"swoosh", 787, 646},
    {"sequencerScreen", 458, 155},
    {"aboutPicture", 460, 260},
    {"productLogoLarge", 356, 148},
};

juce::Colour mean(const juce::Image& image, juce::Rectangle<int> r)
{
    double red = 0, green = 0, blue = 0;
    for (int y = r.getY(); y < r.getBottom(); ++y)
        for (int x = r.getX(); x < r.getRight(); ++x)
        {
            const auto c = image.getPixelAt(x, y);
            red += c.getRed();
            green += c.getGreen();
            blue += c.getBlue();
        }
    const double n = (double)r.getWidth() * r.getHeight();
    return juce::Colour((juce::uint8)juce::roundToInt(red / n), (juce::uint8)juce::roundToInt(green / n),
                        (juce::uint8)juce::roundToInt(blue / n));
}

int maxAlpha(const juce::Image& image, juce::Rectangle<int> r)
{
    int a = 0;
    for (int y = r.getY(); y < r.getBottom(); ++y)
        for (int x = r.getX(); x < r.getRight(); ++x)
            a = juce::jmax(a, (int)image.getPixelAt(x, y).getAlpha());
    return a;
}

/** Pixels of a region that are warm and bright (the knob's lit amber arc). */
int amberPixels(const juce::Image& image, juce::Rectangle<int> r)
{
    int n = 0;
    for (int y = r.getY(); y < r.getBottom(); ++y)
        for (int x = r.getX(); x < r.getRight(); ++x)
        {
            const auto c = image.getPixelAt(x, y);
            if (c.getAlpha() > 200 && c.getRed() > 180 && c.getBlue() < 130 && c.getRed() - c.getBlue() > 90)
                ++n;
        }
    return n;
}
} // namespace

TEST(SkinImages, EveryImageHasItsSizeAndDecodesOnceForAllUsers)
{
    for (const auto& entry : imageTable)
    {
        const auto image = skinImage(entry.name);
        ASSERT_TRUE(image.isValid()) << entry.name;
        EXPECT_EQ(image.getWidth(), entry.width) << entry.name;
        EXPECT_EQ(image.getHeight(), entry.height) << entry.name;
        // The image cache keys by data address: a second request shares the decoded pixels.
        EXPECT_EQ(skinImage(entry.name).getPixelData(), image.getPixelData()) << entry.name;
    }
    EXPECT_FALSE(skinImage("noSuchImage").isValid());
}

TEST(SkinImages, OverlaysKeepTheirStatedTransparency)
{
    const auto sheen = skinImage("valueSheen");
    EXPECT_LE(maxAlpha(sheen, sheen.getBounds()), 25);
    EXPECT_GT(maxAlpha(sheen, sheen.getBounds()), 10);

    const auto glass = skinImage("waveOverlay");
    EXPECT_LE(maxAlpha(glass, glass.getBounds()), 63);
    EXPECT_GE(maxAlpha(glass, {0, 25, 62, 1}), 55); // rising toward the bottom
    EXPECT_LT(maxAlpha(glass, {0, 12, 62, 1}), maxAlpha(glass, {0, 25, 62, 1}));

    const auto shadow = skinImage("keyboardShadow");
    EXPECT_GT(shadow.getPixelAt(700, 0).getAlpha(), 200);
    EXPECT_LT(shadow.getPixelAt(700, 77).getAlpha(), 10);
    EXPECT_TRUE(near(shadow.getPixelAt(700, 10).withAlpha((juce::uint8)255), juce::Colours::black, 1));

    const auto glow = skinImage("keyGlow");
    EXPECT_EQ(glow.getPixelAt(84, 145).getAlpha(), 0); // the rectangle in the middle is clear

    // Panel corners: clear at the outer corner, opaque texture inside.
    for (const char* name : {"cornerA_TL", "cornerB_TL"})
    {
        const auto corner = skinImage(name);
        EXPECT_EQ(corner.getPixelAt(0, 0).getAlpha(), 0) << name;
        EXPECT_EQ(corner.getPixelAt(15, 15).getAlpha(), 255) << name;
    }
    EXPECT_EQ(skinImage("cornerA_BR").getPixelAt(19, 19).getAlpha(), 0);
    EXPECT_EQ(skinImage("cornerA_BR").getPixelAt(4, 4).getAlpha(), 255);
}

TEST(SkinImages, ColoursAreThoseNamed)
{
    struct Mean
    {
        const char* name;
        juce::Colour colour;
        int tolerance;
    };
    const Mean means[] = {
        {"textureA", juce::Colour(31, 50, 143), 2},   {"textureB", juce::Colour(33, 72, 132), 2},
        {"whiteKey", juce::Colour(191, 189, 178), 3}, {"whiteKeyDown", juce::Colour(139, 137, 123), 3},
        {"blackKey", juce::Colour(29, 29, 26), 3},    {"blackKeyDown", juce::Colour(18, 18, 17), 3},
    };
    for (const auto& m : means)
    {
        const auto image = skinImage(m.name);
        EXPECT_TRUE(near(mean(image, image.getBounds()), m.colour, m.tolerance)) << m.name;
    }

    // LED switch: grey when off (x 0..36), red when on (x 36..72).
    const auto led = skinImage("ledSwitch");
    const auto off = led.getPixelAt(18, 10), on = led.getPixelAt(54, 10);
    EXPECT_LT(std::abs(off.getRed() - off.getBlue()), 30);
    EXPECT_GT(on.getRed(), 150);
    EXPECT_GT(on.getRed(), 3 * on.getBlue());
    // LED pair: dark when off (x 0), light blue when on (x 14).
    const auto pair = skinImage("ledPair");
    EXPECT_LT(pair.getPixelAt(7, 5).getBrightness(), 0.35f);
    EXPECT_GT(pair.getPixelAt(21, 5).getBlue(), pair.getPixelAt(21, 5).getRed());
    EXPECT_GT(pair.getPixelAt(21, 5).getBrightness(), 0.6f);
    // Connectors are orange.
    const auto dot = skinImage("dot").getPixelAt(5, 5);
    EXPECT_GT(dot.getRed(), 200);
    EXPECT_LT(dot.getBlue(), 120);
}

TEST(SkinImages, KnobFilmSweepsEvenlyOverItsFiftyFiveFrames)
{
    const auto film = skinImage("knobFilm");
    std::vector<int> lit;
    for (int k = 0; k < 55; ++k)
    {
        lit.push_back(amberPixels(film, {58 * k, 0, 56, 56}));
        EXPECT_EQ(maxAlpha(film, {58 * k + 56, 0, 2, 56}), 0) << "gap after frame " << k;
        EXPECT_EQ(maxAlpha(film, {58 * k + 45, 0, 11, 56}), 0) << "frame " << k << " reaches past 45";
    }
    // The lit arc grows with every frame, by nearly the same amount each time.
    const double perFrame = (lit[54] - lit[0]) / 54.0;
    EXPECT_GT(perFrame, 2.0);
    for (int k = 1; k < 55; ++k)
    {
        EXPECT_GT(lit[(size_t)k], lit[(size_t)k - 1]) << k;
        EXPECT_NEAR(lit[(size_t)k] - lit[0], perFrame * k, perFrame * 2.5 + 4) << k;
    }
}

TEST(SkinImages, WheelMarkerRisesFrameByFrame)
{
    const auto film = skinImage("wheelFilm");
    int previous = 1000;
    for (int f = 0; f < 35; ++f)
    {
        int brightest = 0;
        float best = 0;
        for (int y = 0; y < 112; ++y)
        {
            const float b = film.getPixelAt(31 * f + 15, y).getBrightness();
            if (b > best)
            {
                best = b;
                brightest = y;
            }
        }
        EXPECT_LT(brightest, previous) << "frame " << f;
        previous = brightest;
    }
}

TEST_F(SkinTest, ArialResolvesToTheEmbeddedLiberationSans)
{
    for (int style : {(int)juce::Font::plain, (int)juce::Font::bold})
    {
        const juce::Font arial("Arial", 12.0f, style);
        const auto face = arial.getTypefacePtr();
        ASSERT_NE(face, nullptr);
        EXPECT_EQ(face->getName(), "Liberation Sans");
        const auto expected =
            style == juce::Font::bold ? skin->look().boldFace() : skin->look().regularFace();
        EXPECT_EQ(face.get(), expected.get());
    }
    // Liberation Sans has Arial's advance widths: "Frequency" is 9676 of 2048 units per em, and a
    // 12-pixel font (ascent plus descent, 2288 units) has an em of 10.74 pixels: 50.75 pixels.
    EXPECT_NEAR(juce::Font("Arial", 12.0f, juce::Font::plain).getStringWidthFloat("Frequency"), 50.75f,
                0.05f);
}

TEST_F(SkinTest, PanelsAreFramedAtEveryWidthAndScale)
{
    struct Case
    {
        float scale;
        int w, h;
        bool schemeA;
    };
    for (const Case c : {Case{1.0f, 252, 220, false}, Case{0.6f, 252, 220, true}, Case{1.0f, 60, 50, true},
                         Case{0.6f, 89, 110, false}})
    {
        const int W = (int)((float)c.w * c.scale), H = (int)((float)c.h * c.scale);
        juce::Image image(juce::Image::ARGB, W + 40, H + 40, true);
        {
            juce::Graphics g(image);
            if (c.schemeA)
                skin->paintPanelA(g, c.scale, c.w, c.h);
            else
                skin->paintPanelB(g, c.scale, c.w, c.h);
        }
        const auto texture = c.schemeA ? juce::Colour(31, 50, 143) : juce::Colour(33, 72, 132);
        SCOPED_TRACE(juce::String(c.w) + "x" + juce::String(c.h) + " at " + juce::String(c.scale));
        EXPECT_TRUE(near(image.getPixelAt(0, 0), juce::Colour(0xff00002f), 2)); // outside the rounded corner
        EXPECT_TRUE(near(image.getPixelAt(W - 1, H - 1), juce::Colour(0xff00002f), 2));
        EXPECT_TRUE(near(mean(image, {W / 4, H / 4, W / 2, H / 2}), texture, 6)); // textured inside
        // The outline, 2·s thick at 2·s from the edge, in light grey on all four sides.
        const int mid = (int)(2.0f * c.scale);
        for (auto p : {juce::Point<int>(W / 2, mid), juce::Point<int>(W / 2, H - 1 - mid),
                       juce::Point<int>(mid, H / 2), juce::Point<int>(W - 1 - mid, H / 2)})
            EXPECT_GT(image.getPixelAt(p.x, p.y).getBrightness(), 0.6f) << p.x << "," << p.y;
    }
}

TEST_F(SkinTest, PatchesTileTheTextureEveryNinetyNinePixels)
{
    const auto patch = skin->makePatchB(114, 58);
    EXPECT_EQ(patch.getFormat(), juce::Image::RGB);
    EXPECT_EQ(patch.getBounds(), juce::Rectangle<int>(0, 0, 114, 58));
    for (int y : {0, 30, 57})
    {
        EXPECT_EQ(patch.getPixelAt(5, y), skin->textureB.getPixelAt(5, y));
        EXPECT_EQ(patch.getPixelAt(98, y), skin->textureB.getPixelAt(98, y));
        EXPECT_EQ(patch.getPixelAt(99 + 7, y), skin->textureB.getPixelAt(7, y)); // the second column
    }
    EXPECT_EQ(skin->makePatchA(10, 10).getPixelAt(3, 4), skin->textureA.getPixelAt(3, 4));
}

TEST_F(SkinTest, KeyboardShadowWidthIsLimited)
{
    for (auto [width, drawn] : {std::pair{0, 10}, std::pair{300, 300}, std::pair{2000, 1440}})
    {
        juce::Image image(juce::Image::ARGB, 2100, 80, true);
        {
            juce::Graphics g(image);
            skin->paintKeyboardShadow(g, 1.0f, 0, width);
        }
        EXPECT_GT(image.getPixelAt(drawn - 1, 21).getAlpha(), 100) << width;
        EXPECT_EQ(image.getPixelAt(drawn, 21).getAlpha(), 0) << width;
        EXPECT_EQ(image.getPixelAt(5, 19).getAlpha(), 0) << width; // the strip starts 20 pixels down
        // At 78 % opacity, the darkest row is no darker than alpha 199.
        EXPECT_LE(image.getPixelAt(5, 20).getAlpha(), 200) << width;
    }
}
