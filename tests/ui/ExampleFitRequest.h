#pragma once
// A fit request on the example files with the example preset model and short search settings:
// a run of a few seconds, as the wizard would hand it over.

#include <memory>
#include <string>

#include "FitRequest.h"
#include "MetaModel.h"
#include "SeededFit.h"

inline TFitRequest ExampleFitRequest(const std::string& sourceDir, const std::string& output,
                                     int repetitions = 2) {
    TFitRequest r;
    r.temperaturesPath = sourceDir + "/examples/climate.txt";
    r.phenologyPath = sourceDir + "/examples/phenology.txt";
    r.fitInfoPath = sourceDir + "/examples/fitinfo.txt";
    r.saveFitAsPath = output;
    r.maxMissingTemp = 10;
    r.metropolis = SmallSearch(repetitions);
    r.metropolis.tempf = 1.0;
    r.metropolis.skip_fisher = true;
    r.model = std::make_unique<TMetaModel>();
    r.model->LoadFromXML(sourceDir + "/System/Presets/Models/Example_GDD.xml");
    return r;
}
