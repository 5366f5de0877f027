// The controller state's send job: a program write or a bank transmit sent slot by slot on a thread of
// its own, paced to the cable with the instrument's store gap after each message, the read-back that
// verifies it, and its report. The job runs on its own thread; offerVerifyAnswer on the MIDI-input
// thread; starting, cancelling and joining on the message thread.
#include "MidiCntrState.h"

#include "SettingsFiles.h"
#include "sounddata/DSI_Program.h"
#include "sounddata/SoundRecords.h"

#include <chrono>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <thread>

namespace zentak
{
namespace sf = settingsfiles;

// Why 100 ms after each program dump and after each name: a dump or a name naming its slot makes the
// instrument write that slot into its non-volatile memory, and it cannot be relied on to read what
// arrives while the write runs. Librarians that send banks to this family of instruments leave 100 to
// 200 ms after each message; the pause here follows every store message (the dump and the name) and is
// counted from the moment the message's last byte has left the cable, so it is all the instrument's.
// 100 ms keeps one bank at about 36 s (128 x (73 + 8 + 2 x 100) ms) and all four at two and a half
// minutes. An instrument that needs longer shows up in the read-back as slots that differ, never as a
// success; the pause is then raised in the settings file (field transmitGapField, 1 ... 5000 ms).
static_assert(sf::defaultTransmitGapMs == 100);

namespace
{
constexpr int answerTimeoutMs = 1500;    // a 228-byte answer is 73 ms on the cable; the rest is slack
constexpr int handOverTimeoutMs = 10000; // a message waiting behind a full cable, in the worst case
constexpr int silentSlotsBeforeGivingUp = 3;

juce::String slotText(int bank, int slot)
{
    return juce::String::charToString((juce::juce_wchar)('A' + juce::jlimit(0, 3, bank))) + ":" +
           juce::String(slot + 1);
}

std::vector<std::uint8_t> frame(std::uint8_t command, int bank, int slot, const std::uint8_t* body, size_t n)
{
    std::vector<std::uint8_t> m(n + 8);
    const std::uint8_t head[] = {0xF0, 0x01, 0x20, 0x01, command, (std::uint8_t)bank, (std::uint8_t)slot};
    std::memcpy(m.data(), head, sizeof(head));
    std::memcpy(m.data() + sizeof(head), body, n);
    m.back() = 0xF7;
    return m;
}
} // namespace

// The send job ------------------------------------------------------------------------------------

class MidiCntrState::SendJob
{
public:
    struct Item
    {
        int bank, slot;
        std::array<std::uint8_t, records::programParamBytes> params;
        std::array<std::uint8_t, records::nameLength> name; // 7-bit, as the name message carries it
    };

    SendJob(MidiCntrState& s, int k, std::vector<Item> i, bool v, int gap)
        : state(s), kind(k), items(std::move(i)), verify(v), gapMs(gap),
          generation(s.ports().outputGenerationNow()), device(s.instrumentWord())
    {
        thread = std::thread([this] { run(); });
    }

    ~SendJob()
    {
        cancel();
        if (thread.joinable())
            thread.join();
    }

    void cancel()
    {
        {
            std::lock_guard<std::mutex> l(pauseLock);
            cancelled.store(true);
        }
        pauseWake.notify_all();
        {
            std::lock_guard<std::mutex> l(state.answerLock);
        }
        state.answerArrived.notify_all();
    }

    int getKind() const { return kind; }

private:
    using Outcome = SendReport::Outcome;

    bool outputGone() const
    {
        return !state.ports().isOutputOpen() || state.ports().outputGenerationNow() != generation;
    }

    /** Queues one message and waits until the sender has handed it to the output. A queued message
        cannot be called back, so CANCEL does not cut this wait: what is reported as sent was sent. On
        failure, why says whether the output closed or the send queue was full. */
    bool sendWhole(const std::vector<std::uint8_t>& m, Outcome& why)
    {
        MIDI_PORTS_Control::SendResult result;
        const auto id = state.ports().sendSysexTracked(m.data(), m.size(), &result);
        why =
            result == MIDI_PORTS_Control::SendResult::queueFull ? Outcome::queueFull : Outcome::outputClosed;
        return id != 0 &&
               state.ports().waitUntilHandedOver(id, handOverTimeoutMs, [this] { return outputGone(); });
    }

    /** Sleeps ms; CANCEL cuts it short when interruptible (false then). */
    bool pause(double ms, bool interruptible)
    {
        std::unique_lock<std::mutex> l(pauseLock);
        pauseWake.wait_for(l, std::chrono::microseconds((long long)(ms * 1000.0)),
                           [this, interruptible] { return interruptible && cancelled.load(); });
        return !(interruptible && cancelled.load());
    }

    /** Sends a request and waits for the answer of that kind for (bank, slot); empty when none came. */
    std::vector<std::uint8_t> ask(int request, int bank, int slot)
    {
        {
            std::lock_guard<std::mutex> l(state.answerLock);
            state.answers.clear();
        }
        const bool wantName = request == 0x10;
        const auto answerKind = wantName ? RequestBook::Answer::name : RequestBook::Answer::program;
        state.requests.expect(RequestBook::Owner::readBack, answerKind, bank, slot);
        // Whatever way this ask ends, an answer still to come is the given-up request's, stored nowhere.
        const struct GiveUp
        {
            MidiCntrState& s;
            RequestBook::Answer kind;
            int bank, slot;
            ~GiveUp() { s.requests.abandon(RequestBook::Owner::readBack, kind, bank, slot); }
        } giveUp{state, answerKind, bank, slot};
        state.sendRequest(request, bank, slot);
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(answerTimeoutMs);
        std::unique_lock<std::mutex> l(state.answerLock);
        for (;;)
        {
            while (!state.answers.empty())
            {
                auto a = std::move(state.answers.front());
                state.answers.pop_front();
                const bool isName = a.size() > 4 && a[4] == 0x11;
                if (isName != wantName)
                    continue;
                // A damaged answer cannot be trusted to name its slot; anything else must name ours.
                const bool wellFormed =
                    wantName ? a.size() == 24 : a.size() == (size_t)records::slotProgramMessage;
                if (wellFormed && (a[5] != bank || a[6] != slot))
                    continue; // a late answer to an earlier request
                return a;
            }
            if (cancelled.load() ||
                (state.answerArrived.wait_until(l, end) == std::cv_status::timeout && state.answers.empty()))
                return {};
        }
    }

    /** Reads slot item back; empty when it holds what was sent, otherwise what differs. */
    juce::String readBack(const Item& item, bool& silent)
    {
        silent = false;
        juce::StringArray what;
        const auto dump = ask(0x05, item.bank, item.slot);
        if (dump.empty())
        {
            silent = true;
            return "no answer";
        }
        juce::MemoryBlock params;
        if (dump.size() == (size_t)records::slotProgramMessage && dump.back() == 0xF7)
        {
            if (dump[4] == 0x0A)
            {
                DSI_Program holder;
                holder.unpackDump(juce::MemoryBlock(dump.data() + 7, (size_t)records::programPayload));
                params = holder.record();
            }
            else
            {
                params = records::unpackMessage(juce::MemoryBlock(dump.data(), dump.size()));
            }
        }
        if (params.getSize() != (size_t)records::programParamBytes)
            what.add("damaged answer");
        else if (std::memcmp(params.getData(), item.params.data(), item.params.size()) != 0)
            what.add("parameters differ");

        if (cancelled.load())
            return what.joinIntoString(", ");
        const auto name = ask(0x10, item.bank, item.slot);
        if (name.empty())
            what.add("no name answer");
        else if (name.size() != 24 || name.back() != 0xF7)
            what.add("damaged name answer");
        else
            for (size_t i = 0; i < item.name.size(); ++i)
                if (records::nameMessageByte(name[7 + i]) != item.name[i])
                {
                    what.add("name differs");
                    break;
                }
        return what.joinIntoString(", ");
    }

    void setReport(const std::function<void(SendReport&)>& change)
    {
        std::lock_guard<std::mutex> l(state.reportLock);
        change(state.report);
    }

    void run()
    {
        const bool transmit = kind != writeKind;
        const int total = (int)items.size();
        Outcome outcome = Outcome::sent;
        int sent = 0;
        std::vector<int> halfWritten; // bank * 128 + slot: the new sound under the old name
        if (outputGone())
            outcome = Outcome::noOutput;
        else
            for (const auto& item : items)
            {
                // CANCEL takes effect between slots: a slot is sent whole (its dump, then its name).
                if (cancelled.load())
                {
                    outcome = Outcome::cancelled;
                    break;
                }
                const auto dump =
                    frame(0x02, item.bank, item.slot, packed(item).data(), (size_t)records::programPayload);
                const auto name = frame(0x11, item.bank, item.slot, item.name.data(), item.name.size());
                Outcome why = Outcome::outputClosed;
                // The instrument writes its memory once the message has arrived: give it the gap, and
                // after the dump the whole gap, since the name follows.
                if (outputGone() || !sendWhole(dump, why))
                {
                    outcome = why;
                    break;
                }
                pause(state.ports().msUntilCableIdle() + gapMs, false);
                if (outputGone() || !sendWhole(name, why))
                {
                    halfWritten.push_back(item.bank * 128 + item.slot);
                    outcome = why;
                    break;
                }
                ++sent;
                setReport([sent](SendReport& r) { r.slotsSent = sent; });
                if (transmit)
                    state.postChange(codes::transferProgress(item.bank, item.slot));
                if (!pause(state.ports().msUntilCableIdle() + gapMs, true) && &item != &items.back())
                {
                    outcome = Outcome::cancelled;
                    break;
                }
            }

        std::vector<SendReport::Problem> problems;
        int checked = 0;
        if (outcome == Outcome::sent && verify)
            outcome = verifyAll(transmit, problems, checked);

        finish(outcome, sent, total, checked, std::move(problems), std::move(halfWritten));
    }

    Outcome verifyAll(bool transmit, std::vector<SendReport::Problem>& problems, int& checked)
    {
        if (!state.ports().isInputOpen())
        {
            reason = "no MIDI input is open";
            return Outcome::notVerified;
        }
        if (transmit)
            state.postChange(CS_TRANSFER_VERIFYING);
        state.verifying.store(true);
        Outcome outcome = Outcome::verified;
        int silentRun = 0;
        for (const auto& item : items)
        {
            if (cancelled.load())
            {
                outcome = Outcome::cancelled;
                break;
            }
            if (outputGone())
            {
                outcome = Outcome::outputClosed;
                break;
            }
            bool silent = false;
            const auto what = readBack(item, silent);
            if (cancelled.load())
            {
                outcome = Outcome::cancelled;
                break;
            }
            silentRun = silent ? silentRun + 1 : 0;
            if (silentRun >= silentSlotsBeforeGivingUp)
            {
                reason = "the instrument does not answer";
                outcome = Outcome::notVerified;
                break;
            }
            ++checked;
            if (what.isNotEmpty())
            {
                problems.push_back({item.bank, item.slot, what});
                outcome = Outcome::mismatched;
                state.postChange(codes::transferMismatch(item.bank, item.slot));
            }
            const int done = checked;
            auto copy = problems;
            setReport(
                [done, &copy](SendReport& r)
                {
                    r.slotsVerified = done;
                    r.problems = copy;
                });
            if (transmit)
                state.postChange(codes::transferProgress(item.bank, item.slot));
        }
        state.verifying.store(false);
        return outcome;
    }

    static std::array<std::uint8_t, records::programPayload> packed(const Item& item)
    {
        std::array<std::uint8_t, records::programPayload> p{};
        records::packProgramPayload(item.params.data(), p.data());
        return p;
    }

    juce::String what() const
    {
        if (kind == writeKind && !items.empty())
            return slotText(items[0].bank, items[0].slot);
        if (kind == 107)
            return "All banks";
        return "Bank " +
               juce::String::charToString((juce::juce_wchar)('A' + (items.empty() ? 0 : items[0].bank)));
    }

    /** Items [from, to) as "A:1-A:10" (one slot: "A:1"). */
    juce::String itemRange(size_t from, size_t to) const
    {
        const auto first = slotText(items[from].bank, items[from].slot);
        return to - from == 1 ? first : first + "-" + slotText(items[to - 1].bank, items[to - 1].slot);
    }

    /** Every slot as written, half-written (the new sound under the old name) or untouched. */
    juce::String slotsPhrase(int sent, const std::vector<int>& halfWritten) const
    {
        juce::StringArray parts;
        const auto done = (size_t)juce::jlimit(0, (int)items.size(), sent);
        if (done > 0)
            parts.add(itemRange(0, done) + " written");
        size_t next = done;
        if (!halfWritten.empty() && next < items.size())
        {
            parts.add(itemRange(next, next + 1) + " has the new sound under its old name");
            ++next;
        }
        if (next < items.size())
            parts.add(itemRange(next, items.size()) + " untouched");
        return parts.joinIntoString(", ");
    }

    juce::String statusText(Outcome outcome, int sent, int total,
                            const std::vector<SendReport::Problem>& problems,
                            const std::vector<int>& halfWritten) const
    {
        const bool write = kind == writeKind;
        const auto subject = what();
        const auto count = juce::String(sent) + " of " + juce::String(total) + " programs";
        const auto slots = slotsPhrase(sent, halfWritten);
        switch (outcome)
        {
        case Outcome::verified:
            return write ? "Written to " + subject + " on " + device + " and verified."
                         : subject + " sent to " + device + " and verified: " + juce::String(total) +
                               " programs.";
        case Outcome::sent:
            return write ? "Written to " + subject + " on " + device + " (not read back)."
                         : subject + " sent to " + device + " (" + juce::String(total) +
                               " programs, not read back).";
        case Outcome::mismatched:
        {
            juce::StringArray list;
            for (size_t i = 0; i < problems.size() && i < 8; ++i)
                list.add(slotText(problems[i].bank, problems[i].slot) + " " + problems[i].what);
            if (problems.size() > 8)
                list.add("and " + juce::String((int)problems.size() - 8) + " more");
            return (write ? "Write to " + subject + " failed: " + device + " does not hold what was sent ("
                          : subject + " sent, but " + juce::String((int)problems.size()) +
                                " programs differ on " + device + " (") +
                   list.joinIntoString("; ") + ").";
        }
        case Outcome::notVerified:
            return (write ? "Written to " + subject + " on " + device + ", but it could not be read back: "
                          : subject + " sent to " + device + ", but it could not be read back: ") +
                   reason + ".";
        case Outcome::cancelled:
            return write ? "Write to " + subject + " cancelled: " + slots + "."
                         : "Transmit cancelled after " + count + ": " + slots + ".";
        case Outcome::outputClosed:
        case Outcome::queueFull:
        {
            const juce::String cause =
                outcome == Outcome::queueFull ? "the send queue was full" : "the MIDI output was closed";
            return write ? "Write to " + subject + " stopped: " + cause + "; " + slots + "."
                         : "Transmit stopped: " + cause + " after " + count + ": " + slots + ".";
        }
        case Outcome::noOutput:
            return write ? "Stored in " + subject + " in the library only: no MIDI output is open."
                         : "Nothing sent: no MIDI output is open.";
        case Outcome::none:
        case Outcome::running:
            break;
        }
        return {};
    }

    void finish(Outcome outcome, int sent, int total, int checked, std::vector<SendReport::Problem> problems,
                std::vector<int> halfWritten)
    {
        const auto text = statusText(outcome, sent, total, problems, halfWritten);
        setReport(
            [&](SendReport& r)
            {
                r.outcome = outcome;
                r.slotsSent = sent;
                r.slotsVerified = checked;
                r.problems = problems;
                r.halfWritten = halfWritten;
                r.status = text;
            });
        state.requests.abandon(RequestBook::Owner::readBack);
        state.sending.store(false);
        state.addNotice(text);
        if (kind != writeKind && outcome != Outcome::cancelled)
        {
            // Ended by itself: the transfer is over (unless CANCEL or another transfer took over).
            int expected = kind;
            if (state.transferKind.compare_exchange_strong(expected, -1))
                state.transferActive.store(false);
            state.postChange(CS_TRANSFER_DONE);
        }
    }

    MidiCntrState& state;
    const int kind;
    const std::vector<Item> items;
    const bool verify;
    const int gapMs;
    const std::uint32_t generation;
    const juce::String device; // "the instrument", or "the simulator" when it is the chosen device
    juce::String reason;       // job thread
    std::atomic<bool> cancelled{false};
    std::mutex pauseLock;
    std::condition_variable pauseWake;
    std::thread thread;
};

// Operations --------------------------------------------------------------------------------------

void MidiCntrState::SendJobDeleter::operator()(SendJob* job) const
{
    delete job; // cancels a job still running and waits for its thread
}

void MidiCntrState::joinSendJob()
{
    sendJob.reset();
}

void MidiCntrState::cancelTransmit()
{
    if (sendJob != nullptr && sendJob->getKind() != writeKind)
        joinSendJob();
}

void MidiCntrState::startSendJob(int kind, std::vector<int> slots, bool verify)
{
    joinSendJob();
    std::vector<SendJob::Item> items;
    items.reserve(slots.size());
    for (int code : slots)
    {
        SendJob::Item item{};
        item.bank = code >> 7;
        item.slot = code & 127;
        std::uint8_t record[Bank_Program::slotSize];
        programBanks[(size_t)item.bank]->copySlot(item.slot, record);
        std::memcpy(item.params.data(), record, item.params.size());
        for (size_t i = 0; i < item.name.size(); ++i)
            item.name[i] = records::nameMessageByte(record[records::nameOffset + i]);
        items.push_back(item);
    }
    {
        std::lock_guard<std::mutex> l(reportLock);
        report = {};
        report.kind = kind;
        report.outcome = SendReport::Outcome::running;
        report.slotsTotal = (int)items.size();
    }
    sending.store(true);
    sendJob.reset(new SendJob(*this, kind, std::move(items), verify, transmitGapMs()));
}

SendReport MidiCntrState::lastSendReport() const
{
    std::lock_guard<std::mutex> l(reportLock);
    return report;
}

bool MidiCntrState::offerVerifyAnswer(const juce::uint8* m, size_t size)
{
    if (!verifying.load())
        return false;
    {
        std::lock_guard<std::mutex> l(answerLock);
        if (answers.size() < 16)
            answers.emplace_back(m, m + size);
    }
    answerArrived.notify_all();
    return true;
}
} // namespace zentak
