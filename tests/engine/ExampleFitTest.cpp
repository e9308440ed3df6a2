// The example model fitted on the example data, and the fitted model simulated again.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "Fit.h"
#include "FitOutputFile.h"
#include "NumberText.h"
#include "Orvex.h"
#include "RandomDistrib.h"
#include "UtilStuff.h"

namespace fs = std::filesystem;

namespace {

const fs::path SOURCE = ORVEX_SOURCE_DIR;

class ExampleFit : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("orvex_example_fit_" + std::to_string(::getpid()) + "_" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        for (const char* name : {"climate.txt", "phenology.txt", "fitinfo.txt"})
            fs::copy_file(SOURCE / "examples" / name, dir_ / name);
    }
    void TearDown() override {
        if (!HasFailure()) fs::remove_all(dir_);
    }
    std::string P(const std::string& name) const { return (dir_ / name).string(); }

    // One pass of two repetitions, seeded.
    std::unique_ptr<TFit> RunFit() {
        auto model = std::make_unique<TMetaModel>();
        model->LoadFromXML((SOURCE / "System/Presets/Models/Example_GDD.xml").string());
        TRMetropolisDesc md;
        md.ntr = 5;
        md.nts = 5;
        md.missing_threshold = 10;
        md.veryglob = 2;
        md.global = 3;
        md.nb_repetitions = 2;
        md.temp_confint = 1;
        md.conf_interval = 1;
        md.temp0 = 1.0;
        md.climbrate = 1.0;
        md.precision = 0.01;
        auto fit = std::make_unique<TFit>(std::move(model), md, P("climate.txt"), P("phenology.txt"),
                                          P("fitinfo.txt"), P("out.txt"), 10, false);
        fit->SetRandomGenerator(std::make_unique<TUniDistrib>(5, 17, 29, 41));
        fit->Prepare();
        EXPECT_FALSE(fit->Error()) << fit->ErrorInfo();
        fit->Start();
        fit->WaitFor();
        EXPECT_FALSE(fit->Error()) << fit->ErrorInfo();
        return fit;
    }
    fs::path dir_;
};

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

} // namespace

TEST_F(ExampleFit, SeededFitWritesTheGoldenOutput) {
    auto fit = RunFit();
    ASSERT_EQ(fit->Repetitions().size(), 2u);
    std::string text = ReadWholeFile(P("out.txt"));
    text = Replace(text, dir_.string() + "/", "<DIR>/");
    text = Replace(text, "Version : " + ApplicationVersion(), "Version : <VERSION>");
    const fs::path golden = fs::path(ORVEX_TEST_DATA) / "fit" / "golden_example_out.txt";
    const std::string expected = fs::exists(golden) ? ReadWholeFile(golden.string()) : std::string();
    if (text != expected) {
        std::ofstream(P("actual_example_out.txt"), std::ios::binary) << text;
        ADD_FAILURE() << "out.txt differs from " << golden << "; actual text in "
                      << P("actual_example_out.txt");
    }
}

TEST_F(ExampleFit, TheSavedBestRepetitionSimulatesThePredictedColumn) {
    auto fit = RunFit();
    ASSERT_FALSE(fit->Repetitions().empty());
    const TRepetition* best = fit->Repetitions().front();
    for (const TRepetition* rep : fit->Repetitions())
        if (rep->SSres < best->SSres) best = rep;
    best->snapShotModel->SaveToXML(P("best.xml"));

    TSimulation sim(10, P("climate.txt"), P("sim.txt"), P("best.xml"), "");
    sim.Prepare();
    sim.Start();
    sim.WaitFor();
    ASSERT_FALSE(sim.Error()) << sim.ErrorInfo();
    const auto lines = SplitFileLines(ReadWholeFile(P("sim.txt")));
    ASSERT_GT(lines.size(), 6u);

    // The climate years and the phenology rows are the same station-years in the same order.
    const auto& rows = best->simResults;
    std::size_t compared = 0;
    for (std::size_t k = 0; k < rows.size(); ++k) {
        const std::string& line = lines[6 + k];
        const std::size_t tab1 = line.find('\t');
        const std::size_t tab2 = line.find('\t', tab1 + 1);
        ASSERT_NE(tab2, std::string::npos) << line;
        EXPECT_EQ(line.substr(0, tab2),
                  std::to_string(rows[k].station_code) + "\t" + std::to_string(rows[k].year));
        const TRResult& r = rows[k].values[0];
        if (r.observed == MISSING) continue; // the fit's column prints 365.0 there
        double simulated = 0.0;
        ASSERT_TRUE(TryParseFloat(line.substr(tab2 + 1), simulated)) << line;
        // The simulation output prints dates to a tenth ("0.#"): the fit's dates must print the same.
        EXPECT_EQ(FormatFloat("0.#", simulated), FormatFloat("0.#", best->simResultsAsRaw[k].data_row[1]))
            << line;
        ++compared;
    }
    EXPECT_GE(compared, 29u);
}
