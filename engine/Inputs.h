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
// A row given twice is refused.
TRFitInfo read_fit_infos(const std::string& f_fitinfo);
// A year and one T0 per phase; a file without a T0 line is refused.
TRSimInfo read_sim_infos(const std::string& f_siminfo);

// A phenology date is a day of the run: -365 (days of the year before) to 366, or -9999 (missing).
bool IsPhenoDate(double date);
// Raises EOrvexError naming the fit-information file and line of the first row that has no
// phenology row with its station, provenance and year.
void check_fit_infos(const TRFitInfo& fit, const std::string& f_fitinfo, const TRPhenoInfos& pheno,
                     const std::string& f_observation);
