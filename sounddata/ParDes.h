// ParDes: the texts shown for parameter values, on the controls, in value menus, to the host and on
// the global settings panel. Pure functions without state; any thread may call the text functions.
// The value-list menus built from these texts live with the widgets (ParDesMenu).
#pragma once

#include <juce_core/juce_core.h>

#include <memory>


namespace zentak
{

class ParDes
{
public:
    /** Text of a program parameter value; kind is the parameter number (567 for sequencer steps). */
    static juce::String valueText(int kind, int value);

    /** Text of a global parameter value, by global parameter number. */
    static juce::String globalValueText(int number, int value);
};

} // namespace zentak
