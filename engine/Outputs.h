#pragma once
// Writers of a fit's files: the repetition blocks of the output file and the Fisher file's lines.

#include <string>
#include <vector>

#include "MetaModel.h"
#include "OrvexRawTypes.h"

class TFitOutputFile;
class TRepetition;

// Lines 6-14 of the header. Each writer raises EOrvexError when the file cannot be written.
void write_metropolis_parameters(TFitOutputFile& f_output, const TRMetropolisDesc& md);
// Computes the repetition's statistics and appends their block; text receives the block
// without its two leading line breaks.
void write_statistics(TFitOutputFile& f_output, TRepetition& rep, std::string& text);
// Keeps a clone of every function of the model in the repetition, then appends the
// parameter block.
void write_parameters(TFitOutputFile& f_output, TRepetition& rep, const TMetaModel& model);
// Runs the model on every phenology row, keeps the rows in the repetition and appends the
// predicted/observed table.
void write_simulation(TFitOutputFile& f_output, TRepetition& rep, TMetaModel& model,
                      const TRPhenoInfos& pheno);

// The predicted/observed table of result rows; fills the repetition's header and raw rows.
// phenoColumns: each phase's observed column in the phenology rows (-1 none).
std::string SimulationTableText(const std::vector<TRSimulationResult>& rows,
                                const std::vector<std::string>& phenoHeader,
                                const std::vector<int>& phenoColumns, TRepetition& rep);

// "SA_" + name and "Fisher_" + name beside the output file.
std::string SensitivityFileName(const std::string& outputPath);
std::string FisherFileName(const std::string& outputPath);

// The lines of the Fisher file from the sensitivity file: a header of the parameter names of
// fd, "SSres" and "Fisher statistics", then every sensitivity line followed by TAB and the
// Fisher statistic of its sum of squares against SSBest ("0.000"). The computation runs on a
// helper thread; raises EOrvexError when the data do not allow it. Errors name the
// sensitivity file as shownName (its path when empty).
std::vector<std::string> FisherFileLines(const std::string& sensitivityPath, const TRFunctionDesc& fd,
                                         int nb_obs_tot, double SSBest, const std::string& shownName = {});
