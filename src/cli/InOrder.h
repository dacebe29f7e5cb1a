// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <vector>

// How many threads beside the calling one a command over count files starts: one per
// further processor that no other program keeps busy, up to three, and only where each
// has several files to read, as a thread costs about as much to start as a small style
// does to read. On a busy machine a helper would only wait for a processor.
inline unsigned HelperThreadsFor(std::size_t count, unsigned idleProcessors) {
    const unsigned processors = std::max(1u, idleProcessors);
    return static_cast<unsigned>(std::min<std::size_t>({processors - 1, 3, count / 8}));
}

// Works out work(i) for every i below count, on the calling thread and as many helpers, and
// hands each result to emit(result) on the calling thread in the order of i, as soon as
// it and every one before it is done: a command over many files answers file by file in
// the order it was given them, whichever thread read which. The helpers keep at most a
// few results ahead of the one emitted, so that a slow reader of the output (a pager)
// does not make the results of a whole folder wait in memory. work must be safe to run
// on several threads at once; emit runs on the calling thread only. An exception from
// work reaches the caller when its result's turn comes; nothing after it is emitted.
template <class Work, class Emit>
void RunInOrder(std::size_t count, unsigned helpers, Work work, Emit emit) {
    using Result = decltype(work(std::size_t{0}));
    struct Slot {
        bool done = false;
        std::optional<Result> result;
        std::exception_ptr failure;
    };
    std::vector<Slot> slots(count);
    std::mutex mutex;
    std::condition_variable changed;  // an item done, a result emitted, or the end
    std::atomic<std::size_t> next{0};
    std::size_t emitted = 0;  // under mutex
    const std::size_t ahead = 4 * (std::size_t{helpers} + 1);

    // Works out the next item nobody has taken; false when there is none left.
    const auto takeOne = [&] {
        const std::size_t i = next.fetch_add(1);
        if (i >= count) return false;
        std::optional<Result> result;
        std::exception_ptr failure;
        try {
            result.emplace(work(i));
        } catch (...) {
            failure = std::current_exception();
        }
        {
            const std::lock_guard lock(mutex);
            slots[i].result = std::move(result);
            slots[i].failure = failure;
            slots[i].done = true;
        }
        changed.notify_all();
        return true;
    };

    // Declared after what they use, so that they are joined before it goes.
    std::vector<std::jthread> threads;
    try {
        for (unsigned t = 0; t < helpers; ++t) {
            threads.emplace_back([&] {
                do {
                    std::unique_lock lock(mutex);
                    changed.wait(lock, [&] { return next >= count || next < emitted + ahead; });
                } while (takeOne());
            });
        }
    } catch (const std::system_error&) {
        // The system has no thread to spare: the ones there are do the work.
    }
    // However the loop below ends, an exception from work or emit included, the helpers
    // stop after the item they are on, before they are joined.
    const auto stopHelpers = [&] {
        {
            const std::lock_guard lock(mutex);
            next = count;
        }
        changed.notify_all();
    };
    struct AtExit {
        const decltype(stopHelpers)& stop;
        ~AtExit() { stop(); }
    } atExit{stopHelpers};
    for (std::size_t i = 0; i < count; ++i) {
        Slot slot;
        {
            std::unique_lock lock(mutex);
            // While item i is still being read elsewhere, this thread reads on too, as far
            // ahead as the helpers may.
            while (!slots[i].done) {
                if (next < count && next < emitted + ahead) {
                    lock.unlock();
                    takeOne();
                    lock.lock();
                } else {
                    changed.wait(lock);
                }
            }
            slot = std::move(slots[i]);
        }
        if (slot.failure) std::rethrow_exception(slot.failure);
        emit(*slot.result);
        {
            const std::lock_guard lock(mutex);
            ++emitted;
        }
        changed.notify_all();
    }
}
