// ParamGroup: one framed panel of the sound editor: its value controls laid out from its table, its
// titles, and for three groups an envelope display, for the sequencer group the SEQUENCER button. It
// edits nothing itself: the page that creates it collects the controls by parameter number, listens to
// them and shows their values. A right-button press on the panel (not on a control) is broadcast, so
// the page can show the group alone. Buffered to an image and opaque. Message thread only.
#pragma once

#include "GroupTables.h"
#include "synthlink/MidiCntrState.h"
#include "ui/widgets/Envel.h"
#include "ui/widgets/StsBut.h"
#include "ui/widgets/StsCont.h"
#include "ui/widgets/StsResor.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>
#include <vector>

namespace zentak
{

class ParamGroup : public juce::Component, public juce::ChangeBroadcaster
{
public:
    ParamGroup(MidiCntrState& state, groups::GroupId id);
    ~ParamGroup() override;

    groups::GroupId groupId() const { return id; }
    const groups::GroupTable& table() const { return groups::table(id); }

    /** The group's place on its page, unscaled; setDisplayScale places it there times the scale. */
    void setDesignBounds(int x, int y, int width, int height);
    juce::Rectangle<int> getDesignBounds() const { return design; }
    /** Lays out the controls, the envelope display and the button for s, then places the group. */
    void setDisplayScale(float s);
    float getScale() const { return scale; }

    /** The controls in the order of the group's table. */
    const std::vector<std::unique_ptr<StsCont>>& controls() const { return controlList; }
    /** The control of parameter p, or nullptr when this group does not show p. */
    StsCont* controlFor(int p) const;
    Envel* envelope() const { return envelopeDisplay.get(); }
    StsBut* sequencerButton() const { return seqButton.get(); }

    void paint(juce::Graphics& g) override;
    void mouseDown(const juce::MouseEvent& e) override;

private:
    MidiCntrState& controller;
    const groups::GroupId id;
    juce::SharedResourcePointer<StsResor> skin;
    juce::Rectangle<int> design;
    float scale = 1.0f;
    std::unique_ptr<Envel> envelopeDisplay;
    std::vector<std::unique_ptr<StsCont>> controlList;
    std::unique_ptr<StsBut> seqButton;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(ParamGroup)
};

// The eighteen groups by name: each is the one group class built from its own table.
#define ZENTAK_GROUP(ClassName, Id)                                                                          \
    class ClassName : public ParamGroup                                                                      \
    {                                                                                                        \
    public:                                                                                                  \
        explicit ClassName(MidiCntrState& state) : ParamGroup(state, groups::Id) {}                          \
    };
ZENTAK_GROUP(Grp_Amp, amp)
ZENTAK_GROUP(Grp_Contr, contr)
ZENTAK_GROUP(Grp_Delay, delay)
ZENTAK_GROUP(Grp_Dist, dist)
ZENTAK_GROUP(Grp_Env3, env3)
ZENTAK_GROUP(Grp_Ext_In, extIn)
ZENTAK_GROUP(Grp_Feedb, feedb)
ZENTAK_GROUP(Grp_HP_Flt, hpFlt)
ZENTAK_GROUP(Grp_KeyMode, keyMode)
ZENTAK_GROUP(Grp_LFO, lfo)
ZENTAK_GROUP(Grp_LowPassFlt, lowPassFlt)
ZENTAK_GROUP(Grp_Mod, mod)
ZENTAK_GROUP(Grp_Noise, noise)
ZENTAK_GROUP(Grp_Osc, osc)
ZENTAK_GROUP(Grp_Osc3_4_Mods, osc34Mods)
ZENTAK_GROUP(Grp_Out, out)
ZENTAK_GROUP(Grp_Out_Hack, outHack)
ZENTAK_GROUP(Grp_Seq, seq)
#undef ZENTAK_GROUP

/** A new group of the given kind, as its own class. */
std::unique_ptr<ParamGroup> makeGroup(groups::GroupId id, MidiCntrState& state);

} // namespace zentak
