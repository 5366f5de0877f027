// EvolverSimulator's protocol: what the instrument does with each message it reads (edits, stores,
// requests, program selection) and the messages it sends of its own accord (dumps, names, panel
// edits, the device-inquiry reply). handle() runs on the simulator's own thread; the send calls on
// any thread.
#include "EvolverSimulator.h"

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
} // namespace

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

void EvolverSimulator::setChannel(int ch)
{
    std::lock_guard<std::mutex> l(modelLock);
    channel = juce::jlimit(1, 16, ch);
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
} // namespace zentak
