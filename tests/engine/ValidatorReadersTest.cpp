#include <gtest/gtest.h>

#include <filesystem>

#include <unistd.h>

#include "InputValidator.h"
#include "Inputs.h"
#include "Weather.h"

namespace fs = std::filesystem;

// What the validator accepts, the readers must read: a file passing validation and then
// failing to load would stop a fit after the user was told the inputs are fine.
TEST(ValidatorAndReaders, AcceptedFilesLoad) {
    const fs::path clean = fs::path(ORVEX_TEST_DATA) / "validator" / "clean";
    const fs::path log = fs::temp_directory_path() / ("orvex_vr_" + std::to_string(::getpid()) + ".txt");

    TRValidationSettings s;
    s.pheno_path = (clean / "pheno.txt").string();
    s.fit_path = (clean / "fit.txt").string();
    s.meteo_path = (clean / "meteo.txt").string();
    {
        TInputValidator validator(s, log.string());
        ASSERT_TRUE(validator.Validate());
    }
    fs::remove(log);

    TRPhenoInfos pheno = read_pheno_infos(s.pheno_path);
    const TRFitInfo fit = read_fit_infos(s.fit_path);
    TWeather weather;
    weather.LoadAndPheno(s.meteo_path, pheno);

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
