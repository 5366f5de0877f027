// Sending to the instrument simulator at DIN speed through the real ports: a burst of knob changes
// faster than the cable (does the cable stay within its rate, do the last values arrive, how late is
// a change), with the pacing off for comparison, and one bank transmitted and read back (its time
// against the time on the wire plus the store gaps).
#include "synthlink/MidiCntrState.h"
#include "synthlink/SystemMidiDevices.h"
#include "synthlink/simulator/EvolverSimulator.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <thread>

using namespace zentak;

namespace
{
constexpr int din = EvolverSimulator::dinBytesPerSecond;

struct Link
{
    std::shared_ptr<SystemMidiDevices> devices = std::make_shared<SystemMidiDevices>(false);
    std::unique_ptr<MidiCntrState> state;

    explicit Link(int cableRate)
    {
        MidiCntrStateOptions options{
            juce::File::getSpecialLocation(juce::File::tempDirectory), {}, devices, false};
        options.cableBytesPerSecond = cableRate;
        state = std::make_unique<MidiCntrState>(options);
        state->selectInputPort(1);
        state->selectOutputPort(1);
        sim().setWireSpeed(din);
    }
    EvolverSimulator& sim() { return devices->simulator(); }
};

/** 1000 changes, one per millisecond, of ten parameters in turn; each parameter's values rise 0..99,
    so a value seen at the instrument tells which change (or a later one) it carries. */
void KnobChangesAtDin(benchmark::State& s)
{
    const bool paced = s.range(0) != 0;
    for (auto _ : s)
    {
        Link link(paced ? din : 0);
        link.sim().setInputBufferBytes(256); // a small USB interface's buffer
        constexpr int changes = 1000, numParams = 10, firstParam = 10;
        std::vector<double> sentAt(changes);
        std::thread audio(
            [&]
            {
                const auto start = std::chrono::steady_clock::now();
                for (int i = 0; i < changes; ++i)
                {
                    std::this_thread::sleep_until(start + std::chrono::milliseconds(i));
                    sentAt[(size_t)i] = link.sim().clockMs();
                    link.state->sendParameterChange(firstParam + i % numParams, i / numParams);
                }
            });
        audio.join();
        link.state->ports().waitUntilSent();
        link.sim().waitUntilIdle();

        const auto received = link.sim().received();
        const auto times = link.sim().receivedAtMs();
        double worst = 0.0, sum = 0.0;
        int missing = 0;
        for (int i = 0; i < changes; ++i)
        {
            const int p = firstParam + i % numParams, k = i / numParams;
            double arrived = -1.0;
            for (size_t m = 0; m < received.size() && arrived < 0.0; ++m)
            {
                const auto& r = received[m];
                if (r.size() == 9 && r[4] == 0x01 && r[5] == p && r[6] + 16 * r[7] >= k)
                    arrived = times[m];
            }
            if (arrived < 0.0)
            {
                ++missing;
                continue;
            }
            worst = std::max(worst, arrived - sentAt[(size_t)i]);
            sum += arrived - sentAt[(size_t)i];
        }
        const auto edit = link.sim().editBuffer();
        int finalEqual = 0;
        for (int p = 0; p < numParams; ++p)
            finalEqual += edit[(size_t)(firstParam + p)] == changes / numParams - 1 ? 1 : 0;

        s.counters["worst_latency_ms"] = worst;
        s.counters["mean_latency_ms"] = sum / std::max(1, changes - missing);
        s.counters["changes_never_arrived"] = missing;
        s.counters["final_values_equal_of_10"] = finalEqual;
        s.counters["overruns"] = link.sim().overruns();
        s.counters["max_backlog_bytes"] = link.sim().maxInputBacklogBytes();
        s.counters["messages_on_cable"] = (double)received.size();
        s.counters["coalesced"] = (double)link.state->ports().coalescedSends();
    }
}

struct Watcher : MidiCntrStateListener
{
    std::atomic<bool> verifying{false};
    void midiCntrStateChanged(MidiCntrState* s) override
    {
        for (int c : s->takePendingCodes())
            if (c == CS_TRANSFER_VERIFYING)
                verifying = true;
    }
};

/** One bank transmitted with the default store gap and read back. */
void TransmitBankAtDin(benchmark::State& s)
{
    for (auto _ : s)
    {
        Link link(din);
        Watcher watcher;
        link.state->addListener(&watcher);
        const int gap = link.state->transmitGapMs();
        const auto wireBefore = link.sim().bytesOnWire();
        const auto start = std::chrono::steady_clock::now();
        double sentSeconds = 0.0;
        link.state->startTransfer(100, 1);
        while (link.state->isSending())
        {
            link.state->deliverPendingWakes();
            if (sentSeconds == 0.0 && watcher.verifying)
                sentSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        const double total = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        link.state->removeListener(&watcher);
        const auto report = link.state->lastSendReport();

        const double slotBytes = 228 + 24;
        const double wire = 128 * slotBytes / din;
        const double gaps = 128 * 2 * gap / 1000.0;
        s.SetIterationTime(total);
        s.counters["gap_ms"] = gap;
        s.counters["transmit_s"] = sentSeconds;
        s.counters["wire_plus_gaps_s"] = wire + gaps;
        s.counters["transmit_ratio"] = sentSeconds / (wire + gaps);
        s.counters["verify_s"] = total - sentSeconds;
        s.counters["verify_wire_s"] = 128 * slotBytes / din; // the answers' time on the return cable
        s.counters["verified"] = report.outcome == SendReport::Outcome::verified ? 1 : 0;
        s.counters["bytes_on_wire"] = (double)(link.sim().bytesOnWire() - wireBefore);
    }
}
} // namespace

BENCHMARK(KnobChangesAtDin)->Arg(1)->Arg(0)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(TransmitBankAtDin)->UseManualTime()->Unit(benchmark::kSecond)->Iterations(1);
