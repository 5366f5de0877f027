#include "StsCont.h"

#include "SkinImage.h"
#include "WavePicture.h"

#include <cmath>

namespace zentak
{
StsCont::StsCont() = default;

StsCont::~StsCont()
{
    stopTimer();
}

void StsCont::setup(int parameter, const juce::String& caption, int minimumValue, int maximumValue,
                    int controlKind, int valueBoxWidth)
{
    parameterNumber = parameter;
    label = caption;
    minimum = minimumValue;
    maximum = maximumValue;
    kind = controlKind;
    boxWidth = valueBoxWidth;
    value = 0;

    switch (kind)
    {
    case selector:
    case compactSelector:
        valueBar = skinImage("valueBar");
        valueEndCap = skinImage("valueEndCap");
        valueSheen = skinImage("valueSheen");
        break;
    case ledSwitch:
    case centredLedSwitch:
        ledSwitchStrip = skinImage("ledSwitch");
        break;
    case knob:
        knobFilm = skinImage("knobFilm");
        range = maximum - minimum;
        break;
    case waveSelector:
        valueBar = skinImage("valueBar");
        valueEndCap = skinImage("valueEndCap");
        waveOverlay = skinImage("waveOverlay");
        break;
    case narrowSelector:
        valueBar = skinImage("valueBar");
        valueEndCap = skinImage("valueEndCap");
        break;
    default:
        break;
    }
}

void StsCont::setDesignBounds(float x, float y, float width, float height)
{
    designX = x;
    designY = y;
    designW = width;
    designH = height;
    designWidth = (int)width;
    designHeight = (int)height;
    setBounds((int)x, (int)y, (int)width, (int)height);
}

void StsCont::setDisplayScale(float s)
{
    scale = s;
    setBounds((int)(designX * s), (int)(designY * s), (int)(designW * s), (int)(designH * s));
}

void StsCont::setDesignPosition(float x, float y)
{
    designX = x;
    designY = y;
    setDisplayScale(scale);
}

void StsCont::setBackgroundImage(const juce::Image& image)
{
    if (getWidth() < 1 || getHeight() < 1)
        return;
    hasBackground = true;
    setOpaque(true);
    background = juce::Image(juce::Image::ARGB, getWidth(), getHeight(), true);
    juce::Graphics g(background);
    g.drawImageAt(image, 0, 0);
}

int StsCont::clampToRange(int v) const
{
    if (v < minimum)
        v = minimum;
    if (v > maximum)
        v = maximum;
    return v;
}

void StsCont::showValue(int v, const juce::String& text)
{
    v = clampToRange(v);
    if (v == value)
        return;
    value = v;

    if (kind == knob)
    {
        // A knob without travel (range 0) has no meaningful position: it rests on frame 0.
        if (range <= 0)
            knobFrame = 0;
        else
        {
            double q = (290.0 - (range - (v - minimum)) * (290.0 / range)) / 5.35;
            q = juce::jlimit(0.0, 56.0, q);
            knobFrame = (int)std::nearbyint(q); // the default rounding mode sends halves to the even side
        }
    }

    valueText = text;
    if (immediateRepaint)
        repaint();
    else
        repaintPending = true;
}

void StsCont::requestValue(int v)
{
    requestedValue = clampToRange(v);
    if (requestedValue != value)
    {
        changeKind = dragValue;
        sendChangeMessage();
    }
}

void StsCont::toggle()
{
    changeKind = toggled;
    requestedValue = value == 0 ? 1 : 0;
    sendChangeMessage();
}

void StsCont::mouseDown(const juce::MouseEvent& e)
{
    if (e.mods.isPopupMenu())
    {
        dragging = false;
        changeKind = rightButton;
        sendChangeMessage();
        return;
    }
    pressX = e.x;
    pressY = e.y;
    const float s = scale;

    switch (kind)
    {
    case selector:
    case compactSelector:
        if ((float)e.y < 18.0f * s)
            menuArmed = true;
        break;
    case ledSwitch:
        if ((float)e.x < 25.0f * s)
            toggle();
        break;
    case centredLedSwitch:
    {
        const int d = (designWidth - 20) / 2;
        if ((float)d * s < (float)e.x && (float)e.x < (float)(d + 20) * s)
            toggle();
        break;
    }
    case knob:
    case waveSelector:
    case narrowSelector:
        dragging = true;
        dragStartValue = value;
        changeKind = gestureStart;
        sendChangeMessage();
        break;
    default:
        break;
    }
}

void StsCont::mouseDrag(const juce::MouseEvent& e)
{
    if (!dragging)
        return;
    const int dx = e.x - pressX, dy = e.y - pressY;
    int v = value;
    if (kind == knob)
    {
        const int step = maximum < 15 ? 15 : 1;
        v = dragStartValue + dx / step - dy / step;
    }
    else
        v = dragStartValue + dx / 2 - dy / 2;
    requestValue(v);
}

void StsCont::mouseUp(const juce::MouseEvent& e)
{
    if (e.mods.isPopupMenu())
        return;
    if ((kind == selector || kind == compactSelector) && menuArmed && (float)e.y < 18.0f * scale)
    {
        changeKind = valueMenuWanted;
        sendChangeMessage();
    }
    dragging = false;
    menuArmed = false;
    if (kind != selector)
        startTimer(100);
}

void StsCont::timerCallback()
{
    stopTimer();
    changeKind = gestureEnd;
    sendChangeMessage();
}

void StsCont::mouseWheelMove(const juce::MouseEvent&, const juce::MouseWheelDetails& wheel)
{
    if (wheel.deltaY == 0.0f)
        return;
    requestedValue = clampToRange(wheel.deltaY > 0.0f ? value + 1 : value - 1);
    if (requestedValue != value)
    {
        changeKind = wheelStep;
        sendChangeMessage();
    }
}

void StsCont::paintText(juce::Graphics& g, const juce::String& text, juce::uint32 colour, float size,
                        juce::Rectangle<float> r, juce::Justification j)
{
    g.setColour(juce::Colour(colour));
    g.setFont(juce::Font("Arial", size * scale, juce::Font::plain));
    // At small scales a long caption or value text is narrowed a little to fit its place rather than
    // cut off; only what cannot fit even then ends in an ellipsis.
    g.drawFittedText(text,
                     juce::Rectangle<int>(px(r.getX()), px(r.getY()), px(r.getWidth()), px(r.getHeight())), j,
                     1, 0.8f);
}

void StsCont::paintValueBox(juce::Graphics& g, int box, int barSourceWidth, bool sheen)
{
    g.setOpacity(1.0f);
    g.drawImage(valueBar, 0, 0, px((float)box), px(16), 0, 0, barSourceWidth, 18);
    g.drawImage(valueEndCap, px((float)(box - 14)), 0, px(14), px(16), 0, 0, 14, 18);
    if (sheen)
        g.drawImage(valueSheen, 0, 0, px((float)box), px(16), 0, 0, 100, 17);
}

void StsCont::paintLed(juce::Graphics& g, int x, float ellipseWidth)
{
    if (value != 0 && value != 1)
        return;
    g.setOpacity(1.0f);
    g.drawImage(ledSwitchStrip, px((float)x), 0, px(37), px(20), value == 0 ? 0 : 36, 0, 37, 20);
    if (value == 1)
    {
        g.setColour(juce::Colour(0x33814141));
        g.fillEllipse((float)px((float)x), 0.0f, (float)px(ellipseWidth), (float)px(20));
    }
}

void StsCont::paint(juce::Graphics& g)
{
    const float w = (float)designWidth, h = (float)designHeight, box = (float)boxWidth;
    const auto centred = juce::Justification::centred;
    const auto topLeft = juce::Justification::topLeft;

    if (hasBackground)
    {
        g.setOpacity(1.0f);
        g.drawImage(background, 0, 0, px(w), px(h), 0, 0, background.getWidth(), background.getHeight());
    }
    if (fillsBackground)
        g.fillAll(juce::Colour(fillColour));

    switch (kind)
    {
    case selector:
        paintValueBox(g, designWidth, designWidth - 1, true);
        paintText(g, valueText, 0xffb6fffd, 12, {0, 0, w, 16}, centred);
        paintText(g, label, 0xffdadada, 12, {0, 8, w, h}, centred);
        break;
    case compactSelector:
        paintValueBox(g, boxWidth, boxWidth - 1, true);
        paintText(g, valueText, 0xffb6fffd, 12, {0, 0, box, 16}, centred);
        paintText(g, label, 0xffdadada, 12, {box + 5, -1, w, h}, topLeft);
        break;
    case narrowSelector:
        paintValueBox(g, boxWidth, 200, false);
        paintText(g, valueText, 0xffe1ab5a, 12, {0, 0, box, 16}, centred);
        paintText(g, label, 0xffdadada, 12, {0, 8, box, h}, centred);
        break;
    case waveSelector:
        paintValueBox(g, designWidth, designWidth - 1, false);
        g.drawImage(waveOverlay, 0, 0, px(w), px(16), 0, 0, 62, 26);
        paintText(g, valueText, 0xffe1ab5a, 12, {0, 0, 62, 16}, centred);
        if (waveSource != nullptr)
        {
            g.setOpacity(1.0f);
            g.drawImage(WavePicture::make(*waveSource, value), 0, px(24), px(62), px(26), 0, 0, 62, 26);
        }
        break;
    case knob:
        g.setOpacity(1.0f);
        g.drawImage(knobFilm, px((float)(designWidth / 2 - 15)), 0, px(50), px(50), knobFrame * 58, 0, 56,
                    56);
        // Value and caption sit higher than a plain centring in the 66-pixel box would put
        // them, so the caption's descenders (Frequency, Velocity, Grunge) stay inside the control.
        paintText(g, valueText, 0xffeeeeee, 11, {0, 6, w, 66}, centred);
        paintText(g, label, 0xffdadada, 12, {0, 16, w, 66}, centred);
        break;
    case ledSwitch:
        paintLed(g, 0, 37);
        paintText(g, label, 0xffdadada, 12, {36, 0, w, h}, topLeft);
        break;
    case centredLedSwitch:
        paintLed(g, (designWidth - 37) / 2, 36);
        paintText(g, label, 0xffdadada, 12, {0, 8, w, h}, centred); // descenders stay inside
        break;
    default:
        break;
    }
}
} // namespace zentak
