#include "SkinLook.h"

#include "FontData.h"

namespace zentak
{
SkinLook::SkinLook()
    : regular(juce::Typeface::createSystemTypefaceFor(FontData::LiberationSansRegular_ttf,
                                                      (size_t)FontData::LiberationSansRegular_ttfSize)),
      bold(juce::Typeface::createSystemTypefaceFor(FontData::LiberationSansBold_ttf,
                                                   (size_t)FontData::LiberationSansBold_ttfSize))
{
}

juce::Typeface::Ptr SkinLook::getTypefaceForFont(const juce::Font& font)
{
    const auto& name = font.getTypefaceName();
    if (name == "Arial" || name == juce::Font::getDefaultSansSerifFontName())
    {
        auto face = font.isBold() ? bold : regular;
        if (face != nullptr)
            return face;
    }
    return juce::LookAndFeel_V2::getTypefaceForFont(font);
}
} // namespace zentak
