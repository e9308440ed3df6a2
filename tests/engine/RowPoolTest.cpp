// The row pool runs every row exactly once per call, on as many workers as it has, round
// after round.

#include <gtest/gtest.h>

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
