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
        std::memcpy(slots.data() + (size_t)s * slotSize, init.data(), (size_t)slotSize);
    edit = init;
}

void Bank_Program::loadFromImage(int b, const juce::MemoryBlock& image)
{
    if (b < 0 || b > 3)
        return;
    const auto* src = static_cast<const std::uint8_t*>(image.getData());
    auto at = [&](size_t i) -> std::uint8_t { return i < image.getSize() ? src[i] : 0; };
    for (int s = 0; s < numSlots; ++s)
    {
        auto* dest = slots.data() + (size_t)s * slotSize;
        const size_t params = image::paramsOffset + image::paramsBankStride * (size_t)b + 192 * (size_t)s;
        const size_t names = image::namesOffset + image::namesBankStride * (size_t)b + 16 * (size_t)s;
        for (size_t i = 0; i < 192; ++i)
            dest[i] = at(params + i);
        for (size_t i = 0; i < 16; ++i)
            dest[192 + i] = at(names + i);
    }
}

void Bank_Program::loadFactory(int set, int b)
{
    const auto data = factory::image(set);
    if (data.getSize() == image::size)
        loadFromImage(b, data);
}

juce::String Bank_Program::slotName(int s) const
{
    if (s < 0 || s >= numSlots)
        return {}; // no such slot: never a neighbour's name
    return records::decodeName(slotData(s) + records::nameOffset);
}

void Bank_Program::setSlotName(int s, const juce::String& text)
{
    if (s < 0 || s >= numSlots)
        return;
    records::encodeName(text, slots.data() + (size_t)s * slotSize + records::nameOffset);
}

juce::MemoryBlock Bank_Program::getSlot(int s) const
{
    if (s < 0)
        s = 0;
    if (s >= numSlots)
        return {};
    return juce::MemoryBlock(slots.data() + (size_t)s * slotSize, (size_t)slotSize);
}

void Bank_Program::setSlot(int s, const void* data, size_t size)
{
    if (s < 0 || s >= numSlots || data == nullptr)
        return;
    const size_t start = (size_t)s * slotSize;
    std::memcpy(slots.data() + start, data, juce::jmin(size, slots.size() - start));
}

void Bank_Program::setAllSlots(const void* data, size_t size)
{
    if (data != nullptr)
        std::memcpy(slots.data(), data, juce::jmin(size, slots.size()));
}

juce::MemoryBlock Bank_Program::getEdit() const
{
    return juce::MemoryBlock(edit.data(), edit.size());
}

void Bank_Program::setEdit(const void* data, size_t size)
{
    if (data != nullptr)
        std::memcpy(edit.data(), data, juce::jmin(size, edit.size()));
}

juce::String Bank_Program::editName() const
{
    return records::decodeName(edit.data() + records::nameOffset);
}

void Bank_Program::setEditName(const juce::String& text)
{
    records::encodeName(text, edit.data() + records::nameOffset);
}

juce::MemoryBlock Bank_Program::storeEdit(int s)
{
    setSlot(s, edit.data(), edit.size());
    return getEdit();
}

juce::MemoryBlock Bank_Program::slotMessage(int s) const
{
    return records::packProgramMessage(getSlot(s));
}

void Bank_Program::copySlotToEdit(int s)
{
    if (s < 0)
        s = 0;
    if (s < numSlots)
        std::memcpy(edit.data(), slots.data() + (size_t)s * slotSize, (size_t)slotSize);
}

void Bank_Program::copySlotFrom(const Bank_Program& other, int s, int intoSlot)
{
    if (s < 0 || s >= numSlots || intoSlot < 0 || intoSlot >= numSlots)
        return;
    std::memcpy(slots.data() + (size_t)intoSlot * slotSize, other.slotData(s), (size_t)slotSize);
}
} // namespace zentak
