#include "LCD_Comp.h"

#include "SkinImage.h"

namespace zentak
{
LCD_Comp::LCD_Comp() : lcdPanel(skinImage("lcdPanel"))
{
    setSize(182, 45);
}

juce::String LCD_Comp::slotLabel(int bankIndex, int slotIndex)
{
    return juce::String::charToString((juce::juce_wchar)('A' + bankIndex)) + ":" +
           juce::String(slotIndex + 1).paddedLeft('0', 3);
}

void LCD_Comp::show(int bankIndex, int slotIndex, int categoryIndex, const juce::String& name,
                    const juce::String& categoryText)
{
    bank = bankIndex;
    slot = slotIndex;
    category = categoryIndex;
    nameText = name;
    categoryName = categoryText;
    slotText = slotLabel(bank, slot);
    repaint();
}

void LCD_Comp::showSlot(int bankIndex, int slotIndex)
{
    bank = bankIndex;
    slot = slotIndex;
    slotText = slotLabel(bank, slot);
    repaint();
}

void LCD_Comp::setScale(float s)
{
    scale = s;
    repaint();
}

void LCD_Comp::mouseDown(const juce::MouseEvent& e)
{
    if ((float)e.y > 23.0f * scale)
        clickArea = nameArea;
    else if ((float)e.x <= 67.0f * scale)
        clickArea = slotArea;
    else
        return;
    sendChangeMessage();
}

void LCD_Comp::paint(juce::Graphics& g)
{
    const float s = scale;
    auto px = [s](float v) { return (int)(v * s); };
    g.setOpacity(1.0f);
    g.drawImage(lcdPanel, 0, 0, px(182), px(45), 0, 0, 182, 45);
    g.setColour(juce::Colour(0xff000e62));
    g.setFont(juce::Font("Arial", 13.0f * s, juce::Font::plain));
    g.drawText(slotText, px(15), px(7), px(104), px(14), juce::Justification::left, true);
    g.setFont(juce::Font("Arial", 18.0f * s, juce::Font::bold));
    g.drawText(nameText, px(15), px(23), px(170), px(12), juce::Justification::left, true);
}
} // namespace zentak
