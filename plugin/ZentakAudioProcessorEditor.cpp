#include "ZentakAudioProcessorEditor.h"

namespace zentak
{
ZentakAudioProcessorEditor::ZentakAudioProcessorEditor(ZentakAudioProcessor& p)
    : juce::AudioProcessorEditor(p), owner(p)
{
    mainComp = std::make_unique<MainComp>(&owner.state());
    addAndMakeVisible(*mainComp);
    mainComp->setBounds(0, 0, 10, 10);
    mainComp->addChangeListener(this);

    corner = std::make_unique<juce::ResizableCornerComponent>(this, &constrainer);
    addAndMakeVisible(*corner);
    constrainer.setSizeLimits(730, 377, 1928, 996);
    // The same limits for the host's own window frame (VST3, LV2): the host may resize the editor,
    // within them.
    setConstrainer(&constrainer);

    setSize(owner.editorWidth, owner.editorHeight);
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
