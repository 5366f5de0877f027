#include "StateChunks.h"

#include <cstring>

namespace zentak::chunks
{
namespace
{
const char bankHeader[] = "EvolverPluginBank";
const char programHeader[] = "EvolverPluginSettings";
const char version[] = "Version100";

bool startsWith(const void* data, int size, const char* text, int length)
{
    return data != nullptr && size >= length && std::memcmp(data, text, (size_t)length) == 0;
}
} // namespace

void writeBank(MidiCntrState& state, juce::MemoryBlock& dest)
{
    auto& host = state.hostBank();
    dest.append(bankHeader, bankHeaderLength);
    dest.append(version, versionLength);
    std::uint8_t record[Bank_Program::slotSize];
    for (int s = 0; s < 128; ++s)
    {
        host.copySlot(s, record);
        dest.append(record, sizeof(record));
    }

    dest.append(editSectionHeader, 15);
    const juce::uint32 program = (juce::uint32)state.currentHostProgram.load();
    const juce::uint8 le[] = {(juce::uint8)program, (juce::uint8)(program >> 8), (juce::uint8)(program >> 16),
                              (juce::uint8)(program >> 24)};
    dest.append(le, 4);
    host.copyEdit(record);
    dest.append(record, sizeof(record));
}

bool readBank(MidiCntrState& state, const void* data, int size)
{
    if (!startsWith(data, size, bankHeader, bankHeaderLength) || size < bankChunkSize)
        return false;
    const auto* bytes = static_cast<const juce::uint8*>(data);
    auto& host = state.hostBank();
    for (int s = 0; s < 128; ++s)
        host.setSlot(s, bytes + bankHeaderLength + versionLength + 208 * s, 208);

    const auto* section = bytes + bankChunkSize;
    if (size >= bankChunkSize + editSectionSize && std::memcmp(section, editSectionHeader, 15) == 0)
    {
        const int program = (int)((juce::uint32)section[15] | ((juce::uint32)section[16] << 8) |
                                  ((juce::uint32)section[17] << 16) | ((juce::uint32)section[18] << 24));
        if (program >= 0 && program < 128)
            state.currentHostProgram.store(program);
        host.setEdit(section + 19, 208);
        state.editRecordReplaced();
        state.markEditRestored();
        state.recallRestoredEdit(); // the instrument gets the sound the project saved
    }
    return true;
}

void writeProgram(MidiCntrState& state, juce::MemoryBlock& dest)
{
    auto& host = state.hostBank();
    host.storeEdit(state.currentHostProgram.load());
    dest.append(programHeader, programHeaderLength);
    dest.append(version, versionLength);
    std::uint8_t record[Bank_Program::slotSize];
    host.copyEdit(record);
    dest.append(record, sizeof(record));
}

bool readProgram(MidiCntrState& state, const void* data, int size)
{
    if (!startsWith(data, size, programHeader, programHeaderLength) || size < programChunkSize)
        return false;
    const auto* record = static_cast<const juce::uint8*>(data) + programHeaderLength + versionLength;
    auto& host = state.hostBank();
    host.setSlot(state.currentHostProgram.load(), record, 208);
    host.setEdit(record, 208);
    state.loadHostProgram();
    state.markEditRestored();
    state.recallRestoredEdit();
    return true;
}
} // namespace zentak::chunks
