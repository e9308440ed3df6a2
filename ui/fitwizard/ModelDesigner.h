#pragma once
// The rules of the model design tab, without a widget: it owns the model being designed and
// every edit of its structure goes through it, so the tab only draws and forwards.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "MetaModel.h"

// What the phase editor collected; applied by TModelDesigner::ApplyPhaseSettings.
struct TPhaseEdits {
    TPhaseT0Mode t0Mode = TPhaseT0Mode::Fitted;
    double t0 = 0.0;          // used when t0Mode is Fixed
    int phenoDataColumn = -1; // -1: "--MISSING--", the phase is then not fitted
    int t0DataColumn = -1;
    TPhotoperiodMode photoperiodMode = TPhotoperiodMode::No;
    std::string tempHourName; // empty: daily; "tempheur" or "tempheur_shark"
    bool sStarFixed = false;
    double sStar = 0.0;
};

// What the function editor collected for one parameter.
struct TParamEdit {
    bool fixed = false;
    std::optional<double> value; // the edit's number; none when it did not read as one
};

// What the function editor collected; applied by ApplyFunctionSettings / ApplyOverlapSettings.
struct TFunctionEdits {
    int weatherDataColumn = 0;
    bool useDayLengthAsVar = false;
    TVarLinkMode varLinkMode = TVarLinkMode::Multiplicative;
    std::optional<double> weight; // none: left as it is
    bool keepColumn = false;      // an hourly function keeps its column (it reads no column)
    std::vector<TParamEdit> params;
};

class TModelDesigner {
public:
    TModelDesigner(); // holds a new empty TMetaModel
    TMetaModel& Model() { return *model_; }
    const TMetaModel& Model() const { return *model_; }
    std::unique_ptr<TMetaModel> TakeModel(); // hands the model over; holds a new empty one
    void ReplaceModel(std::unique_ptr<TMetaModel> model);

    // Empty when the check passes, else its message (the model check's steps 1 and 3).
    std::string CheckPhaseCount() const;
    std::string CheckHourlyConversion() const;

    // --- data file headers ---
    // The climate file's columns, then "____________" and "DAY LENGTH".
    const std::vector<std::string>& VarInfoList() const { return varInfoList_; }
    const std::vector<std::string>& PhenoVarInfoList() const { return phenoVarInfoList_; }
    const std::vector<std::string>& PhenoInfoList() const { return phenoInfoList_; }
    // Clears the model, then reads the two headers; raises EOrvexError on a missing file.
    void PrebuildFromSources(const std::string& climatePath, const std::string& phenologyPath);
    // Tab-separated columns of a header line; a double-quoted column may hold tabs.
    static std::vector<std::string> SplitHeader(const std::string& line);

    // --- structure ---
    TPhase& AddPhase();
    void RemPhase();
    void AddFunction(int i_phase);
    void RemFunction(int i_phase);
    // One new phase with one function.
    void ClearModel();

    // --- choices of the tab ---
    void SetPhaseLinkMode(int i_phase, TPhaseLinkMode mode);
    // A function of another kind in place of function pos; column, day-length flag, link mode
    // and weight are kept.
    void ReplaceFunction(int i_phase, int pos, const std::string& funcName);
    void SetOverlapFunction(int i_phase, const std::string& funcName);

    // --- editors' results ---
    void ApplyPhaseSettings(int i_phase, const TPhaseEdits& s);
    void ApplyFunctionSettings(int i_phase, int pos, const TFunctionEdits& s);
    void ApplyOverlapSettings(int i_phase, const TFunctionEdits& s);

    // --- model files ---
    // Loads into a new model that replaces the current one only when the whole file was read.
    void LoadModelFile(const std::string& fileName);
    // Appends ".xml" unless the name ends with it; returns the name written.
    std::string SaveModelFile(const std::string& fileName) const;
    // Names of the files in the presets folder beside the executable, sorted.
    static std::vector<std::string> PresetFileNames();
    static std::string PresetPath(const std::string& fileName);

    // The library's names in library order; overlap-compatible ones only for the second.
    static const std::vector<std::string>& FunctionNames();
    static const std::vector<std::string>& OverlapFunctionNames();

private:
    TPhase& PhaseAt(int i_phase);
    TModelFunction& FunctionAt(int i_phase, int pos);

    std::unique_ptr<TMetaModel> model_;
    std::vector<std::string> varInfoList_, phenoVarInfoList_, phenoInfoList_;
};
