// StsResor: the one shared holder of the skin: the panel textures and corners, the keyboard's key and
// shadow images, and the look-and-feel whose typefaces give every "Arial" text the embedded faces.
// It is never shown. It draws the framed panels of the parameter groups, makes the texture patches
// that controls copy as their background, and draws the keyboard's shadow strip.
//
// Ownership: the controller state lives in the GUI-free core and so cannot hold this class. The GUI
// obtains it through juce::SharedResourcePointer<StsResor>: it is built when the first window needs it,
// decoded once and shared by every window and plug-in instance of the process, and released with the
// last holder. Widgets that draw with it receive a StsResor pointer or reference from their owner.
// While it lives, its SkinLook is the framework's default look-and-feel.
//
// Message thread only.
#pragma once

#include "SkinLook.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace zentak
{

class StsResor : public juce::Component
{
public:
    StsResor();
    ~StsResor() override;

    /** A framed panel of the unscaled size width x height, drawn at the given scale. Scheme A: deep
        blue texture A; scheme B: steel blue texture B. Leaves the outline colour 0xFFE4E4E4 set. */
    void paintPanelA(juce::Graphics& g, float scale, int width, int height) const;
    void paintPanelB(juce::Graphics& g, float scale, int width, int height) const;

    /** A new unscaled RGB image of the given size, tiled with texture A or B. */
    juce::Image makePatchA(int width, int height) const;
    juce::Image makePatchB(int width, int height) const;

    /** The keyboard's shadow strip at x (scaled) and width c (unscaled, 1..1440; 10 below 1). */
    void paintKeyboardShadow(juce::Graphics& g, float scale, int x, int width) const;

    SkinLook& look() { return skinLook; }

    juce::Image keyboardShadow;
    juce::Image cornerA_BL, cornerA_BR, cornerA_TL, cornerA_TR;
    juce::Image textureA;
    juce::Image cornerB_BL, cornerB_BR, cornerB_TL, cornerB_TR;
    juce::Image textureB;
    juce::Image whiteKey, whiteKeyDown;
    juce::Image blackKey, blackKeyDown;

private:
    struct Scheme
    {
        const juce::Image& texture;
        const juce::Image &topLeft, &topRight, &bottomLeft, &bottomRight;
    };
    static void paintPanel(juce::Graphics& g, const Scheme& scheme, float scale, int width, int height);
    static juce::Image makePatch(const juce::Image& texture, int width, int height);

    SkinLook skinLook;

    JUCE_DECLARE_NON_COPYABLE(StsResor)
};

} // namespace zentak
