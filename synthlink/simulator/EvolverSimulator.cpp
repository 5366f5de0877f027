#include "EvolverSimulator.h"

#include "sounddata/ParamCatalogue.h"

// The framework's own reassembly of MIDI input bytes, as its ALSA input uses it. The header is not
// part of the module's public interface and has no include guard: included here only.
#include <juce_audio_basics/midi/juce_MidiDataConcatenator.h>

#include <cstring>

namespace zentak
{
namespace
{
std::vector<std::uint8_t> sysex(int command, std::initializer_list<int> body)
{
    std::vector<std::uint8_t> b;
    for (int v : body)
        b.push_back((std::uint8_t)v);
    return simcodec::frame((std::uint8_t)command, b);
}

void storeName(const juce::String& text, std::uint8_t* dest16)
{
    const auto name = simcodec::nameToBytes(text);
    std::memcpy(dest16, name.data(), name.size());
}

constexpr size_t realTimeEvery = 50;

/** A SysEx with a real-time byte after every realTimeEvery bytes, clock and active sensing in turn. */
std::vector<std::uint8_t> withRealTimeBytes(const std::vector<std::uint8_t>& m)
{
    std::vector<std::uint8_t> out;
    out.reserve(m.size() + m.size() / realTimeEvery + 1);
    bool clock = true;
    for (size_t i = 0; i < m.size(); ++i)
    {
        out.push_back(m[i]);
        if ((i + 1) % realTimeEvery == 0 && i + 1 < m.size())
        {
            out.push_back(clock ? 0xF8 : 0xFE);
            clock = !clock;
        }
    }
    return out;
}

juce::String simulatorName(int bank, int slot)
{
    return "Sim " + juce::String::charToString((juce::juce_wchar)('A' + bank)) + "-" +
           juce::String(slot + 1).paddedLeft('0', 3);
}
} // namespace

EvolverSimulator::EvolverSimulator() : startMs(juce::Time::getMillisecondCounterHiRes())
{
    // A recognisable library of its own: every program is the initial program with a few bytes that
    // tell bank and slot apart, and a name that says where it lives.
    const auto& init = params::initialProgram();
    for (int b = 0; b < 4; ++b)
        for (int s = 0; s < 128; ++s)
        {
            auto* p = banks.data() + (size_t)(b * 128 + s) * 208;
            std::memcpy(p, init.data(), 192);
            p[16] = (std::uint8_t)(s % 165);           // filter frequency
            p[22] = (std::uint8_t)((b * 25) % 101);    // resonance
            p[128 + (s % 64)] = (std::uint8_t)(b + 1); // one sequencer step
            p[191] = (std::uint8_t)(128 + s);          // a byte with its high bit set
            storeName(simulatorName(b, s), p + 192);
        }
    std::memcpy(edit.data(), init.data(), 192);
    const int mains[16] = {0, 0, 80, 36, 120, 2, 1, 0, 0, 0, 12, 50, 0, 0, 1, 0};
    for (int i = 0; i < 16; ++i)
        mainParams[(size_t)i] = (std::uint8_t)mains[i];
    for (int c = 0; c < 3; ++c)
        for (int s = 0; s < 128; ++s)
        {
            auto* p = combos.data() + (size_t)(c * 128 + s) * 80;
            for (int i = 0; i < 64; ++i)
                p[i] = (std::uint8_t)((c * 31 + s * 7 + i) & 0x7f);
            storeName("Combo " + juce::String::charToString((juce::juce_wchar)('A' + c)) + "-" +
                          juce::String(s + 1).paddedLeft('0', 3),
                      p + 64);
        }
    concatenator = std::make_unique<juce::MidiDataConcatenator>(2048);
    worker = std::thread([this] { run(); });
}

EvolverSimulator::~EvolverSimulator()
{
    {
        std::lock_guard<std::mutex> l(queueLock);
        quit = true;
    }
    wake.notify_all();
    worker.join();
}

void EvolverSimulator::connectInput(juce::MidiInputCallback* callback)
{
    std::lock_guard<std::mutex> l(callbackLock);
    input = callback;
}

double EvolverSimulator::nowMs() const
{
    return juce::Time::getMillisecondCounterHiRes() - startMs;
}

void EvolverSimulator::setWireSpeed(int bps)
{
    std::lock_guard<std::mutex> l(queueLock);
    bytesPerSecond = juce::jmax(0, bps);
}

void EvolverSimulator::setSysexPieceSize(int bytes)
{
    std::lock_guard<std::mutex> l(queueLock);
    pieceSize = juce::jmax(0, bytes);
}

void EvolverSimulator::setFrameworkDelivery(int readBytes)
{
    std::lock_guard<std::mutex> l(queueLock);
    frameworkReadSize = juce::jmax(0, readBytes);
}

void EvolverSimulator::setRealTimeInsideSysex(bool on)
{
    std::lock_guard<std::mutex> l(queueLock);
    realTimeInside = on;
}

void EvolverSimulator::setSecondProgramForm(bool on)
{
    std::lock_guard<std::mutex> l(modelLock);
    secondProgramForm = on;
}

void EvolverSimulator::setComboCommand(std::uint8_t command)
{
    std::lock_guard<std::mutex> l(modelLock);
    comboCommand = command;
}

void EvolverSimulator::setNamesPaddedWith7F(bool on)
{
    std::lock_guard<std::mutex> l(modelLock);
    namesPadded = on;
}

void EvolverSimulator::setInputBufferBytes(int bytes)
{
    std::lock_guard<std::mutex> l(queueLock);
    inputBufferBytes = juce::jmax(0, bytes);
}

void EvolverSimulator::setStoreTimeMs(int ms)
{
    storeTimeMs.store(juce::jmax(0, ms));
}

double EvolverSimulator::maxInputBacklogBytes() const
{
    std::lock_guard<std::mutex> l(queueLock);
    return maxBacklog;
}

void EvolverSimulator::dropNextAnswer()
{
    std::lock_guard<std::mutex> l(queueLock);
    ++dropNext;
}

void EvolverSimulator::corruptNextAnswer()
{
    std::lock_guard<std::mutex> l(queueLock);
    corruptNext = true;
}

void EvolverSimulator::corruptAnswerFor(int bank, int slot)
{
    std::lock_guard<std::mutex> l(queueLock);
    corruptBank = bank;
    corruptSlot = slot;
}

void EvolverSimulator::setChannel(int ch)
{
    std::lock_guard<std::mutex> l(modelLock);
    channel = juce::jlimit(1, 16, ch);
}

void EvolverSimulator::receive(const juce::MidiMessage& message)
{
    // The time the other side took to answer the last answer delivered: its software's share of a
    // request/answer round trip.
    const double arrived = answerArrivedAt.exchange(0.0);
    if (arrived > 0.0)
        turnaroundSum.store(turnaroundSum.load() + (nowMs() - arrived));
    const auto* d = message.getRawData();
    schedule(std::vector<std::uint8_t>(d, d + message.getRawDataSize()), true);
}

void EvolverSimulator::schedule(std::vector<std::uint8_t> m, bool fromUs)
{
    {
        std::lock_guard<std::mutex> l(queueLock);
        double due = nowMs();
        if (bytesPerSecond > 0)
        {
            // Each direction of the cable carries one byte after another.
            double& freeAt = fromUs ? toSimFreeAt : fromSimFreeAt;
            if (fromUs)
            {
                // What the interface holds that is not on the cable yet: earlier bytes still waiting
                // and the message being handed over.
                const double backlog =
                    juce::jmax(0.0, freeAt - due) * (double)bytesPerSecond / 1000.0 + (double)m.size();
                if (inputBufferBytes > 0 && backlog > (double)inputBufferBytes)
                {
                    ++overrunCount;
                    return;
                }
                maxBacklog = juce::jmax(maxBacklog, backlog);
            }
            const double start = juce::jmax(due, freeAt);
            due = start + 1000.0 * (double)m.size() / (double)bytesPerSecond;
            freeAt = due;
        }
        wireBytes += (std::int64_t)m.size();
        queue.push_back({std::move(m), due, fromUs});
        ++busy;
    }
    wake.notify_all();
}

void EvolverSimulator::waitUntilIdle()
{
    for (;;)
    {
        {
            std::lock_guard<std::mutex> l(queueLock);
            if (busy == 0)
                return;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(50));
    }
}

void EvolverSimulator::run()
{
    std::unique_lock<std::mutex> l(queueLock);
    for (;;)
    {
        wake.wait(l, [this] { return quit || !queue.empty(); });
        if (quit)
            return;
        // The earliest due message goes next; messages keep their order within a direction.
        auto next = queue.begin();
        for (auto it = queue.begin(); it != queue.end(); ++it)
            if (it->dueMs < next->dueMs)
                next = it;
        const double wait = next->dueMs - nowMs();
        if (wait > 3.0)
        {
            // Sleep most of the way, then yield until the byte time is reached: the cable's
            // timing stays exact to a few microseconds instead of the scheduler's slack.
            wake.wait_for(l, std::chrono::microseconds((long long)((wait - 2.5) * 1000.0)));
            continue;
        }
        if (wait > 0.0)
        {
            l.unlock();
            std::this_thread::yield();
            l.lock();
            continue;
        }
        Pending p = std::move(*next);
        queue.erase(next);
        lateSum += nowMs() - p.dueMs;
        l.unlock();
        if (p.fromUs)
            handle(p.bytes);
        else
            deliver(p.bytes);
        l.lock();
        --busy;
    }
}

void EvolverSimulator::deliver(const std::vector<std::uint8_t>& m)
{
    int piece, reads;
    {
        std::lock_guard<std::mutex> l(queueLock);
        piece = pieceSize;
        reads = frameworkReadSize;
    }
    std::lock_guard<std::mutex> l(callbackLock);
    if (input == nullptr || m.empty())
        return;
    if (m[0] == 0xF0)
        answerArrivedAt.store(nowMs());
    if (reads > 0)
    {
        // The framework's input thread: whatever one read returns is pushed into its reassembly,
        // which calls back with partial SysEx reports and complete messages.
        for (size_t offset = 0; offset < m.size(); offset += (size_t)reads)
        {
            const int n = (int)juce::jmin((size_t)reads, m.size() - offset);
            concatenator->pushMidiData(m.data() + offset, n, 0.0, (juce::MidiInput*)nullptr, *input);
        }
        return;
    }
    if (m[0] != 0xF0 || piece <= 0 || (int)m.size() <= piece)
    {
        input->handleIncomingMidiMessage(nullptr, juce::MidiMessage(m.data(), (int)m.size()));
        return;
    }
    for (size_t offset = 0; offset < m.size(); offset += (size_t)piece)
    {
        const int n = (int)juce::jmin((size_t)piece, m.size() - offset);
        input->handleIncomingMidiMessage(nullptr, juce::MidiMessage(m.data() + offset, n));
    }
}

void EvolverSimulator::answer(std::vector<std::uint8_t> m, bool isAnswer)
{
    if (isAnswer)
    {
        std::lock_guard<std::mutex> l(queueLock);
        if (dropNext > 0)
        {
            --dropNext;
            return;
        }
        if (corruptNext && m.size() > 2)
        {
            corruptNext = false;
            m.erase(m.begin() + (std::ptrdiff_t)(m.size() / 2));
        }
    }
    if (isAnswer)
        ++answeredCount;
    bool realTime;
    {
        std::lock_guard<std::mutex> l(queueLock);
        realTime = realTimeInside;
    }
    if (realTime && !m.empty() && m[0] == 0xF0)
        m = withRealTimeBytes(m);
    schedule(std::move(m), false);
}

double EvolverSimulator::turnaroundMs() const
{
    return turnaroundSum.load();
}

double EvolverSimulator::lateMs() const
{
    std::lock_guard<std::mutex> l(queueLock);
    return lateSum;
}

std::vector<std::vector<std::uint8_t>> EvolverSimulator::received() const
{
    std::lock_guard<std::mutex> l(logLock);
    return log;
}

std::vector<double> EvolverSimulator::receivedAtMs() const
{
    std::lock_guard<std::mutex> l(logLock);
    return logTimes;
}

size_t EvolverSimulator::receivedCount() const
{
    std::lock_guard<std::mutex> l(logLock);
    return log.size();
}

void EvolverSimulator::handle(const std::vector<std::uint8_t>& m)
{
    const double now = nowMs();
    {
        std::lock_guard<std::mutex> l(logLock);
        log.push_back(m);
        logTimes.push_back(now);
    }
    const auto at = [&m](size_t i) -> int { return i < m.size() ? m[i] : 0; };
    if (m.empty())
        return;
    if (now < busyUntil)
    {
        ++lostStoring; // still writing the last store: nothing is read meanwhile
        return;
    }
    const auto stored = [this, now] { busyUntil = now + (double)storeTimeMs.load(); };

    if (m[0] != 0xF0)
    {
        std::lock_guard<std::mutex> l(modelLock);
        const int status = m[0] & 0xF0, ch = (m[0] & 0x0F) + 1;
        if (ch != channel)
            return;
        if (status == 0xB0 && at(1) == 32 && at(2) < 4)
            selectedBank = at(2);
        else if (status == 0xC0)
            std::memcpy(edit.data(), banks.data() + (size_t)(selectedBank * 128 + (at(1) & 0x7f)) * 208, 192);
        return;
    }
    if (m.size() == 6 && at(1) == 0x7E && at(3) == 0x06 && at(4) == 0x01 && m.back() == 0xF7)
    {
        // Universal device inquiry, to every device (7F) or to ours.
        int device;
        {
            std::lock_guard<std::mutex> l(modelLock);
            device = channel - 1;
        }
        if (at(2) == 0x7F || at(2) == device)
            answer(inquiryReply());
        return;
    }
    if (m.size() < 6 || at(1) != simcodec::manufacturer || at(2) != simcodec::family || m.back() != 0xF7)
        return;

    const int command = at(4);
    const int bank = at(5), slot = at(6);
    const bool slotOk = bank < 4 && slot < 128;
    const auto nibbles = [&at] { return (std::uint8_t)((at(6) & 0x0f) | ((at(7) & 0x0f) << 4)); };
    switch (command)
    {
    case 0x01: // program parameter of the edit buffer
        if (at(5) < 128)
        {
            std::lock_guard<std::mutex> l(modelLock);
            edit[(size_t)at(5)] = nibbles();
        }
        return;
    case 0x08: // sequencer step of the edit buffer
        if (at(5) < 64)
        {
            std::lock_guard<std::mutex> l(modelLock);
            edit[(size_t)(128 + at(5))] = nibbles();
        }
        return;
    case 0x09: // main parameter
        if (at(5) < 16)
        {
            std::lock_guard<std::mutex> l(modelLock);
            mainParams[(size_t)at(5)] = nibbles();
        }
        return;
    case 0x02: // a program into its slot
    case 0x03: // a program into the edit buffer
    {
        const auto d = simcodec::decodeProgramMessage(m);
        if (!d)
            return;
        std::lock_guard<std::mutex> l(modelLock);
        if (command == 0x02 && d->bank >= 0 && d->bank < 4 && d->slot < 128)
        {
            std::memcpy(banks.data() + (size_t)(d->bank * 128 + d->slot) * 208, d->record.data(), 192);
            stored();
        }
        else if (command == 0x03 && d->bank < 0)
            std::memcpy(edit.data(), d->record.data(), 192);
        return;
    }
    case 0x11: // a name into its slot
        if (m.size() == 24 && slotOk)
        {
            std::lock_guard<std::mutex> l(modelLock);
            std::memcpy(banks.data() + (size_t)(bank * 128 + slot) * 208 + 192, m.data() + 7, 16);
            stored();
        }
        return;
    case 0x05: // one program dump
        if (slotOk)
        {
            auto dump = programDump(0x02, bank, slot);
            {
                std::lock_guard<std::mutex> l(queueLock);
                if (bank == corruptBank && slot == corruptSlot)
                {
                    corruptBank = corruptSlot = -1;
                    dump.erase(dump.begin() + (std::ptrdiff_t)(dump.size() / 2));
                }
            }
            answer(std::move(dump));
        }
        return;
    case 0x06: // the edit buffer
        answer(programDump(0x03, -1, -1));
        return;
    case 0x0E: // main parameters: 16 values as 32 nibbles
    {
        simcodec::Bytes body;
        {
            std::lock_guard<std::mutex> l(modelLock);
            for (auto v : mainParams)
            {
                body.push_back((std::uint8_t)(v & 0x0f));
                body.push_back((std::uint8_t)(v >> 4));
            }
        }
        answer(simcodec::frame(0x0F, body));
        return;
    }
    case 0x10: // one program name
        if (slotOk)
            answer(nameAnswer(bank, slot));
        return;
    case 0x21: // one combo dump
        if (bank < 3 && slot < 128)
            answer(comboDump(std::nullopt, bank, slot, false));
        return;
    default:
        return;
    }
}

std::vector<std::uint8_t> EvolverSimulator::programDump(std::uint8_t command, int bank, int slot) const
{
    std::lock_guard<std::mutex> l(modelLock);
    if (secondProgramForm)
        command = 0x0A;
    if (bank < 0)
        return simcodec::programMessage(command, -1, -1, edit.data());
    const int b = juce::jlimit(0, 3, bank), s = juce::jlimit(0, 127, slot);
    return simcodec::programMessage(command, b, s, banks.data() + (size_t)(b * 128 + s) * 208);
}

std::vector<std::uint8_t> EvolverSimulator::comboDump(std::optional<std::uint8_t> command, int bank, int slot,
                                                      bool editForm) const
{
    std::lock_guard<std::mutex> l(modelLock);
    const int b = juce::jlimit(0, 2, bank), s = juce::jlimit(0, 127, slot);
    return simcodec::comboMessage(command.value_or(comboCommand), editForm ? -1 : b, s,
                                  combos.data() + (size_t)(b * 128 + s) * 80);
}

std::vector<std::uint8_t> EvolverSimulator::nameAnswer(int bank, int slot) const
{
    std::lock_guard<std::mutex> l(modelLock);
    const int b = juce::jlimit(0, 3, bank), s = juce::jlimit(0, 127, slot);
    return simcodec::nameMessage(b, s, banks.data() + (size_t)(b * 128 + s) * 208 + 192, namesPadded);
}

void EvolverSimulator::sendProgram(std::uint8_t command, int bank, int slot)
{
    answer(programDump(command, juce::jmax(0, bank), slot), false);
}

void EvolverSimulator::sendEditBuffer(std::uint8_t command)
{
    answer(programDump(command, -1, -1), false);
}

void EvolverSimulator::sendCombo(std::uint8_t command, int bank, int slot, bool editForm)
{
    answer(comboDump(command, bank, slot, editForm), false);
}

void EvolverSimulator::sendName(int bank, int slot)
{
    answer(nameAnswer(bank, slot), false);
}

std::vector<std::uint8_t> EvolverSimulator::inquiryReply() const
{
    std::lock_guard<std::mutex> l(modelLock);
    // Identity: the maker's id, then family and member codes and a software version of our own.
    return {0xF0,
            0x7E,
            (std::uint8_t)(channel - 1),
            0x06,
            0x02,
            simcodec::manufacturer,
            simcodec::family,
            0x00,
            0x00,
            0x00,
            0x01,
            0x00,
            0x00,
            0x00,
            0xF7};
}

void EvolverSimulator::sendDeviceInquiryReply()
{
    answer(inquiryReply(), false);
}

void EvolverSimulator::sendRaw(std::vector<std::uint8_t> bytes)
{
    answer(std::move(bytes), false);
}

void EvolverSimulator::panelEdit(int param, int value)
{
    {
        std::lock_guard<std::mutex> l(modelLock);
        if (param >= 0 && param < 128)
            edit[(size_t)param] = (std::uint8_t)value;
    }
    answer(sysex(0x01, {param & 0x7f, value & 0x0f, (value >> 4) & 0x0f}), false);
}

void EvolverSimulator::panelStepEdit(int step, int value)
{
    {
        std::lock_guard<std::mutex> l(modelLock);
        if (step >= 0 && step < 64)
            edit[(size_t)(128 + step)] = (std::uint8_t)value;
    }
    answer(sysex(0x08, {step & 0x7f, value & 0x0f, (value >> 4) & 0x0f}), false);
}

void EvolverSimulator::panelSelectProgram(int bank, int slot)
{
    int ch;
    {
        std::lock_guard<std::mutex> l(modelLock);
        ch = channel;
        selectedBank = juce::jlimit(0, 3, bank);
        std::memcpy(edit.data(), banks.data() + (size_t)(selectedBank * 128 + (slot & 0x7f)) * 208, 192);
    }
    answer({(std::uint8_t)(0xB0 + ch - 1), 32, (std::uint8_t)(bank & 0x7f)}, false);
    answer({(std::uint8_t)(0xC0 + ch - 1), (std::uint8_t)(slot & 0x7f)}, false);
}

std::array<std::uint8_t, 208> EvolverSimulator::program(int bank, int slot) const
{
    std::array<std::uint8_t, 208> out{};
    std::lock_guard<std::mutex> l(modelLock);
    std::memcpy(out.data(),
                banks.data() + (size_t)(juce::jlimit(0, 3, bank) * 128 + juce::jlimit(0, 127, slot)) * 208,
                208);
    return out;
}

void EvolverSimulator::setProgram(int bank, int slot, const std::uint8_t* bytes192, const juce::String& name)
{
    std::lock_guard<std::mutex> l(modelLock);
    auto* p = banks.data() + (size_t)(juce::jlimit(0, 3, bank) * 128 + juce::jlimit(0, 127, slot)) * 208;
    std::memcpy(p, bytes192, 192);
    storeName(name, p + 192);
}

juce::String EvolverSimulator::programName(int bank, int slot) const
{
    const auto p = program(bank, slot);
    return simcodec::bytesToName(p.data() + 192);
}

std::array<std::uint8_t, 192> EvolverSimulator::editBuffer() const
{
    std::lock_guard<std::mutex> l(modelLock);
    return edit;
}

void EvolverSimulator::setEditBuffer(const std::uint8_t* bytes192)
{
    std::lock_guard<std::mutex> l(modelLock);
    std::memcpy(edit.data(), bytes192, 192);
}

int EvolverSimulator::mainParameter(int index) const
{
    std::lock_guard<std::mutex> l(modelLock);
    return index >= 0 && index < 16 ? mainParams[(size_t)index] : 0;
}

void EvolverSimulator::setMainParameter(int index, int value)
{
    std::lock_guard<std::mutex> l(modelLock);
    if (index >= 0 && index < 16)
        mainParams[(size_t)index] = (std::uint8_t)value;
}

std::array<std::uint8_t, 80> EvolverSimulator::combo(int bank, int slot) const
{
    std::array<std::uint8_t, 80> out{};
    std::lock_guard<std::mutex> l(modelLock);
    std::memcpy(out.data(),
                combos.data() + (size_t)(juce::jlimit(0, 2, bank) * 128 + juce::jlimit(0, 127, slot)) * 80,
                80);
    return out;
}
} // namespace zentak
