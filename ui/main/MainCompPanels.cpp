// The main component's panels and dialogs: the MIDI setup panel, the global settings panel, the host
// program update dialog and the progress box of bank transfers, with their change routing.
//
// Panels that stand for a dialog cover the whole window and take every click meant for what lies under
// them. They do not use the framework's modal state: that state is shared by every window of the
// process, and a progress box in one plug-in window must not block the window of another instance.
#include "MainComp.h"

#include "MenuSeam.h"
#include "ui/widgets/ParDesMenu.h"

namespace zentak
{
namespace
{
juce::String bankLetter(int bank)
{
    return juce::String::charToString((juce::juce_wchar)('A' + juce::jlimit(0, 3, bank)));
}

bool isReceive(int kind)
{
    return kind == 0 || kind == 7;
}

/** Puts an overlay above everything in the window, the keyboard included. */
void putOnTop(juce::Component& overlay)
{
    overlay.setAlwaysOnTop(true);
    overlay.toFront(false);
}
} // namespace

// Change routing ----------------------------------------------------------------------------------------

bool MainComp::routePanelChange(juce::ChangeBroadcaster* source)
{
    if (midiSetup != nullptr && source == midiSetup.get())
    {
        midiSetupEvent(midiSetup->lastCommand, midiSetup->lastValue);
        return true;
    }
    if (globalSetup != nullptr)
    {
        if (source == globalSetup.get())
        {
            if (globalSetup->lastCommand == GLOBAL_Setup::okPressed)
                closeGlobalSetup();
            return true;
        }
        for (auto& c : globalSetup->controls())
            if (source == c.get())
            {
                globalValueChange(*c);
                return true;
            }
    }
    // Only the progress box's own button ends or closes it; nothing else that broadcasts meanwhile does.
    if (progress != nullptr && source == &progress->cancelButton())
    {
        if (transfer.finished)
            closeProgressBox();
        else
            endTransfer();
        return true;
    }
    if (hostUpdate != nullptr)
    {
        // OK and CANCEL carry the same command id: told apart by object.
        if (source == &hostUpdate->okButton())
        {
            hostProgramUpdate(hostUpdate->getProgram());
            return true;
        }
        if (source == &hostUpdate->cancelButton())
        {
            closeHostDialog();
            return true;
        }
    }
    return false;
}

// MIDI setup -----------------------------------------------------------------------------------------------

void MainComp::toggleMidiSetup()
{
    if (midiSetup != nullptr)
    {
        closeMidiSetup();
        return;
    }
    if (globalSetup != nullptr)
        return;
    midiSetup = std::make_unique<MIDI_Setup>(controller);
    addChildComponent(*midiSetup);
    midiSetup->addChangeListener(this);
    midiSetup->setPortLists(controller->inputDeviceNames(), controller->outputDeviceNames());
    auto& ports = controller->ports();
    midiSetup->selectedInput = ports.getInputIndex() + 1;
    midiSetup->selectedOutput = ports.getOutputIndex() + 1;
    midiSetup->inputOpen = ports.isInputOpen();
    midiSetup->outputOpen = ports.isOutputOpen();
    fitOverlays();
    putOnTop(*midiSetup);
    midiSetup->setVisible(true);
    controller->checkConnection();
}

void MainComp::closeMidiSetup()
{
    if (midiSetup == nullptr)
        return;
    controller->savePortSettings();
    midiSetup->removeChangeListener(this);
    deleteLater(std::move(midiSetup));
}

void MainComp::midiSetupEvent(int id, int value)
{
    if (midiSetup == nullptr)
        return;
    if (id == MIDI_Setup::okPressed)
    {
        // OK always keeps the chosen ports and closes the panel.
        controller->checkConnection();
        controller->saveSettings();
        closeMidiSetup();
        return;
    }
    if (id != MIDI_Setup::inputChosen && id != MIDI_Setup::outputChosen)
        return;

    const bool input = id == MIDI_Setup::inputChosen;
    const auto& shown = input ? midiSetup->inputNames : midiSetup->outputNames;
    if (value < 0 || value >= shown.size())
        return;
    // The panel's list was read when it opened; a device may have come or gone since. The port is
    // found again by its name, so that an entry never opens whatever device now has its place.
    const auto devices = input ? controller->inputDeviceNames() : controller->outputDeviceNames();
    const auto name = shown[value];
    const int k = value == 0 ? 0 : devices.indexOf(name) + 1;
    midiSetup->setPortLists(controller->inputDeviceNames(), controller->outputDeviceNames());
    auto& ports = controller->ports();
    if (value > 0 && k == 0)
    {
        controller->addNotice("The MIDI " + juce::String(input ? "input" : "output") + " \"" + name +
                              "\" is no longer there.");
        midiSetup->selectedInput = ports.getInputIndex() + 1;
        midiSetup->selectedOutput = ports.getOutputIndex() + 1;
        midiSetup->repaint(MIDI_Setup::boxArea());
        return;
    }

    if (input)
        controller->selectInputPort(k);
    else
        controller->selectOutputPort(k);
    const bool open = input ? ports.isInputOpen() : ports.isOutputOpen();
    (input ? midiSetup->selectedInput : midiSetup->selectedOutput) = k;
    (input ? midiSetup->inputOpen : midiSetup->outputOpen) = open;
    midiSetup->repaint(MIDI_Setup::boxArea());
    if (k > 0 && !open)
        controller->addNotice("The MIDI " + juce::String(input ? "input" : "output") + " \"" + name +
                              "\" could not be opened.");
    controller->checkConnection();
    controller->saveSettings();
}

// Global settings
// --------------------------------------------------------------------------------------------

void MainComp::toggleGlobalSetup()
{
    if (globalSetup != nullptr)
    {
        closeGlobalSetup();
        return;
    }
    if (midiSetup != nullptr)
        return;
    globalSetup = std::make_unique<GLOBAL_Setup>();
    addChildComponent(*globalSetup);
    globalSetup->addChangeListener(this);
    for (auto& c : globalSetup->controls())
        c->addChangeListener(this);
    fitOverlays();
    putOnTop(*globalSetup);
    controller->checkConnection();
    globalSetup->showMainParameters(controller->mainParameters);
}

void MainComp::closeGlobalSetup()
{
    if (globalSetup == nullptr)
        return;
    globalSetup->removeChangeListener(this);
    for (auto& c : globalSetup->controls())
        c->removeChangeListener(this);
    deleteLater(std::move(globalSetup));
}

namespace
{
void applyGlobalValue(MidiCntrState& controller, GLOBAL_Setup& panel, StsCont& c, int v)
{
    v = juce::jlimit(c.minimum, c.maximum, v);
    panel.showControlValue(c, v);
    controller.sendMainParameterChange(c.parameterNumber, v);
}
} // namespace

void MainComp::globalValueChange(StsCont& control)
{
    if (globalSetup == nullptr)
        return;
    switch (control.changeKind)
    {
    case StsCont::dragValue:
    case StsCont::toggled:
    case StsCont::wheelStep:
        applyGlobalValue(*controller, *globalSetup, control, control.requestedValue);
        return;
    case StsCont::valueMenuWanted:
        globalValueMenu(control);
        return;
    default:
        return;
    }
}

juce::PopupMenu MainComp::buildGlobalValueMenu(int parameter, int maximum) const
{
    return ParDesMenu::globalValueMenu(parameter, maximum);
}

void MainComp::globalValueMenu(StsCont& control)
{
    juce::Component::SafePointer<StsCont> target(&control);
    juce::Component::SafePointer<MainComp> self(this);
    menus::show(buildGlobalValueMenu(control.parameterNumber, control.maximum), nullptr,
                [self, target](int id)
                {
                    // Dismissed, or the panel closed meanwhile: nothing happens.
                    if (id <= 0 || self == nullptr || target == nullptr || self->globalSetup == nullptr)
                        return;
                    applyGlobalValue(*self->controller, *self->globalSetup, *target, id - 1);
                });
}

// Host program update dialog
// -----------------------------------------------------------------------------------

void MainComp::openHostDialog(int program)
{
    if (hostUpdate != nullptr || program < 0 || program > 127)
        return;
    controller->hostDialogOpen = true;
    hostUpdate = std::make_unique<UpdHostCont>(program, controller->hostBank().slotName(program), getWidth(),
                                               getHeight());
    addAndMakeVisible(*hostUpdate);
    putOnTop(*hostUpdate);
    hostUpdate->okButton().addChangeListener(this);
    hostUpdate->cancelButton().addChangeListener(this);
}

void MainComp::hostProgramUpdate(int n)
{
    if (n >= 0 && n < 128)
        controller->hostBank().storeEdit(n);
    closeHostDialog();
}

void MainComp::closeHostDialog()
{
    controller->hostDialogOpen = false;
    if (hostUpdate == nullptr)
        return;
    hostUpdate->okButton().removeChangeListener(this);
    hostUpdate->cancelButton().removeChangeListener(this);
    deleteLater(std::move(hostUpdate));
}

void MainComp::hostProgramChanged(int n)
{
    if (hostUpdate == nullptr || n < 0 || n > 127)
        return;
    hostUpdate->setProgram(n, controller->hostBank().slotName(n));
}

// Bank transfers
// ------------------------------------------------------------------------------------------------

void MainComp::startTransfer(int kind, int bank, bool keepBanksFirst)
{
    const bool receive = isReceive(kind);
    if ((!receive && kind != 100 && kind != 107) || bank < 0 || bank > 3 || progress != nullptr)
        return;
    if (controller->transferActive.load() || (receive && controller->isSending()))
    {
        controller->addNotice("Not started: the instrument is still busy with the last transfer or write.");
        return;
    }
    if (receive && (!controller->ports().isOutputOpen() || !controller->ports().isInputOpen()))
    {
        // A request into a closed port is never answered: the box would wait for nothing.
        controller->addNotice(juce::String("Not started: no MIDI ") +
                              (controller->ports().isOutputOpen() ? "input" : "output") +
                              " is open (MIDI setup).");
        return;
    }

    transfer = {};
    transfer.kind = kind;
    transfer.bank = kind == 7 || kind == 107 ? 0 : bank;
    const auto what = kind == 7 || kind == 107 ? juce::String("all banks") : "Bank " + bankLetter(bank);
    progress = std::make_unique<ProgBar>(getWidth(), getHeight());
    progress->setTitle(receive ? "Receiving " + what + " from the instrument"
                               : "Sending " + what + " to the instrument");
    addAndMakeVisible(*progress);
    putOnTop(*progress);
    progress->cancelButton().addChangeListener(this);
    if (keepBanksFirst && !receive)
    {
        progress->setTitle("Keeping the banks of " + controller->instrumentWord() + ", then sending " + what);
        controller->startTransmitKeepingBanks(kind, bank);
    }
    else
        controller->startTransfer(kind, bank);
}

void MainComp::transferProgress(int bank, int slot)
{
    if (progress == nullptr || transfer.finished)
        return; // a late report after CANCEL or the end: nothing to show it in
    if (isReceive(transfer.kind) && (bank != transfer.lastBank || slot < transfer.lastSlot))
    {
        // Each bank comes as its programs and then their names.
        const bool names = bank == transfer.lastBank;
        progress->setTitle("Receiving " +
                           (transfer.kind == 7 ? juce::String("all banks") : "Bank " + bankLetter(bank)) +
                           " from the instrument: " + (names ? "names" : "programs"));
    }
    transfer.lastBank = bank;
    transfer.lastSlot = slot;
    progress->showProgress(slot);
    progress->captionText = bankLetter(bank) + ":" + juce::String(progress->value + 1);
    progress->label().setText(progress->captionText, juce::dontSendNotification);
}

void MainComp::handleTransferCode(int code)
{
    switch (codes::kind(code))
    {
    case CS_TRANSFER_PROGRESS:
        transferProgress((code >> 8) & 0xff, code & 0xff);
        return;
    case CS_TRANSFER_VERIFYING:
        if (progress != nullptr && !transfer.finished)
        {
            transfer.verifying = true;
            transfer.lastSlot = -1;
            progress->setTitle("Reading back from the instrument to verify");
            progress->showProgress(0);
        }
        return;
    case CS_TRANSFER_MISMATCH:
        if (progress != nullptr && !transfer.finished)
        {
            transfer.mismatches.add(bankLetter((code >> 8) & 0xff) + ":" + juce::String((code & 0xff) + 1));
            auto shown = transfer.mismatches;
            if (shown.size() > 12)
            {
                shown.removeRange(12, shown.size());
                shown.add("and " + juce::String(transfer.mismatches.size() - 12) + " more");
            }
            progress->setDetails("Differs on the instrument: " + shown.joinIntoString(", "));
        }
        return;
    case CS_TRANSFER_DONE:
        break;
    default:
        return;
    }

    if (progress == nullptr || transfer.finished)
    {
        endTransfer(); // late, or a second end: harmless
        return;
    }
    if (!isReceive(transfer.kind))
    {
        const auto report = controller->lastSendReport();
        if (report.kind == transfer.kind && !report.succeeded())
        {
            // The box stays with the outcome until the user closes it; the status line says it too.
            if (controller->transferActive.load())
                controller->endTransfer();
            transfer.finished = true;
            progress->setTitle("The transmit did not succeed");
            progress->setDetails(report.status, 0xffff7060);
            progress->cancelButton().setText("CLOSE");
            return;
        }
    }
    // A receive's outcome is the controller state's notice.
    transfer.finished = true; // ended by itself: not a cancel
    endTransfer();
}

void MainComp::endTransfer()
{
    // Cancelled (or the window closes): the controller state's notice says exactly which slots changed.
    if (controller->transferActive.load() || controller->receiveIntoBank.load() ||
        controller->transferKind.load() != -1)
        controller->endTransfer();
    closeProgressBox();
}

void MainComp::closeProgressBox()
{
    transfer.finished = false;
    transfer.kind = -1;
    if (progress == nullptr)
        return;
    progress->cancelButton().removeChangeListener(this);
    deleteLater(std::move(progress));
}
} // namespace zentak
