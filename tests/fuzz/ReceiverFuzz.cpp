// Fuzzes the instrument's input: reassembly and dispatch of whatever bytes arrive, in pieces of any
// size, with bank receives starting and ending in between, and the host's MIDI input.
#include "FuzzSupport.h"

#include <cstdint>

using namespace zentak;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    fuzz::countExecution("instrument input");
    fuzz::initialiseFramework();
    static MidiCntrState& state = []() -> MidiCntrState&
    {
        auto* s = new MidiCntrState(fuzz::options()); // lives until the process ends, like the framework
        s->openOutputPort(1);
        return *s;
    }();

    size_t p = 0;
    while (p < size)
    {
        const std::uint8_t control = data[p++];
        const size_t length = juce::jmin((size_t)(control & 0x3f) + 1, size - p);
        const auto* piece = data + p;
        p += length;
        switch (control >> 6)
        {
        case 0:
        case 1:
            if (length > 0)
                state.handleIncomingMidiMessage(nullptr, juce::MidiMessage(piece, (int)length));
            break;
        case 2:
            if (length > 0 && (piece[0] & 1))
                state.startTransfer((piece[0] & 2) ? 7 : 0, (piece[0] >> 2) & 7);
            else
                state.endTransfer();
            state.handlePartialSysexMessage(nullptr, piece, (int)length, 0.0);
            break;
        default:
            state.handleHostMidi(piece, (int)length);
            state.handleSysex(piece, length);
            break;
        }
    }
    state.takePendingCodes();
    state.deliverHostEvents();
    state.timerCallback();
    state.ports().waitUntilSent();
    return 0;
}
