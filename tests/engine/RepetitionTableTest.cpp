#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "FunctionSettings.h"
#include "ModelFunction.h"
#include "OrvexError.h"
#include "RepetitionTable.h"

namespace {

TRVarInfo Slot(const std::string& name, double best, int b4, int after) {
    TRVarInfo v;
    v.setName(name);
    v.bestvalue = best;
    v.b4_point = b4;
    v.after_point = after;
    return v;
}

} // namespace

// Plain numbers are in the golden fit files.
TEST(RepetitionTable, GeneralNumbersPadTheirExponent) {
    const struct {
        double v;
        int digits;
        const char* text;
    } cases[] = {
        {1.5e-7, 2, "1.5E-07"},   {1.5e-7, 3, "1.5E-007"}, {123456789.0, 2, "1.2345679E08"},
        {-2.5e12, 3, "-2.5E012"}, {0.0, 2, "0"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FloatToStrGeneralExp(c.v, 8, c.digits), c.text) << c.v;
}

// The golden fit files hold a one-phase table and its texts; these are the slots they lack.
TEST(RepetitionTable, SlotsTheGoldenFitsLack) {
    TRFunctionDesc fd;
    fd.var_info = {Slot("T0<1>", 60.0, 3, 1), Slot("SStar<1>", 150.25, 6, 3), Slot("T0<2>", 10.0, 3, 1),
                   Slot("SStar<2>", 20.0, 6, 3), Slot("Topt", 25.0, 2, 2)};
    fd.nb_of_parameters = 5;
    fd.nb_of_model_parameters = 4;

    std::vector<std::unique_ptr<TModelFunction>> functions;
    functions.push_back(TModelFunction::GetFunction("GDD"));
    functions.back()->SetIndices(0, 0);
    functions.push_back(TModelFunction::GetFunction("Wang"));
    functions.back()->SetIndices(1, 0);
    functions.back()->useDayLengthAsVar = true;
    const std::vector<std::string> climateHeader = {"station", "lat", "year", "doy", "tmean", "tmin"};

    TRInfoTableInput in;
    in.fd = &fd;
    in.t0NotFitted = {false, true};
    in.functions = &functions;
    in.climateHeader = &climateHeader;
    const THashtable t = BuildInfoTable(in);
    EXPECT_EQ(t.getWideString("T0<2>"), "N/A");
    EXPECT_EQ(t.getWideString("Topt"), ""); // a function slot, not a model slot
    EXPECT_EQ(t.getWideString("Phase Function<2,1>"), "[Wang, -DL-]");
    EXPECT_FALSE(t.getWideString("Tmax<2,1>").empty());

    in.climateHeader = nullptr; // snapshot without climate data
    functions[0]->SetWeatherDataColumn(-1);
    EXPECT_EQ(BuildInfoTable(in).getWideString("Phase Function<1,1>"), "[GDD]");
}

// A fit parses the settings file once: every table takes its names from that parse, even
// after the file has changed or gone.
TEST(RepetitionTable, TablesUseTheSettingsParsedOnce) {
    const std::filesystem::path file = std::filesystem::temp_directory_path() /
                                       ("orvex_table_settings_" + std::to_string(::getpid()) + ".xml");
    std::ofstream(file) << R"(<Functions><Function name="gdd">
        <Parameter id="0" name="Base" value="5" step="0.5" min="-5" max="15"/></Function></Functions>)";
    const TFunctionSettings settings(file.string());
    std::filesystem::remove(file);

    std::vector<std::unique_ptr<TModelFunction>> functions;
    functions.push_back(TModelFunction::GetFunction("GDD"));
    functions.back()->setParameterValue(0, 4.5);
    TRInfoTableInput in;
    in.functions = &functions;
    in.settings = &settings;
    for (int k = 0; k < 2; ++k) {
        const THashtable t = BuildInfoTable(in);
        EXPECT_EQ(t.getWideString("Base<1,1>"), "4.50000");
        EXPECT_EQ(t.getWideString("Tbase<1,1>"), "");
    }

    const TFunctionSettings missing(file.string());
    in.settings = &missing;
    EXPECT_THROW(BuildInfoTable(in), EOrvexError);
}
