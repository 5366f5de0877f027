#include "MIDI_Setup.h"

#include "ui/main/MenuSeam.h"

namespace zentak
{
MIDI_Setup::MIDI_Setup(MidiCntrState* state) : controller(state)
{
    status.setup("------", "Arial", 13.0f, juce::Justification::centredLeft);
    status.setBounds(60, 30, 400, 14); // in line with the port fields, clear of the box's corner
    addAndMakeVisible(status);
    ok.setup(690, 240, 74, 18, true);
    ok.addButtonListener(this);
    addAndMakeVisible(ok);
}

MIDI_Setup::~MIDI_Setup()
{
    ok.removeButtonListener(this);
}

void MIDI_Setup::setPortLists(const juce::StringArray& inputs, const juce::StringArray& outputs)
{
    inputNames = juce::StringArray("NONE");
    inputNames.addArray(inputs);
    outputNames = juce::StringArray("NONE");
    outputNames.addArray(outputs);
}

void MIDI_Setup::mouseDown(const juce::MouseEvent& e)
{
    if (e.x < 61 || e.x > 349)
        return;
    if (e.y >= 61 && e.y <= 83)
        openPortMenu(true);
    else if (e.y >= 111 && e.y <= 133)
        openPortMenu(false);
}

void MIDI_Setup::openPortMenu(bool input)
{
    const auto& names = input ? inputNames : outputNames;
    if (names.size() < 2)
        return; // only "NONE": there is no device to choose
    juce::PopupMenu menu;
    const int selected = input ? selectedInput : selectedOutput;
    for (int i = 0; i < names.size(); ++i)
        menu.addItem(i + 1, names[i], true, i == selected);
    juce::Component::SafePointer<MIDI_Setup> self(this);
    menus::show(std::move(menu), nullptr,
                [self, input](int id)
                {
                    if (id > 0 && self != nullptr)
                        self->choose(input, id - 1);
                });
}

void MIDI_Setup::choose(bool input, int entry)
{
    if (entry < 0 || entry >= (input ? inputNames : outputNames).size())
        return;
    (input ? selectedInput : selectedOutput) = entry;
    lastCommand = input ? inputChosen : outputChosen;
    lastValue = entry;
    sendChangeMessage();
}

void MIDI_Setup::stsbutChanged(StsBut& button)
{
    if (&button != &ok)
        return;
    lastCommand = okPressed;
    sendChangeMessage();
}

void MIDI_Setup::paintField(juce::Graphics& g, juce::Rectangle<int> field, const juce::String& name,
                            bool open)
{
    g.setColour(juce::Colour(0xff282626));
    g.fillRect(field);
    g.setColour(juce::Colour(0xfffbffff));
    g.drawRect(field, 1);
    g.setColour(juce::Colours::white);
    g.setFont(juce::Font("Arial", 14.0f, juce::Font::plain));
    // The name's baseline 16 pixels below the field's top, as the captions beside it; a long device
    // name ends before the lamp.
    g.drawText(name, field.getX() + 4, field.getY() + 4, 258, 16, juce::Justification::centredLeft, true);

    const juce::Rectangle<float> lamp((float)field.getX() + 270.0f, (float)field.getY() + 8.0f, 10.0f, 8.0f);
    g.setColour(juce::Colour(open ? 0xffff0000 : 0xff432d24));
    g.fillRoundedRectangle(lamp, 2.0f);
    g.setColour(juce::Colour(open ? 0xff432d24 : 0xff000000));
    g.drawRoundedRectangle(lamp, 2.0f, 1.0f);
}

void MIDI_Setup::paint(juce::Graphics& g)
{
    g.fillAll(juce::Colour(0x88000000));
    const auto box = juce::Rectangle<float>(40.0f, 20.0f, 749.0f, 250.0f);
    g.setColour(juce::Colour(0xdd15222a));
    g.fillRoundedRectangle(box, 10.0f);
    g.setColour(juce::Colour(0xdd457089));
    g.drawRoundedRectangle(box, 10.0f, 3.0f);

    g.setColour(juce::Colour(0xfff3f3f3));
    g.setFont(juce::Font("Arial", 14.0f, juce::Font::plain));
    // Each caption to the right of its field, on the line of the name in it.
    g.drawSingleLineText("MIDI In Port", 362, 77);
    g.drawSingleLineText("MIDI Out Port", 362, 127);

    paintField(g, inputField(), inputText(), inputOpen);
    paintField(g, outputField(), outputText(), outputOpen);
}
} // namespace zentak
