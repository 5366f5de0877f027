// SkinLook: the look-and-feel of the window. Its one duty beyond the framework's look is the typeface:
// every text of the skin asks for "Arial", which resolves here to the Liberation Sans faces compiled
// into the plug-in (metrically the same as Arial), so text is laid out identically on every machine.
// The framework asks the default look-and-feel for typefaces; StsResor installs this one as the
// default while the skin is in use. Message thread.
#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace zentak
{

class SkinLook : public juce::LookAndFeel_V2
{
public:
    SkinLook();

    /** "Arial" and the default sans-serif name give the embedded faces (bold for bold styles). */
    juce::Typeface::Ptr getTypefaceForFont(const juce::Font& font) override;

    juce::Typeface::Ptr regularFace() const { return regular; }
    juce::Typeface::Ptr boldFace() const { return bold; }

private:
    juce::Typeface::Ptr regular, bold;
};

} // namespace zentak
