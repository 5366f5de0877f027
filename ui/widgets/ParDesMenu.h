// ParDesMenu: the value-list menus of the program and global parameters, built from their value texts,
// and the look every menu of the window shows. They build GUI objects: message thread only.
#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

namespace zentak
{
class ParDesMenu
{
public:
    /** A value-list menu: one item per value 0..maximum, id value + 1. */
    static juce::PopupMenu valueMenu(int kind, int maximum);

    /** The same for a global parameter. */
    static juce::PopupMenu globalValueMenu(int number, int maximum);

    /** A look-and-feel with the pop-up menu colours every menu of the window uses. */
    static std::unique_ptr<juce::LookAndFeel_V2> menuLook();
};
} // namespace zentak
