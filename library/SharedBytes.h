// sharedbytes: byte arrays that several threads read and write without a lock, each byte a relaxed
// atomic, so a record copied while another thread writes it may mix old and new bytes but never
// reads a torn byte. Any thread; allocation-free.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

namespace zentak::sharedbytes
{
inline std::uint8_t load(const std::uint8_t& b)
{
    return std::atomic_ref<std::uint8_t>(const_cast<std::uint8_t&>(b)).load(std::memory_order_relaxed);
}

inline void store(std::uint8_t& b, std::uint8_t v)
{
    std::atomic_ref<std::uint8_t>(b).store(v, std::memory_order_relaxed);
}

inline void loadBytes(std::uint8_t* out, const std::uint8_t* shared, size_t n)
{
    for (size_t i = 0; i < n; ++i)
        out[i] = load(shared[i]);
}

inline void storeBytes(std::uint8_t* shared, const std::uint8_t* in, size_t n)
{
    for (size_t i = 0; i < n; ++i)
        store(shared[i], in[i]);
}
} // namespace zentak::sharedbytes
