// ParDes: the texts shown for parameter values, on the controls, in value menus, to the host and on
// the global settings panel. Pure functions without state; any thread may call the text functions.
// The menu functions build GUI objects and belong to the message thread.
#pragma once

#include <juce_core/juce_core.h>

#include <memory>

namespace juce
{
class PopupMenu;
class LookAndFeel_V2;
} // namespace juce

namespace zentak
{

class ParDes
{
public:
    /** Text of a program parameter value; kind is the parameter number (567 for sequencer steps). */
    static juce::String valueText(int kind, int value);

    /** Text of a global parameter value, by global parameter number. */
    static juce::String globalValueText(int number, int value);

    /** A value-list menu: one item per value 0..maximum, id value + 1. */
    static juce::PopupMenu valueMenu(int kind, int maximum);

    /** The same for a global parameter. */
    static juce::PopupMenu globalValueMenu(int number, int maximum);

    /** A look-and-feel with the pop-up menu colours every menu of the window uses. */
    static std::unique_ptr<juce::LookAndFeel_V2> menuLook();
};

} // namespace zentak
