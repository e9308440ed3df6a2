#include "ModelDesigner.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "AppFolder.h"
#include "FileUtils.h"
#include "NumberText.h"
#include "OrvexConfig.h"
#include "OrvexError.h"
#include "UtilStuff.h"

namespace {

// First and second lines of a file; raises with missingText when it is not a readable file.
std::vector<std::string> HeaderLines(const std::string& path, const char* missingText) {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) throw EOrvexError(missingText);
    std::ifstream in(path, std::ios::binary);
    if (!in) throw EOrvexError("Cannot read the file \"" + path + "\"");
    std::vector<std::string> lines;
    std::string line;
    while (lines.size() < 2 && std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    lines.resize(2);
    return lines;
}

std::unique_ptr<TTempHourFunc> NewTempHourFunc(const std::string& name) {
    if (name == "tempheur") return std::make_unique<TTempHourFunc>(TempHeur, "tempheur");
    return std::make_unique<TTempHourFunc>(TempHeur_shark, "tempheur_shark");
}

void ApplyParams(TModelFunction& f, const std::vector<TParamEdit>& params) {
    const int n = std::min(f.nbOfParameters(), static_cast<int>(params.size()));
    for (int i = 0; i < n; ++i) {
        const TParamEdit& p = params[static_cast<std::size_t>(i)];
        if (!p.fixed)
            f.releaseParameter(i);
        else if (p.value)
            f.fixParameter(i, *p.value);
    }
}

} // namespace

TModelDesigner::TModelDesigner() : model_(std::make_unique<TMetaModel>()) {}

std::unique_ptr<TMetaModel> TModelDesigner::TakeModel() {
    auto taken = std::move(model_);
    model_ = std::make_unique<TMetaModel>();
    return taken;
}

void TModelDesigner::ReplaceModel(std::unique_ptr<TMetaModel> model) {
    model_ = model ? std::move(model) : std::make_unique<TMetaModel>();
}

std::string TModelDesigner::CheckPhaseCount() const {
    const int n = model_->GetNbPhases();
    if (n == 0 || (n == 1 && !model_->PhasesArr[0]->usedToFit))
        return "Please, configure correctly at least one phase !";
    return {};
}

std::string TModelDesigner::CheckHourlyConversion() const {
    for (std::size_t i = 0; i < model_->PhasesArr.size(); ++i) {
        const TPhase& ph = *model_->PhasesArr[i];
        for (const auto& f : ph.functions)
            if (f->mustTempHour && !ph.tempHourFunction)
                return "You must configure Phase [" + IntToStr(static_cast<long long>(i) + 1) +
                       "] with a correct \r\n\"Temperature Sampling\" conversion function to use the "
                       "function : \"" +
                       f->getName() + "\"";
    }
    return {};
}

std::vector<std::string> TModelDesigner::SplitHeader(const std::string& text) {
    std::string line = text;
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n'))
        line.pop_back();
    std::vector<std::string> cols;
    if (line.empty()) return cols;
    std::size_t i = 0;
    for (;;) {
        std::string col;
        if (i < line.size() && line[i] == '"') {
            // A quoted column ends at the next lone quote; a doubled quote is one quote.
            ++i;
            while (i < line.size()) {
                if (line[i] == '"') {
                    if (i + 1 < line.size() && line[i + 1] == '"') {
                        col += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                col += line[i++];
            }
        }
        while (i < line.size() && line[i] != '\t')
            col += line[i++];
        cols.push_back(col);
        if (i >= line.size()) break;
        ++i; // the tab
    }
    return cols;
}

void TModelDesigner::PrebuildFromSources(const std::string& climatePath, const std::string& phenologyPath) {
    ClearModel();
    const std::string climate = GetAbsolutePath(ExeFolder(), climatePath);
    varInfoList_ = SplitHeader(HeaderLines(climate, "The climate data file does not exist")[0]);
    varInfoList_.push_back("____________");
    varInfoList_.push_back("DAY LENGTH");
    const auto pheno =
        HeaderLines(GetAbsolutePath(ExeFolder(), phenologyPath), "The phenology data file does not exist");
    phenoVarInfoList_ = SplitHeader(pheno[0]);
    phenoInfoList_ = SplitHeader(pheno[1]);
}

TPhase& TModelDesigner::PhaseAt(int i_phase) {
    if (i_phase < 0 || i_phase >= model_->GetNbPhases())
        throw EOrvexError("The model has no phase " + IntToStr(static_cast<long long>(i_phase) + 1));
    return *model_->PhasesArr[static_cast<std::size_t>(i_phase)];
}

TModelFunction& TModelDesigner::FunctionAt(int i_phase, int pos) {
    TPhase& ph = PhaseAt(i_phase);
    if (pos < 0 || pos >= static_cast<int>(ph.functions.size()))
        throw EOrvexError("Phase " + IntToStr(static_cast<long long>(i_phase) + 1) + " has no function " +
                          IntToStr(static_cast<long long>(pos) + 1));
    return *ph.functions[static_cast<std::size_t>(pos)];
}

TPhase& TModelDesigner::AddPhase() {
    const int idx = model_->GetNbPhases();
    model_->PushPhase(std::make_unique<TPhase>(model_.get(), TFunctionList{}, idx));
    AddFunction(idx);
    TPhase& ph = PhaseAt(idx);
    if (idx > 0)
        ph.t0Mode = ph.phaseLinkMode == TPhaseLinkMode::Sequential ? TPhaseT0Mode::PickedFromPrevPhase
                                                                   : TPhaseT0Mode::Fitted;
    // A new phase is fitted only once the user names its observed column.
    ph.usedToFit = false;
    return ph;
}

void TModelDesigner::RemPhase() {
    model_->PopPhase();
}

void TModelDesigner::AddFunction(int i_phase) {
    TPhase& ph = PhaseAt(i_phase);
    auto f = TModelFunction::GetFunction(static_cast<TAvailableFunctions>(0));
    // Every function of a phase samples as the phase does, as a model file would give it.
    f->workWithTempHour(ph.tempHourFunction.get());
    ph.PushFunction(std::move(f));
    LogIt("Function added to phase " + IntToStr(static_cast<long long>(i_phase) + 1));
}

void TModelDesigner::RemFunction(int i_phase) {
    PhaseAt(i_phase).PopFunction();
}

void TModelDesigner::ClearModel() {
    while (model_->GetNbPhases() > 0)
        model_->PopPhase();
    AddPhase();
}

void TModelDesigner::SetPhaseLinkMode(int i_phase, TPhaseLinkMode mode) {
    TPhase& ph = PhaseAt(i_phase);
    const TPhaseLinkMode old = ph.phaseLinkMode;
    if (!ph.functions.empty()) {
        TModelFunction& first = *ph.functions.front();
        // The first function reads the overlap output instead of a climate column.
        if (mode == TPhaseLinkMode::Overlap_Composition) {
            first.varLinkMode = TVarLinkMode::Composition;
            first.SetWeatherDataColumn(-1);
        } else if (old == TPhaseLinkMode::Overlap_Composition) {
            first.varLinkMode = TVarLinkMode::Multiplicative;
            first.SetWeatherDataColumn(0);
        }
    }
    if (i_phase > 0) {
        if (old == TPhaseLinkMode::Sequential && mode != TPhaseLinkMode::Sequential)
            ph.t0Mode = TPhaseT0Mode::Fitted;
        else if (old != TPhaseLinkMode::Sequential && mode == TPhaseLinkMode::Sequential)
            ph.t0Mode = TPhaseT0Mode::PickedFromPrevPhase;
    }
    ph.phaseLinkMode = mode;
}

void TModelDesigner::ReplaceFunction(int i_phase, int pos, const std::string& funcName) {
    TPhase& ph = PhaseAt(i_phase);
    const TModelFunction& old = FunctionAt(i_phase, pos);
    auto f = TModelFunction::GetFunction(funcName);
    f->SetWeatherDataColumn(old.GetWeatherDataColumn());
    f->useDayLengthAsVar = old.useDayLengthAsVar;
    f->varLinkMode = old.varLinkMode;
    f->weight = old.weight;
    f->SetIndices(old.phaseNum, old.phasePos);
    f->workWithTempHour(ph.tempHourFunction.get());
    model_->UpdateFunctionAt(i_phase, pos, std::move(f));
    ph.calculateCoeffSStar();
}

void TModelDesigner::SetOverlapFunction(int i_phase, const std::string& funcName) {
    TPhase& ph = PhaseAt(i_phase);
    ph.overlapFunc = TModelFunction::GetFunction(funcName);
}

void TModelDesigner::ApplyPhaseSettings(int i_phase, const TPhaseEdits& s) {
    TPhase& ph = PhaseAt(i_phase);
    if (s.t0Mode == TPhaseT0Mode::Fixed)
        ph.FixT0(s.t0);
    else
        ph.t0Mode = s.t0Mode;
    ph.usedToFit = s.phenoDataColumn >= 0;
    ph.photoperiodMode = s.photoperiodMode;
    if (s.tempHourName.empty()) {
        // Back to daily sampling: the functions forget the routine before the phase drops it.
        for (const auto& f : ph.functions)
            f->workWithTempHour(nullptr);
        ph.tempHourFunction.reset();
    } else {
        ph.tempHourFunction = NewTempHourFunc(s.tempHourName);
        for (const auto& f : ph.functions)
            f->workWithTempHour(ph.tempHourFunction.get());
    }
    ph.calculateCoeffSStar();
    ph.phenoDataColumn = s.phenoDataColumn;
    ph.t0DataColumn = s.t0DataColumn;
    ph.sStarFixed = s.sStarFixed;
    ph.sStar = s.sStar;
}

void TModelDesigner::ApplyFunctionSettings(int i_phase, int pos, const TFunctionEdits& s) {
    TPhase& ph = PhaseAt(i_phase);
    TModelFunction& f = FunctionAt(i_phase, pos);
    if (!s.keepColumn) {
        f.SetWeatherDataColumn(s.weatherDataColumn);
        f.useDayLengthAsVar = s.useDayLengthAsVar;
    }
    f.varLinkMode = s.varLinkMode;
    if (s.weight) f.weight = *s.weight;
    ApplyParams(f, s.params);
    f.workWithTempHour(ph.tempHourFunction.get());
    ph.calculateCoeffSStar();
}

void TModelDesigner::ApplyOverlapSettings(int i_phase, const TFunctionEdits& s) {
    TPhase& ph = PhaseAt(i_phase);
    if (ph.overlapFunc) ApplyParams(*ph.overlapFunc, s.params);
}

void TModelDesigner::LoadModelFile(const std::string& fileName) {
    auto loaded = std::make_unique<TMetaModel>();
    loaded->LoadFromXML(fileName);
    model_ = std::move(loaded);
}

std::string TModelDesigner::SaveModelFile(const std::string& fileName) const {
    const std::string ext = ".xml";
    std::string name = fileName;
    if (name.size() < ext.size() || name.compare(name.size() - ext.size(), ext.size(), ext) != 0) name += ext;
    model_->SaveToXML(name);
    return name;
}

std::vector<std::string> TModelDesigner::PresetFileNames() {
    std::vector<std::string> names;
    GetFilenames(GetAbsolutePath(ExeFolder(), PRESETS_MODEL_DIR), names);
    return names;
}

std::string TModelDesigner::PresetPath(const std::string& fileName) {
    return ExeFolder() + PRESETS_MODEL_DIR + fileName;
}

const std::vector<std::string>& TModelDesigner::FunctionNames() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> v;
        for (int k = 0; k < TModelFunction::GetNbFunc(); ++k)
            v.push_back(TModelFunction::GetFunction(static_cast<TAvailableFunctions>(k))->getName());
        return v;
    }();
    return names;
}

const std::vector<std::string>& TModelDesigner::OverlapFunctionNames() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> v;
        for (int k = 0; k < TModelFunction::GetNbFunc(); ++k) {
            auto f = TModelFunction::GetFunction(static_cast<TAvailableFunctions>(k));
            if (f->overlapCompatible) v.push_back(f->getName());
        }
        return v;
    }();
    return names;
}
