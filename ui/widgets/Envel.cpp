#include "Envel.h"

#include "SkinImage.h"

#include <cmath>

namespace zentak
{
Envel::Envel() : screenImage(skinImage("envelopeScreen")), glassImage(skinImage("glassOverlay"))
{
    setBufferedToImage(true);
    setOpaque(true);
    setSize(218, 65);
    computeShape();
}

Envel::~Envel()
{
    stopTimer();
}

void Envel::setDesignBounds(int x, int y, int w, int h)
{
    designX = x;
    designY = y;
    setBounds(x, y, w, h);
}

void Envel::setDisplayScale(float s)
{
    scale = s;
    setBounds((int)((float)designX * s), (int)((float)designY * s), (int)(218.0f * s), (int)(65.0f * s));
    computeShape();
}

void Envel::setStage(int stage, float v)
{
    // A byte from a file or the instrument may lie outside the stage's range: drawn at its limit,
    // as its knob shows it.
    v = juce::jlimit(0.0f, (float)(stage == 2 ? sustainMaximum : timeMaximum), v);
    switch (stage)
    {
    case 0:
        attack = v;
        break;
    case 1:
        decay = v;
        break;
    case 2:
        sustain = v;
        break;
    case 3:
        release = v;
        break;
    default:
        return;
    }
    valuesChanged();
}

void Envel::valuesChanged()
{
    computeShape();
    if (immediateRepaint)
        repaint();
    else
        repaintPending = true;
}

void Envel::computeShape()
{
    const float t = timeScale, l = levelScale, s = scale;
    pointXs[0] = left;
    pointXs[1] = pointXs[0] + t * attack;
    pointXs[2] = pointXs[1] + t * decay;
    pointXs[3] = pointXs[2] + t * 56.0f;
    pointXs[4] = pointXs[3] + t * release;
    pointYs[1] = top;
    pointYs[0] = pointYs[4] = top + shapeHeight;
    pointYs[2] = pointYs[3] = pointYs[0] - l * sustain;

    outline.clear();
    outline.startNewSubPath(s * pointXs[0], s * pointYs[0]);
    for (int i = 1; i < 5; ++i)
        outline.lineTo(s * pointXs[i], s * pointYs[i]);
    outline.closeSubPath();
}

void Envel::resized()
{
    computeShape();
}

int Envel::handleAt(float px, float py) const
{
    const float s = scale;
    auto near = [s](float v, float lo, float hi) { return (lo - 7.0f) * s < v && v < (hi + 7.0f) * s; };
    if (near(px, pointXs[1], pointXs[1]) && near(py, pointYs[1], pointYs[1]))
        return attackPeak;
    if (near(px, pointXs[4], pointXs[4]) && near(py, pointYs[4], pointYs[4]))
        return releaseEnd;
    if (near(px, pointXs[2], pointXs[3]) && near(py, pointYs[2], pointYs[2]))
        return sustainSegment;
    return none;
}

void Envel::mouseMove(const juce::MouseEvent& e)
{
    setMouseCursor(handleAt((float)e.x, (float)e.y) != none ? juce::MouseCursor::CrosshairCursor
                                                            : juce::MouseCursor::NormalCursor);
}

void Envel::mouseDown(const juce::MouseEvent& e)
{
    dragging = false;
    if (e.mods.isPopupMenu())
    {
        changeKind = 100;
        sendChangeMessage();
        return;
    }
    handle = handleAt((float)e.x, (float)e.y);
    if (handle == none)
        return;
    dragging = true;
    pressX = lastX = e.x;
    pressY = lastY = e.y;
    startAttack = attack;
    startDecay = decay;
    startSustain = sustain;
    startRelease = release;
    changeKind = 67;
    sendChangeMessage();
}

void Envel::mouseDrag(const juce::MouseEvent& e)
{
    if (!dragging)
        return;
    bool changed = false;
    auto move = [&changed](float& v, float start, float delta, int maximum)
    {
        const float n = juce::jmin((float)maximum, juce::jmax(0.0f, start + delta));
        if (n != v)
        {
            v = n;
            changed = true;
        }
    };
    if (e.x != lastX)
    {
        lastX = e.x;
        const float dx = (float)std::nearbyint((double)(e.x - pressX) / 1.5);
        if (handle == attackPeak)
            move(attack, startAttack, dx, timeMaximum);
        else if (handle == sustainSegment)
            move(decay, startDecay, dx, timeMaximum);
        else if (handle == releaseEnd)
            move(release, startRelease, dx, timeMaximum);
    }
    if (e.y != lastY)
    {
        lastY = e.y;
        const float dy = (float)std::nearbyint((double)(pressY - e.y) / 1.5);
        if (handle == sustainSegment)
            move(sustain, startSustain, dy, sustainMaximum);
    }
    if (!changed)
        return;
    attack = std::trunc(attack);
    decay = std::trunc(decay);
    sustain = std::trunc(sustain);
    release = std::trunc(release);
    computeShape();
    repaint();
    changeKind = 1;
    sendChangeMessage();
}

void Envel::mouseUp(const juce::MouseEvent& e)
{
    if (e.mods.isLeftButtonDown())
        startTimer(100);
    dragging = false;
}

void Envel::timerCallback()
{
    stopTimer();
    changeKind = 66;
    sendChangeMessage();
}

void Envel::paint(juce::Graphics& g)
{
    const float s = scale;
    g.setOpacity(1.0f);
    g.drawImageTransformed(screenImage.getClippedImage({0, 0, 226, 82}),
                           juce::AffineTransform::scale(s, 73.0f * s / 82.0f));
    g.setColour(juce::Colour(0xff5f4405));
    g.fillPath(outline);
    g.setColour(juce::Colour(0xffc9910e));
    g.strokePath(outline, juce::PathStrokeType(1.1f));
    g.setOpacity(0.3f);
    g.drawImageTransformed(glassImage.getClippedImage({0, 0, 218, 73}),
                           juce::AffineTransform::scale(226.0f * s / 218.0f, s));
}
} // namespace zentak
