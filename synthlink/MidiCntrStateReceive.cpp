// The controller state's side of the instrument's MIDI input: channel messages, SysEx reassembly,
// the dispatch of every message the instrument sends, and the request chain of a bank receive.
// Runs on the MIDI-input thread.
#include "MidiCntrState.h"

#include "sounddata/DSI_Combo.h"
#include "sounddata/DSI_Program.h"

namespace zentak
{
namespace
{
/** Byte i of a message, 0 beyond its end. */
int byteAt(const juce::uint8* m, size_t size, size_t i)
{
    return i < size ? m[i] : 0;
}

/** Byte i of a message up to its closing F7; bytes at or after the F7 read as 0. */
int bodyByteAt(const juce::uint8* m, size_t size, size_t i)
{
    for (size_t k = 5; k <= i && k < size; ++k)
        if (m[k] == 0xF7)
            return 0;
    return byteAt(m, size, i);
}

constexpr int requestProgram = 0x05, requestName = 0x10;
} // namespace

void MidiCntrState::handleIncomingMidiMessage(juce::MidiInput*, const juce::MidiMessage& message)
{
    const auto* d = message.getRawData();
    const int size = message.getRawDataSize();
    if (d == nullptr || size <= 0)
        return;

    const int status = d[0];
    if (status >= 0x80 && status < 0xF0)
    {
        // Channel messages, read from their own bytes only.
        const int type = status & 0xF0;
        if (type == 0xB0 && size >= 3 && d[1] == 32)
        {
            const int bank = d[2];
            if (bank > 3)
                return;
            currentBank.store(bank);
            selectProgram(bank, currentProgram.load(), false, true);
        }
        else if (type == 0xC0 && size >= 2 && d[1] < 128)
        {
            currentProgram.store(d[1]);
            selectProgram(currentBank.load(), d[1], false, true);
        }
        return; // notes, pitch wheel, other controllers and pressure are not the instrument's business here
    }
    if (assembler.feed(d, (size_t)size))
    {
        const auto whole = assembler.take();
        handleSysex(whole.data(), whole.size());
    }
}

void MidiCntrState::handlePartialSysexMessage(juce::MidiInput*, const juce::uint8*, int, double)
{
    // An unfinished message is never dispatched: a truncated edit would set a parameter to 0.
    assembler.discard();
}

void MidiCntrState::handleSysex(const juce::uint8* m, size_t size)
{
    if (m == nullptr || size < 5)
        return;
    if (m[3] == 0x06 && m[1] == 0x7E)
        return; // a device-inquiry reply
    if (m[2] != 0x20)
        return;

    switch (m[4])
    {
    case 0x01:
    {
        const int param = bodyByteAt(m, size, 5);
        if (param > 127)
            return;
        handleInstrumentEdit(param, (bodyByteAt(m, size, 6) & 0x0f) + 16 * (bodyByteAt(m, size, 7) & 0x0f));
        return;
    }
    case 0x08:
    {
        const int step = bodyByteAt(m, size, 5);
        if (step > 63)
            return;
        handleInstrumentEdit(params::firstSeqStep + step,
                             (bodyByteAt(m, size, 6) & 0x0f) + 16 * (bodyByteAt(m, size, 7) & 0x0f));
        return;
    }
    case 0x02:
    case 0x03:
    case 0x0A:
        // A damaged dump cannot say which slot it answers: while a read-back waits, it is its answer
        // (compared, and found damaged), and it is stored nowhere.
        if (size != (size_t)records::editProgramMessage && size != (size_t)records::slotProgramMessage)
        {
            offerVerifyAnswer(m, size);
            return;
        }
        handleProgramDump(m, size, m[4]);
        return;
    case 0x0F:
        mainParameters.decodeDump(m, size);
        onLine.store(true);
        postChange(CS_SYNTH_ONLINE);
        return;
    case 0x11:
        if (size != 24)
        {
            offerVerifyAnswer(m, size);
            return;
        }
        handleProgramName(m, size);
        return;
    case 0x22:
    case 0x37:
        handleComboDump(m, size);
        return;
    default:
        return; // 0x09, 0x2A and anything else
    }
}

void MidiCntrState::handleInstrumentEdit(int index, int value)
{
    const int maximum = paramMaximum[index];
    value = juce::jlimit(0, juce::jmax(0, maximum), value);
    // The instrument already holds this value: it goes into the edit record and onto the screen here,
    // and to the host through the relay, but never back to the instrument.
    instrumentBytes[(size_t)index][(size_t)(value >> 6)].fetch_or(std::uint64_t{1} << (value & 63));
    hostProgramBank->setEditByte(index, (std::uint8_t)value);
    postChange(codes::paramChanged(index, value));
    if (!relay.add(HandlerComp::value, HandlerComp::instrument, index, value))
    {
        droppedInstrumentEdit[(size_t)index].store(true);
        relayOverflowed.store(true);
        relayOverflowCount.fetch_add(1);
        relay.sendChangeMessage();
    }
}

void MidiCntrState::handleProgramDump(const juce::uint8* m, size_t size, int command)
{
    const bool namesSlot = size == (size_t)records::slotProgramMessage;
    if (!namesSlot && size != (size_t)records::editProgramMessage)
        return;
    const int bank = namesSlot ? m[5] : 0;
    const int slot = namesSlot ? m[6] : 0;
    if (namesSlot && (bank > 3 || slot > 127))
        return; // no such bank or slot: the message is dropped and a running chain stops here

    // A dump naming its slot may answer a request of ours: the bank receive's, or one given up on
    // (a receive cancelled, a read-back timed out), whose answer is stored nowhere.
    const auto claim =
        namesSlot ? requests.claim(RequestBook::Answer::program, bank, slot) : RequestBook::Claim{};
    if (claim.abandoned)
        return;
    if (claim.owner == RequestBook::Owner::readBack)
    {
        offerVerifyAnswer(m, size); // compared by the read-back, never stored
        return;
    }
    const bool intoBank = receiveIntoBank.load();
    if (namesSlot && claim.owner == RequestBook::Owner::none && (intoBank || verifying.load()))
        return; // while a receive or a read-back runs, no slot it did not ask for is stored

    juce::MemoryBlock record;
    if (command == 0x0A)
    {
        DSI_Program holder;
        holder.unpackDump(juce::MemoryBlock(m + (namesSlot ? 7 : 5), (size_t)records::programPayload));
        record = holder.record();
    }
    else
    {
        record = records::unpackMessage(juce::MemoryBlock(m, size));
    }
    if (record.getSize() != (size_t)records::programParamBytes)
        return;

    if (claim.owner == RequestBook::Owner::receive)
    {
        if (!intoBank || !transferActive.load())
            return;
        receiveBank(bank)->setSlot(slot, record);
        receivedPrograms[(size_t)bank].store(slot + 1);
        postChange(codes::transferProgress(bank, slot));
        // Both dump forms: the programs of the bank, then their names.
        if (slot == 127)
            requestForReceive(requestName, bank, 0);
        else
            requestForReceive(requestProgram, bank, slot + 1);
        return;
    }

    if (namesSlot)
    {
        currentBank.store(bank);
        currentProgram.store(slot);
        programBanks[(size_t)bank]->setSlot(slot, record);
        postChange(command == 0x0A ? CS_PROGRAM2_STORED : CS_PROGRAM_STORED);
    }
    hostProgramBank->setEdit(record);
    editRecordReplaced(command == 0x0A ? CS_PROGRAM2_EDIT_LOADED : CS_EDIT_BUFFER_LOADED);
}

void MidiCntrState::handleProgramName(const juce::uint8* m, size_t size)
{
    if (size != 24)
        return;
    const int bank = m[5], slot = m[6];
    if (bank > 3 || slot > 127)
        return;

    const auto claim = requests.claim(RequestBook::Answer::name, bank, slot);
    if (claim.abandoned)
        return;
    if (claim.owner == RequestBook::Owner::readBack)
    {
        offerVerifyAnswer(m, size);
        return;
    }
    const bool intoBank = receiveIntoBank.load();
    if (claim.owner == RequestBook::Owner::none && (intoBank || verifying.load()))
        return;

    juce::String name;
    if (m[7] == 127 && m[8] == 127 && m[9] == 127)
        name = records::placeholderName(bank, slot);
    else
    {
        // The instrument pads its names with 0x7F, which is no character: it reads as a space.
        juce::uint8 stored[16];
        for (int i = 0; i < 16; ++i)
            stored[i] = records::nameMessageByte(m[7 + i]);
        name = records::decodeName(stored);
    }

    if (claim.owner == RequestBook::Owner::receive)
    {
        if (!intoBank || !transferActive.load())
            return;
        receiveBank(bank)->setSlotName(slot, name);
        receivedNames[(size_t)bank].store(slot + 1);
        postChange(codes::transferProgress(bank, slot));
        if (slot < 127)
        {
            requestForReceive(requestName, bank, slot + 1);
            return;
        }
        postChange(CS_NAMES_STORED);
        if (transferKind.load() == 7 && bank < 3)
            requestForReceive(requestProgram, bank + 1, 0);
        else
            finishReceive();
        return;
    }

    programBanks[(size_t)bank]->setSlotName(slot, name);
    postChange(CS_NAMES_STORED);
    hostProgramBank->setEditName(name);
    postChange(CS_EDIT_NAME_CHANGED);
}

void MidiCntrState::handleComboDump(const juce::uint8* m, size_t size)
{
    const bool namesSlot = size == 100;
    if (!namesSlot && size != 98)
        return;
    const int bank = namesSlot ? m[5] : 0;
    const int slot = namesSlot ? m[6] : 0;
    if (namesSlot && (bank > 2 || slot > 127))
        return;

    if (namesSlot)
    {
        currentComboBank.store(bank);
        currentCombo.store(slot);
    }

    DSI_Combo holder;
    holder.unpackDump(juce::MemoryBlock(m + (namesSlot ? 7 : 5), (size_t)records::comboPayload));
    if (holder.record().getSize() != (size_t)records::comboSize)
        return;

    // A combo belongs to its combo bank slot only; the program edit record is left alone. No receive
    // asks for combos, so a combo dump is never part of a request chain.
    if (namesSlot)
    {
        comboBanks[(size_t)bank]->setSlot(slot, holder.record());
        postChange(CS_COMBO_STORED);
    }
    postChange(CS_COMBO_EDIT_LOADED);
}
} // namespace zentak
