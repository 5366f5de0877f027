#include "SeqPanel.h"

#include "sounddata/ParDes.h"
#include "ui/main/MenuSeam.h"

namespace zentak
{
namespace
{
struct ControlRow
{
    int parameter;
    const char* label;
    int minimum, maximum, kind;
    int x, y, width, height;
};

// Normal view, unscaled. The trigger selector decides what starts and resets the sequences, so it sits
// with the tempo and clock on the page.
constexpr ControlRow controlRows[SeqPanel::numControls] = {
    {56, "Seq 1 Destination", 0, 75, StsCont::selector, 14, 54, 105, 32},
    {57, "Seq 2 Destination", 0, 75, StsCont::selector, 14, 222, 105, 32},
    {58, "Seq 3 Destination", 0, 75, StsCont::selector, 14, 388, 105, 32},
    {59, "Seq 4 Destination", 0, 75, StsCont::selector, 14, 548, 105, 32},
    {66, "Tempo", 30, 250, StsCont::knob, 785, 53, 65, 64},
    {67, "Clock Divide", 0, 12, StsCont::selector, 686, 69, 67, 32},
    {54, "Trigger", 0, 13, StsCont::selector, 686, 16, 100, 32},
};

constexpr int laneX = 123, laneY[SeqPanel::numLanes] = {3, 167, 333, 498}, laneW = 522, laneH = 155;
constexpr int largeLane[4] = {88, 100, 976, 522};
constexpr int overviewX = 220, overviewPitch = 143, overviewY = 20, overviewW = 136, overviewH = 60;
constexpr int editButtonY[SeqPanel::numLanes] = {105, 270, 435, 600};
constexpr int hiddenSelectorY[SeqPanel::numLanes] = {56, 224, 390, 550};
constexpr juce::uint32 pageColour = 0xff00002f, boxColour = 0xff1f3b74, boxLine = 0xffe4e4e4;
} // namespace

SeqPanel::SeqPanel(MidiCntrState& state)
    : controller(state), edits(state, [this](StsCont& c, int v) { showControl(c, v); })
{
    setOpaque(true);
    for (size_t i = 0; i < controls.size(); ++i)
    {
        const auto& row = controlRows[i];
        auto c = std::make_unique<StsCont>();
        c->setup(row.parameter, row.label, row.minimum, row.maximum, row.kind, 77);
        c->setDesignBounds((float)row.x, (float)row.y, (float)row.width, (float)row.height);
        c->fillsBackground = true;
        c->fillColour = boxColour;
        c->setOpaque(true);
        addAndMakeVisible(*c);
        c->addChangeListener(this);
        controls[i] = std::move(c);
    }

    program = std::make_unique<StsBut>("PROGRAM", 97, StsBut::bevelled);
    program->setup(1076, 12, 110, 30, true);
    addAndMakeVisible(*program);
    for (int k = 0; k < numLanes; ++k)
    {
        auto b = std::make_unique<StsBut>("Edit", 0, StsBut::bevelled);
        b->setup(40, editButtonY[k], 60, 18, true);
        addAndMakeVisible(*b);
        b->addChangeListener(this);
        editButtons[(size_t)k] = std::move(b);
    }
    drawMode = std::make_unique<StsBut>("Draw Mode", 0, StsBut::bevelled);
    drawMode->setup(690, 127, 60, 18, true);
    addAndMakeVisible(*drawMode);
    drawMode->addChangeListener(this);
    ok = std::make_unique<StsBut>("OK", 0, StsBut::bevelled);
    ok->setup(980, 46, 72, 26, true);
    addChildComponent(*ok);
    ok->addChangeListener(this);

    for (int k = 0; k < numLanes; ++k)
    {
        auto l = std::make_unique<SeqClass>(controller, k);
        addAndMakeVisible(*l);
        l->addChangeListener(this);
        lanes[(size_t)k] = std::move(l);
    }

    layoutNormal();
    scaleNormal();
    setSize(designWidth, designHeight);
}

SeqPanel::~SeqPanel()
{
    *alive = false;
    for (auto& c : controls)
        c->removeChangeListener(this);
    for (auto& b : editButtons)
        b->removeChangeListener(this);
    drawMode->removeChangeListener(this);
    ok->removeChangeListener(this);
    for (auto& l : lanes)
        l->removeChangeListener(this);
}

StsCont* SeqPanel::control(int p) const
{
    for (const auto& c : controls)
        if (c->parameterNumber == p)
            return c.get();
    return nullptr;
}

// Views -------------------------------------------------------------------------------------------------

void SeqPanel::layoutNormal()
{
    for (size_t i = 0; i < controls.size(); ++i)
        controls[i]->setDesignPosition((float)controlRows[i].x, (float)controlRows[i].y);
    for (int k = 0; k < numLanes; ++k)
    {
        lanes[(size_t)k]->setDisplayMode(SeqClass::normal);
        lanes[(size_t)k]->setLayout(laneX, laneY[k], laneW, laneH);
        editButtons[(size_t)k]->setVisible(true);
    }
    program->setVisible(true);
    ok->setVisible(false);
}

void SeqPanel::scaleControlsAndLanes()
{
    for (auto& c : controls)
        c->setDisplayScale(scale);
    for (auto& l : lanes)
        l->setScale(scale);
}

void SeqPanel::placeButton(StsBut& b, int x, int y, int w, int h, float text)
{
    b.setBounds((int)((float)x * scale), (int)((float)y * scale), (int)((float)w * scale),
                (int)((float)h * scale));
    b.setFontSize(text * scale);
}

void SeqPanel::scaleNormal()
{
    scaleControlsAndLanes();
    placeButton(*program, 1076, 12, 110, 30, 15.0f);
    for (int k = 0; k < numLanes; ++k)
        placeButton(*editButtons[(size_t)k], 40, editButtonY[k], 60, 18, k == 0 ? 10.0f : 11.0f);
    placeButton(*drawMode, 690, 127, 60, 18, 11.0f);
}

void SeqPanel::scaleLaneEditing()
{
    scaleControlsAndLanes();
    placeButton(*drawMode, 980, 12, 72, 26, 12.0f);
    placeButton(*ok, 980, 46, 72, 26, 13.0f);
}

void SeqPanel::setScale(float s)
{
    scale = s;
    if (laneEditing)
        scaleLaneEditing();
    else
        scaleNormal();
    repaint();
}

void SeqPanel::openLaneEditing(int laneIndex)
{
    selected = juce::jlimit(0, numLanes - 1, laneIndex);
    laneEditing = true;
    program->setVisible(false);
    for (auto& b : editButtons)
        b->setVisible(false);
    ok->setVisible(true);
    tempo().setDesignPosition(900, 17);
    clockDivide().setDesignPosition(820, 36);
    trigger().setDesignPosition(-1500, 16);
    for (int k = 0; k < numLanes; ++k)
    {
        auto& l = *lanes[(size_t)k];
        l.setDisplayMode(SeqClass::overview);
        if (k != selected)
        {
            l.setLayout(overviewX + overviewPitch * k, overviewY, overviewW, overviewH);
            destination(k).setDesignPosition(-1500, (float)hiddenSelectorY[k]);
        }
    }
    auto& big = *lanes[(size_t)selected];
    big.setLayout(largeLane[0], largeLane[1], largeLane[2], largeLane[3]);
    big.setDisplayMode(SeqClass::large);
    destination(selected).setDesignPosition(97, 38);
    scaleLaneEditing();
    repaint();
}

void SeqPanel::closeLaneEditing()
{
    laneEditing = false;
    layoutNormal();
    scaleNormal();
    repaint();
}

// Values --------------------------------------------------------------------------------------------------

void SeqPanel::showControl(StsCont& c, int v)
{
    const int p = c.parameterNumber;
    c.showValue(v, ParDes::valueText(p, v));
    if (p >= 56 && p <= 59)
        lanes[(size_t)(p - 56)]->setNoteNames(c.value);
}

void SeqPanel::showValue(int p, int v)
{
    if (auto* c = control(p))
        showControl(*c, v);
}

void SeqPanel::showStep(int p, int v)
{
    if (p < params::firstSeqStep || p >= params::numProgramParams)
        return;
    const int i = p - params::firstSeqStep;
    lanes[(size_t)(i / 16)]->showStep(i % 16, v);
}

void SeqPanel::refreshFromEditRecord()
{
    for (auto& c : controls)
    {
        c->forgetValue();
        showControl(*c, controller.editByte(c->parameterNumber));
    }
    for (int k = 0; k < numLanes; ++k)
    {
        std::uint8_t steps[16];
        for (int i = 0; i < 16; ++i)
            steps[i] = controller.editByte(params::firstSeqStep + 16 * k + i);
        lanes[(size_t)k]->loadSteps(steps);
    }
}

// Edits ---------------------------------------------------------------------------------------------------

void SeqPanel::request(int code, int argument)
{
    requestCode = code;
    requestArgument = argument;
    sendChangeMessage();
}

void SeqPanel::laneEvents(SeqClass& l)
{
    const int offset = 16 * l.getLaneIndex();
    for (const auto& e : l.takeEvents())
    {
        const int p = e.index + offset;
        switch (e.kind)
        {
        case SeqClass::newValue:
            controller.notifyHostValue(p, e.value);
            break;
        case SeqClass::gestureStart:
            edits.beginIfClosed(p);
            break;
        case SeqClass::gestureEnd:
            edits.endIfOpen(p);
            break;
        case SeqClass::openRequest:
            request(openLaneEditingRequest, l.getLaneIndex());
            break;
        default:
            break;
        }
    }
}

juce::PopupMenu SeqPanel::buildDrawModeMenu() const
{
    juce::PopupMenu menu;
    const auto& first = *lanes[0];
    menu.addItem(1, "Sliders", true, first.getEditMode() == SeqClass::sliders);
    menu.addItem(2, "Pen", true, first.getEditMode() == SeqClass::pen);
    menu.addSeparator();
    menu.addItem(3, "Quantize", true, first.getQuantize());
    return menu;
}

void SeqPanel::drawModeChosen(int id)
{
    const bool quantize = !lanes[0]->getQuantize();
    for (auto& l : lanes)
    {
        if (id == 1 || id == 2)
            l->setEditMode(id == 1 ? SeqClass::sliders : SeqClass::pen);
        else if (id == 3)
            l->setQuantize(quantize);
    }
}

void SeqPanel::changeListenerCallback(juce::ChangeBroadcaster* source)
{
    for (auto& c : controls)
        if (source == c.get())
        {
            edits.controlChanged(*c, c->isDragging());
            return;
        }
    for (auto& l : lanes)
        if (source == l.get())
        {
            laneEvents(*l);
            return;
        }
    if (source == ok.get())
    {
        closeLaneEditing();
        request(laneEditingClosed, 0);
        return;
    }
    for (int k = 0; k < numLanes; ++k)
        if (source == editButtons[(size_t)k].get())
        {
            lanes[(size_t)k]->queueEvent(SeqClass::openRequest, 0, 0);
            return;
        }
    if (source == drawMode.get())
    {
        std::weak_ptr<bool> pageAlive = alive;
        menus::show(buildDrawModeMenu(), drawMode.get(),
                    [this, pageAlive](int id)
                    {
                        if (!pageAlive.expired())
                            drawModeChosen(id);
                    });
    }
}

// Painting ------------------------------------------------------------------------------------------------

void SeqPanel::paint(juce::Graphics& g)
{
    const float s = scale;
    g.fillAll(juce::Colour(pageColour));
    const auto box = [&g, s](float x, float y, float w, float h)
    {
        g.setColour(juce::Colour(boxColour));
        g.fillRoundedRectangle(x, y, w, h, 10.0f * s);
        g.setColour(juce::Colour(boxLine));
        g.drawRoundedRectangle(x, y, w, h, 10.0f * s, 2.0f * s);
    };
    const auto title = [&g](const juce::String& text, float x, float y)
    {
        g.setColour(juce::Colours::white);
        g.drawSingleLineText(text, juce::roundToInt(x), juce::roundToInt(y), juce::Justification::left);
    };

    if (!laneEditing)
    {
        box(8.0f * s, 1.0f, 850.0f * s, 158.0f * s);
        for (float y : {166.0f, 331.0f, 496.0f})
            box(8.0f * s, y * s, 660.0f * s, 158.0f * s);
        g.setFont(juce::Font("Arial", 14.0f * s, juce::Font::bold));
        const float titleY[numLanes] = {18.0f, 183.0f, 348.0f, 513.0f};
        for (int k = 0; k < numLanes; ++k)
            title("SEQUENCER  " + juce::String(k + 1), 21.0f * s, titleY[k] * s);
        return;
    }

    box(78.0f * s, 2.0f, 992.0f * s, 84.0f * s);
    box(78.0f * s, 95.0f * s, 992.0f * s, 532.0f * s);
    g.setFont(juce::Font("Arial", 14.0f * s, juce::Font::bold));
    title("SEQUENCER  " + juce::String(selected + 1), 91.0f * s, 18.0f * s);
    g.setFont(juce::Font("Arial", 11.0f * s, juce::Font::plain));
    for (int k = 0; k < numLanes; ++k)
        title("SEQUENCER " + juce::String(k + 1), (float)(250 + overviewPitch * k) * s, 16.0f * s);
    g.setColour(juce::Colour(0xff2e3236));
    g.fillRect((float)(overviewX + overviewPitch * selected) * s, 20.0f * s, 136.0f * s, 58.0f * s);
}
} // namespace zentak
