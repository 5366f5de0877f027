#include "RequestBook.h"

#include <algorithm>

namespace zentak
{
RequestBook::RequestBook()
{
    entries.reserve(maxAbandoned + 8);
}

void RequestBook::expect(Owner owner, Answer answer, int bank, int slot)
{
    const std::lock_guard<std::mutex> l(lock);
    // A request asked again replaces the one before it: one answer is taken for the pair.
    entries.erase(std::remove_if(entries.begin(), entries.end(),
                                 [&](const Entry& e)
                                 { return e.answer == answer && e.bank == bank && e.slot == slot; }),
                  entries.end());
    entries.push_back({owner, answer, (std::uint8_t)bank, (std::uint8_t)slot, false});
}

void RequestBook::abandon(Owner owner)
{
    const std::lock_guard<std::mutex> l(lock);
    for (auto& e : entries)
        if (e.owner == owner)
            e.abandoned = true;
    while (entries.size() > maxAbandoned)
        entries.erase(entries.begin());
}

void RequestBook::abandon(Owner owner, Answer answer, int bank, int slot)
{
    const std::lock_guard<std::mutex> l(lock);
    for (auto& e : entries)
        if (e.owner == owner && e.answer == answer && e.bank == bank && e.slot == slot)
            e.abandoned = true;
    while (entries.size() > maxAbandoned)
        entries.erase(entries.begin());
}

RequestBook::Claim RequestBook::claim(Answer answer, int bank, int slot)
{
    const std::lock_guard<std::mutex> l(lock);
    for (auto it = entries.begin(); it != entries.end(); ++it)
        if (it->answer == answer && it->bank == bank && it->slot == slot)
        {
            const Claim c{it->owner, it->abandoned};
            entries.erase(it);
            return c;
        }
    return {};
}

bool RequestBook::waiting(Owner owner) const
{
    const std::lock_guard<std::mutex> l(lock);
    return std::any_of(entries.begin(), entries.end(),
                       [owner](const Entry& e) { return e.owner == owner && !e.abandoned; });
}
} // namespace zentak
