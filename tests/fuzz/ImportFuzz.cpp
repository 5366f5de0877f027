// Fuzzes the import engine: any bytes, read as a SysEx file, as a MIDI file (the same bytes behind a
// MIDI header and a track chunk header) and as a data image when the length fits. Checks that every
// byte is accounted for once and that every program found is whole.
#include "FuzzRate.h"
#include "library/ProgramImport.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

using namespace zentak::programimport;

namespace
{
void check(const void* data, size_t size)
{
    const auto r = importBytes(data, size, "Fuzz.syx");
    size_t sum = 0;
    for (const auto& t : r.tally)
        sum += t.bytes;
    if (sum != size)
        std::abort();
    for (const auto& p : r.programs)
        if (p.record.getSize() != 208 || p.name.length() != 16)
            std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    zentak::fuzz::countExecution("import");
    check(data, size);

    // The same bytes as the body of a track of a format-1 file, with a chunk length taken from the
    // input's first byte so that both too short and too long lengths are tried.
    std::vector<std::uint8_t> midi = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, 1, 0, 96, 'M', 'T', 'r', 'k'};
    const std::uint32_t length = size > 0 && (data[0] & 1) ? (std::uint32_t)(size * 2) : (std::uint32_t)size;
    for (int shift = 24; shift >= 0; shift -= 8)
        midi.push_back((std::uint8_t)(length >> shift));
    midi.insert(midi.end(), data, data + size);
    check(midi.data(), midi.size());
    return 0;
}
