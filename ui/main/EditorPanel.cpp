#include "EditorPanel.h"

#include "ui/widgets/SkinImage.h"

namespace zentak
{
namespace
{
int scaled(float v, float s)
{
    return (int)(v * s);
}

// The signal-flow connectors drawn over the groups: bars (x, y, width, height) and image positions.
constexpr int bars[][4] = {{291, 438, 3, 18},  {291, 453, 57, 3},  {263, 489, 85, 3},  {332, 529, 14, 3},
                           {1115, 387, 3, 12}, {477, 387, 641, 3}, {477, 387, 3, 12},  {1443, 616, 3, 9},
                           {478, 622, 965, 3}, {478, 616, 3, 9},   {1477, 387, 3, 12}, {1289, 387, 188, 3},
                           {1289, 387, 3, 12}, {720, 505, 6, 3},   {976, 505, 6, 3},   {1066, 505, 6, 3},
                           {1158, 505, 6, 3},  {1250, 505, 6, 3},  {1507, 449, 6, 3}};
constexpr int dots[][2] = {{288, 433}, {327, 526},  {1112, 392}, {1440, 609}, {1473, 392}, {715, 501},
                           {971, 501}, {1063, 501}, {1155, 501}, {1247, 501}, {1502, 445}};
constexpr int arrowsRight[][2] = {{346, 446},  {346, 483},  {346, 523},  {726, 498}, {982, 498},
                                  {1074, 498}, {1166, 498}, {1258, 498}, {1513, 442}};
constexpr int arrowsDown[][2] = {{471, 396}, {1283, 396}};

void drawImageAt(juce::Graphics& g, const juce::Image& image, int x, int y, float s)
{
    if (image.isValid())
        g.drawImage(image, scaled((float)x, s), scaled((float)y, s), scaled((float)image.getWidth(), s),
                    scaled((float)image.getHeight(), s), 0, 0, image.getWidth(), image.getHeight());
}
} // namespace

EditorPanel::EditorPanel(MidiCntrState& state)
    : ParamPage(state, false), arrowDown(skinImage("arrowDown")), arrowRight(skinImage("arrowRight")),
      arrowUp(skinImage("arrowUp")), dot(skinImage("dot")), ring(skinImage("ring"))
{
    makerLogo = skinImage("makerLogo");
    instrumentLogo = skinImage("instrumentLogo");
    productLogo = skinImage("productLogo");
    swoosh = skinImage("swoosh");
    addAndMakeVisible(lcdDisplay);
    lcdDisplay.setTopLeftPosition(438, 192);
    for (auto& g : allGroups())
        g->setVisible(true);
    setSize(1623, 892);
}

EditorPanel::~EditorPanel() = default;

void EditorPanel::setScale(float s)
{
    scale = s;
    for (auto& g : allGroups())
        g->setDisplayScale(s);
    lcdDisplay.setBounds(scaled(438, s), scaled(192, s), scaled(182, s), scaled(45, s));
    lcdDisplay.setScale(s);
    repaint();
}

void EditorPanel::paint(juce::Graphics& g)
{
    const float s = scale;
    g.fillAll(juce::Colour(0xff00002f));
    const auto draw = [&](const juce::Image& image, int x, int y, int w, int h)
    {
        if (image.isValid())
            g.drawImage(image, scaled((float)x, s), scaled((float)y, s), scaled((float)w, s),
                        scaled((float)h, s), 0, 0, image.getWidth(), image.getHeight());
    };
    draw(swoosh, 355, 160, 283, 224);
    draw(makerLogo, 459, 250, 137, 40);
    draw(instrumentLogo, 502, 295, 167, 65);
    draw(productLogo, 1444, 0, 133, 70);
    g.setColour(juce::Colour(0xffe4e4e4));
    g.drawRoundedRectangle((float)scaled(431, s), (float)scaled(185, s), (float)scaled(195, s),
                           (float)scaled(58, s), 10.0f * s, s);
}

void EditorPanel::paintOverChildren(juce::Graphics& g)
{
    const float s = scale;
    g.setColour(juce::Colour(0xffe4ac59));
    for (const auto& b : bars)
        g.fillRect(scaled((float)b[0], s), scaled((float)b[1], s), scaled((float)b[2], s),
                   scaled((float)b[3], s));
    for (const auto& p : dots)
        drawImageAt(g, dot, p[0], p[1], s);
    drawImageAt(g, ring, 255, 486, s);
    for (const auto& p : arrowsRight)
        drawImageAt(g, arrowRight, p[0], p[1], s);
    for (const auto& p : arrowsDown)
        drawImageAt(g, arrowDown, p[0], p[1], s);
    drawImageAt(g, arrowUp, 471, 606, s);
}

// Flash panel -------------------------------------------------------------------------------------

FlashPanel::FlashPanel(MidiCntrState& state) : ParamPage(state, true)
{
    setSize(100, 100);
    reset();
}

void FlashPanel::showGroup(groups::GroupId id, int width, int height)
{
    group(shown).setVisible(false);
    shown = id;
    auto& g = group(id);
    const auto size = g.getDesignBounds();
    g.setBounds((width - size.getWidth()) / 2, (height - size.getHeight()) / 2, size.getWidth(),
                size.getHeight());
    g.setVisible(true);
}

void FlashPanel::paint(juce::Graphics& g)
{
    g.fillAll(juce::Colour(0x55000000));
}

void FlashPanel::mouseDown(const juce::MouseEvent&)
{
    sendChangeMessage();
}
} // namespace zentak
