#pragma once
// What the fit configuration wizard hands the main window when the user chose "FIT NOW !":
// the four paths, the search settings already converted, and the model to fit.

#include <memory>
#include <string>

#include "MetaModel.h"
#include "OrvexRawTypes.h"

struct TFitRequest {
    std::string temperaturesPath;
    std::string phenologyPath;
    std::string fitInfoPath;
    std::string saveFitAsPath;
    bool savePathValues = false; // "Keep those values in memory"
    // The output file as the wizard's check created it, empty and absolute: it goes again unless
    // a fit fills it. Empty when the file was there before.
    std::string createdOutput;
    int maxMissingTemp = 0;
    bool leaveOneOut = false;
    bool skipFisher = true;
    TRMetropolisDesc metropolis; // ntr … precision and skip_fisher, as the main window fills them
    std::unique_ptr<TMetaModel> model;
};
