// Shared helpers of the skin art generator: image creation, the embedded fonts, tileable noise,
// mean-colour correction and a few drawing shapes. Single-threaded console program.
#pragma once

#include <juce_graphics/juce_graphics.h>

#include <functional>
#include <vector>

namespace artgen
{

/** One skin image: its resource name (file name without ".png") and the function that draws it. */
struct ArtItem
{
    juce::String name;
    std::function<juce::Image()> make;
};

std::vector<ArtItem> controlArt(); // knob, value box, LEDs, buttons, grid, wheel
std::vector<ArtItem> screenArt();  // envelope, glass, LCD, sequencer screen
std::vector<ArtItem> panelArt();   // textures, corners, keyboard pieces, connectors
std::vector<ArtItem> logoArt();    // logos, swoosh, about picture

/** A cleared image; ARGB (transparent) or RGB (black). */
juce::Image blank(int w, int h, bool alpha = true);

/** Liberation Sans at a pixel height, regular or bold. */
juce::Font sans(float height, bool bold = false);
/** Drops the typefaces that sans() keeps (before the framework shuts down). */
void releaseFonts();

/** Deterministic tileable value noise in 0..1 with the given lattice period (must divide size). */
class TileNoise
{
public:
    TileNoise(int size, int period, juce::int64 seed);
    float at(float x, float y) const;

private:
    int size, period, cells;
    std::vector<float> lattice;
};

/** Shifts every pixel so that the image's mean colour over opaque pixels becomes the target. */
void setMeanColour(juce::Image& image, juce::Colour target);

/** Mean colour of an image over pixels with alpha above 0. */
juce::Colour meanColour(const juce::Image& image);

/** Fills a soft shadow: concentric rounded rectangles of falling alpha. */
void softShadow(juce::Graphics& g, juce::Rectangle<float> r, float corner, float spread, float alpha);

/** Text with tracking (extra pixels between letters), left edge at x, baseline at y. */
void trackedText(juce::Graphics& g, const juce::String& text, float x, float y, float tracking);
float trackedWidth(const juce::Font& font, const juce::String& text, float tracking);

/** The product's emblem: a ring with a "Z" cut through it, fitted into the square r. */
void drawEmblem(juce::Graphics& g, juce::Rectangle<float> r);

/** A small knob seen from above (about picture), centre c, radius r, pointer angle in radians. */
void drawMiniKnob(juce::Graphics& g, juce::Point<float> c, float r, float angle);

} // namespace artgen
