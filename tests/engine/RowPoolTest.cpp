// The row pool runs every row exactly once per call, on as many workers as it has, round
// after round.

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "RowPool.h"

TEST(RowPool, EveryRowOnceEveryRound) {
    for (int workers : {1, 2, 5}) {
        TRowPool pool(workers);
        for (int rows : {0, 1, 2, 7, 300}) {
            for (int round = 0; round < 20; ++round) {
                std::vector<int> seen(static_cast<std::size_t>(rows), 0);
                pool.ForEach(rows, [&](int w, int row) {
                    ASSERT_GE(w, 0);
                    ASSERT_LT(w, workers);
                    ++seen[static_cast<std::size_t>(row)]; // each row by one worker only
                });
                EXPECT_EQ(seen, std::vector<int>(static_cast<std::size_t>(rows), 1)) << workers << " workers";
            }
        }
    }
}

// An evaluation may ask for fewer workers than the pool has: only those run its rows, each row
// still once, whatever the chunks.
TEST(RowPool, AtMostTheWorkersAskedFor) {
    TRowPool pool(6);
    for (int use : {1, 2, 4, 6, 9})
        for (int rows : {3, 64, 1000}) {
            std::vector<int> seen(static_cast<std::size_t>(rows), 0), by(static_cast<std::size_t>(rows), -1);
            pool.ForEach(rows, [&](int w, int row) {
                ++seen[static_cast<std::size_t>(row)];
                by[static_cast<std::size_t>(row)] = w;
            }, use);
            EXPECT_EQ(seen, std::vector<int>(static_cast<std::size_t>(rows), 1)) << use << " workers";
            EXPECT_LT(*std::max_element(by.begin(), by.end()), std::max(use, 1)) << use << " workers";
        }
}
