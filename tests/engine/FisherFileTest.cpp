#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <limits>

#include "FitOutputFile.h"
#include "OrvexError.h"
#include "Outputs.h"
#include "ScratchDir.h"
#include "SensitivityFile.h"

namespace fs = std::filesystem;

namespace {

struct FisherFiles : ScratchDirTest {
    std::string sa, fisher;
    TRFunctionDesc fd;

    void SetUp() override {
        ScratchDirTest::SetUp();
        sa = SensitivityFileName(P("out.txt"));
        fisher = FisherFileName(P("out.txt"));
        std::ofstream(fisher).close(); // created empty, as the fit prepares it
        fd.nb_of_parameters = 2;
        fd.var_info.resize(2);
        fd.var_info[0].name = "T0<1>";
        fd.var_info[1].name = "SStar<1>";
    }
    void WriteSA(const std::string& text) { std::ofstream(sa, std::ios::binary) << text; }
};

} // namespace

// An empty sensitivity file is checked through a fit that ends before its search.
TEST_F(FisherFiles, FailuresLeaveTheFileEmpty) {
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
        EXPECT_THROW(write_fisher(fisher, sa, fd, c.nb_obs_tot, c.best), EOrvexError) << c.sa;
        EXPECT_EQ(fs::file_size(fisher), 0u);
    }
    fs::remove(sa);
    EXPECT_THROW(write_fisher(fisher, sa, fd, 12, 10.0), EOrvexError);
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
