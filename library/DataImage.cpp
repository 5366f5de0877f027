#include "DataImage.h"

#include "Bank_Combo.h"
#include "Bank_Program.h"
#include "WaveBank.h"

#include <cstring>

namespace zentak::image
{
juce::MemoryBlock build(const Bank_Program* const programs[4], const WaveBank& waves,
                        const Bank_Combo* const combos[3])
{
    juce::MemoryBlock out(size, true);
    auto* d = static_cast<std::uint8_t*>(out.getData());
    for (int b = 0; b < 4; ++b)
        for (int s = 0; s < Bank_Program::numSlots; ++s)
        {
            std::uint8_t slot[Bank_Program::slotSize];
            programs[b]->copySlot(s, slot);
            std::memcpy(d + paramsOffset + paramsBankStride * (size_t)b + 192 * (size_t)s, slot, 192);
            std::memcpy(d + namesOffset + namesBankStride * (size_t)b + 16 * (size_t)s, slot + 192, 16);
        }
    const auto user = waves.userShapes();
    std::memcpy(d + userShapesOffset, user.getData(), userShapesSize);
    for (int c = 0; c < 3; ++c)
        combos[c]->copyAll(d + combosOffset + combosBankStride * (size_t)c);
    return out;
}
} // namespace zentak::image
