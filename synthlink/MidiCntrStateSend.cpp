// The controller state's sending of whole programs to the instrument: the edit record to its edit
// buffer, a program written into one of its slots (sent by the send job), the recall of a restored
// project's sound, and the send settings. Message thread.
#include "MidiCntrState.h"

#include "SettingsFiles.h"
#include "sounddata/SoundRecords.h"

namespace zentak
{
namespace sf = settingsfiles;

bool MidiCntrState::sendEditRecord()
{
    lastRefusal.store(1);
    if (!portsControl->isOutputOpen())
        return false;
    const auto message = records::packProgramMessage(hostProgramBank->getEdit());
    if (message.getSize() != (size_t)records::editProgramMessage)
        return false;
    const auto result = portsControl->sendSysex(message.getData(), message.getSize());
    lastRefusal.store(result == MIDI_PORTS_Control::SendResult::queueFull ? 2 : 0);
    return result == MIDI_PORTS_Control::SendResult::queued;
}

juce::String MidiCntrState::notSentReason() const
{
    return lastRefusal.load() == 2 ? "the send queue is full" : "no MIDI output is open";
}

bool MidiCntrState::sendHostProgram()
{
    loadHostProgram();
    return sendEditRecord();
}

bool MidiCntrState::writeProgram(int bank, int slot, const juce::String& name, bool verify)
{
    auto* target = programBank(bank);
    if (target == nullptr || slot < 0 || slot > 127 || sending.load() || transferActive.load())
        return false;

    // The name as the instrument will hold it: what a name message can carry, and nothing else, so
    // that the library and the instrument agree byte for byte.
    std::uint8_t record[Bank_Program::slotSize];
    hostProgramBank->copyEdit(record);
    records::encodeName(name, record + records::nameOffset);
    for (int i = 0; i < records::nameLength; ++i)
        record[records::nameOffset + i] = records::nameMessageByte(record[records::nameOffset + i]);

    target->setSlot(slot, record, sizeof(record));
    hostProgramBank->setEditName(records::decodeName(record + records::nameOffset));
    currentBank.store(bank);
    currentProgram.store(slot);
    postChange(CS_PROGRAM_STORED);
    postChange(CS_NAMES_STORED);
    postChange(CS_EDIT_NAME_CHANGED);

    startSendJob(writeKind, {bank * 128 + slot}, verify);
    return true;
}

void MidiCntrState::recallRestoredEdit()
{
    if (!sendSoundOnProjectOpen())
        return;
    recallPending.store(true);
    sendPendingRecall();
}

void MidiCntrState::sendPendingRecall()
{
    if (recallPending.load() && portsControl->isOutputOpen() && recallPending.exchange(false))
        sendEditRecord();
}

// Settings ----------------------------------------------------------------------------------------

bool MidiCntrState::settingFlag(int field) const
{
    return settings[field].trim() != "off";
}

int MidiCntrState::transmitGapMs() const
{
    const auto text = settings[sf::transmitGapField].trim();
    const int ms = text.getIntValue();
    if (text.isEmpty() || !text.containsOnly("0123456789") || ms < 1 || ms > 5000)
        return sf::defaultTransmitGapMs;
    return ms;
}

void MidiCntrState::setTransmitGapMs(int ms)
{
    settings.set(sf::transmitGapField, juce::String(juce::jlimit(1, 5000, ms)));
}

bool MidiCntrState::verifyTransmit() const
{
    return settingFlag(sf::verifyField);
}

void MidiCntrState::setVerifyTransmit(bool on)
{
    settings.set(sf::verifyField, on ? "on" : "off");
}

bool MidiCntrState::sendSoundOnProjectOpen() const
{
    // A file from before this field holds "0" there, which says off.
    const auto text = settings[sf::recallField].trim();
    return settingFlag(sf::recallField) && text != "0";
}

void MidiCntrState::setSendSoundOnProjectOpen(bool on)
{
    settings.set(sf::recallField, on ? "on" : "off");
}
} // namespace zentak
