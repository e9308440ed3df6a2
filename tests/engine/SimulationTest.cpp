#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "ErrorText.h"
#include "FitOutputFile.h"
#include "MetaModel.h"
#include "NumberText.h"
#include "Orvex.h"
#include "OrvexError.h"
#include "ScratchDir.h"
#include "UtilStuff.h"
#include "Weather.h"

namespace fs = std::filesystem;

namespace {

const std::string kSource = ORVEX_SOURCE_DIR;
const std::string kClimate = kSource + "/examples/climate.txt";
const std::string kT0 = kSource + "/examples/t0.txt";
const std::string kModel = kSource + "/System/Presets/Models/Example_GDD.xml";
// The model file as the program finds it: relative to the executable's folder.
const std::string kModelBesideExe = "System/Presets/Models/Example_GDD.xml";

class SimulationTest : public ScratchDirTest {
protected:
    std::string Output() const { return P("out.txt"); }
    std::vector<std::string> FilesInDir() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir_))
            names.push_back(e.path().filename().string());
        return names;
    }
};

// The output with the source folder and the model's place replaced, so that the golden file fits
// any machine.
std::string Normalised(std::string text, const std::string& model) {
    for (const auto& [from, to] :
         {std::pair{model, std::string("<MODEL>")}, std::pair{kSource, std::string("<SRC>")}})
        for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
            text.replace(at, from.size(), to);
    return text;
}

TEST_F(SimulationTest, OutputFileOfTheExampleModel) {
    const struct {
        const char* golden; // the noise-free dates, -9999 past the missing values allowed
        bool withT0;
        int maxMissing;
    } cases[] = {{"out_all.txt", false, 10}, {"out_missing.txt", false, 0}, {"out_t0.txt", true, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.golden);
        WriteFile("out.txt", "an older output, replaced\n");
        // The model as the program finds it beside the executable: the preset is shipped there.
        TSimulation sim(c.maxMissing, kClimate, Output(), kModelBesideExe, c.withT0 ? kT0 : "");
        sim.Prepare();
        sim.Start();
        sim.WaitFor();
        ASSERT_TRUE(sim.Finished());
        ASSERT_FALSE(sim.Error()) << sim.ErrorInfo();
        const std::string actual = Normalised(ReadWholeFile(Output()), sim.nomf_parameters());
        const fs::path golden = fs::path(ORVEX_TEST_DATA) / "simulation" / c.golden;
        EXPECT_EQ(actual, ReadWholeFile(golden.string()));
        EXPECT_EQ(FilesInDir(), std::vector<std::string>{"out.txt"}); // no temporary left
    }
}

// The model reproduces the generator's dates exactly, not only to the tenth of a day. The
// generator's true_dates.txt holds Station, Year, Budburst and the missing climate values the run
// meets, one line per climate year after a header.
TEST_F(SimulationTest, ExampleModelGivesTheNoiseFreeDates) {
    TMetaModel model;
    model.LoadFromXML(kModel);
    TWeather weather;
    weather.LoadAll(kClimate);
    model.Initialize(10, weather);
    const auto lines = SplitFileLines(ReadWholeFile(kSource + "/examples/generator/true_dates.txt"));
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(weather.NbYears()) + 1);
    for (int i = 0; i < weather.NbYears(); ++i) {
        const std::string& line = lines[static_cast<std::size_t>(i) + 1];
        const auto v = SplitTabCells(line);
        double date = 0.0;
        int missing = 0;
        ASSERT_TRUE(v.size() == 4 && TryParseFloat(v[2], date) && TryParseInt(v[3], missing)) << line;
        model.Run(i);
        EXPECT_EQ(model.DatePredictedArr[0], date) << line;
        EXPECT_EQ(model.GetNbMissingTemp(), missing) << line;
    }
}

// Stops itself once a few rows are written.
class StoppingSimulation : public TSimulation {
public:
    using TSimulation::TSimulation;
    int rowsWritten = 0;

protected:
    void RowWritten(int row) override {
        rowsWritten = row + 1;
        if (row == 2) Stop();
    }
};

TEST_F(SimulationTest, StoppedOrNeverStartedRunLeavesNoOutputFile) {
    {
        TSimulation sim(0, kClimate, Output(), kModel, "");
        sim.Prepare();
        EXPECT_EQ(FilesInDir().size(), 1u); // the temporary output
        sim.Quit();
    }
    EXPECT_TRUE(FilesInDir().empty());
    StoppingSimulation sim(0, kClimate, Output(), kModel, "");
    sim.Prepare();
    sim.Start();
    sim.WaitFor();
    EXPECT_TRUE(sim.Finished());
    EXPECT_FALSE(sim.Error());
    EXPECT_EQ(sim.rowsWritten, 3);
    EXPECT_TRUE(FilesInDir().empty());
}

TEST_F(SimulationTest, FailedRunKeepsTheOlderOutput) {
    const std::string t0 = WriteFile("t0.txt", "Year\tt0 phase1\n1999\t1\n2001\t1\n");
    WriteFile("out.txt", "older\n");
    TSimulation sim(0, kClimate, Output(), kModel, t0);
    sim.Prepare();
    sim.Start();
    sim.WaitFor();
    ASSERT_TRUE(sim.Error());
    EXPECT_NE(sim.ErrorInfo().find("t0 year \"1999\""), std::string::npos) << sim.ErrorInfo();
    EXPECT_EQ(ReadWholeFile(Output()), "older\n");
    EXPECT_EQ(FilesInDir().size(), 2u); // out.txt and t0.txt, no temporary
}

TEST_F(SimulationTest, PreparationErrorsNameTheFile) {
    const std::string missing = (dir_ / "missing.txt").string();
    const std::string noFolder = (dir_ / "no" / "out.txt").string();
    struct Case {
        const char* name;
        std::string climate, model, t0, output;
        std::string expected;
    };
    const Case cases[] = {
        {"climate file first", missing, missing, missing, noFolder,
         "The climate data file \"" + missing + "\" doesn't exist or is open."},
        {"model file", kClimate, missing, "", Output(),
         "The fitted model XML file \"" + missing + "\" doesn't exist or is open."},
        {"model file is a folder", kClimate, dir_.string(), "", Output(),
         "The fitted model XML file \"" + dir_.string() + "\" doesn't exist or is open."},
        {"T0 file", kClimate, kModel, missing, Output(),
         "The simulation/t0 info file \"" + missing + "\" doesn't exist or is open."},
        {"output folder", kClimate, kModel, "", noFolder,
         "The simulation output file \"" + noFolder + "\" doesn't exist or is open."},
        {"output is a folder", kClimate, kModel, kT0, dir_.string(),
         "The simulation output file \"" + dir_.string() + "\" doesn't exist or is open."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TSimulation sim(0, c.climate, c.output, c.model, c.t0);
        EXPECT_EQ(ErrorText([&] { sim.Prepare(); }), c.expected);
        EXPECT_THROW(sim.Start(), EOrvexError);
        EXPECT_TRUE(FilesInDir().empty());
    }
}

} // namespace
