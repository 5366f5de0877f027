// ParamPage: what the editor page and the flash panel share: the eighteen parameter groups, the table
// from parameter number to value control, showing values without sending them, and turning the user's
// edits on the controls and envelope displays into gestures and values for the controller state. A page
// keeps per parameter whether it has a gesture open, so that coalesced change messages, toggles, wheel
// steps and value menus never leave a parameter latched or end a gesture that was never begun.
// Message thread only.
#pragma once

#include "ControlEdits.h"
#include "ui/groups/ParamGroup.h"

#include <array>
#include <memory>

namespace zentak
{

class ParamPage : public juce::Component, public juce::ChangeListener, public juce::ChangeBroadcaster
{
public:
    static constexpr int numControls = 128;

    ParamPage(MidiCntrState& state, bool keyModeHigher);
    ~ParamPage() override;

    /** The group of the given kind. */
    ParamGroup& group(groups::GroupId id) const { return *groupList[(size_t)id]; }
    const std::array<std::unique_ptr<ParamGroup>, groups::numGroups>& allGroups() const { return groupList; }
    /** The value control of parameter p (0..127), or nullptr. */
    StsCont* control(int p) const { return p >= 0 && p < numControls ? controlTable[(size_t)p] : nullptr; }

    /** Shows value v on the control of parameter p and on its envelope display; never sends. */
    void showValue(int p, int v);
    /** Forgets every shown value and shows the edit record's bytes (a whole program arrived). */
    void refreshFromEditRecord();
    /** Immediate repainting on or off for every control and envelope display, doing pending repaints. */
    void setImmediateRepaint(bool on);
    bool isGestureOpen(int p) const { return p < numControls && edits.isOpen(p); }

    void changeListenerCallback(juce::ChangeBroadcaster* source) override;

protected:
    MidiCntrState& controller;

private:
    void controlChanged(StsCont& c);
    void envelopeChanged(Envel& e);
    Envel* envelopeFor(int p, int& stage) const;

    std::array<std::unique_ptr<ParamGroup>, groups::numGroups> groupList;
    std::array<StsCont*, numControls> controlTable{};
    ControlEdits edits; // declared last: it ends what is still open while the controls still exist
};

} // namespace zentak
