#pragma once
// Readers of the phenology, fit-information and T0 files. Each file is a header line of
// TAB-separated column names, then one record per line: numbers separated by blanks or TABs,
// '.' as the decimal separator. Blank lines are skipped; LF, CR LF and CR read alike.
// Every failure raises EOrvexError naming the file (and the line, counting the header as 1).

#include <string>

#include "OrvexRawTypes.h"

// Station, provenance, year and one date per header column after the third.
TRPhenoInfos read_pheno_infos(const std::string& f_observation);
// Station, provenance and year of the rows that take part in a fit; a station 0 ends the list.
TRFitInfo read_fit_infos(const std::string& f_fitinfo);
// A year and one T0 per phase.
TRSimInfo read_sim_infos(const std::string& f_siminfo);
