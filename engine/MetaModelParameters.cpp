// The flat parameter vector of a fit: per phase T0 and S*, the overlap parameters of linked
// phases, then the free parameters of every function, phase by phase.

#include <algorithm>

#include "MetaModel.h"
#include "NumberText.h"
#include "OrvexError.h"

namespace {
bool IsLinked(const TPhase& ph) {
    return ph.index > 0 && ph.phaseLinkMode != TPhaseLinkMode::Sequential;
}

void Fix(TRVarInfo& slot, double value) {
    slot.value = slot.bestvalue = slot.minBound = slot.maxBound = value;
}

// name + suffix within the longest stored name.
std::string Suffixed(const std::string& name, const std::string& suffix) {
    return name.substr(0, MAX_PARAM_NAME > suffix.size() ? MAX_PARAM_NAME - suffix.size() : 0) + suffix;
}

// The information table keys the model slots by name, so overlap slots of linked phases that
// share a name would overwrite each other there: those take their phase number. Function slots
// keep their own names; the table keys them by phase and place itself.
void TagClashingOverlapSlots(std::vector<TRVarInfo>& slots, const std::vector<std::string>& phaseTags) {
    std::vector<std::string> renamed;
    for (std::size_t k = 0; k < slots.size(); ++k) {
        const auto same = std::count_if(slots.begin(), slots.end(),
                                        [&](const TRVarInfo& s) { return s.name == slots[k].name; });
        renamed.push_back(same > 1 && !phaseTags[k].empty() ? Suffixed(slots[k].name, phaseTags[k])
                                                            : slots[k].name);
    }
    for (std::size_t k = 0; k < slots.size(); ++k)
        slots[k].name = renamed[k];
}
} // namespace

void TMetaModel::initializeParameters(TRFunctionDesc& fd) {
    SortFunctions();
    int needed = 0;
    for (const auto& ph : PhasesArr)
        needed += 2 + (IsLinked(*ph) ? ph->overlapFunc->nbOfParameters() : 0);
    for (const TModelFunction* f : FunctionsArr)
        needed += f->nbOfFittedParameters();
    if (needed > MAX_FREE_PARAMETERS)
        throw EOrvexError("The model has " + IntToStr(needed) + " parameters to fit; a fit takes at most " +
                          IntToStr(MAX_FREE_PARAMETERS));

    std::vector<TRVarInfo> slots;
    std::vector<std::string> phaseTags; // suffixes that tell clashing overlap names apart
    auto add = [&](const TRVarInfo& v, std::string phaseTag) {
        slots.push_back(v);
        phaseTags.push_back(std::move(phaseTag));
    };

    fd.best_result = -1e10;
    nbMissingTemp = 0;
    for (std::size_t i = 0; i < PhasesArr.size(); ++i) {
        TPhase& ph = *PhasesArr[i];
        const bool is_photoperiod = ph.photoperiodMode != TPhotoperiodMode::No;
        const std::string tag = "<" + IntToStr(static_cast<long long>(i) + 1) + ">";

        TRVarInfo t0 = ph.parameterInitT0(is_photoperiod);
        t0.setName(t0.name + tag);
        if (ph.t0Mode == TPhaseT0Mode::Fixed || ph.t0Mode == TPhaseT0Mode::PickedFromPheno) {
            Fix(t0, ph.t0);
            t0.step = 10.0;
        } else {
            ph.t0 = t0.value;
        }
        add(t0, "");

        TRVarInfo s = ph.parameterInitSStar(is_photoperiod);
        s.setName(s.name + tag);
        if (i >= 1 && ph.phaseLinkMode == TPhaseLinkMode::Alternating) ph.sStarFixed = true;
        if (ph.sStarFixed) {
            Fix(s, ph.sStar);
            s.step = 10.0;
        } else {
            ph.sStar = s.value;
        }
        add(s, "");

        if (!IsLinked(ph)) continue;
        TModelFunction& o = *ph.overlapFunc;
        for (int k = 0; k < o.nbOfParameters(); ++k) {
            TRVarInfo v;
            o.parameterInitValues(k, v);
            if (o.parameterFixed(k))
                Fix(v, o.getParameterValue(k));
            else
                o.setParameterValue(k, v.value);
            add(v, tag);
        }
    }
    TagClashingOverlapSlots(slots, phaseTags);
    fd.nb_of_model_parameters = static_cast<int>(slots.size());

    for (TModelFunction* f : FunctionsArr)
        for (int j = 0; j < f->nbOfFittedParameters(); ++j) {
            TRVarInfo v;
            f->initFittedParameterValue(j, v);
            slots.push_back(v);
        }
    fd.var_info = std::move(slots);
    fd.nb_of_parameters = static_cast<int>(fd.var_info.size());
}

void TMetaModel::setParameters(const TRFunctionDesc& fd) {
    const int n = std::min(fd.nb_of_parameters, static_cast<int>(fd.var_info.size()));
    int p = 0;
    auto next = [&]() -> double {
        if (p >= n)
            throw EOrvexError("The parameter vector has " + IntToStr(n) +
                              " slots, fewer than the model needs");
        return fd.var_info[static_cast<std::size_t>(p++)].value;
    };
    for (auto& ph : PhasesArr) {
        ph->t0 = next();
        ph->sStar = next();
        if (!IsLinked(*ph)) continue;
        for (int k = 0; k < ph->overlapFunc->nbOfParameters(); ++k)
            ph->overlapFunc->setParameterValue(k, next());
    }
    for (TModelFunction* f : FunctionsArr)
        for (int j = 0, m = f->nbOfFittedParameters(); j < m; ++j)
            f->setFittedParameterValue(j, next());
}
