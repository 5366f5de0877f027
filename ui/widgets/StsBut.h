// StsBut: the push button of every page, bar and dialog: a plain bevelled button (style 5), a large or
// small skinned image button (styles 6 and 7) or a text button built on the framework's TextButton
// (styles 130, 135, 140). Image and bevelled buttons report at the press by change message; text
// buttons report a completed click to their stsbutChangeListeners and then by change message.
//
// Command ids need not be unique: the bank browser's BANK A, OK and category buttons all carry 0.
// Owners therefore tell buttons apart by the sending object (the ChangeBroadcaster* of the change
// callback, or the StsBut& given to stsbutChanged), never by the id alone.
//
// Message thread only; the listener lock guards registration.
#pragma once

#include "stsbutChangeListener.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

namespace zentak
{

class StsBut : public juce::Component, public juce::ChangeBroadcaster, public juce::Button::Listener
{
public:
    enum Style
    {
        bevelled = 5,
        largeImage = 6,
        smallImage = 7,
        textLined = 130,
        textPlain = 135,
        textDark = 140
    };

    StsBut(const juce::String& caption, int commandId, int style);
    ~StsBut() override;

    /** Makes the style's settings (and the child of the text styles); places the button at
        (x, y, w, h) when applyBounds is set. Called once. */
    void setup(int x, int y, int w, int h, bool applyBounds);

    void addButtonListener(stsbutChangeListener* listener);
    void removeButtonListener(stsbutChangeListener* listener);

    int getCommandId() const { return commandId; }
    int getStyle() const { return style; }
    const juce::String& getText() const { return text; }
    void setText(const juce::String& caption);
    bool isPressed() const { return pressed; }
    int getVisualState() const { return visualState; }
    juce::TextButton* getTextButton() const { return textButton.get(); }
    void setFontSize(float size);
    float getFontSize() const { return fontSize; }

    void mouseEnter(const juce::MouseEvent& e) override;
    void mouseExit(const juce::MouseEvent& e) override;
    void mouseDown(const juce::MouseEvent& e) override;
    void mouseUp(const juce::MouseEvent& e) override;
    void paint(juce::Graphics& g) override;
    void paintOverChildren(juce::Graphics& g) override;
    void buttonClicked(juce::Button* b) override;

    // Colours (ARGB), set by setup; owners may change them afterwards.
    juce::uint32 lineColourA = 0, lineColourB = 0;
    juce::uint32 fillColour = 0, pressedFillColour = 0;
    juce::uint32 textColour = 0xff000000, pressedTextColour = 0xff000000;

private:
    bool isTextStyle() const { return style >= textLined; }
    void paintCaption(juce::Graphics& g, juce::uint32 colour, juce::Rectangle<int> r);

    juce::Array<stsbutChangeListener*> buttonListeners; // not owned
    juce::CriticalSection listenerLock;
    juce::String text;
    int commandId;
    int style;
    float fontSize = 12.0f;
    std::unique_ptr<juce::TextButton> textButton;
    bool pressed = false;
    int visualState = 0; // styles 6 and 7: 0 normal, 1 hover, 2 pressed
    juce::Image leftNormal, leftHover, leftPressed, rightNormal, rightHover, rightPressed;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(StsBut)
};

} // namespace zentak
