#include <gtest/gtest.h>

#include <string>

#include "Inputs.h"
#include "Weather.h"

// What the validator accepts, the readers must read: a file passing validation and then
// failing to load would stop a fit after the user was told the inputs are fine. The validator
// accepts these files in its golden table's "clean" case.
TEST(ValidatorAndReaders, AcceptedFilesLoad) {
    const std::string clean = std::string(ORVEX_TEST_DATA) + "/validator/clean/";
    TRPhenoInfos pheno = read_pheno_infos(clean + "pheno.txt");
    const TRFitInfo fit = read_fit_infos(clean + "fit.txt");
    TWeather weather;
    weather.LoadAndPheno(clean + "meteo.txt", pheno);

    EXPECT_GT(fit.nb_fit(), 0);
    ASSERT_EQ(pheno.tabWeatherIdx.size(), pheno.tabPheno.size());
    // Every fit row names a phenology row that has climate data.
    for (const TRInfoData& row : fit.tabFit) {
        bool found = false;
        for (int k = 0; k < pheno.nb_obs(); ++k) {
            const TRPhenoData& p = pheno.tabPheno[static_cast<std::size_t>(k)];
            if (p.station == row.station && p.provenance == row.provenance && p.year == row.year)
                found = pheno.tabWeatherIdx[static_cast<std::size_t>(k)] >= 0;
        }
        EXPECT_TRUE(found) << row.station << " " << row.year;
    }
}
