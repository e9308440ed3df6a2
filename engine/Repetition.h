#pragma once
// What one repetition of a fit produced: its optimisation problem with the best point, the
// fitted functions, goodness-of-fit statistics, predicted/observed rows and a snapshot of
// the fitted model; rendered as an ordered information table.

#include <memory>
#include <string>
#include <vector>

#include "Hashtable.h"
#include "MetaModel.h"
#include "OrvexRawTypes.h"

class TFunctionSettings;

class TRepetition {
public:
    TRepetition(int an_id, std::string ref_model_type);
    TRepetition(const TRepetition&) = delete;
    TRepetition& operator=(const TRepetition&) = delete;

    // SSres from the best result, RMSE = SSres / nbFitObsTot, EFF = (SStot - SSres) / SStot.
    // Raises EOrvexError when SStot or nbFitObsTot is 0.
    void ComputeStats();
    void GetModelSnapShot(const TMetaModel& model);

    // The information table, built anew (after the snapshot and the functions exist).
    THashtable ToStringHashtable() const;
    THashtable GetInfoTable() const { return ToStringHashtable(); }
    int GetNbParams() const { return ToStringHashtable().getLength(); }
    std::string ToStringStats(const std::string& title) const;
    std::string ToStringParameters(const std::string& title) const;
    std::string ToString() const;

    int id;
    std::string modelType;
    std::vector<std::unique_ptr<TModelFunction>> functionsList; // fitted clones
    TRFunctionDesc moindCarrD;
    double SStot = 0.0;
    double SSres = 0.0;
    double RMSE = 0.0; // mean squared residual
    double EFF = 0.0;
    int nbFitObsTot = 0;
    bool isRelevant = false;
    std::string dataHeader;
    std::vector<std::string> rawDataHeader;
    std::vector<TRSimulationResult> simResults;
    std::vector<TRRawData> simResultsAsRaw;
    std::unique_ptr<TMetaModel> snapShotModel;
    // The fit's settings file, parsed once; null reads the file at each table.
    std::shared_ptr<const TFunctionSettings> settings;
};
