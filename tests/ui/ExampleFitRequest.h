#pragma once
// A fit request on the example files with the example preset model and short search settings:
// a run of a few seconds, as the wizard would hand it over.

#include <memory>
#include <string>

#include "FitRequest.h"
#include "MetaModel.h"

inline TFitRequest ExampleFitRequest(const std::string& sourceDir, const std::string& output,
                                     int repetitions = 2) {
    TFitRequest r;
    r.temperaturesPath = sourceDir + "/examples/climate.txt";
    r.phenologyPath = sourceDir + "/examples/phenology.txt";
    r.fitInfoPath = sourceDir + "/examples/fitinfo.txt";
    r.saveFitAsPath = output;
    r.maxMissingTemp = 10;
    TRMetropolisDesc& md = r.metropolis;
    md.ntr = 5;
    md.nts = 5;
    md.missing_threshold = 10;
    md.veryglob = 2;
    md.global = 3;
    md.nb_repetitions = repetitions;
    md.temp_confint = 1;
    md.conf_interval = 1;
    md.temp0 = md.tempf = 1.0;
    md.climbrate = 1.0;
    md.precision = 0.01;
    md.skip_fisher = true;
    r.model = std::make_unique<TMetaModel>();
    r.model->LoadFromXML(sourceDir + "/System/Presets/Models/Example_GDD.xml");
    return r;
}
