#include <QFile>
#include <QTableWidget>
#include <fstream>

#include "FakeSimulationRun.h"
#include "SimulDisplay.h"
#include "UiTestSupport.h"

namespace {

const char* const OUTPUT = "data files:\r\n/d/clim.txt\r\n/d/model.xml\r\n\r\n\r\n"
                           "station_code\tyear\tpredicted 0\tpredicted 1\r\n"
                           "1\t2001\t95.5\t120\r\n1\t2002\t-9999\t118.3\r\n2\t2001\t99\t\r\n\r\n";

class SimulFrame : public TempExeFolderTest {
protected:
    void SetUp() override {
        TempExeFolderTest::SetUp();
        state = std::make_shared<TFakeSimulationState>();
        state->output = "sim.txt"; // relative to the executable's folder
    }
    void WriteOutput(const std::string& text) {
        std::ofstream(Folder() + state->output, std::ios::binary) << text;
    }
    std::unique_ptr<TSimulDisplay> Frame() {
        return std::make_unique<TSimulDisplay>(nullptr, std::make_unique<TFakeSimulationRun>(state));
    }
    std::shared_ptr<TFakeSimulationState> state;
};

} // namespace

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

TEST_F(SimulFrame, WaitsThenLoadsTheOutputAndFreesTheRun) {
    WriteOutput(OUTPUT);
    auto frame = Frame();
    frame->Timer1Timer(); // still running
    EXPECT_TRUE(frame->Waiting());
    EXPECT_EQ(frame->StringGrid1->rowCount(), 0);

    state->finished = true;
    frame->Timer1Timer();
    EXPECT_FALSE(frame->Waiting());
    EXPECT_TRUE(dialogs.shown.isEmpty()) << dialogs.shown.join("|").toStdString();
    QTableWidget* grid = frame->StringGrid1;
    // The column names head the grid; the three data rows lie below them.
    ASSERT_EQ(std::pair(grid->rowCount(), grid->columnCount()), std::pair(3, 4));
    EXPECT_EQ(grid->horizontalHeaderItem(2)->text(), "predicted 0");
    EXPECT_EQ(grid->item(1, 2)->text(), "-9999");
    EXPECT_TRUE(state->destroyed);
    EXPECT_EQ(frame->Simulation(), nullptr);
}

TEST_F(SimulFrame, UnreadableOutputIsReported) {
    state->output = "missing/sim.txt";
    auto frame = Frame();
    state->finished = true;
    frame->Timer1Timer();
    EXPECT_EQ(dialogs.shown,
              QStringList{"Output file cannot be read (may be already in use) : missing/sim.txt"});
    EXPECT_TRUE(state->destroyed);
}
