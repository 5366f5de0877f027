// The main component's construction, destruction and layout.
#include "MainComp.h"

namespace zentak
{
void MainComp::fitOverlay(juce::Component& overlay, juce::Rectangle<int> area, int neededWidth,
                          int neededHeight, const std::function<void(int, int)>& layout)
{
    const float k = juce::jmin(1.0f, (float)area.getWidth() / (float)neededWidth,
                               (float)area.getHeight() / (float)neededHeight);
    if (k >= 1.0f)
    {
        overlay.setTransform({});
        layout(area.getWidth(), area.getHeight());
        overlay.setBounds(area);
        return;
    }
    const int w = (int)((float)area.getWidth() / k), h = (int)((float)area.getHeight() / k);
    layout(w, h);
    overlay.setBounds(0, 0, w, h);
    overlay.setTransform(juce::AffineTransform::scale(k).translated((float)area.getX(), (float)area.getY()));
}

void MainComp::fitOverlays()
{
    const auto all = getLocalBounds();
    if (about != nullptr)
        fitOverlay(*about, all, AboutPanel::neededWidth, AboutPanel::neededHeight, [](int, int) {});
    if (midiSetup != nullptr)
        fitOverlay(*midiSetup, all, MIDI_Setup::neededWidth, MIDI_Setup::neededHeight, [](int, int) {});
    if (hostUpdate != nullptr)
        hostUpdate->setBounds(all);
    if (progress != nullptr)
        progress->setBounds(all);
    const auto belowBar = all.withTrimmedTop(28);
    if (globalSetup != nullptr)
        fitOverlay(*globalSetup, belowBar, GLOBAL_Setup::neededWidth, GLOBAL_Setup::neededHeight,
                   [this](int w, int h) { globalSetup->layout(w, h); });
    // Above the keyboard again, which a layout brings to the front.
    for (juce::Component* c : {(juce::Component*)globalSetup.get(), (juce::Component*)midiSetup.get(),
                               (juce::Component*)hostUpdate.get(), (juce::Component*)about.get(),
                               (juce::Component*)progress.get()})
        if (c != nullptr)
        {
            c->setAlwaysOnTop(true);
            c->toFront(false);
        }
}

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
    // The window places the status and the notices: in the bar where they fit, else apart (relayout).
    addAndMakeVisible(bar->statusLabel());
    addChildComponent(bar->noticeLabel());
    bar->noticeLabel().setAlwaysOnTop(true);

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

int MainComp::heightForWidth(int w)
{
    const int h = (int)std::ceil((double)w * designHeight / designWidth);
    return w < narrowWidth ? h + statusStripHeight : h;
}

float MainComp::displayScale() const
{
    const int w = getWidth(), h = getHeight();
    const float s = (float)w / (float)designWidth;
    const int room = w < narrowWidth ? h - statusStripHeight : h;
    // A host may force a window shorter than its width wants: then the height sets the scale.
    if ((float)designHeight * s > (float)room + 0.5f)
        return juce::jmax(0.01f, (float)room / (float)designHeight);
    return s;
}

int MainComp::keyboardTop() const
{
    return (int)((float)KeyBrd::restTop * displayScale());
}

void MainComp::paint(juce::Graphics& g)
{
    g.fillAll(juce::Colour(0xff111214)); // the keyboard's case
    if (getWidth() < narrowWidth)
    {
        g.setColour(juce::Colour(0xff00002f)); // the status strip of a narrow window
        g.fillRect(0, getHeight() - statusStripHeight, getWidth(), statusStripHeight);
    }
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
    fitOverlays();
    layoutMessages();
}

void MainComp::layoutMessages()
{
    const int w = getWidth(), h = getHeight();
    auto& status = bar->statusLabel();
    if (w >= narrowWidth)
        status.setBounds(AppBar::statusX, 2, 195, 15);
    else
        status.setBounds(8, h - statusStripHeight + 2, juce::jmax(0, w - 32), 15); // clear of the corner
    auto& notice = bar->noticeLabel();
    if (!notice.isVisible())
        return;
    // On one line beside the status where it fits; else a banner of its own below the bar, as many
    // lines high as the whole text needs, until it is clicked or replaced.
    auto beside = bar->noticeBeside(w);
    if (beside.isEmpty())
        beside = {0, 28, w, notice.heightForWidth(w)};
    notice.setBounds(beside);
    notice.toFront(false);
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
    fitOverlays();
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
    // On screen its controls show every value at once: the user's own edits and those of the
    // instrument and the host alike.
    flash->setImmediateRepaint(true);
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
