// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>
#include <vector>

#include "cli/InOrder.h"

namespace {

// A helper for each idle processor beyond the caller's, three at most, eight files each
// at least: a busy machine (one processor idle) reads on the calling thread alone.
TEST(InOrder, HelpersOnlyForIdleProcessorsAndFilesEnough) {
    const struct {
        std::size_t files;
        unsigned idle;
        unsigned helpers;
    } cases[] = {{100, 1, 0}, {100, 0, 0}, {100, 2, 1}, {100, 8, 3}, {16, 8, 2}, {7, 8, 0}};
    for (const auto& c : cases) EXPECT_EQ(HelperThreadsFor(c.files, c.idle), c.helpers) << c.files << " " << c.idle;
}

// Early items are the slow ones, so helpers finish later items first.
std::size_t SlowEarlyItem(std::size_t i) {
    if (i < 4) std::this_thread::sleep_for(std::chrono::milliseconds(5 * (4 - static_cast<int>(i))));
    return i * 10;
}

// A slow reader of the output (each emit waits) holds the helpers back: they keep only a
// few results ahead of it, not the whole list.
TEST(InOrder, ResultsComeOutInOrderAndOnlyAFewAheadOfTheReader) {
    for (const unsigned helpers : {0u, 1u, 3u}) {
        SCOPED_TRACE(helpers);
        std::atomic<std::size_t> worked{0};
        std::size_t mostAhead = 0;
        std::vector<std::size_t> emitted;
        const auto work = [&](std::size_t i) {
            ++worked;
            return SlowEarlyItem(i);
        };
        RunInOrder(200, helpers, work, [&](std::size_t result) {
            mostAhead = std::max(mostAhead, worked - emitted.size());
            emitted.push_back(result);
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        });
        std::vector<std::size_t> expected;
        for (std::size_t i = 0; i < 200; ++i) expected.push_back(i * 10);
        EXPECT_EQ(emitted, expected);
        EXPECT_LE(mostAhead, 5 * (helpers + 1));
    }
}

TEST(InOrder, AFailingItemReachesTheCallerAfterEverythingBeforeIt) {
    for (const unsigned helpers : {0u, 3u}) {
        SCOPED_TRACE(helpers);
        std::vector<std::size_t> emitted;
        const auto work = [](std::size_t i) {
            if (i == 7) throw std::runtime_error("item 7");
            return SlowEarlyItem(i);
        };
        EXPECT_THROW(RunInOrder(40, helpers, work, [&](std::size_t result) { emitted.push_back(result); }),
                     std::runtime_error);
        EXPECT_EQ(emitted, (std::vector<std::size_t>{0, 10, 20, 30, 40, 50, 60}));
    }
}

}  // namespace
