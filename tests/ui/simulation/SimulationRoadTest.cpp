// The simulation road end to end: the simulation window, the engine's thread and the sheet's grid.
#include <QTableWidget>
#include <algorithm>
#include <filesystem>
#include <fstream>

#include "FillSimulationWindow.h"
#include "FitOutputFile.h"
#include "MainWindow.h"
#include "NumberText.h"
#include "SimulDisplay.h"
#include "UiTestSupport.h"
#include "UtilStuff.h"

namespace {

const std::string kSource = ORVEX_SOURCE_DIR;
const std::string kClimate = kSource + "/examples/climate.txt";
const std::string kT0 = kSource + "/examples/t0.txt";
const std::string kModel = kSource + "/System/Presets/Models/Example_GDD.xml";

// The grid the example generator's noise-free dates give: the column header, then per line
// station, year and the date as "0.#" (-9999 when the run meets more missing values than allowed).
std::vector<std::vector<std::string>> ExpectedTable(const std::string& truthFile, int maxMissing) {
    std::vector<std::vector<std::string>> table = {{"station_code", "year", "predicted 0"}};
    std::ifstream in(kSource + "/examples/generator/" + truthFile);
    std::string line;
    std::getline(in, line);
    while (std::getline(in, line)) {
        const std::vector<std::string_view> v = SplitTabCells(line);
        const size_t d = v.size() - 2; // the date is the last column but one
        double date = 0;
        int missing = 0;
        EXPECT_TRUE(TryParseFloat(v[d], date) && TryParseInt(v[d + 1], missing)) << line;
        table.push_back({std::string(v[0]), std::string(v[1]),
                         missing > maxMissing ? "-9999" : FormatFloat("0.#", date)});
    }
    return table;
}

class SimulationRoad : public TempExeFolderTest {
protected:
    QStringList Tabs() const { return TabTexts(window.PageControl1); }
    TSimulDisplay* Sheet(int i) const { return qobject_cast<TSimulDisplay*>(window.PageControl1->widget(i)); }
    static std::vector<std::vector<std::string>> GridTexts(const QTableWidget* grid) {
        // The column names first, as the grid's header shows them.
        std::vector<std::vector<std::string>> texts(grid->rowCount() + 1);
        for (int c = 0; c < grid->columnCount(); ++c)
            texts[0].push_back(grid->horizontalHeaderItem(c)->text().toStdString());
        for (int r = 0; r < grid->rowCount(); ++r)
            for (int c = 0; c < grid->columnCount(); ++c)
                texts[r + 1].push_back(grid->item(r, c) ? grid->item(r, c)->text().toStdString() : "");
        return texts;
    }
    std::vector<std::string> FilesBesideExe() const {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(dir.path().toStdString()))
            if (e.is_regular_file()) names.push_back(e.path().filename().string());
        return names;
    }

    TOrvexWindow window;
};

} // namespace

TEST_F(SimulationRoad, ExampleFilesGiveTheGeneratorsDates) {
    // Per station-year, then per line of a T0 file.
    const std::pair<std::string, const char*> cases[] = {{"", "true_dates.txt"}, {kT0, "true_dates_t0.txt"}};
    for (const auto& [t0, truth] : cases) {
        SCOPED_TRACE(truth);
        dialogs.onExec = FillSimulationWindow(kModel, kClimate, t0);
        window.CreateSimulation();
        ASSERT_EQ(Tabs().size(), 2);
        TSimulDisplay* display = Sheet(1);
        ASSERT_NE(display, nullptr);
        ASSERT_TRUE(WaitWhile([&] { return display->Waiting(); }));

        EXPECT_TRUE(dialogs.shown.isEmpty()) << dialogs.shown.join("|").toStdString();
        // Station 3 meets five missing temperatures in 2007, more than the window's default 0.
        EXPECT_EQ(GridTexts(display->StringGrid1), ExpectedTable(truth, 0));
        EXPECT_EQ(display->Simulation(), nullptr);
        EXPECT_TRUE(QFile::exists(dir.filePath("out.txt")));
        window.CloseTabBtn->trigger();
    }
}

TEST_F(SimulationRoad, MissingModelFileIsNamed) {
    std::ofstream(Folder() + "clim.txt") << "station\tlat\tyear\tday\ttmean\ttmin\ttmax\n";
    dialogs.onExec = FillSimulationWindow("missing.xml", "clim.txt");
    window.CreateSimulation();
    EXPECT_EQ(dialogs.shown, QStringList{QString::fromStdString("The fitted model XML file \"" + Folder() +
                                                                "missing.xml\" doesn't exist or is open.")});
    EXPECT_EQ(Tabs(), QStringList{"Home"});
}

TEST_F(SimulationRoad, FailedRunIsShownOnceAndFreed) {
    // A T0 year the climate file does not hold fails inside the thread.
    std::ofstream(Folder() + "t0.txt") << "Year\tt0 phase1\n1990\t1\n";
    dialogs.onExec = FillSimulationWindow(kModel, kClimate, "t0.txt");
    window.CreateSimulation();
    TSimulDisplay* display = Sheet(1);
    ASSERT_NE(display, nullptr);
    ASSERT_TRUE(WaitWhile([&] { return display->Waiting(); }));
    display->Timer1Timer(); // a stray tick shows nothing again
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(display->StringGrid1->rowCount(), 0);
    EXPECT_EQ(display->Simulation(), nullptr);
    EXPECT_EQ(FilesBesideExe(), std::vector<std::string>{"t0.txt"}); // no output, no leftover
}

TEST_F(SimulationRoad, ClosingTheSheetStopsTheRunAndLeavesNoPartialFile) {
    dialogs.onExec = FillSimulationWindow(kModel, kClimate);
    window.CreateSimulation();
    ASSERT_EQ(Tabs(), (QStringList{"Home", "Simulation 1"}));
    window.CloseTabBtn->trigger(); // at once: the run is stopped and waited for
    EXPECT_EQ(Tabs(), QStringList{"Home"});
    EXPECT_TRUE(dialogs.shown.isEmpty()) << dialogs.shown.join("|").toStdString();
    // Either the run ended before the stop and its output is complete, or it left nothing.
    const std::vector<std::string> files = FilesBesideExe();
    EXPECT_TRUE(files.empty() || files == std::vector<std::string>{"out.txt"});
    if (!files.empty()) { // five header lines, the column header, 30 station-years, the closing empty line
        const std::string text = ReadWholeFile(Folder() + "out.txt");
        EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 37);
    }
}
