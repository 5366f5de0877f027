#include "GlobalRecord.h"

namespace zentak
{
int GlobalRecord::get(int number) const
{
    if (number < 0 || number >= count.load())
        return 0;
    return values[(size_t)number].load(std::memory_order_relaxed);
}

void GlobalRecord::set(int number, int value)
{
    if (number < 0 || number >= capacity)
        return;
    values[(size_t)number].store((std::uint8_t)value, std::memory_order_relaxed);
    if (number >= count.load())
        count.store(number + 1);
}

void GlobalRecord::decodeDump(const std::uint8_t* message, size_t length, int minEntries)
{
    auto at = [&](size_t i) -> int { return i < length ? message[i] : 0; };
    // Complete pairs before the closing F7 (the last byte).
    const size_t bodyEnd = length > 0 && message[length - 1] == 0xf7 ? length - 1 : length;
    int entries = minEntries;
    while (entries < capacity && 6 + 2 * (size_t)entries < bodyEnd)
        ++entries;
    for (int i = 0; i < entries; ++i)
        set(i, (at(5 + 2 * (size_t)i) & 0x0f) + 16 * (at(6 + 2 * (size_t)i) & 0x0f));
}
} // namespace zentak
