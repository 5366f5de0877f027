#include "ParamPage.h"

#include "sounddata/ParDes.h"

namespace zentak
{
namespace
{
/** Where each group sits on the page, unscaled, by GroupId. */
constexpr int placement[groups::numGroups][4] = {
    {726, 396, 252, 220},  // Grp_Amp
    {1221, 160, 376, 220}, // Grp_Contr
    {1257, 396, 252, 220}, // Grp_Delay
    {1165, 396, 89, 220},  // Grp_Dist
    {7, 0, 569, 154},      // Grp_Env3
    {7, 458, 255, 158},    // Grp_Ext_In
    {1073, 396, 89, 220},  // Grp_Feedb
    {981, 396, 89, 220},   // Grp_HP_Flt
    {1424, 72, 173, 82},   // Grp_KeyMode
    {579, 0, 568, 154},    // Grp_LFO
    {345, 396, 378, 220},  // Grp_LowPassFlt
    {703, 160, 372, 220},  // Grp_Mod
    {265, 506, 69, 110},   // Grp_Noise
    {7, 160, 330, 279},    // Grp_Osc
    {1079, 160, 139, 220}, // Grp_Osc3_4_Mods
    {1512, 507, 85, 109},  // Grp_Out
    {1512, 396, 85, 109},  // Grp_Out_Hack
    {1150, 0, 271, 154},   // Grp_Seq
};

/** The first of the four parameters (attack, decay, sustain, release) each envelope display drives. */
constexpr int envelopeFirstParameter[3] = {26, 18, 50};
} // namespace

ParamPage::ParamPage(MidiCntrState& state, bool keyModeHigher)
    : controller(state), edits(state, [this](StsCont& c, int v) { showValue(c.parameterNumber, v); })
{
    for (int i = 0; i < groups::numGroups; ++i)
    {
        auto g = makeGroup((groups::GroupId)i, state);
        const auto* b = placement[i];
        const int y = i == groups::keyMode && keyModeHigher ? 58 : b[1];
        addChildComponent(*g);
        g->setDesignBounds(b[0], y, b[2], b[3]);
        for (const auto& c : g->controls())
            if (c->parameterNumber >= 0 && c->parameterNumber < numControls)
                controlTable[(size_t)c->parameterNumber] = c.get();
        groupList[(size_t)i] = std::move(g);
    }
    for (auto* c : controlTable)
        if (c != nullptr)
            c->addChangeListener(this);
    for (auto& g : groupList)
        if (auto* e = g->envelope())
            e->addChangeListener(this);
    for (int p : {10, 14})
        if (auto* c = control(p))
            c->waveSource = &controller.waveBank();
}

ParamPage::~ParamPage()
{
    for (auto* c : controlTable)
        if (c != nullptr)
            c->removeChangeListener(this);
    for (auto& g : groupList)
        if (auto* e = g->envelope())
            e->removeChangeListener(this);
}

Envel* ParamPage::envelopeFor(int p, int& stage) const
{
    for (auto& g : groupList)
        if (auto* e = g->envelope())
        {
            const int first = envelopeFirstParameter[e->envelopeIndex];
            if (p >= first && p < first + 4)
            {
                stage = p - first;
                return e;
            }
        }
    return nullptr;
}

void ParamPage::showValue(int p, int v)
{
    auto* c = control(p);
    if (c == nullptr)
        return;
    c->showValue(v, ParDes::valueText(p, v));
    int stage = 0;
    if (auto* e = envelopeFor(p, stage))
        e->setStage(stage, (float)v);
}

void ParamPage::refreshFromEditRecord()
{
    for (int p = 0; p < numControls; ++p)
        if (auto* c = control(p))
        {
            c->forgetValue();
            showValue(p, controller.editByte(p));
        }
}

void ParamPage::setImmediateRepaint(bool on)
{
    for (auto* c : controlTable)
        if (c != nullptr)
        {
            c->immediateRepaint = on;
            if (c->repaintPending)
            {
                c->repaintPending = false;
                c->repaint();
            }
        }
    for (auto& g : groupList)
        if (auto* e = g->envelope())
        {
            e->immediateRepaint = on;
            if (e->repaintPending)
            {
                e->repaintPending = false;
                e->repaint();
            }
        }
}

void ParamPage::changeListenerCallback(juce::ChangeBroadcaster* source)
{
    for (auto* c : controlTable)
        if (c == source)
        {
            controlChanged(*c);
            return;
        }
    for (auto& g : groupList)
        if (g->envelope() == source)
        {
            envelopeChanged(*g->envelope());
            return;
        }
}

void ParamPage::controlChanged(StsCont& c)
{
    // A knob is held while it is dragged, or while its envelope display drives it.
    int stage = 0;
    const auto* e = envelopeFor(c.parameterNumber, stage);
    edits.controlChanged(c, c.isDragging() || (e != nullptr && e->isDragging()));
}

void ParamPage::envelopeChanged(Envel& e)
{
    const int first = envelopeFirstParameter[e.envelopeIndex];
    switch (e.changeKind)
    {
    case 1:
    {
        const float values[4] = {e.attack, e.decay, e.sustain, e.release};
        for (int k = 0; k < 4; ++k)
            if (auto* c = control(first + k))
                c->requestValue(juce::roundToInt(values[k]));
        return;
    }
    case 66:
        for (int k = 0; k < 4; ++k)
            edits.endIfOpen(first + k);
        return;
    case 67:
        for (int k = 0; k < 4; ++k)
            edits.beginIfClosed(first + k);
        return;
    default:
        return;
    }
}
} // namespace zentak
