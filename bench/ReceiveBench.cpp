// Receiving all four program banks from the instrument simulator through the real ports: with an
// instant cable (the cost of one request/answer round trip in our code and the simulator), and with
// DIN MIDI timing (the total against the pure time on the wire).
#include "synthlink/MidiCntrState.h"
#include "synthlink/SystemMidiDevices.h"
#include "synthlink/simulator/EvolverSimulator.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <thread>

using namespace zentak;

namespace
{
struct DoneWatcher : MidiCntrStateListener
{
    std::atomic<bool> done{false};
    void midiCntrStateChanged(MidiCntrState* s) override
    {
        for (int c : s->takePendingCodes())
            if (c == CS_TRANSFER_DONE)
                done = true;
    }
};

struct Receive
{
    double seconds, turnaroundMs, lateMs;
};

Receive receiveAllBanks(int bytesPerSecond, std::int64_t& wireBytes)
{
    auto devices = std::make_shared<SystemMidiDevices>(false);
    MidiCntrStateOptions options{juce::File::getSpecialLocation(juce::File::tempDirectory), {}, devices, false};
    // An instant cable measures our software alone: the requests are not held to the DIN rate either.
    options.cableBytesPerSecond = bytesPerSecond;
    MidiCntrState state(options);
    state.selectInputPort(1);
    state.selectOutputPort(1);
    devices->simulator().setWireSpeed(bytesPerSecond);
    DoneWatcher watcher;
    state.addListener(&watcher);

    const auto before = devices->simulator().bytesOnWire();
    const auto start = std::chrono::steady_clock::now();
    state.startTransfer(7, 0);
    while (!watcher.done)
    {
        state.deliverPendingWakes();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    wireBytes = devices->simulator().bytesOnWire() - before;
    state.endTransfer();
    state.removeListener(&watcher);
    return {elapsed.count(), devices->simulator().turnaroundMs(), devices->simulator().lateMs()};
}

void ReceiveAllBanksInstant(benchmark::State& s)
{
    double total = 0.0;
    for (auto _ : s)
    {
        std::int64_t bytes = 0;
        const double t = receiveAllBanks(0, bytes).seconds;
        s.SetIterationTime(t);
        total += t;
    }
    s.counters["us_per_round_trip"] = 1e6 * total / (double)s.iterations() / 1024.0;
}

void ReceiveAllBanksDin(benchmark::State& s)
{
    for (auto _ : s)
    {
        std::int64_t bytes = 0;
        const auto r = receiveAllBanks(EvolverSimulator::dinBytesPerSecond, bytes);
        s.SetIterationTime(r.seconds);
        const double wire = (double)bytes / EvolverSimulator::dinBytesPerSecond;
        s.counters["wire_s"] = wire;
        s.counters["total_s"] = r.seconds;
        s.counters["overhead_percent"] = 100.0 * (r.seconds - wire) / wire;
        // Of that: our software's turnaround, and the simulator's own scheduling error.
        s.counters["software_percent"] = 100.0 * r.turnaroundMs / 1000.0 / wire;
        s.counters["simulator_late_percent"] = 100.0 * r.lateMs / 1000.0 / wire;
    }
}
} // namespace

BENCHMARK(ReceiveAllBanksInstant)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(ReceiveAllBanksDin)->UseManualTime()->Unit(benchmark::kSecond)->Iterations(1);
