// RequestBook: the answers this controller state still waits for from the instrument, by who asked
// (a bank receive or a read-back), and the ones it has given up on, so that an answer arriving after
// its transfer ended or its read-back timed out is recognised and dropped instead of being stored.
// Any thread: the request chains and the send job register, the MIDI-input thread claims answers.
#pragma once

#include <cstdint>
#include <mutex>
#include <vector>

namespace zentak
{

class RequestBook
{
public:
    enum class Owner : std::uint8_t
    {
        none,    // nobody asked: an unsolicited message
        receive, // the request chain of a bank receive
        readBack // the send job reading a written slot back
    };
    enum class Answer : std::uint8_t
    {
        program, // a program dump naming its slot (0x02, 0x03, 0x0A)
        name     // a program name (0x11)
    };
    struct Claim
    {
        Owner owner = Owner::none;
        bool abandoned = false; // asked, but the asker has stopped waiting: drop the answer
    };

    RequestBook();

    /** A request is about to go out: its answer belongs to owner. */
    void expect(Owner owner, Answer answer, int bank, int slot);
    /** Every request of owner still waited for is given up: its answer will be dropped. */
    void abandon(Owner owner);
    /** The request of owner for (answer, bank, slot) is given up. */
    void abandon(Owner owner, Answer answer, int bank, int slot);
    /** Takes the entry an arriving answer belongs to (waited for or given up); none when nobody asked. */
    Claim claim(Answer answer, int bank, int slot);
    /** True while owner waits for any answer. */
    bool waiting(Owner owner) const;

private:
    struct Entry
    {
        Owner owner;
        Answer answer;
        std::uint8_t bank, slot;
        bool abandoned;
    };
    /** Given-up entries kept at most: an instrument answers each request once, soon. */
    static constexpr size_t maxAbandoned = 64;

    mutable std::mutex lock;
    std::vector<Entry> entries; // oldest first
};

} // namespace zentak
