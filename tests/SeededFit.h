#pragma once
// The small seeded search the fit tests share, and the example model fitted with it on copies of
// the example data.

#include <filesystem>
#include <memory>
#include <string>

#include "Fit.h"
#include "MetaModel.h"
#include "RandomDistrib.h"

inline TRMetropolisDesc SmallSearch(int repetitions) {
    TRMetropolisDesc md;
    md.ntr = 5;
    md.nts = 5;
    md.missing_threshold = 10;
    md.veryglob = 2;
    md.global = 3;
    md.nb_repetitions = repetitions;
    md.temp_confint = 1;
    md.conf_interval = 1;
    md.temp0 = 1.0;
    md.climbrate = 1.0;
    md.precision = 0.01;
    return md;
}

// Runs to its end; the output is `dir`/out.txt.
inline std::unique_ptr<TFit> ExampleFit(const std::string& dir, int repetitions) {
    const std::string source = ORVEX_SOURCE_DIR;
    for (const char* name : {"climate.txt", "phenology.txt", "fitinfo.txt"})
        std::filesystem::copy_file(source + "/examples/" + name, dir + "/" + name,
                                   std::filesystem::copy_options::overwrite_existing);
    auto model = std::make_unique<TMetaModel>();
    model->LoadFromXML(source + "/System/Presets/Models/Example_GDD.xml");
    auto fit =
        std::make_unique<TFit>(std::move(model), SmallSearch(repetitions), dir + "/climate.txt",
                               dir + "/phenology.txt", dir + "/fitinfo.txt", dir + "/out.txt", 10, false);
    fit->SetRandomGenerator(std::make_unique<TUniDistrib>(5, 17, 29, 41));
    fit->Prepare();
    fit->Start(); // raises when the preparation failed
    fit->WaitFor();
    return fit;
}
