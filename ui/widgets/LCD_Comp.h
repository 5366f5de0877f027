// LCD_Comp: the LCD-style panel showing the current bank slot (A:001) and program name. A press on the
// slot area or the name area is reported by change message with the click area. Message thread only.
#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace zentak
{

class LCD_Comp : public juce::Component, public juce::ChangeBroadcaster
{
public:
    enum ClickArea
    {
        slotArea = 1,
        nameArea = 2
    };

    LCD_Comp();

    void show(int bankIndex, int slotIndex, int categoryIndex, const juce::String& name,
              const juce::String& category);
    void showSlot(int bankIndex, int slotIndex);
    void setScale(float s);

    /** Bank letter, ":" and slot + 1 in three digits: A:001 ... A:128. */
    static juce::String slotLabel(int bankIndex, int slotIndex);

    const juce::String& getSlotText() const { return slotText; }
    const juce::String& getNameText() const { return nameText; }
    const juce::String& getCategoryName() const { return categoryName; }
    int getSlot() const { return slot; }
    int getBank() const { return bank; }
    int getCategory() const { return category; }
    float getScale() const { return scale; }

    void mouseDown(const juce::MouseEvent& e) override;
    void paint(juce::Graphics& g) override;

    int clickArea = 0; // read by the owner on the change message

private:
    float scale = 1.0f;
    juce::String nameText, slotText, categoryName;
    int slot = 0, bank = 0, category = 0;
    juce::Image lcdPanel;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(LCD_Comp)
};

} // namespace zentak
