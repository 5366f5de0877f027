#include "StsBut.h"

#include "SkinImage.h"

namespace zentak
{
StsBut::StsBut(const juce::String& caption, int id, int buttonStyle)
    : text(caption), commandId(id), style(buttonStyle)
{
}

StsBut::~StsBut()
{
    if (textButton != nullptr)
        textButton->removeListener(this);
    textButton.reset();
}

void StsBut::setup(int x, int y, int w, int h, bool applyBounds)
{
    switch (style)
    {
    case bevelled:
        textColour = pressedTextColour = 0xffffffff;
        fontSize = 13.0f;
        fillColour = 0xff202d31;
        pressedFillColour = 0xff040405;
        lineColourA = lineColourB = 0xff000000;
        break;
    case largeImage:
        textColour = pressedTextColour = 0xff000000;
        fontSize = 12.0f;
        leftNormal = skinImage("btnLargeLeftNormal");
        leftHover = skinImage("btnLargeLeftHover");
        leftPressed = skinImage("btnLargeLeftPressed");
        rightNormal = skinImage("btnLargeRightNormal");
        rightHover = skinImage("btnLargeRightHover");
        rightPressed = skinImage("btnLargeRightPressed");
        break;
    case smallImage:
        textColour = pressedTextColour = 0xffffffff;
        fontSize = 11.0f;
        leftNormal = skinImage("btnSmallLeftNormal");
        leftHover = skinImage("btnSmallLeftHover");
        leftPressed = skinImage("btnSmallLeftPressed");
        rightNormal = skinImage("btnSmallRightNormal");
        rightHover = skinImage("btnSmallRightHover");
        rightPressed = skinImage("btnSmallRightPressed");
        break;
    case textLined:
    case textPlain:
    case textDark:
    {
        const bool dark = style == textDark;
        textColour = dark ? 0xffffffff : 0xff000000;
        pressedTextColour = 0xffffffff;
        fontSize = dark ? 13.0f : 12.0f;
        textButton = std::make_unique<juce::TextButton>(juce::String(), juce::String());
        addAndMakeVisible(*textButton);
        textButton->setConnectedEdges(juce::Button::ConnectedOnLeft | juce::Button::ConnectedOnRight);
        if (dark)
            textButton->setBounds(0, -5, w, h + 3);
        else
            textButton->setBounds(0, -3, w, h + 6);
        textButton->setColour(juce::TextButton::buttonColourId, juce::Colour(dark ? 0xff315dcd : 0xff2d91de));
        textButton->setColour(juce::TextButton::buttonOnColourId,
                              juce::Colour(dark ? 0xff000000 : 0xff11223c));
        textButton->addListener(this);
        break;
    }
    default:
        break;
    }
    if (applyBounds)
        setBounds(x, y, w, h);
}

void StsBut::addButtonListener(stsbutChangeListener* listener)
{
    const juce::ScopedLock sl(listenerLock);
    buttonListeners.addIfNotAlreadyThere(listener);
}

void StsBut::removeButtonListener(stsbutChangeListener* listener)
{
    const juce::ScopedLock sl(listenerLock);
    buttonListeners.removeAllInstancesOf(listener);
}

void StsBut::setText(const juce::String& caption)
{
    text = caption;
    repaint();
}

void StsBut::setFontSize(float size)
{
    fontSize = size;
    repaint();
}

void StsBut::mouseEnter(const juce::MouseEvent&)
{
    if (style == largeImage || style == smallImage)
    {
        visualState = 1;
        repaint();
    }
}

void StsBut::mouseExit(const juce::MouseEvent&)
{
    if (style == largeImage || style == smallImage)
    {
        visualState = 0;
        repaint();
    }
}

// The text styles leave presses to their child button (which covers all but a thin strip of them):
// they report only completed clicks, through buttonClicked.
void StsBut::mouseDown(const juce::MouseEvent&)
{
    if (isTextStyle())
        return;
    if (style == largeImage || style == smallImage)
    {
        visualState = 2;
        repaint();
    }
    pressed = true;
    sendChangeMessage();
    repaint();
}

void StsBut::mouseUp(const juce::MouseEvent&)
{
    if (isTextStyle())
        return;
    if (style == largeImage || style == smallImage)
    {
        visualState = 1;
        repaint();
        return;
    }
    pressed = false;
    repaint();
}

void StsBut::buttonClicked(juce::Button* b)
{
    if (b == nullptr || b != textButton.get())
        return;
    for (int i = buttonListeners.size(); --i >= 0;)
        if (i < buttonListeners.size())
            buttonListeners.getUnchecked(i)->stsbutChanged(*this);
    sendChangeMessage();
}

void StsBut::paintCaption(juce::Graphics& g, juce::uint32 colour, juce::Rectangle<int> r)
{
    g.setColour(juce::Colour(colour));
    g.setFont(juce::Font("Arial", fontSize, juce::Font::plain));
    g.drawText(text, r, juce::Justification::centred, false);
}

void StsBut::paint(juce::Graphics& g)
{
    const int w = getWidth(), h = getHeight();
    if (isTextStyle())
        return;

    if (style == largeImage || style == smallImage)
    {
        const juce::Image& left =
            visualState == 2 ? leftPressed : (visualState == 1 ? leftHover : leftNormal);
        const juce::Image& right =
            visualState == 2 ? rightPressed : (visualState == 1 ? rightHover : rightNormal);
        const int rightWidth = style == largeImage ? 47 : (visualState == 0 ? 23 : 33);
        g.setOpacity(1.0f);
        g.drawImageAt(left, 0, 0);
        g.drawImageAt(right, w - rightWidth, 0);
        paintCaption(g, textColour, {0, 0, w, h});
        return;
    }

    if (style != bevelled)
        return;
    const auto a = juce::Colour(lineColourA), b = juce::Colour(lineColourB);
    if (!pressed)
    {
        g.setColour(juce::Colour(fillColour));
        g.fillRoundedRectangle(1.0f, 1.0f, (float)(w - 2), (float)(h - 2), 1.0f);
        paintCaption(g, textColour, {0, 0, w, h});
    }
    else
    {
        g.setColour(juce::Colour(pressedFillColour));
        g.fillRoundedRectangle(0.0f, 0.0f, (float)w, (float)h, 4.0f);
    }
    // Top and left edges, then bottom and right: raised when up, sunk (colours swapped) when pressed.
    g.setColour(pressed ? b : a);
    g.fillRect(1, 0, w - 2, 1);
    g.fillRect(0, 1, 1, h - 2);
    g.setColour(pressed ? a : b);
    g.fillRect(1, h - 1, w - 2, 1);
    g.fillRect(w - 1, 1, 1, h - 2);
    if (pressed)
        paintCaption(g, pressedTextColour, {1, 1, w, h});
}

void StsBut::paintOverChildren(juce::Graphics& g)
{
    if (!isTextStyle())
        return;
    const int w = getWidth(), h = getHeight();
    const bool on = textButton != nullptr && (textButton->getToggleState() || textButton->isDown());
    paintCaption(g, on ? pressedTextColour : textColour, {0, 0, w, h});
    if (style == textLined)
    {
        g.setColour(juce::Colours::black);
        g.drawLine(0.0f, (float)h, (float)w, (float)h, 1.0f);
    }
}
} // namespace zentak
