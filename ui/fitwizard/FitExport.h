#pragma once
// A whole fit configuration as one Fit element of a Fits file, for the command-line version:
// the four paths, the search settings as typed and the model.

#include <string>

#include "OptimSettings.h"

class TMetaModel;

struct TFitExport {
    std::string meteoFile, phenoFile, fitInfoFile, outputFile; // absolute paths
    TOptimSettingsText optim;
    const TMetaModel* model = nullptr;
};

// The name with ".xml" appended unless it already ends with ".xml" (case-sensitive).
std::string WithXmlExtension(const std::string& name);

// A new file holding only this Fit; any file of that name is replaced.
void ExportNewFitFile(const std::string& target, const TFitExport& fit);
// The Fits of `existing` with this Fit appended, written to `target`. Raises EOrvexError when
// `existing` cannot be read or has no Fits element; nothing is written then.
void AppendFitToFile(const std::string& existing, const std::string& target, const TFitExport& fit);
