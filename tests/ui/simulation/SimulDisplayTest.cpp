// The grid rules and the sheet's waiting; the road test loads a real output.
#include <QTableWidget>

#include "FakeSimulationRun.h"
#include "SimulDisplay.h"
#include "UiTestSupport.h"

using SimulFrame = TempExeFolderTest;

TEST(SimulGrid, BlankRowHeaderThenRows) {
    const std::vector<std::string> lines = {
        "data files:",        "c", "m", "", "", "station_code\tyear\tpredicted 0", "1\t2001\t95", "1\t2002\t",
        "2\t2001\t90\textra", ""};
    const auto cells = TSimulDisplay::GridCells(lines, 4);
    ASSERT_EQ(cells.size(), 5u);
    EXPECT_EQ(cells[0], (std::vector<std::string>{"", "", ""}));
    EXPECT_EQ(cells[3], (std::vector<std::string>{"1", "2002", ""}));
    EXPECT_EQ(cells[4], (std::vector<std::string>{"2", "2001", "90"}));
    // No column header: nothing to show.
    EXPECT_TRUE(TSimulDisplay::GridCells({"data files:", "c", "m", "", ""}, 4).empty());
}

TEST_F(SimulFrame, WaitsForTheRunThenReportsAnUnreadableOutput) {
    auto state = std::make_shared<TFakeSimulationState>();
    state->output = "missing/sim.txt";
    TSimulDisplay frame(nullptr, std::make_unique<TFakeSimulationRun>(state));
    frame.Timer1Timer(); // still running
    EXPECT_TRUE(frame.Waiting());
    EXPECT_TRUE(dialogs.shown.isEmpty());

    state->finished = true;
    frame.Timer1Timer();
    EXPECT_EQ(dialogs.shown,
              QStringList{"Output file cannot be read (may be already in use) : missing/sim.txt"});
    EXPECT_TRUE(state->destroyed);
}
