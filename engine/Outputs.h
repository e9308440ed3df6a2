#pragma once
// Writers of a fit's files: the repetition blocks of the output file and the Fisher file.

#include <string>

#include "OrvexRawTypes.h"

// "SA_" + name and "Fisher_" + name beside the output file.
std::string SensitivityFileName(const std::string& outputPath);
std::string FisherFileName(const std::string& outputPath);

// The Fisher file from the sensitivity file: a header of the parameter names of fd, "SSres"
// and "Fisher statistics", then every sensitivity line followed by TAB and the Fisher
// statistic of its sum of squares against SSBest ("0.000"). The computation runs on a helper
// thread; the file is written only when it succeeded. Raises EOrvexError otherwise.
void write_fisher(const std::string& fisherPath, const std::string& sensitivityPath, const TRFunctionDesc& fd,
                  int nb_obs_tot, double SSBest);
