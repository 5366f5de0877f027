// The main component's construction, destruction and layout.
#include "MainComp.h"

namespace zentak
{
MainComp::MainComp(MidiCntrState* state) : controller(state)
{
    setOpaque(true);
    controller->transferActive.store(false);
    controller->receiveIntoBank.store(false);
    createLibraryPages();
    controller->hostDialogOpen.store(false); // a new window has no dialog open

    editor = std::make_unique<EditorPanel>(*controller);
    addAndMakeVisible(*editor);
    editor->setBounds(0, 30, designWidth, 692);
    editor->addChangeListener(this);
    for (auto& g : editor->allGroups())
        g->addChangeListener(this);
    editor->lcd().addChangeListener(this);

    sequencer = std::make_unique<SeqPanel>(*controller);
    addChildComponent(*sequencer);
    sequencer->setBounds(1148, 28, SeqPanel::designWidth, SeqPanel::designHeight);
    sequencer->addChangeListener(this);
    sequencer->programButton().addChangeListener(this);

    flash = std::make_unique<FlashPanel>(*controller);
    addChildComponent(*flash);
    flash->addChangeListener(this);
    for (ParamPage* p : {static_cast<ParamPage*>(editor.get()), static_cast<ParamPage*>(flash.get())})
        if (auto* b = p->group(groups::seq).sequencerButton())
            b->addChangeListener(this);

    keys = std::make_unique<KeyBrd>(*controller);
    addChildComponent(*keys);
    keys->addChangeListener(this);
    keys->setAlwaysOnTop(true);

    bar = std::make_unique<AppBar>(*controller);
    addAndMakeVisible(*bar);
    bar->setBounds(0, 0, designWidth, 28);
    for (const auto& b : bar->buttons())
        b->addChangeListener(this);
    bar->channelLabel().addChangeListener(this);

    page = 97;
    refreshFromEditRecord();
    setSize(designWidth, designHeight);

    if (!controller->firstOpen)
        showAbout(2000);
    keys->setVisible(true);
    controller->firstOpen = true;

    // Registered last: from here on every code reaches this window; what happened before it is shown by
    // the refresh above, and the notices kept for it by the state are shown now.
    controller->addListener(this);
    showNotices();
    // Asked once this window listens, so the instrument's answer cannot arrive before it is heard.
    controller->checkConnection();
    controller->mainWindowReady = true;
}

MainComp::~MainComp()
{
    *alive = false;
    controller->removeListener(this);
    controller->mainWindowReady = false;
    cancelPendingUpdate();
    removeLibraryListeners();
    // Nothing is left half-open for a window that is gone: a transfer ends (its notice waits for the
    // next window), the host dialog's flag is cleared, and ports chosen in an open MIDI setup are kept.
    endTransfer();
    closeHostDialog();
    closeMidiSetup();
    closeGlobalSetup();
    if (about != nullptr)
        about->removeChangeListener(this);
    for (const auto& b : bar->buttons())
        b->removeChangeListener(this);
    bar->channelLabel().removeChangeListener(this);
    flash->removeChangeListener(this);
    keys->removeChangeListener(this);
    sequencer->programButton().removeChangeListener(this);
    for (ParamPage* p : {static_cast<ParamPage*>(editor.get()), static_cast<ParamPage*>(flash.get())})
        if (auto* b = p->group(groups::seq).sequencerButton())
            b->removeChangeListener(this);
    sequencer->removeChangeListener(this);
    editor->lcd().removeChangeListener(this);
    for (auto& g : editor->allGroups())
        g->removeChangeListener(this);
    editor->removeChangeListener(this);
}

int MainComp::keyboardTop() const
{
    return (int)((float)KeyBrd::restTop * displayScale());
}

void MainComp::paint(juce::Graphics& g)
{
    g.fillAll(juce::Colour(0xff111214)); // the keyboard's case
}

void MainComp::resized()
{
    if (!controller->mainWindowReady)
        return;
    relayout();
    controller->settings.set(6, juce::String(getWidth()));
    controller->settings.set(7, juce::String(getHeight()));
}

void MainComp::relayout()
{
    const int w = getWidth();
    const float s = displayScale();
    controller->displayScale = s;
    bar->setBounds(bar->getX(), bar->getY(), w, 28);
    keys->setDisplayScale(s); // back at rest, even if it was dragged up
    const int top = keys->getY();
    if (page == 98)
    {
        sequencer->setBounds(0, 28, w, top - 28);
        sequencer->setScale(s);
        sequencer->setVisible(true);
        // The sound editor shows as a reduced inset at the lower right of the sequencer page; it is
        // out of sight while a lane is being edited.
        editor->setBounds((int)(s * 680.0f), (int)(s * 200.0f + 28.0f), (int)(s * 890.0f), (int)(s * 400.0f));
        if (!sequencer->isLaneEditingOpen())
        {
            editor->setScale(s * 890.0f / (float)designWidth);
            editor->toFront(false);
            editor->setVisible(true);
        }
    }
    else
    {
        sequencer->setVisible(false);
        editor->setBounds(0, 28, w, top - 28);
        editor->setScale(s);
        editor->setVisible(true);
    }
    layoutLibraryPages(w, top);
    if (flash->isVisible())
    {
        flash->setBounds(0, 28, (int)(s * (float)designWidth), top - 28);
        flash->showGroup(flash->shownGroup(), flash->getWidth(), flash->getHeight());
    }
    if (about != nullptr)
        about->setBounds(getLocalBounds());
    if (midiSetup != nullptr)
        midiSetup->setBounds(getLocalBounds());
    if (hostUpdate != nullptr)
        hostUpdate->setBounds(getLocalBounds());
    if (globalSetup != nullptr)
        globalSetup->layout(w, getHeight());
}

void MainComp::deleteLater(std::unique_ptr<juce::Component> panel)
{
    if (panel == nullptr)
        return;
    panel->setVisible(false);
    removeChildComponent(panel.get());
    if (!*alive)
        return; // the window is being destroyed: no callback of the panel can still be running
    // Deleted once the callback that asked for it (often the panel's own broadcast) has returned.
    auto held = std::make_shared<std::unique_ptr<juce::Component>>(std::move(panel));
    juce::MessageManager::callAsync([held] { held->reset(); });
}

void MainComp::showAbout(int timeoutMs)
{
    if (about != nullptr)
        return;
    about = std::make_unique<AboutPanel>(versionText, timeoutMs);
    addAndMakeVisible(*about);
    about->setBounds(getLocalBounds());
    about->toFront(false);
    about->addChangeListener(this);
}

void MainComp::closeAbout()
{
    if (about == nullptr)
        return;
    about->stopTimer();
    about->removeChangeListener(this);
    deleteLater(std::move(about));
}

void MainComp::showFlashGroup(groups::GroupId id)
{
    const float s = displayScale();
    flash->setBounds(0, 28, (int)(s * (float)designWidth), keyboardTop() - 28);
    flash->showGroup(id, flash->getWidth(), flash->getHeight());
    flash->toFront(false);
    flash->setVisible(true);
}

void MainComp::closeFlashPanel()
{
    flash->setVisible(false);
    flash->reset();
    editor->setImmediateRepaint(true);
}

} // namespace zentak
