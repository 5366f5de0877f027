#include "LibraryFiles.h"

#include "Bank_Program.h"
#include "sounddata/SoundRecords.h"

#include <cstring>

namespace zentak::libraryfiles
{
std::optional<juce::MemoryBlock> readSingleProgram(const juce::MemoryBlock& file,
                                                   const juce::String& nameText)
{
    const auto* d = static_cast<const std::uint8_t*>(file.getData());
    const size_t n = file.getSize();
    if (n < 10)
        return std::nullopt;
    size_t start = 0;
    while (start < n && d[start] != 0xF0)
        ++start;
    size_t end = start + 1;
    while (end < n && d[end] != 0xF7)
        ++end;
    if (start >= n || end >= n)
        return std::nullopt;

    auto record = records::unpackMessage(juce::MemoryBlock(d + start, end - start + 1));
    if (record.getSize() != (size_t)records::programParamBytes)
        return std::nullopt;
    std::uint8_t name[16];
    const int dot = nameText.indexOfChar('.');
    records::encodeName(dot >= 0 ? nameText.substring(0, dot) : nameText, name);
    record.append(name, 16);
    if (record.getSize() != (size_t)records::programSize)
        return std::nullopt;
    return record;
}

std::optional<juce::MemoryBlock> readProgramBank(const juce::MemoryBlock& file)
{
    const auto* d = static_cast<const std::uint8_t*>(file.getData());
    const size_t n = file.getSize();
    if (n < 10)
        return std::nullopt;
    juce::MemoryBlock out;
    for (size_t p = 0; p < n; ++p)
    {
        if (d[p] == 0xF0 && p + 227 < n && d[p + 227] == 0xF7)
        {
            const auto params = records::unpackMessage(juce::MemoryBlock(d + p, 228));
            out.append(params.getData(), params.getSize());
            p += 227;
        }
        if (p < n && d[p] == 0xF0 && p + 23 < n && d[p + 23] == 0xF7)
        {
            // Names as the receive path reads them: the instrument's 0x7F padding is a space.
            std::uint8_t name[16];
            for (size_t i = 0; i < 16; ++i)
                name[i] = records::nameMessageByte(d[p + 7 + i]);
            out.append(name, 16);
            p += 23;
        }
        if (out.getSize() > bankRecordBytes)
            return std::nullopt;
    }
    if (out.getSize() != bankRecordBytes)
        return std::nullopt;
    return out;
}

juce::MemoryBlock writeSingleProgram(const juce::MemoryBlock& record)
{
    return records::packProgramMessage(record);
}

juce::MemoryBlock writeProgramBank(const Bank_Program& bank, int bankIndex)
{
    juce::MemoryBlock out(bankFileSize, true);
    auto* d = static_cast<std::uint8_t*>(out.getData());
    for (int s = 0; s < 128; ++s)
    {
        auto* pair = d + 252 * (size_t)s;
        std::uint8_t slot[Bank_Program::slotSize];
        bank.copySlot(s, slot);
        const std::uint8_t header[] = {0xF0, 0x01, 0x20, 0x01};
        std::memcpy(pair, header, 4);
        pair[4] = 0x02;
        pair[5] = (std::uint8_t)(bankIndex & 0x7f);
        pair[6] = (std::uint8_t)s;
        records::packProgramPayload(slot, pair + 7);
        pair[227] = 0xF7;

        auto* name = pair + 228;
        std::memcpy(name, header, 4);
        name[4] = 0x11;
        name[5] = (std::uint8_t)(bankIndex & 0x7f);
        name[6] = (std::uint8_t)s;
        for (int i = 0; i < 16; ++i)
            name[7 + i] = slot[192 + i] < 128 ? slot[192 + i] : (std::uint8_t)32;
        name[23] = 0xF7;
    }
    return out;
}

juce::String nameForFile(const juce::File& file)
{
    return file.getFileName();
}
} // namespace zentak::libraryfiles
