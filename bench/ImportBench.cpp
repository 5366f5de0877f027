// Importing a 10 MB SysEx capture: 44,000 program dumps naming bank and slot, every fourth followed by
// its name message, read from a temporary file through the import engine (memory-mapped, as zentak-lib
// reads it). Reports the throughput; the goal is at least 100 MB/s.
#include "library/ProgramImport.h"
#include "sounddata/SoundRecords.h"

#include <benchmark/benchmark.h>

#include <cstring>

using namespace zentak;

namespace
{
juce::MemoryBlock capture(int dumps)
{
    juce::MemoryBlock out;
    std::uint8_t record[records::programParamBytes];
    std::uint8_t message[records::slotProgramMessage];
    for (int i = 0; i < dumps; ++i)
    {
        for (int k = 0; k < records::programParamBytes; ++k)
            record[k] = (std::uint8_t)((i * 7 + k * 13) & 0xFF);
        const std::uint8_t bank = (std::uint8_t)((i / 128) % 4), slot = (std::uint8_t)(i % 128);
        const std::uint8_t header[] = {0xF0, 0x01, 0x20, 0x01, 0x02, bank, slot};
        std::memcpy(message, header, sizeof(header));
        records::packProgramPayload(record, message + 7);
        message[records::slotProgramMessage - 1] = 0xF7;
        out.append(message, sizeof(message));
        if (i % 4 == 0)
        {
            std::uint8_t name[24] = {0xF0, 0x01, 0x20, 0x01, 0x11, bank, slot};
            std::memcpy(name + 7, "Bench Program   ", 16);
            name[23] = 0xF7;
            out.append(name, sizeof(name));
        }
    }
    return out;
}

void BM_ImportTenMegabyteCapture(benchmark::State& state)
{
    const auto bytes = capture(44000);
    juce::TemporaryFile temp(".syx");
    temp.getFile().replaceWithData(bytes.getData(), bytes.getSize());
    size_t found = 0;
    for (auto _ : state)
    {
        const auto result = programimport::importFile(temp.getFile());
        found = result.programs.size();
        benchmark::DoNotOptimize(found);
    }
    if (found != 44000)
        state.SkipWithError("not every dump was found");
    state.SetBytesProcessed((int64_t)state.iterations() * (int64_t)bytes.getSize());
    state.counters["MB"] = (double)bytes.getSize() / 1e6;
}
BENCHMARK(BM_ImportTenMegabyteCapture)->Unit(benchmark::kMillisecond);
} // namespace
