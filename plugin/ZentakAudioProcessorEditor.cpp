#include "ZentakAudioProcessorEditor.h"

namespace zentak
{
EditorSizeLimits::EditorSizeLimits()
{
    setSizeLimits(ZentakAudioProcessor::minimumEditorWidth,
                  MainComp::heightForWidth(ZentakAudioProcessor::minimumEditorWidth),
                  ZentakAudioProcessor::maximumEditorWidth,
                  MainComp::heightForWidth(ZentakAudioProcessor::maximumEditorWidth));
}

void EditorSizeLimits::checkBounds(juce::Rectangle<int>& bounds, const juce::Rectangle<int>& previous,
                                   const juce::Rectangle<int>&, bool stretchingTop, bool stretchingLeft,
                                   bool stretchingBottom, bool stretchingRight)
{
    // The width leads, unless only the height is being dragged.
    int w = bounds.getWidth();
    if ((stretchingTop || stretchingBottom) && !(stretchingLeft || stretchingRight))
    {
        w = (int)std::floor((double)bounds.getHeight() * MainComp::designWidth / MainComp::designHeight);
        if (MainComp::heightForWidth(w) > bounds.getHeight() && w < MainComp::narrowWidth)
            w = (int)std::floor((double)(bounds.getHeight() - MainComp::statusStripHeight) *
                                MainComp::designWidth / MainComp::designHeight);
    }
    w = juce::jlimit(getMinimumWidth(), getMaximumWidth(), w);
    const int h = MainComp::heightForWidth(w);
    // The corner that is not dragged stays where it was.
    const int x = stretchingLeft ? previous.getRight() - w : bounds.getX();
    const int y = stretchingTop ? previous.getBottom() - h : bounds.getY();
    bounds = {x, y, w, h};
}

juce::Point<int> ZentakAudioProcessorEditor::firstSizeFor(juce::Point<int> screenPoint)
{
    const auto& displays = juce::Desktop::getInstance().getDisplays();
    const auto* display = displays.getDisplayForPoint(screenPoint);
    if (display == nullptr)
        display = displays.getPrimaryDisplay();
    if (display == nullptr)
        return {964, MainComp::heightForWidth(964)};
    return ZentakAudioProcessor::editorSizeForScreenArea(display->userArea.getWidth(),
                                                         display->userArea.getHeight());
}

ZentakAudioProcessorEditor::ZentakAudioProcessorEditor(ZentakAudioProcessor& p)
    : juce::AudioProcessorEditor(p), owner(p)
{
    mainComp = std::make_unique<MainComp>(&owner.state());
    addAndMakeVisible(*mainComp);
    mainComp->setBounds(0, 0, 10, 10);
    mainComp->addChangeListener(this);

    corner = std::make_unique<juce::ResizableCornerComponent>(this, &constrainer);
    addAndMakeVisible(*corner);
    // The same limits for the host's own window frame (VST3, LV2): the host may resize the editor,
    // within them.
    setConstrainer(&constrainer);

    // The first window takes its size from the screen it opens on (the one the mouse is on: where the
    // user asked for it); a window opened again takes the size the last one had.
    juce::Point<int> size(owner.editorWidth, owner.editorHeight);
    if (size.x <= 0 || size.y <= 0)
    {
        size = firstSizeFor(juce::Desktop::getMousePosition());
        firstSizeChosen = true;
    }
    fittingToScreen = true;
    setSize(size.x, size.y);
    fittingToScreen = false;
    owner.addChangeListener(this);
}

ZentakAudioProcessorEditor::~ZentakAudioProcessorEditor()
{
    owner.removeChangeListener(this);
    mainComp->removeChangeListener(this);
}

void ZentakAudioProcessorEditor::paint(juce::Graphics& g)
{
    g.fillAll(juce::Colour(0xff00002f));
}

void ZentakAudioProcessorEditor::resized()
{
    const int w = getWidth(), h = getHeight();
    if (mainComp != nullptr)
        mainComp->setBounds(mainComp->getX(), mainComp->getY(), w, h);
    if (corner != nullptr)
        corner->setBounds(w - 16, h - 16, 16, 16);
    owner.editorWidth = w;
    owner.editorHeight = h;
    if (!fittingToScreen)
        firstSizeChosen = false; // the user or the host chose this size: it stays
}

void ZentakAudioProcessorEditor::parentHierarchyChanged()
{
    if (!firstSizeChosen || getPeer() == nullptr)
        return;
    firstSizeChosen = false;
    const auto* display = juce::Desktop::getInstance().getDisplays().getDisplayForRect(getScreenBounds());
    if (display == nullptr)
        return;
    const auto fit = ZentakAudioProcessor::editorSizeForScreenArea(display->userArea.getWidth(),
                                                                   display->userArea.getHeight());
    if (fit.x < getWidth())
    {
        fittingToScreen = true;
        setSize(fit.x, fit.y);
        fittingToScreen = false;
    }
}

void ZentakAudioProcessorEditor::changeListenerCallback(juce::ChangeBroadcaster* source)
{
    if (source == mainComp.get())
        return;
    for (const auto command : owner.state().takeEditorCommands())
    {
        // 180: the host chose another program while the host program dialog is open; the window
        // moves the dialog to it, when there is a dialog.
        if (command == 180)
            mainComp->hostProgramChanged(owner.state().currentHostProgram.load());
    }
}
} // namespace zentak
