// MenuSeam: every pop-up menu and file chooser of the window is shown through here, asynchronously
// (hosts cannot run modal loops). A test replaces the shower to choose an item without a display.
// Message thread only.
#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>
#include <memory>

namespace zentak::menus
{
/** Receives the chosen item id, or 0 when the menu was dismissed. */
using Result = std::function<void(int)>;
using Shower = std::function<void(juce::PopupMenu&& menu, juce::Component* target, Result result)>;

/** The shower in use: the framework's asynchronous pop-up, or a test's replacement. */
Shower& shower();

/** Shows menu at target (null: at the mouse) and calls result later with the chosen id. */
void show(juce::PopupMenu menu, juce::Component* target, Result result);

/** A result that runs choice only for a chosen item (never for a dismissed menu) and only while the
    owner of alive still exists. */
Result whileAlive(const std::shared_ptr<bool>& alive, std::function<void(int)> choice);

/** Replaces the shower while it lives (tests). */
struct ScopedShower
{
    explicit ScopedShower(Shower replacement) : previous(std::move(shower()))
    {
        shower() = std::move(replacement);
    }
    ~ScopedShower() { shower() = std::move(previous); }
    Shower previous;
};
} // namespace zentak::menus
