#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "Inputs.h"
#include "Weather.h"

namespace {

const std::string kExamples = std::string(ORVEX_SOURCE_DIR) + "/examples/";

// The example files fit together: every fit-information row has its phenology row, every
// phenology row its climate year, and the observed dates lie near the model's dates.
TEST(ExampleDataTest, FilesAreCoherent) {
    const TRFitInfo info = read_fit_infos(kExamples + "fitinfo.txt");
    TRPhenoInfos pheno = read_pheno_infos(kExamples + "phenology.txt");
    TWeather weather;
    weather.LoadAndPheno(kExamples + "climate.txt", pheno);
    TRSimInfo sim = read_sim_infos(kExamples + "t0.txt");
    TWeather weatherT0;
    weatherT0.LoadAndT0(kExamples + "climate.txt", sim);

    ASSERT_EQ(weather.NbYears(), 30);
    ASSERT_EQ(pheno.nb_obs(), 30);
    ASSERT_EQ(info.nb_fit(), 30);
    EXPECT_EQ(pheno.minObsYear, 2001);
    EXPECT_EQ(pheno.maxObsYear, 2010);
    int missing = 0;
    for (int k = 0; k < pheno.nb_obs(); ++k) {
        const TRPhenoData& row = pheno.tabPheno[static_cast<std::size_t>(k)];
        const TRInfoData& fit = info.tabFit[static_cast<std::size_t>(k)];
        EXPECT_EQ(fit.station, row.station);
        EXPECT_EQ(fit.provenance, row.provenance);
        EXPECT_EQ(fit.year, row.year);
        EXPECT_EQ(pheno.tabWeatherIdx[static_cast<std::size_t>(k)], k); // same order as the climate file
        ASSERT_EQ(row.dates.size(), 1u);
        const double d = row.dates[0].date;
        if (d == -9999.0)
            ++missing;
        else
            EXPECT_TRUE(d >= 90 && d <= 160 && d == std::floor(d)) << d;
    }
    EXPECT_EQ(missing, 1);
    ASSERT_EQ(sim.Years.size(), 10u);
    EXPECT_EQ(sim.nb_phases, 1);
    for (const TRSimYear& y : sim.Years)
        EXPECT_EQ(weatherT0.Year(y.wea_id).year, y.year);
}

} // namespace
