#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <limits>

#include "ErrorText.h"
#include "OrvexError.h"
#include "Outputs.h"
#include "Repetition.h"
#include "ScratchDir.h"
#include "SensitivityFile.h"

namespace fs = std::filesystem;

namespace {

struct FisherFiles : ScratchDirTest {
    std::string sa;
    TRFunctionDesc fd;

    void SetUp() override {
        ScratchDirTest::SetUp();
        sa = SensitivityFileName(P("out.txt"));
        fd.nb_of_parameters = 2;
        fd.var_info.resize(2);
        fd.var_info[0].name = "T0<1>";
        fd.var_info[1].name = "SStar<1>";
    }
    void WriteSA(const std::string& text) { std::ofstream(sa, std::ios::binary) << text; }
};

} // namespace

// Data that allow no statistics raise: the fit then writes the Fisher file empty and says why
// (its tests of too few observations and of a last pass without result). An empty sensitivity
// file is checked through a fit that ends before its search.
TEST_F(FisherFiles, DataWithoutStatisticsRaise) {
    const struct {
        const char* sa;
        int nb_obs_tot;
        double best;
    } cases[] = {
        {"1.000\t2.000\tabc\r\n", 12, 10.0},                                       // not a number
        {"1.000\t2.000\t12.000\r\n", 12, 0.0},                                     // zero best sum
        {"1.000\t2.000\t12.000\r\n", 2, 10.0},                                     // zero divisor
        {"1.000\t2.000\t12.000\r\n", 12, std::numeric_limits<double>::infinity()}, // no best at all
    };
    for (const auto& c : cases) {
        WriteSA(c.sa);
        EXPECT_THROW(FisherFileLines(sa, fd, c.nb_obs_tot, c.best), EOrvexError) << c.sa;
    }
    // The fit reads the pending sensitivity file: errors name the file as it will be.
    WriteSA("1.000\t2.000\t12.000\r\n1.000\t2.000\tabc\r\n");
    EXPECT_EQ(ErrorText([&] { FisherFileLines(sa, fd, 12, 10.0, "SA_shown.txt"); }),
              "EOrvexError: 'abc' is not a valid floating point value (line 2 of SA_shown.txt)");
    fs::remove(sa);
    EXPECT_THROW(FisherFileLines(sa, fd, 12, 10.0), EOrvexError);
}

TEST_F(FisherFiles, SensitivityWriteErrorsRaise) {
    const double rows[] = {1.0, 2.0, 3.0, 4.0, 5.0, 6.0};
    WriteSA("");
    std::FILE* file = std::fopen(sa.c_str(), "rb"); // open, but not for writing
    ASSERT_NE(file, nullptr);
    TSensitivityFile readOnly(file, sa);
    EXPECT_THROW(readOnly.WriteRows(rows, 2), EOrvexError);
    std::fclose(file);
}

// A prediction sixty days or more after its observation (or without one) is the end of the year
// in the table and in the rows the charts read.
TEST(FitOutputTable, LatePredictionsPrintAsTheEndOfTheYear) {
    const std::pair<double, double> cases[] = {
        {159.9, 159.9}, // observed 100: short of the limit
        {160.0, 365.0}, // exactly at it
        {170.0, 365.0},
    };
    std::vector<TRSimulationResult> rows;
    for (const auto& [predicted, printed] : cases)
        rows.push_back({1, 1, 2001, {{predicted, 100.0, true}}});
    TRepetition rep(1, "m");
    const std::string text =
        SimulationTableText(rows, {"Station", "Provenance", "Year", "Budburst"}, {0}, rep);
    ASSERT_EQ(rep.simResultsAsRaw.size(), rows.size());
    for (std::size_t k = 0; k < rows.size(); ++k) {
        SCOPED_TRACE(cases[k].first);
        EXPECT_EQ(rep.simResultsAsRaw[k].data_row[1], cases[k].second);
    }
    EXPECT_NE(text.find("2001\t365.0\t100.0\t1\n1\t1\t2001\t365.0\t"), std::string::npos) << text;
}
