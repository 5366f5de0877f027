// LockFreeQueue: a bounded multi-producer multi-consumer FIFO of trivially copyable items. Storage is
// allocated once at construction; push and pop never allocate, lock or wait, so any thread (the audio
// thread included) may call them. A push into a full queue fails and the item is dropped.
#pragma once

#include <atomic>
#include <cstddef>
#include <memory>
#include <type_traits>
#include <vector>

namespace zentak
{

template <typename T> class LockFreeQueue
{
    static_assert(std::is_trivially_copyable_v<T>, "queue items are copied as bytes");

public:
    /** capacity is rounded up to a power of two. */
    explicit LockFreeQueue(size_t capacity)
    {
        size_t n = 2;
        while (n < capacity)
            n <<= 1;
        mask = n - 1;
        cells = std::make_unique<Cell[]>(n);
        for (size_t i = 0; i < n; ++i)
            cells[i].sequence.store(i, std::memory_order_relaxed);
    }

    bool push(const T& item)
    {
        size_t pos = tail.load(std::memory_order_relaxed);
        for (;;)
        {
            Cell& cell = cells[pos & mask];
            const size_t seq = cell.sequence.load(std::memory_order_acquire);
            const auto diff = (std::ptrdiff_t)seq - (std::ptrdiff_t)pos;
            if (diff == 0)
            {
                if (tail.compare_exchange_weak(pos, pos + 1, std::memory_order_relaxed))
                {
                    cell.item = item;
                    cell.sequence.store(pos + 1, std::memory_order_release);
                    return true;
                }
            }
            else if (diff < 0)
            {
                dropped.fetch_add(1, std::memory_order_relaxed);
                return false;
            }
            else
            {
                pos = tail.load(std::memory_order_relaxed);
            }
        }
    }

    bool pop(T& item)
    {
        size_t pos = head.load(std::memory_order_relaxed);
        for (;;)
        {
            Cell& cell = cells[pos & mask];
            const size_t seq = cell.sequence.load(std::memory_order_acquire);
            const auto diff = (std::ptrdiff_t)seq - (std::ptrdiff_t)(pos + 1);
            if (diff == 0)
            {
                if (head.compare_exchange_weak(pos, pos + 1, std::memory_order_relaxed))
                {
                    item = cell.item;
                    cell.sequence.store(pos + mask + 1, std::memory_order_release);
                    return true;
                }
            }
            else if (diff < 0)
            {
                return false;
            }
            else
            {
                pos = head.load(std::memory_order_relaxed);
            }
        }
    }

    /** Takes every item present now, in order (allocates: not for the audio thread). */
    std::vector<T> takeAll()
    {
        std::vector<T> out;
        T item;
        while (pop(item))
            out.push_back(item);
        return out;
    }

    bool isEmpty() const
    {
        return head.load(std::memory_order_acquire) == tail.load(std::memory_order_acquire);
    }

    size_t capacity() const { return mask + 1; }
    size_t droppedCount() const { return dropped.load(std::memory_order_relaxed); }

private:
    struct Cell
    {
        std::atomic<size_t> sequence{0};
        T item{};
    };

    std::unique_ptr<Cell[]> cells;
    size_t mask = 0;
    alignas(64) std::atomic<size_t> tail{0};
    alignas(64) std::atomic<size_t> head{0};
    std::atomic<size_t> dropped{0};
};

} // namespace zentak
