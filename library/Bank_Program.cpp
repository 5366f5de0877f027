#include "Bank_Program.h"

#include "DataImage.h"
#include "FactorySets.h"
#include "sounddata/ParamCatalogue.h"

#include <cstring>

namespace zentak
{
Bank_Program::Bank_Program(juce::String bankName) : name(std::move(bankName)) {}

void Bank_Program::initialise()
{
    std::array<std::uint8_t, (size_t)slotSize> init{};
    const auto& params = params::initialProgram();
    std::memcpy(init.data(), params.data(), params.size());
    records::encodeName("Untitled", init.data() + records::nameOffset);
    for (int s = 0; s < numSlots; ++s)
        storeBytes(slots.data() + (size_t)s * slotSize, init.data(), (size_t)slotSize);
    storeBytes(edit.data(), init.data(), init.size());
}

void Bank_Program::loadFromImage(int b, const juce::MemoryBlock& image)
{
    if (b < 0 || b > 3)
        return;
    const auto* src = static_cast<const std::uint8_t*>(image.getData());
    auto at = [&](size_t i) -> std::uint8_t { return i < image.getSize() ? src[i] : 0; };
    std::uint8_t record[slotSize];
    for (int s = 0; s < numSlots; ++s)
    {
        const size_t params = image::paramsOffset + image::paramsBankStride * (size_t)b + 192 * (size_t)s;
        const size_t names = image::namesOffset + image::namesBankStride * (size_t)b + 16 * (size_t)s;
        for (size_t i = 0; i < 192; ++i)
            record[i] = at(params + i);
        for (size_t i = 0; i < 16; ++i)
            record[192 + i] = at(names + i);
        storeBytes(slots.data() + (size_t)s * slotSize, record, (size_t)slotSize);
    }
}

void Bank_Program::loadFactory(int set, int b)
{
    const auto data = factory::image(set);
    if (data.getSize() == image::size)
        loadFromImage(b, data);
}

void Bank_Program::copySlot(int s, std::uint8_t* out) const
{
    loadBytes(out, slots.data() + (size_t)clampSlot(s) * slotSize, (size_t)slotSize);
}

void Bank_Program::copyEdit(std::uint8_t* out) const
{
    loadBytes(out, edit.data(), edit.size());
}

juce::String Bank_Program::slotName(int s) const
{
    if (s < 0 || s >= numSlots)
        return {}; // no such slot: never a neighbour's name
    std::uint8_t record[slotSize];
    copySlot(s, record);
    return records::decodeName(record + records::nameOffset);
}

void Bank_Program::setSlotName(int s, const juce::String& text)
{
    if (s < 0 || s >= numSlots)
        return;
    std::uint8_t encoded[16];
    records::encodeName(text, encoded);
    storeBytes(slots.data() + (size_t)s * slotSize + records::nameOffset, encoded, sizeof(encoded));
}

juce::MemoryBlock Bank_Program::getSlot(int s) const
{
    if (s < 0)
        s = 0;
    if (s >= numSlots)
        return {};
    juce::MemoryBlock block((size_t)slotSize);
    copySlot(s, static_cast<std::uint8_t*>(block.getData()));
    return block;
}

void Bank_Program::setSlot(int s, const void* data, size_t size)
{
    if (s < 0 || s >= numSlots || data == nullptr)
        return;
    const size_t start = (size_t)s * slotSize;
    storeBytes(slots.data() + start, static_cast<const std::uint8_t*>(data),
               juce::jmin(size, slots.size() - start));
}

void Bank_Program::setAllSlots(const void* data, size_t size)
{
    if (data != nullptr)
        storeBytes(slots.data(), static_cast<const std::uint8_t*>(data), juce::jmin(size, slots.size()));
}

juce::MemoryBlock Bank_Program::getEdit() const
{
    juce::MemoryBlock block(edit.size());
    copyEdit(static_cast<std::uint8_t*>(block.getData()));
    return block;
}

void Bank_Program::setEdit(const void* data, size_t size)
{
    if (data != nullptr)
        storeBytes(edit.data(), static_cast<const std::uint8_t*>(data), juce::jmin(size, edit.size()));
}

juce::String Bank_Program::editName() const
{
    std::uint8_t record[slotSize];
    copyEdit(record);
    return records::decodeName(record + records::nameOffset);
}

void Bank_Program::setEditName(const juce::String& text)
{
    std::uint8_t encoded[16];
    records::encodeName(text, encoded);
    storeBytes(edit.data() + records::nameOffset, encoded, sizeof(encoded));
}

juce::MemoryBlock Bank_Program::storeEdit(int s)
{
    std::uint8_t record[slotSize];
    copyEdit(record);
    setSlot(s, record, sizeof(record));
    return juce::MemoryBlock(record, sizeof(record));
}

juce::MemoryBlock Bank_Program::slotMessage(int s) const
{
    return records::packProgramMessage(getSlot(s));
}

void Bank_Program::copySlotToEdit(int s)
{
    if (s < 0)
        s = 0;
    if (s >= numSlots)
        return;
    std::uint8_t record[slotSize];
    copySlot(s, record);
    storeBytes(edit.data(), record, sizeof(record));
}

void Bank_Program::copySlotFrom(const Bank_Program& other, int s, int intoSlot)
{
    if (s < 0 || s >= numSlots || intoSlot < 0 || intoSlot >= numSlots)
        return;
    std::uint8_t record[slotSize];
    other.copySlot(s, record);
    setSlot(intoSlot, record, sizeof(record));
}
} // namespace zentak
