#include "AboutPanel.h"

#include "SkinImage.h"

namespace zentak
{
AboutPanel::AboutPanel(const juce::String& version, int timeoutMs)
    : versionText(version), aboutPicture(skinImage("aboutPicture")),
      productLogoLarge(skinImage("productLogoLarge"))
{
    if (timeoutMs > 0)
    {
        timed = true;
        startTimer(timeoutMs);
    }
}

AboutPanel::~AboutPanel()
{
    stopTimer();
}

void AboutPanel::mouseDown(const juce::MouseEvent&)
{
    sendChangeMessage();
}

void AboutPanel::timerCallback()
{
    timed = false;
    stopTimer();
    sendChangeMessage();
}

void AboutPanel::paint(juce::Graphics& g)
{
    const int x = boxX, y = boxY;
    g.fillAll(juce::Colour(0x55000000));
    g.setOpacity(1.0f);
    g.drawImage(aboutPicture, x, y, 460, 295, 0, 0, 460, 295);
    g.setColour(juce::Colour(0xff95b3f3));
    g.setFont(juce::Font("Arial", 15.0f, juce::Font::plain));
    g.drawText("Version: " + versionText, x + 36, y + 120, 200, 30, juce::Justification::centredLeft, true);
    g.setOpacity(1.0f);
    g.drawImage(productLogoLarge, x + 50, y + 282, 356, 148, 0, 0, 356, 148);
}
} // namespace zentak
