#include "BankComp.h"

#include "sounddata/ProgramCategories.h"
#include "ui/widgets/SkinImage.h"

namespace zentak
{
namespace
{
constexpr int buttonWidth = 70, buttonHeight = 18;

juce::String categoryCaption(int n)
{
    return n == 0 ? juce::String("-----") : juce::String(categories::name(n));
}
} // namespace

BankComp::BankComp(MidiCntrState* state)
    : controller(state), list(state), makerLogo(skinImage("makerLogo")),
      instrumentLogo(skinImage("instrumentLogo")), swoosh(skinImage("swoosh"))
{
    for (int b = 0; b < 4; ++b)
    {
        bankButtons[(size_t)b] = std::make_unique<StsBut>(
            "BANK " + juce::String::charToString((juce::juce_wchar)('A' + b)), b, StsBut::textLined);
        auto& button = *bankButtons[(size_t)b];
        button.setup(0, 0, buttonWidth, buttonHeight, true);
        button.addButtonListener(this);
        addAndMakeVisible(button);
    }
    for (StsBut* button : {&file, &midi, &presets})
    {
        button->setup(0, 0, buttonWidth, buttonHeight, true);
        button->addButtonListener(this);
        addAndMakeVisible(*button);
    }
    ok.setup(0, 0, buttonWidth, buttonHeight, true);
    addAndMakeVisible(ok); // the main component listens to it

    useLoaded.setSize(170, 18);
    useLoaded.addChangeListener(this);
    addAndMakeVisible(useLoaded);

    list.setUpProgramList();
    list.fill(0, 0);
    addAndMakeVisible(list);

    for (int n = 0; n < numCategoryButtons; ++n)
    {
        categoryButtons.push_back(std::make_unique<StsBut>(categoryCaption(n), 0, StsBut::textLined));
        auto& button = *categoryButtons.back();
        button.setup(0, 0, buttonWidth, buttonHeight, true);
        button.setFontSize(11.0f);
        button.addButtonListener(this);
        addAndMakeVisible(button);
    }

    display.setTopLeftPosition(80, 86);
    addAndMakeVisible(display);
}

BankComp::~BankComp()
{
    for (auto& b : bankButtons)
        b->removeButtonListener(this);
    for (StsBut* button : {&file, &midi, &presets})
        button->removeButtonListener(this);
    for (auto& b : categoryButtons)
        b->removeButtonListener(this);
    useLoaded.removeChangeListener(this);
}

void BankComp::layout(int width, int height)
{
    const float s = controller != nullptr ? controller->displayScale : 1.0f;
    margin = (int)(9.0f * s);
    top = (int)(4.0f * s);
    innerWidth = width - 2 * margin;
    innerHeight = height - top - 6;
    const int f = top + 40;
    const int e = juce::jmax(0, (height - top - 60) / 26 * 26);

    for (int b = 0; b < 4; ++b)
        bankButtons[(size_t)b]->setBounds(300, f + 36 * b, buttonWidth, buttonHeight);
    file.setBounds(400, f - 30, buttonWidth, buttonHeight);
    midi.setBounds(478, f - 30, buttonWidth, buttonHeight);
    presets.setBounds(556, f - 30, buttonWidth, buttonHeight);
    useLoaded.setTopLeftPosition(644, f - 24);
    for (int n = 0; n < numCategoryButtons; ++n)
        categoryButtons[(size_t)n]->setBounds(680 + 78 * (n % 4), f + 36 * (n / 4), buttonWidth,
                                              buttonHeight);
    ok.setBounds(680, e + f - 18, buttonWidth, buttonHeight);
    list.setBounds(400, f, 250, e);
    setBounds(0, 28, width, height);
}

void BankComp::showBank(int b, int slot)
{
    list.fill(0, juce::jlimit(0, 3, b));
    list.selectRow(list.findRow(juce::jlimit(0, 3, b), slot), true);
    showListChosen();
}

void BankComp::showListChosen()
{
    const int mode = list.getFillMode(), argument = list.getFillArgument();
    for (int b = 0; b < 4; ++b)
        bankButtons[(size_t)b]->getTextButton()->setToggleState(mode == 0 && argument == b,
                                                                juce::dontSendNotification);
    for (int n = 0; n < numCategoryButtons; ++n)
        categoryButtons[(size_t)n]->getTextButton()->setToggleState(mode == 1 && argument == n,
                                                                    juce::dontSendNotification);
}

void BankComp::refill()
{
    const bool hadSelection = list.selectedRow >= 0;
    const int bank = list.selectedBank, slot = list.selectedSlot, scroll = list.getScrollValue();
    list.fill(list.getFillMode(), list.getFillArgument());
    list.setScrollValue(scroll);
    if (hadSelection)
        list.selectRow(list.findRow(bank, slot), false);
}

void BankComp::showProgram(int bank, int slot, int category, const juce::String& name)
{
    categoryText = categories::name(category);
    display.show(bank, slot, category, name, categoryText);
    repaint(80, 282, 220, 16);
}

void BankComp::report(int code)
{
    commandCode = code;
    sendChangeMessage();
}

void BankComp::stsbutChanged(StsBut& button)
{
    // The command ids collide (BANK A, OK and every category button carry 0): buttons are told
    // apart by object.
    for (int b = 0; b < 4; ++b)
        if (&button == bankButtons[(size_t)b].get())
        {
            list.fill(0, b);
            showListChosen();
            report(bankChosen);
            return;
        }
    for (int n = 0; n < numCategoryButtons; ++n)
        if (&button == categoryButtons[(size_t)n].get())
        {
            list.fill(1, n);
            showListChosen();
            return;
        }
    if (&button == &file)
        report(fileMenuWanted);
    else if (&button == &midi)
        report(midiMenuWanted);
    else if (&button == &presets)
        report(presetsWanted);
}

void BankComp::changeListenerCallback(juce::ChangeBroadcaster* source)
{
    if (source == &useLoaded)
        report(useLoadedDataFlipped);
}

void BankComp::paint(juce::Graphics& g)
{
    g.setColour(juce::Colour(0xff00002f));
    g.fillRect(0, 0, innerWidth + 20, getHeight());
    g.fillAll(juce::Colour(0x55000000));
    const auto inner = juce::Rectangle<int>(margin, top, innerWidth, innerHeight).toFloat();
    g.setColour(juce::Colour(0xff212326));
    g.fillRoundedRectangle(inner, 10.0f);
    g.setColour(juce::Colour(0xffe4e4e4));
    g.drawRoundedRectangle(inner, 10.0f, 2.0f);

    g.setOpacity(1.0f);
    g.drawImage(swoosh, 20, 50, 283, 224, 0, 0, swoosh.getWidth(), swoosh.getHeight());
    g.drawImage(makerLogo, 100, 140, 137, 40, 0, 0, makerLogo.getWidth(), makerLogo.getHeight());
    g.drawImage(instrumentLogo, 167, 185, 167, 65, 0, 0, instrumentLogo.getWidth(),
                instrumentLogo.getHeight());

    // The current program's category, under the picture.
    g.setColour(juce::Colour(0xffc8c8c8));
    g.setFont(juce::Font("Arial", 13.0f, juce::Font::plain));
    g.drawText("Category: " + categoryText, 80, 282, 220, 16, juce::Justification::centredLeft, true);
}
} // namespace zentak
