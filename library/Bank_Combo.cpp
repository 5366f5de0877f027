#include "Bank_Combo.h"

#include "DataImage.h"
#include "FactorySets.h"

#include <cstring>

namespace zentak
{
Bank_Combo::Bank_Combo(juce::String bankName) : name(std::move(bankName)) {}

void Bank_Combo::setSlot(int s, const void* data, size_t size)
{
    if (s < 0 || s >= numSlots || data == nullptr)
        return;
    const size_t start = (size_t)s * slotSize;
    sharedbytes::storeBytes(slots.data() + start, static_cast<const std::uint8_t*>(data),
                            juce::jmin(size, slots.size() - start));
}

juce::MemoryBlock Bank_Combo::getSlot(int s) const
{
    if (s < 0 || s >= numSlots)
        return {};
    juce::MemoryBlock out((size_t)slotSize);
    sharedbytes::loadBytes(static_cast<std::uint8_t*>(out.getData()), slots.data() + (size_t)s * slotSize,
                           (size_t)slotSize);
    return out;
}

juce::String Bank_Combo::slotName(int s) const
{
    if (s < 0 || s >= numSlots)
        return {};
    std::uint8_t name16[records::nameLength];
    sharedbytes::loadBytes(name16, slots.data() + (size_t)s * slotSize + records::comboNameOffset,
                           (size_t)records::nameLength);
    return records::decodeName(name16);
}

void Bank_Combo::copyAll(std::uint8_t* out) const
{
    sharedbytes::loadBytes(out, slots.data(), slots.size());
}

void Bank_Combo::loadFromImage(int c, const juce::MemoryBlock& image)
{
    if (c < 0 || c > 2)
        return;
    const auto* src = static_cast<const std::uint8_t*>(image.getData());
    const size_t start = image::combosOffset + image::combosBankStride * (size_t)c;
    for (size_t i = 0; i < slots.size(); ++i)
        sharedbytes::store(slots[i], start + i < image.getSize() ? src[start + i] : 0);
}
} // namespace zentak

namespace zentak
{
void Bank_Combo::loadFactory(int c)
{
    const auto data = factory::image(1);
    if (data.getSize() == image::size)
        loadFromImage(c, data);
}
} // namespace zentak
