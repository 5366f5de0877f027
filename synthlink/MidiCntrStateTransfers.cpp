// The controller state's bank transfers: starting and ending receives and transmits, what a
// receive reports when it ends or is cancelled, and keeping the instrument's banks in a file of their
// own before a transmit replaces them. Message thread; finishReceive on the MIDI-input thread.
#include "MidiCntrState.h"

#include "MessageThread.h"
#include "SettingsFiles.h"
#include "library/DataImage.h"

namespace zentak
{
namespace
{
constexpr int requestProgram = 0x05, requestName = 0x10;

juce::String bankLetter(int bank)
{
    return juce::String::charToString((juce::juce_wchar)('A' + juce::jlimit(0, 3, bank)));
}
} // namespace

void MidiCntrState::requestForReceive(int request, int bank, int slot)
{
    requests.expect(RequestBook::Owner::receive,
                    request == requestName ? RequestBook::Answer::name : RequestBook::Answer::program, bank,
                    slot);
    sendRequest(request, bank, slot);
}

void MidiCntrState::startTransfer(int kind, int bank)
{
    if (bank < 0 || bank > 3)
        return;
    if (kind == 100 || kind == 107)
    {
        if (sending.load() || transferActive.load())
        {
            // One send at a time. A write still running ends this request at once; a running transfer
            // keeps its own progress box and is not ended by this one.
            addNotice("Not started: " + instrumentWord() + " is still busy with the last transfer or write.");
            if (!transferActive.load())
                postChange(CS_TRANSFER_DONE);
            return;
        }
        transferKind.store(kind);
        transferActive.store(true);
        std::vector<int> slots;
        for (int b = kind == 107 ? 0 : bank; b <= (kind == 107 ? 3 : bank); ++b)
            for (int s = 0; s < 128; ++s)
                slots.push_back(b * 128 + s);
        startSendJob(kind, std::move(slots), verifyTransmit());
        return;
    }
    if (kind != 0 && kind != 7)
        return;
    requests.abandon(RequestBook::Owner::receive); // whatever an earlier receive still waits for
    for (size_t b = 0; b < 4; ++b)
    {
        receivedPrograms[b].store(0);
        receivedNames[b].store(0);
    }
    receiveFirstBank.store(kind == 7 ? 0 : bank);
    transferKind.store(kind);
    transferActive.store(true);
    receiveIntoBank.store(true);
    requestForReceive(requestProgram, kind == 7 ? 0 : bank, 0);
}

void MidiCntrState::finishReceive()
{
    const int kind = transferKind.load();
    const bool backup = backupReceive.load();
    receiveIntoBank.store(false);
    if (backup)
    {
        finishBackupReceive();
        return;
    }
    addNotice(kind == 7 ? "All banks received from " + instrumentWord() + "."
                        : "Bank " + bankLetter(receiveFirstBank.load()) + " received from " +
                              instrumentWord() + ".");
    postChange(CS_TRANSFER_DONE);
}

juce::String MidiCntrState::receiveSummary() const
{
    juce::StringArray parts;
    for (int b = 0; b < 4; ++b)
    {
        const int programs = receivedPrograms[(size_t)b].load(), names = receivedNames[(size_t)b].load();
        if (programs == 0 && names == 0)
            continue;
        const auto letter = bankLetter(b);
        const auto range = [&letter](int n)
        { return n == 1 ? letter + ":1" : letter + ":1-" + letter + ":" + juce::String(n); };
        if (programs == 128 && names == 128)
            parts.add("bank " + letter + " whole");
        else if (names == 0)
            parts.add(range(programs) + " (sounds only, names unchanged)");
        else
            parts.add(range(programs) + " (sounds), " + range(names) + " (names)");
    }
    return parts.joinIntoString("; ");
}

void MidiCntrState::endTransfer()
{
    cancelTransmit(); // CANCEL: a transmit stops after the slot in hand
    // Answers to the receive's request still on their way are dropped when they arrive.
    requests.abandon(RequestBook::Owner::receive);
    const bool receiving = receiveIntoBank.exchange(false) && transferActive.load();
    transferActive.store(false);
    transferKind.store(-1);
    if (backupReceive.exchange(false))
    {
        // Keeping the banks first was cancelled (or its file not written yet): nothing is sent.
        backupDone.store(false);
        pendingTransmitKind = -1;
        addNotice("Transmit not started: keeping the banks of " + instrumentWord() +
                  " was cancelled, and nothing was sent. The library is unchanged.");
        return;
    }
    if (!receiving)
        return;
    const auto changed = receiveSummary();
    addNotice(changed.isEmpty()
                  ? juce::String("Receive stopped before the first program arrived; nothing changed.")
                  : "Receive stopped. Changed in the library: " + changed +
                        ". Every other slot is unchanged.");
}

void MidiCntrState::startTransmitKeepingBanks(int kind, int bank)
{
    if ((kind != 100 && kind != 107) || bank < 0 || bank > 3)
        return;
    if (sending.load() || transferActive.load())
    {
        addNotice("Not started: " + instrumentWord() + " is still busy with the last transfer or write.");
        if (!transferActive.load())
            postChange(CS_TRANSFER_DONE);
        return;
    }
    if (!portsControl->isInputOpen() || !portsControl->isOutputOpen())
    {
        addNotice("Transmit not started: the instrument's banks cannot be kept without a MIDI input and "
                  "output (MIDI setup). Nothing was sent.");
        postChange(CS_TRANSFER_DONE);
        return;
    }
    // The kept banks start as copies of the library's, so a slot that never arrives is not blank; the
    // file is only written once all four banks have arrived.
    for (size_t b = 0; b < 4; ++b)
    {
        backupBanks[b] = std::make_unique<Bank_Program>("Kept Bank");
        std::uint8_t record[Bank_Program::slotSize];
        for (int s = 0; s < 128; ++s)
        {
            programBanks[b]->copySlot(s, record);
            backupBanks[b]->setSlot(s, record, sizeof(record));
        }
    }
    pendingTransmitKind = kind;
    pendingTransmitBank = bank;
    backupReceive.store(true);
    startTransfer(7, 0);
}

void MidiCntrState::finishBackupReceive()
{
    if (!onMessageThread())
    {
        backupDone.store(true); // the file is written and the transmit started on the message thread
        return;
    }
    if (!backupReceive.exchange(false))
        return; // cancelled meanwhile

    transferActive.store(false);
    transferKind.store(-1);
    const Bank_Program* const p[4] = {backupBanks[0].get(), backupBanks[1].get(), backupBanks[2].get(),
                                      backupBanks[3].get()};
    const Bank_Combo* const c[3] = {comboBanks[0].get(), comboBanks[1].get(), comboBanks[2].get()};
    const auto image = image::build(p, *waves, c);
    const auto stamp = juce::Time::getCurrentTime().formatted("%Y-%m-%d %H.%M");
    auto file = folder.getChildFile("Before transmit " + stamp + ".evl");
    for (int n = 2; file.exists() && n < 1000; ++n)
        file = folder.getChildFile("Before transmit " + stamp + " (" + juce::String(n) + ").evl");
    if (file.exists() || !settingsfiles::replaceFile(file, image.getData(), image.getSize()))
    {
        addNotice("Transmit not started: the instrument's banks could not be written to \"" +
                      file.getFullPathName() + "\". Nothing was sent.",
                  true);
        postChange(CS_TRANSFER_DONE);
        return;
    }
    keptBanks = file;
    addNotice("The banks of " + instrumentWord() + " are kept in \"" + file.getFileName() +
                  "\" (its combos and wave shapes are the library's); the transmit follows.",
              true);
    startPendingTransmit();
}

void MidiCntrState::startPendingTransmit()
{
    const int kind = pendingTransmitKind;
    pendingTransmitKind = -1;
    for (auto& b : backupBanks)
        b.reset();
    if (kind == 100 || kind == 107)
        startTransfer(kind, pendingTransmitBank);
}
} // namespace zentak
