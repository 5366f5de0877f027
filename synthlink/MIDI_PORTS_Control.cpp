#include "MIDI_PORTS_Control.h"

#include <cstring>
#include <thread>

namespace zentak
{
MIDI_PORTS_Control::MIDI_PORTS_Control(std::shared_ptr<MidiDeviceBackend> devicesToUse)
    : backend(devicesToUse != nullptr ? std::move(devicesToUse) : std::make_shared<NoMidiDevices>()),
      queue(4096)
{
    sender = std::make_unique<std::thread>([this] { senderLoop(); });
}

MIDI_PORTS_Control::~MIDI_PORTS_Control()
{
    closeInput();
    quit.store(true);
    wake.release();
    sender->join();
    Outgoing m;
    while (queue.pop(m))
        delete[] m.heap;
    std::lock_guard<std::mutex> lock(outputLock);
    output.reset();
}

void MIDI_PORTS_Control::closeInput()
{
    if (input != nullptr)
        input->stop();
    input.reset();
    inputIndex.store(-1);
    inputOpen.store(false);
}

void MIDI_PORTS_Control::openInputPort(int k, juce::MidiInputCallback* callback)
{
    closeInput();
    if (k < 1)
        return;
    inputIndex.store(k - 1);
    input = backend->openInput(k - 1, callback);
    if (input != nullptr)
    {
        input->start();
        inputOpen.store(true);
    }
}

void MIDI_PORTS_Control::openOutputPort(int k)
{
    std::unique_ptr<MidiOutputDevice> old;
    {
        std::lock_guard<std::mutex> lock(outputLock);
        outputOpen.store(false);
        outputIndex.store(-1);
        outputGeneration.fetch_add(1);
        old = std::move(output);
    }
    old.reset();
    if (k < 1)
        return;
    auto opened = backend->openOutput(k - 1);
    std::lock_guard<std::mutex> lock(outputLock);
    outputIndex.store(k - 1);
    output = std::move(opened);
    outputOpen.store(output != nullptr);
}

void MIDI_PORTS_Control::enqueueShort(std::uint8_t b0, std::uint8_t b1, std::uint8_t b2, int size)
{
    if (!outputOpen.load())
        return;
    Outgoing m{};
    m.size = (std::uint32_t)size;
    m.output = outputGeneration.load();
    m.bytes[0] = b0;
    m.bytes[1] = b1;
    m.bytes[2] = b2;
    if (queue.push(m))
        wake.release();
}

void MIDI_PORTS_Control::sendController(int channel, int controller, int value)
{
    if (channel < 1 || channel > 16)
        return;
    enqueueShort((std::uint8_t)(0xB0 + channel - 1), (std::uint8_t)(controller & 0x7f),
                 (std::uint8_t)(value & 0x7f), 3);
}

void MIDI_PORTS_Control::sendNoteOn(int channel, int note, int velocity)
{
    if (channel < 1 || channel > 16 || note < 0 || note > 127)
        return;
    enqueueShort((std::uint8_t)(0x90 + channel - 1), (std::uint8_t)note, (std::uint8_t)(velocity & 0x7f), 3);
}

void MIDI_PORTS_Control::sendNoteOff(int channel, int note)
{
    if (channel < 1 || channel > 16 || note < 0 || note > 127)
        return;
    enqueueShort((std::uint8_t)(0x80 + channel - 1), (std::uint8_t)note, 0, 3);
}

void MIDI_PORTS_Control::sendPitchWheelMessage(int channel, int value)
{
    if (channel < 1 || channel > 16)
        return;
    value = juce::jlimit(0, 16383, value);
    enqueueShort((std::uint8_t)(0xE0 + channel - 1), (std::uint8_t)(value & 0x7f), (std::uint8_t)(value >> 7),
                 3);
}

void MIDI_PORTS_Control::sendProgramChange(int channel, int program)
{
    if (program < 0 || program > 127)
        return;
    enqueueShort((std::uint8_t)(0xC0 + juce::jlimit(0, 15, channel - 1)), (std::uint8_t)program, 0, 2);
}

void MIDI_PORTS_Control::sendSysex(const void* data, size_t size)
{
    if (!outputOpen.load() || data == nullptr || size == 0 || size > (1u << 24))
        return;
    Outgoing m{};
    m.size = (std::uint32_t)size;
    m.output = outputGeneration.load();
    if (size <= inlineBytes)
        std::memcpy(m.bytes, data, size);
    else
    {
        m.heap = new std::uint8_t[size];
        std::memcpy(m.heap, data, size);
    }
    if (queue.push(m))
        wake.release();
    else
        delete[] m.heap;
}

void MIDI_PORTS_Control::sendSysexNow(const void* data, size_t size)
{
    if (!outputOpen.load() || data == nullptr || size == 0 || size > inlineBytes || !queue.isEmpty() ||
        inFlight.load() != 0)
    {
        sendSysex(data, size);
        return;
    }
    Outgoing m{};
    m.size = (std::uint32_t)size;
    m.output = outputGeneration.load();
    std::memcpy(m.bytes, data, size);
    deliver(m);
}

void MIDI_PORTS_Control::waitUntilSent()
{
    while (!queue.isEmpty() || inFlight.load() != 0)
        std::this_thread::yield();
}

void MIDI_PORTS_Control::senderLoop()
{
    for (;;)
    {
        wake.acquire();
        Outgoing m;
        while (true)
        {
            inFlight.fetch_add(1);
            if (!queue.pop(m))
            {
                inFlight.fetch_sub(1);
                break;
            }
            deliver(m);
            delete[] m.heap;
            inFlight.fetch_sub(1);
        }
        if (quit.load())
            return;
    }
}

void MIDI_PORTS_Control::deliver(const Outgoing& m)
{
    const std::uint8_t* bytes = m.heap != nullptr ? m.heap : m.bytes;
    std::lock_guard<std::mutex> lock(outputLock);
    if (output == nullptr || m.output != outputGeneration.load())
        return; // queued for an output that has been closed or changed since
    if (bytes[0] != 0xF0)
    {
        output->sendMessageNow(juce::MidiMessage(bytes, (int)m.size));
        return;
    }
    // SysEx: blocks above 256 bytes go out as consecutive 256-byte pieces, each its own message.
    for (size_t offset = 0; offset < m.size; offset += 256)
    {
        const size_t piece = juce::jmin((size_t)256, (size_t)m.size - offset);
        output->sendMessageNow(juce::MidiMessage(bytes + offset, (int)piece));
    }
}
} // namespace zentak
