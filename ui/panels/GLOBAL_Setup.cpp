#include "GLOBAL_Setup.h"

#include "sounddata/ParDes.h"

namespace zentak
{
namespace
{
constexpr juce::uint32 boxFill = 0xff0b095f;
}

const std::array<GLOBAL_Setup::Row, GLOBAL_Setup::numControls>& GLOBAL_Setup::rows()
{
    static const std::array<Row, numControls> table{{
        {3, "Transpose", 0, 72, StsCont::knob, 78, 72, 100, 66},
        {2, "Master Volume", 0, 100, StsCont::knob, 6, 72, 100, 66},
        {11, "Fine Tune", 0, 100, StsCont::knob, 138, 72, 100, 66},
        {4, "Tempo", 20, 250, StsCont::knob, 189, 152, 100, 66},
        {10, "Input Gain", 0, 24, StsCont::knob, 6, 152, 100, 66},
        {5, "Clock Divide", 0, 12, StsCont::selector, 276, 160, 67, 32},
        {9, "Poly Chain", 0, 2, StsCont::selector, 92, 160, 110, 32},
        {14, "MIDI Channel", 0, 16, StsCont::selector, 10, 29, 90, 32},
        {6, "Use Program Tempo", 0, 1, StsCont::ledSwitch, 220, 78, 180, 20},
        {8, "Lock Sequence", 0, 1, StsCont::ledSwitch, 220, 113, 180, 20},
        {7, "MIDI Clock Select", 0, 6, StsCont::selector, 215, 29, 150, 32},
    }};
    return table;
}

GLOBAL_Setup::GLOBAL_Setup()
{
    for (size_t i = 0; i < controlList.size(); ++i)
    {
        const auto& row = rows()[i];
        auto c = std::make_unique<StsCont>();
        c->setup(row.parameter, row.label, row.minimum, row.maximum, row.kind, 77);
        c->setDesignBounds((float)row.x, (float)row.y, (float)row.width, (float)row.height);
        // Drawn straight onto the box: the controls' places overlap a little, and a filled control
        // would cover its neighbour's caption.
        addAndMakeVisible(*c);
        controlList[i] = std::move(c);
    }
    ok.setup(311, 364, 50, 18, true);
    ok.addChangeListener(this);
    addAndMakeVisible(ok);
}

GLOBAL_Setup::~GLOBAL_Setup()
{
    ok.removeChangeListener(this);
}

void GLOBAL_Setup::layout(int width, int height)
{
    leftX = (width - boxWidth) / 2;
    for (size_t i = 0; i < controlList.size(); ++i)
    {
        const auto& row = rows()[i];
        controlList[i]->setDesignBounds((float)(leftX + row.x), (float)(boxTop + row.y), (float)row.width,
                                        (float)row.height);
    }
    ok.setBounds(leftX + 311, 364, 50, 18);
    setBounds(0, 28, width, height);
    setVisible(true);
}

void GLOBAL_Setup::showControlValue(StsCont& c, int v)
{
    c.showValue(v, ParDes::globalValueText(c.parameterNumber, juce::jlimit(c.minimum, c.maximum, v)));
}

void GLOBAL_Setup::showMainParameters(const GlobalRecord& values)
{
    for (auto& c : controlList)
    {
        c->forgetValue(); // shown even when it equals what the control starts with
        showControlValue(*c, values.get(c->parameterNumber));
    }
}

StsCont* GLOBAL_Setup::controlFor(int parameter) const
{
    for (auto& c : controlList)
        if (c->parameterNumber == parameter)
            return c.get();
    return nullptr;
}

void GLOBAL_Setup::changeListenerCallback(juce::ChangeBroadcaster* source)
{
    if (source != &ok)
        return;
    lastCommand = okPressed;
    sendChangeMessage();
}

void GLOBAL_Setup::paint(juce::Graphics& g)
{
    g.fillAll(juce::Colour(0x66000000));
    const juce::Rectangle<float> box((float)leftX, (float)boxTop, (float)boxWidth, (float)boxHeight);
    g.setColour(juce::Colour(boxFill));
    g.fillRoundedRectangle(box, 10.0f);
    g.setColour(juce::Colour(0xffdadada));
    g.drawRoundedRectangle(box, 10.0f, 3.0f);
    g.setFont(juce::Font("Arial", 14.0f, juce::Font::bold));
    g.drawSingleLineText("GLOBAL SETTINGS", leftX + 9, 167);
}
} // namespace zentak
