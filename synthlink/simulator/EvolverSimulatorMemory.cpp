// EvolverSimulator's memory: the four program banks, the edit buffer, the main parameters and the
// combo banks it is built with, and their accessors for tests and tools. Any thread (the model lock).
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
void storeName(const juce::String& text, std::uint8_t* dest16)
{
    const auto name = simcodec::nameToBytes(text);
    std::memcpy(dest16, name.data(), name.size());
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
