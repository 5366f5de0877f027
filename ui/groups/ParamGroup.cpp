#include "ParamGroup.h"

namespace zentak
{
ParamGroup::ParamGroup(MidiCntrState& state, groups::GroupId groupId) : controller(state), id(groupId)
{
    const auto& s = table();
    setBufferedToImage(true);
    setOpaque(true);
    design = {0, 0, s.width, s.height};
    setSize(s.width, s.height);

    if (s.envelopeIndex >= 0)
    {
        envelopeDisplay = std::make_unique<Envel>();
        envelopeDisplay->envelopeIndex = s.envelopeIndex;
        envelopeDisplay->setDesignBounds(s.envelopeX, s.envelopeY, 218, 65);
        addAndMakeVisible(*envelopeDisplay);
    }

    for (const auto& row : s.controls)
    {
        auto c = std::make_unique<StsCont>();
        addChildComponent(*c);
        c->setup(row.parameter, row.label, row.minimum, row.maximum, row.kind, groups::boxWidthFor(row.kind));
        c->setDesignBounds((float)row.x, (float)row.y, (float)row.width, (float)row.height);
        controlList.push_back(std::move(c));
    }

    const auto patch =
        s.scheme == 'A' ? skin->makePatchA(s.patchWidth, s.patchHeight) : skin->makePatchB(s.patchWidth, s.patchHeight);
    for (size_t i = 0; i < controlList.size(); ++i)
        if (s.controls[i].extra == groups::none)
            controlList[i]->setBackgroundImage(patch);
    for (size_t i = 0; i < controlList.size(); ++i)
        controlList[i]->setVisible((s.controls[i].extra & groups::hidden) == 0);

    if (s.sequencerButton)
    {
        seqButton = std::make_unique<StsBut>("SEQUENCER", 98, StsBut::bevelled);
        addAndMakeVisible(*seqButton);
        seqButton->setup(13, 9, 95, 20, true);
    }
}

ParamGroup::~ParamGroup() = default;

void ParamGroup::setDesignBounds(int x, int y, int width, int height)
{
    design = {x, y, width, height};
    setBounds((int)((float)x * scale), (int)((float)y * scale), (int)((float)width * scale),
              (int)((float)height * scale));
}

void ParamGroup::setDisplayScale(float s)
{
    scale = s;
    for (auto& c : controlList)
        c->setDisplayScale(s);
    if (envelopeDisplay != nullptr)
        envelopeDisplay->setDisplayScale(s);
    if (seqButton != nullptr)
    {
        seqButton->setFontSize(12.0f * s);
        seqButton->setBounds((int)(13.0f * s), (int)(9.0f * s), (int)(95.0f * s), (int)(20.0f * s));
    }
    setBounds((int)((float)design.getX() * s), (int)((float)design.getY() * s), (int)((float)design.getWidth() * s),
              (int)((float)design.getHeight() * s));
    repaint();
}

StsCont* ParamGroup::controlFor(int p) const
{
    for (const auto& c : controlList)
        if (c->parameterNumber == p)
            return c.get();
    return nullptr;
}

void ParamGroup::paint(juce::Graphics& g)
{
    const auto& s = table();
    if (s.scheme == 'A')
        skin->paintPanelA(g, scale, s.width, s.height);
    else
        skin->paintPanelB(g, scale, s.width, s.height);
    g.setFont(juce::Font("Arial", 14.0f * scale, juce::Font::bold));
    for (const auto& t : s.titles)
        g.drawSingleLineText(t.text, (int)((float)t.x * scale), (int)((float)t.baseline * scale));
}

void ParamGroup::mouseDown(const juce::MouseEvent& e)
{
    if (e.mods.isPopupMenu())
        sendChangeMessage();
}

std::unique_ptr<ParamGroup> makeGroup(groups::GroupId id, MidiCntrState& state)
{
    switch (id)
    {
    case groups::amp: return std::make_unique<Grp_Amp>(state);
    case groups::contr: return std::make_unique<Grp_Contr>(state);
    case groups::delay: return std::make_unique<Grp_Delay>(state);
    case groups::dist: return std::make_unique<Grp_Dist>(state);
    case groups::env3: return std::make_unique<Grp_Env3>(state);
    case groups::extIn: return std::make_unique<Grp_Ext_In>(state);
    case groups::feedb: return std::make_unique<Grp_Feedb>(state);
    case groups::hpFlt: return std::make_unique<Grp_HP_Flt>(state);
    case groups::keyMode: return std::make_unique<Grp_KeyMode>(state);
    case groups::lfo: return std::make_unique<Grp_LFO>(state);
    case groups::lowPassFlt: return std::make_unique<Grp_LowPassFlt>(state);
    case groups::mod: return std::make_unique<Grp_Mod>(state);
    case groups::noise: return std::make_unique<Grp_Noise>(state);
    case groups::osc: return std::make_unique<Grp_Osc>(state);
    case groups::osc34Mods: return std::make_unique<Grp_Osc3_4_Mods>(state);
    case groups::out: return std::make_unique<Grp_Out>(state);
    case groups::outHack: return std::make_unique<Grp_Out_Hack>(state);
    case groups::seq: return std::make_unique<Grp_Seq>(state);
    case groups::numGroups: break;
    }
    return nullptr;
}
} // namespace zentak
