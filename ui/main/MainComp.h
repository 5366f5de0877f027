// MainComp: the one component that fills the editor window. It owns the pages, the bar and the panels,
// lays them out for the window's size, keeps them in step with the controller state by handling its
// notification codes in order, and routes every button, label and panel event to what it does. The
// only listener of the controller state. Split by concern: MainComp.cpp (construction, layout),
// MainCompCodes.cpp (notification codes, refresh), MainCompRouting.cpp (change routing, command ids,
// clipboard, the page switches), MainCompMenus.cpp (the menus), MainCompLibrary.cpp (the bank browser,
// the write dialog, the FILE and bank menus and the file commands). Message thread only.
#pragma once

#include "AppBar.h"
#include "EditorPanel.h"
#include "ui/library/BankComp.h"
#include "ui/library/WriteSnd.h"
#include "synthlink/MidiCntrState.h"
#include "ui/keyboard/KeyBrd.h"
#include "ui/library/UpdHostCont.h"
#include "ui/panels/GLOBAL_Setup.h"
#include "ui/panels/MIDI_Setup.h"
#include "ui/sequencer/SeqPanel.h"
#include "ui/widgets/AboutPanel.h"
#include "ui/widgets/ProgBar.h"
#include "ui/widgets/StsResor.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>
#include <memory>
#include <optional>

namespace zentak
{

class MainComp : public juce::Component,
                 public juce::ChangeListener,
                 public juce::ChangeBroadcaster,
                 public MidiCntrStateListener,
                 public juce::AsyncUpdater
{
public:
    /** The unscaled window: the bar, the pages and the keyboard below them (686 + 172). */
    static constexpr int designWidth = 1607, designHeight = 858;
    /** Below this width the status has no room in the bar and takes a strip of its own at the bottom. */
    static constexpr int narrowWidth = 960, statusStripHeight = 18;
    /** The height a window of width w needs to show everything at the scale w / designWidth. */
    static int heightForWidth(int w);
    static constexpr const char* versionText = "2.0.2";

    explicit MainComp(MidiCntrState* state);
    ~MainComp() override;

    // Controller state -----------------------------------------------------------------------------
    /** Triggers one asynchronous update for any number of calls before it runs. */
    void midiCntrStateChanged(MidiCntrState* state) override;
    /** Handles every pending code in order (message thread). */
    void handleAsyncUpdate() override;
    /** Shows the whole edit record: LCD, every control of both pages. */
    void refreshFromEditRecord();
    /** The bank, number, category and name of the edit record on the LCDs of the editor and browser. */
    void showProgramName();
    /** Shows parameter p's new value v on every page (never sends). */
    void parameterUpdate(int p, int v);

    // Layout ---------------------------------------------------------------------------------------
    void resized() override;
    /** What no child covers: below the keyboard when the window is taller than the design. */
    void paint(juce::Graphics& g) override;
    void relayout();
    /** Width / designWidth; smaller when a host gives a window too short for it, so that the whole
        page and keyboard always show. */
    float displayScale() const;
    /** Places the status (in the bar, or a strip of its own when narrow) and the notice banner. */
    void layoutMessages();
    /** Every open overlay (about, MIDI setup, global settings, host dialog, progress box) follows the
        window: whole inside it, covering what it must. */
    void fitOverlays();
    /** Where the keyboard's top edge sits at rest (the pages end there). */
    int keyboardTop() const;
    /** Shows page 97 (the sound editor) or 98 (the sequencer page). */
    void showPage(int id);

    // Routing and commands ---------------------------------------------------------------------------
    void changeListenerCallback(juce::ChangeBroadcaster* source) override;
    void runCommand(int id);

    // Menus (each built fresh and shown asynchronously through the menu seam) ---------------------------
    void editMenu();
    void sendMenu();
    void channelMenu();
    void programMenu();
    juce::PopupMenu buildEditMenu() const;
    juce::PopupMenu buildSendMenu() const;
    juce::PopupMenu buildChannelMenu() const;
    juce::PopupMenu buildProgramMenu() const;
    void editMenuChosen(int id);
    void sendMenuChosen(int id);
    void channelChosen(int n);
    void programMenuChosen(int id);

    // Program clipboard ----------------------------------------------------------------------------------
    void copyProgram(bool fromBank, int bank, int slot);
    void pasteProgram(bool toBank, int bank, int slot);
    bool clipboardFull() const { return clipboard.has_value(); }

    // The flash panel and the about panel ------------------------------------------------------------
    void showFlashGroup(groups::GroupId id);
    void closeFlashPanel();
    void showAbout(int timeoutMs);
    void closeAbout();
    bool isAboutShown() const { return about != nullptr; }

    // Library (MainCompLibrary.cpp) ----------------------------------------------------------------
    void toggleBankBrowser();
    void toggleWriteDialog();
    void closeWriteDialog();
    bool isBankBrowserShown() const { return browserShown; }
    bool isWriteDialogShown() const { return writeDialog != nullptr; }
    BankComp& bankBrowserPage() { return *bankBrowser; }
    WriteSnd* writeDialogPanel() { return writeDialog.get(); }
    void fileMenu();
    void bankFileMenu();
    void bankMidiMenu();
    void presetsMenu();
    void bankContextMenu(int bank, int slot);
    juce::PopupMenu buildFileMenu() const;
    juce::PopupMenu buildBankFileMenu() const;
    juce::PopupMenu buildBankMidiMenu() const;
    juce::PopupMenu buildPresetsMenu() const;
    juce::PopupMenu buildBankContextMenu(int bank, int slot) const;
    void fileMenuChosen(int id);
    void bankFileMenuChosen(int id);
    void restoreLibraryFromBackup();
    /** Asks before a transmit replaces the instrument's banks, offering to keep them first. */
    void askTransmit(int kind, int bank);
    void bankMidiMenuChosen(int id);
    void presetsMenuChosen(int id);
    void bankContextMenuChosen(int id, int bank, int slot);
    /** A choice (event 91) of slot s of bank b in the browser's list. */
    void bankSlotChosen(int bank, int slot);
    /** A command code the browser reported. */
    void bankBrowserCommand(int code);

    // The MIDI setup and global settings panels ------------------------------------------------------
    void toggleMidiSetup();
    /** A request of the MIDI setup panel: 300 input entry, 302 output entry, 203 OK. */
    void midiSetupEvent(int id, int value);
    void toggleGlobalSetup();
    /** A change kind of one of the global panel's controls. */
    void globalValueChange(StsCont& control);
    /** The global value menu of a control (asynchronous); the chosen value is sent and shown. */
    void globalValueMenu(StsCont& control);
    juce::PopupMenu buildGlobalValueMenu(int parameter, int maximum) const;
    MIDI_Setup* midiSetupPanel() const { return midiSetup.get(); }
    GLOBAL_Setup* globalSetupPanel() const { return globalSetup.get(); }

    // The host program update dialog -----------------------------------------------------------------
    void openHostDialog(int program);
    /** OK: the edit record becomes host program n (n >= 0); the dialog closes either way. */
    void hostProgramUpdate(int n);
    void closeHostDialog();
    /** The host chose program n while the dialog may be open (the editor's command 180). */
    void hostProgramChanged(int n);
    UpdHostCont* hostDialog() const { return hostUpdate.get(); }

    // Bank transfers and their progress box ---------------------------------------------------------------
    /** Kind 0 receives program bank `bank`, 7 all banks; 100 transmits bank `bank`, 107 all banks. */
    void startTransfer(int kind, int bank, bool keepBanksFirst = false);
    /** Ends the transfer and closes the box (CANCEL, CS_TRANSFER_DONE); harmless when none runs. */
    void endTransfer();
    /** CS_TRANSFER_PROGRESS for (bank, slot): caption "B:n", bar 3 x slot. */
    void transferProgress(int bank, int slot);
    ProgBar* progressBox() const { return progress.get(); }

    // Parts, for the tests and the pages that come with later work --------------------------------------
    MidiCntrState* state() const { return controller; }
    StsResor& skin() { return *resources; }
    EditorPanel& editorPage() { return *editor; }
    FlashPanel& flashPanel() { return *flash; }
    AppBar& appBar() { return *bar; }
    SeqPanel& sequencerPage() { return *sequencer; }
    KeyBrd& keyboard() { return *keys; }
    int currentPage() const { return page; }

private:
    /** Lays an overlay out for the area it covers. Where the area is smaller than what the overlay's
        fixed layout needs, it is laid out for a larger area and shown reduced to fit: it stays whole
        and every button on it within reach. */
    static void fitOverlay(juce::Component& overlay, juce::Rectangle<int> area, int neededWidth,
                           int neededHeight, const std::function<void(int, int)>& layout);
    /** Hides a child panel now and deletes it once the current callback has returned. */
    void deleteLater(std::unique_ptr<juce::Component> panel);
    void showNotices();
    void statusChanged(bool online);
    void sequencerRequest();
    void createLibraryPages();
    void removeLibraryListeners();
    void layoutLibraryPages(int w, int top);
    /** Routes a change of the browser, its list or the write dialog; false for any other source. */
    bool libraryChange(juce::ChangeBroadcaster* source);
    /** The bank lists show what the banks hold now (programs stored, names received, a bank loaded). */
    void refreshBankList();
    void bankListEvent();
    void writeChosen();
    /** Change routing of the panels and dialogs of MainCompPanels.cpp; true when source was theirs. */
    bool routePanelChange(juce::ChangeBroadcaster* source);
    /** The transfer codes: progress, verifying, mismatch, done. */
    void handleTransferCode(int code);
    void closeMidiSetup();
    void closeGlobalSetup();
    void closeProgressBox();
    void showTransferOutcome();

    MidiCntrState* controller;                       // never owned
    juce::SharedResourcePointer<StsResor> resources; // the shared skin; its look gives "Arial" our faces
    std::unique_ptr<EditorPanel> editor;
    std::unique_ptr<SeqPanel> sequencer;
    std::unique_ptr<FlashPanel> flash;
    std::unique_ptr<KeyBrd> keys;
    std::unique_ptr<AppBar> bar;
    std::unique_ptr<AboutPanel> about;
    std::unique_ptr<BankComp> bankBrowser;
    bool browserShown = false;
    std::unique_ptr<WriteSnd> writeDialog;
    std::unique_ptr<MIDI_Setup> midiSetup;
    std::unique_ptr<GLOBAL_Setup> globalSetup;
    std::unique_ptr<UpdHostCont> hostUpdate;
    std::unique_ptr<ProgBar> progress;
    struct TransferShown
    {
        int kind = -1, bank = 0, lastBank = -1, lastSlot = -1;
        bool verifying = false, finished = false;
        juce::StringArray mismatches;
    } transfer;
    std::optional<juce::MemoryBlock> clipboard;
    int page = 97;
    std::shared_ptr<bool> alive = std::make_shared<bool>(true); // for menus answering after we are gone

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(MainComp)
};

} // namespace zentak
