#include "SeqClass.h"

#include "ui/widgets/SkinImage.h"

namespace zentak
{
namespace
{
const char* const quarterToneNames[24] = {"C",  "C+",  "C#", "C#+", "D",  "D+",  "D#", "D#+",
                                          "E",  "E+",  "F",  "F+",  "F#", "F#+", "G",  "G+",
                                          "G#", "G#+", "A",  "A+",  "A#", "A#+", "B",  "B+"};
} // namespace

SeqClass::SeqClass(MidiCntrState& state, int laneIndex)
    : controller(state), lane(juce::jlimit(0, 3, laneIndex)), maximum(lane == 0 ? offValue : resetValue),
      background(skinImage("sequencerScreen"))
{
    setOpaque(true);
    setMouseCursor(juce::MouseCursor::CrosshairCursor);
    setSize(referenceWidth, referenceHeight);
}

SeqClass::~SeqClass()
{
    stopTimer();
}

void SeqClass::setLayout(int x, int y, int w, int h)
{
    designX = x;
    designY = y;
    designWidth = w;
    designHeight = h;
    setScale(scale);
}

void SeqClass::setScale(float s)
{
    scale = s;
    width = (float)designWidth * s;
    height = (float)designHeight * s;
    sx = width / (float)referenceWidth;
    sy = height / (float)referenceHeight;
    setBounds((int)((float)designX * s), (int)((float)designY * s), (int)width, (int)height);
    repaint();
}

void SeqClass::setDisplayMode(int mode)
{
    displayMode = juce::jlimit((int)normal, (int)overview, mode);
    repaint();
}

void SeqClass::setNoteNames(int destination)
{
    const bool on = destination >= 1 && destination <= 3;
    if (on == noteNames)
        return;
    noteNames = on;
    repaint();
}

void SeqClass::showStep(int step, int v)
{
    if (!valid(step))
        return;
    v = juce::jlimit(0, maximum, v);
    if (displayed[(size_t)step] == v)
        return;
    displayed[(size_t)step] = v;
    repaintStep(step);
}

void SeqClass::loadSteps(const std::uint8_t* bytes16)
{
    for (size_t k = 0; k < (size_t)numSteps; ++k)
        drawn[k] = displayed[k] = juce::jlimit(0, maximum, (int)bytes16[k]);
    repaint();
}

bool SeqClass::limitInto(int& held, int v) const
{
    v = juce::jlimit(0, maximum, v);
    if (v == held)
        return false;
    // Quantize keeps whole semitones (even quarter-tone steps); reset and off are not pitches and pass.
    if (quantize && v >= 1 && v <= 99 && (v % 2) == 1)
        --v;
    held = v;
    return true;
}

int SeqClass::stepAt(float x) const
{
    const int w = stepWidth();
    if (w <= 0)
        return -1;
    for (int k = 0; k < numSteps; ++k)
        if ((float)(k * w) < x && x < (float)((k + 1) * w))
            return k;
    return -1;
}

void SeqClass::queueEvent(int kind, int step, int value)
{
    queue.push_back({kind, 128 + step, value});
    sendChangeMessage();
}

std::vector<SeqClass::Event> SeqClass::takeEvents()
{
    std::vector<Event> taken;
    taken.swap(queue);
    return taken;
}

void SeqClass::begin(int step)
{
    if (!valid(step) || gestureOpen[(size_t)step])
        return;
    gestureOpen[(size_t)step] = true;
    queueEvent(gestureStart, step, 0);
}

void SeqClass::end(int step)
{
    if (!valid(step) || !gestureOpen[(size_t)step])
        return;
    gestureOpen[(size_t)step] = false;
    queueEvent(gestureEnd, step, 0);
}

void SeqClass::endOpenGestures()
{
    for (int k = 0; k < numSteps; ++k)
        end(k);
}

int SeqClass::valueFromY(float y) const
{
    const int v = (int)(100.0f - ((y / sy - 23.0f) / 1.25f));
    return juce::jlimit(0, 100, v);
}

void SeqClass::setDrawn(int step, int v)
{
    if (!valid(step) || v == drawn[(size_t)step])
        return;
    drawn[(size_t)step] = v;
    limitInto(pending[(size_t)step], v);
    queueEvent(newValue, step, pending[(size_t)step]);
}

void SeqClass::mouseDown(const juce::MouseEvent& e)
{
    // A press before the last release's gesture end fired: that end comes first.
    if (isTimerRunning())
    {
        stopTimer();
        endOpenGestures();
    }
    dragging = toggling = false;
    lastPenStep = -1;
    if (displayMode == overview)
    {
        queueEvent(openRequest, 0, 0);
        return;
    }
    const int step = stepAt((float)e.x);
    currentStep = step;
    if (step < 0)
        return;
    begin(step);
    if ((float)e.y < 15.0f * sy)
    {
        toggling = true;
        auto& shown = displayed[(size_t)step];
        auto& before = saved[(size_t)step];
        int next;
        if (lane == 0 && shown == resetValue)
            next = offValue;
        else if (shown == (lane == 0 ? offValue : resetValue))
            next = before;
        else
        {
            before = shown;
            next = resetValue;
        }
        limitInto(pending[(size_t)step], next);
        queueEvent(toggled, step, pending[(size_t)step]);
        queueEvent(newValue, step, pending[(size_t)step]);
        return; // shown once the controller reports the value back
    }
    if (editMode == pen)
        for (int k = 0; k < numSteps; ++k)
            begin(k);
    dragging = true;
}

void SeqClass::mouseDrag(const juce::MouseEvent& e)
{
    if (!dragging)
        return;
    const int v = valueFromY((float)e.y);
    if (editMode == sliders)
    {
        setDrawn(currentStep, v);
        return;
    }
    const int step = stepAt((float)e.x);
    if (step < 0)
        return;
    currentStep = step;
    // The pen draws a line: steps jumped over between two drag events take the values in between.
    if (lastPenStep >= 0 && std::abs(step - lastPenStep) > 1)
    {
        const int dir = step > lastPenStep ? 1 : -1;
        const int span = std::abs(step - lastPenStep);
        for (int k = lastPenStep + dir, i = 1; k != step; k += dir, ++i)
            setDrawn(k, lastPenValue + (v - lastPenValue) * i / span);
    }
    setDrawn(step, v);
    lastPenStep = step;
    lastPenValue = v;
}

void SeqClass::mouseUp(const juce::MouseEvent&)
{
    dragging = false;
    startTimer(30);
}

void SeqClass::timerCallback()
{
    stopTimer();
    endOpenGestures();
}

void SeqClass::mouseWheelMove(const juce::MouseEvent& e, const juce::MouseWheelDetails& wheel)
{
    const int step = stepAt((float)e.x);
    if (step < 0)
        return;
    const int stride = quantize ? 2 : 1;
    const int shown = displayed[(size_t)step];
    int target;
    if (wheel.deltaY > 0.0f && shown + stride <= maximum)
        target = shown + stride;
    else if (wheel.deltaY < 0.0f && shown - stride >= 0)
        target = shown - stride;
    else
        return; // nothing changes, so no gesture either
    const bool ownGesture = !gestureOpen[(size_t)step];
    begin(step);
    limitInto(displayed[(size_t)step], target);
    repaintStep(step);
    queueEvent(newValue, step, displayed[(size_t)step]);
    if (ownGesture)
        end(step);
}

void SeqClass::repaintStep(int step)
{
    const int w = stepWidth();
    repaint(step * w, 0, w, getHeight());
}

juce::String SeqClass::noteName(int v)
{
    v = juce::jmax(0, v);
    return juce::String(quarterToneNames[v % 24]) + juce::String(v / 24);
}

juce::String SeqClass::stepText(int v, bool names)
{
    if (v == resetValue)
        return "RST";
    if (v == offValue)
        return "OFF";
    return names ? noteName(v) : juce::String(v);
}

void SeqClass::paint(juce::Graphics& g)
{
    const int sw = stepWidth();
    const auto fsw = (float)sw;
    g.setOpacity(1.0f);
    g.drawImage(background, 0, 0, getWidth(), getHeight(), 0, 0, background.getWidth(),
                background.getHeight());

    // Grid.
    g.setColour(juce::Colour(0xff404040));
    const float left = 3.0f * sx, length = width - 9.0f * sx;
    if (displayMode == large)
    {
        for (int n = 0; n <= 55; ++n)
            g.fillRect(left, (float)(12 + 3 * n) * sy + 4.0f * sy, length, 1.0f);
        for (int k = 0; k < numSteps; ++k)
            g.fillRect((float)(k * sw + sw / 2) + 2.0f * sx, 30.0f * sy, 1.0f, height - 30.0f * sy);
    }
    else
    {
        for (int m = 1; m <= 6; ++m)
            g.fillRect(left, (float)(24 * m) * sy + 4.0f * sy, length, 1.0f);
    }

    const juce::Font font("Arial", juce::jmax(1.0f, 11.0f * sx), juce::Font::plain);
    g.setFont(font);
    for (int k = 0; k < numSteps; ++k)
    {
        const int v = displayed[(size_t)k];
        const float x = (float)(k * sw);

        // Toggle strip.
        const juce::Rectangle<float> t(x + 1.0f, 2.0f * sy, fsw - 2.0f * sx, 13.0f * sy);
        g.setColour(juce::Colour(0xff0d0d0d));
        g.fillRect(t);
        g.setColour(juce::Colour(0xff565656));
        g.drawRect(t, 1.0f);
        g.setColour(juce::Colour(0xff4e4e4e));
        g.fillRect(t.getX() + 1.0f, t.getY() + 1.0f, t.getWidth() - 2.0f, 1.0f);
        g.fillRect(t.getX() + 1.0f, t.getY() + 1.0f, 1.0f, t.getHeight() - 2.0f);
        const bool special = v == resetValue || v == offValue;
        g.setColour(juce::Colour(special ? 0xff00ffff : 0xff007777));
        g.drawText(v == offValue ? "OFF" : "RST", t, juce::Justification::centred, false);

        if (v > 100)
            continue;

        // Bar and value label.
        const float gain = (height - 30.0f * sy) / 100.0f;
        const float top = 13.0f * sy + (float)(int)((float)(100 - v) * gain) + 17.0f * sy;
        const juce::Rectangle<float> bar(x + sx, top, fsw - 2.0f * sx, height - top - 5.0f * sy);
        g.setColour(juce::Colour(0x252287a0));
        g.fillRect(bar);
        g.setColour(juce::Colour(0xff000000));
        g.drawRect(bar, 1.0f);

        const juce::Rectangle<float> label(x + sx, top - 13.0f * sy, fsw - 2.0f * sx, 13.0f * sy);
        if (sx < 0.2f)
        {
            g.setColour(juce::Colour(0xff4797ee));
            g.fillRect(label);
            continue;
        }
        g.setColour(juce::Colour(0xff0d0d0d));
        g.fillRect(label);
        g.setColour(juce::Colour(0xff4797ee));
        g.drawRect(label, 1.0f);
        g.setColour(juce::Colour(0xff0000ff));
        g.fillRect(label.getX() + 1.0f, label.getY() + 1.0f, label.getWidth() - 2.0f, 1.0f);
        g.fillRect(label.getX() + 1.0f, label.getY() + 1.0f, 1.0f, label.getHeight() - 2.0f);
        g.setColour(juce::Colour(0xff133254));
        g.fillRect(label.reduced(2.0f));
        g.setColour(juce::Colours::white);
        g.drawText(stepText(v, noteNames), label, juce::Justification::centred, false);
    }
}
} // namespace zentak
