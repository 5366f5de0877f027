// The value-list menus and the menu look; these build GUI objects (message thread).
#include "ParDesMenu.h"

#include "sounddata/ParDes.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace zentak
{
namespace
{
juce::PopupMenu buildMenu(int maximum, const std::function<juce::String(int)>& text)
{
    juce::PopupMenu menu;
    for (int v = 0; v <= maximum; ++v)
    {
        const auto t = text(v);
        if (t != "*/*")
            menu.addItem(v + 1, t, true, false);
    }
    return menu;
}
} // namespace

juce::PopupMenu ParDesMenu::valueMenu(int kind, int maximum)
{
    return buildMenu(maximum, [kind](int v) { return ParDes::valueText(kind, v); });
}

juce::PopupMenu ParDesMenu::globalValueMenu(int number, int maximum)
{
    return buildMenu(maximum, [number](int v) { return ParDes::globalValueText(number, v); });
}

std::unique_ptr<juce::LookAndFeel_V2> ParDesMenu::menuLook()
{
    auto look = std::make_unique<juce::LookAndFeel_V2>();
    look->setColour(juce::PopupMenu::backgroundColourId, juce::Colour(0xff000000));
    look->setColour(juce::PopupMenu::textColourId, juce::Colour(0xffffffff));
    look->setColour(juce::PopupMenu::headerTextColourId, juce::Colour(0xffffffff));
    look->setColour(juce::PopupMenu::highlightedBackgroundColourId, juce::Colour(0xff808080));
    look->setColour(juce::PopupMenu::highlightedTextColourId, juce::Colour(0xffffffff));
    return look;
}
} // namespace zentak
