// countExecution: each fuzz target counts its executions and reports them with their rate when the
// process ends, so a slow target shows up in the test command's output. The fuzzer's thread.
#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>

namespace zentak::fuzz
{
inline void countExecution(const char* target)
{
    struct Rate
    {
        const char* name;
        std::uint64_t runs = 0;
        std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
        ~Rate()
        {
            const double seconds =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            std::fprintf(stderr, "[ figures  ] %s fuzz target: %llu executions in %.1f s, %.0f per second\n",
                         name, (unsigned long long)runs, seconds,
                         seconds > 0.0 ? (double)runs / seconds : 0.0);
        }
    };
    static Rate rate{target};
    ++rate.runs;
}
} // namespace zentak::fuzz
