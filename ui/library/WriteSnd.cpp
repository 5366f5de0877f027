#include "WriteSnd.h"

#include "sounddata/ProgramCategories.h"

namespace zentak
{
WriteSnd::WriteSnd(MidiCntrState* state, int bank, int slot, const juce::String& programName,
                   int categoryIndex)
    : controller(state), list(state), name(sixteen(programName)), category(categoryIndex)
{
    for (int b = 0; b < 4; ++b)
    {
        bankButtons[(size_t)b] = std::make_unique<StsBut>(
            "BANK " + juce::String::charToString((juce::juce_wchar)('A' + b)), b, StsBut::textPlain);
        auto& button = *bankButtons[(size_t)b];
        button.setup(0, 0, 70, 18, true);
        button.addButtonListener(this);
        addAndMakeVisible(button);
    }
    write.setup(0, 0, 70, 18, true);
    cancel.setup(0, 0, 70, 18, true);
    addAndMakeVisible(write);
    addAndMakeVisible(cancel);

    list.setUpProgramList();
    list.fill(0, juce::jlimit(0, 3, bank));
    list.addChangeListener(this);
    addAndMakeVisible(list);

    display.show(juce::jlimit(0, 3, bank), juce::jlimit(0, 127, slot), category, name,
                 categories::name(category));
    display.addChangeListener(this);
    addAndMakeVisible(display);
    list.selectRow(list.findRow(juce::jlimit(0, 3, bank), slot), false);
    showBankChosen();
}

void WriteSnd::showBankChosen()
{
    for (int b = 0; b < 4; ++b)
        bankButtons[(size_t)b]->getTextButton()->setToggleState(b == list.getFillArgument(),
                                                                juce::dontSendNotification);
}

WriteSnd::~WriteSnd()
{
    closeRename();
    for (auto& b : bankButtons)
        b->removeButtonListener(this);
    list.removeChangeListener(this);
    display.removeChangeListener(this);
}

juce::String WriteSnd::sixteen(const juce::String& text)
{
    return text.substring(0, 16).paddedRight(' ', 16);
}

void WriteSnd::layout(int width, int height)
{
    const float s = controller != nullptr ? controller->displayScale : 1.0f;
    margin = (int)(9.0f * s);
    boxWidth = width - 2 * margin;
    boxHeight = height - 8;
    left = (width - 250) / 2;
    for (int b = 0; b < 4; ++b)
        bankButtons[(size_t)b]->setBounds(left - 100, 93 + 36 * b, 70, 18);
    display.setBounds(left, 10, 182, 45);
    const int rows = juce::jmax(0, (height - 109) / 26 * 26);
    list.setBounds(left, 87, 250, rows);
    const int bottom = 87 + rows;
    cancel.setBounds(left + 280, bottom - 54, 70, 18);
    write.setBounds(left + 280, bottom - 18, 70, 18);
    if (rename != nullptr)
        rename->setTopLeftPosition(left + 260, 58);
    setBounds(0, 28, width, height);
    // The chosen slot in sight once the list knows its height.
    list.selectRow(list.selectedRow, true);
}

void WriteSnd::openRename()
{
    if (rename != nullptr)
        return;
    rename = std::make_unique<RenameCnt>(left + 260, 58, name.substring(0, 16).trimEnd());
    rename->okButton().addButtonListener(this);
    rename->cancelButton().addButtonListener(this);
    addAndMakeVisible(*rename);
    rename->toFront(true);
}

void WriteSnd::closeRename()
{
    if (rename == nullptr)
        return;
    rename->okButton().removeButtonListener(this);
    rename->cancelButton().removeButtonListener(this);
    removeChildComponent(rename.get());
    // Closed from inside its own button's click: deleted once that call has returned.
    auto held = std::make_shared<std::unique_ptr<RenameCnt>>(std::move(rename));
    juce::MessageManager::callAsync([held] { held->reset(); });
}

void WriteSnd::stsbutChanged(StsBut& button)
{
    for (int b = 0; b < 4; ++b)
        if (&button == bankButtons[(size_t)b].get())
        {
            // Another bank: the same slot number stays chosen, so WRITE always has a destination.
            const int slot = list.selectedRow >= 0 ? list.selectedSlot : display.getSlot();
            list.fill(0, b);
            list.selectRow(list.findRow(b, slot), true);
            display.showSlot(b, slot);
            showBankChosen();
            return;
        }
    if (rename != nullptr && &button == &rename->okButton())
    {
        name = sixteen(rename->name());
        display.show(display.getBank(), display.getSlot(), category, name, categories::name(category));
        closeRename();
    }
    else if (rename != nullptr && &button == &rename->cancelButton())
    {
        closeRename();
    }
}

void WriteSnd::changeListenerCallback(juce::ChangeBroadcaster* source)
{
    if (source == &list)
    {
        if (list.selectedRow >= 0)
            display.showSlot(list.selectedBank, list.selectedSlot);
    }
    else if (source == &display)
    {
        if (display.clickArea == LCD_Comp::nameArea)
            openRename();
    }
}

void WriteSnd::paint(juce::Graphics& g)
{
    g.fillAll(juce::Colour(0x55221e1f));
    const auto box = juce::Rectangle<int>(margin, 2, boxWidth, boxHeight).toFloat();
    g.setColour(juce::Colour(0xff212326));
    g.fillRoundedRectangle(box, 10.0f);
    g.setColour(juce::Colour(0xffe4e4e4));
    g.drawRoundedRectangle(box, 10.0f, 2.0f);
    g.setColour(juce::Colour(0xfff0e8e8));
    g.setFont(juce::Font("Arial", 13.0f, juce::Font::bold));
    g.drawText("Destination:", margin + 18, 16, 100, 20, juce::Justification::topLeft, true);

    // What is being stored: its category beside the display.
    g.setFont(juce::Font("Arial", 13.0f, juce::Font::plain));
    g.setColour(juce::Colour(0xffc8c8c8));
    g.drawText("Category: " + juce::String(categories::name(category)), left + 196, 16, 220, 16,
               juce::Justification::centredLeft, true);
    g.drawText("Click the name to rename", left + 196, 36, 220, 16, juce::Justification::centredLeft, true);
}
} // namespace zentak
