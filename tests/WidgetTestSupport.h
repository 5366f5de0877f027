// Helpers for the widget tests: the shared skin, painting a component into an image, synthetic mouse
// and wheel events, and a listener that records what each change message carried.
#pragma once

#include "TestSupport.h"
#include "ui/widgets/StsResor.h"

#include <gtest/gtest.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>
#include <vector>

namespace zentak::test
{

/** Paints the component (and its children) into an ARGB image of its size. */
inline juce::Image render(juce::Component& c, juce::Colour backdrop = juce::Colours::transparentBlack)
{
    juce::Image image(juce::Image::ARGB, juce::jmax(1, c.getWidth()), juce::jmax(1, c.getHeight()), true);
    juce::Graphics g(image);
    g.fillAll(backdrop);
    c.paintEntireComponent(g, true);
    return image;
}

inline juce::Colour pixel(const juce::Image& image, int x, int y)
{
    return image.getPixelAt(x, y);
}

/** True when the two colours differ by at most tolerance in every channel. */
inline bool near(juce::Colour a, juce::Colour b, int tolerance = 2)
{
    return std::abs(a.getRed() - b.getRed()) <= tolerance &&
           std::abs(a.getGreen() - b.getGreen()) <= tolerance &&
           std::abs(a.getBlue() - b.getBlue()) <= tolerance &&
           std::abs(a.getAlpha() - b.getAlpha()) <= tolerance;
}

/** Counts the pixels of a region whose colour is near the given one. */
inline int countNear(const juce::Image& image, juce::Rectangle<int> r, juce::Colour c, int tolerance = 24)
{
    int n = 0;
    r = r.getIntersection(image.getBounds());
    for (int y = r.getY(); y < r.getBottom(); ++y)
        for (int x = r.getX(); x < r.getRight(); ++x)
            if (near(image.getPixelAt(x, y), c, tolerance))
                ++n;
    return n;
}

/** Counts the pixels of a region at least threshold brighter (or darker, for a negative threshold)
    than the given backdrop brightness: the ink of small anti-aliased text. */
inline int countInk(const juce::Image& image, juce::Rectangle<int> r, float backdrop, float threshold)
{
    int n = 0;
    r = r.getIntersection(image.getBounds());
    for (int y = r.getY(); y < r.getBottom(); ++y)
        for (int x = r.getX(); x < r.getRight(); ++x)
        {
            const float b = image.getPixelAt(x, y).getBrightness();
            if (threshold > 0 ? b >= backdrop + threshold : b <= backdrop + threshold)
                ++n;
        }
    return n;
}

inline const juce::ModifierKeys leftButton{juce::ModifierKeys::leftButtonModifier};
inline const juce::ModifierKeys rightButton{juce::ModifierKeys::rightButtonModifier};

/** A mouse event at (x, y) in c's coordinates; down is where the press began. */
inline juce::MouseEvent mouse(juce::Component& c, float x, float y, juce::ModifierKeys mods = leftButton,
                              juce::Point<float> down = {-1.0f, -1.0f})
{
    if (down.x < 0)
        down = {x, y};
    const auto now = juce::Time::getCurrentTime();
    return juce::MouseEvent(juce::Desktop::getInstance().getMainMouseSource(), {x, y}, mods,
                            juce::MouseInputSource::defaultPressure,
                            juce::MouseInputSource::defaultOrientation,
                            juce::MouseInputSource::defaultRotation, juce::MouseInputSource::defaultTiltX,
                            juce::MouseInputSource::defaultTiltY, &c, &c, now, down, now, 1, false);
}

inline juce::MouseWheelDetails wheel(float deltaY)
{
    juce::MouseWheelDetails w{};
    w.deltaY = deltaY;
    return w;
}

/** Records one snapshot per change callback, taken by the given function at callback time. */
template <typename Snapshot> class ChangeLog : public juce::ChangeListener
{
public:
    ChangeLog(juce::ChangeBroadcaster& b, std::function<Snapshot()> take)
        : broadcaster(b), snapshot(std::move(take))
    {
        broadcaster.addChangeListener(this);
    }
    ~ChangeLog() override { broadcaster.removeChangeListener(this); }

    void changeListenerCallback(juce::ChangeBroadcaster* source) override
    {
        sources.push_back(source);
        entries.push_back(snapshot());
    }

    /** Delivers the pending change message now and returns everything recorded so far. */
    const std::vector<Snapshot>& flush()
    {
        broadcaster.dispatchPendingMessages();
        return entries;
    }

    void clear()
    {
        broadcaster.dispatchPendingMessages();
        entries.clear();
        sources.clear();
    }

    juce::ChangeBroadcaster& broadcaster;
    std::function<Snapshot()> snapshot;
    std::vector<Snapshot> entries;
    std::vector<juce::ChangeBroadcaster*> sources;
};

/** The shared skin for the duration of a test. */
struct SkinTest : ::testing::Test
{
    juce::SharedResourcePointer<StsResor> skin;
};

} // namespace zentak::test
