// The factory: one table row per kind.

#include "ModelsFuncLib.h"

#include <array>
#include <cctype>

#include "OrvexError.h"

namespace {
template <class T> std::unique_ptr<TModelFunction> Make() {
    return std::make_unique<T>();
}

struct Kind {
    TAvailableFunctions id;
    const char* member; // TAvailableFunctions member name
    const char* key;    // GetFunction key: lower case, '_' for blanks
    std::unique_ptr<TModelFunction> (*create)();
};

using F = TAvailableFunctions;
// In TAvailableFunctions order.
const std::array<Kind, 24> KINDS{{
    {F::Bidabe, "Bidabe", "bidabe", Make<TBidabe>},
    {F::Varnel, "Varnel", "varnel", Make<TNormal>},
    {F::Delpierre, "Delpierre", "delpierre", Make<TDelpierre>},
    {F::Dormphot, "Dormphot", "dormphot", Make<TDormphot>},
    {F::Erez, "Erez", "erez", Make<TErez>},
    {F::Four_Phases, "Four_Phases", "four_phases", Make<TFourPhases>},
    {F::GDD, "GDD", "gdd", Make<TGDD>},
    {F::GDD_Inverse, "GDD_Inverse", "gdd_inverse", Make<TGDD_inverse>},
    {F::Identity, "Identity", "identity", Make<TIdentity>},
    {F::Landsberg, "Landsberg", "landsberg", Make<TLandsberg>},
    {F::Negative_Exponential, "Negative_Exponential", "negative_exponential", Make<TNegativeExp>},
    {F::Parabolic, "Parabolic", "parabolic", Make<TPhotos>},
    {F::Richardson, "Richardson", "richardson", Make<TRichardson>},
    {F::Richardson_Inverse, "Richardson_Inverse", "richardson_inverse", Make<TRichardson_inverse>},
    {F::Sigmoid, "Sigmoid", "sigmoid", Make<TSigmoid>},
    {F::Sigmoid_Negative, "Sigmoid_Negative", "sigmoid_negative", Make<TSigmoid_negative>},
    {F::Smoothed_Utah, "Smoothed_Utah", "smoothed_utah", Make<TSmoothed_Utah>},
    {F::STICS_Simple, "STICS_Simple", "stics_simple", Make<TSTICS_simple>},
    {F::Threshold_Superior, "Threshold_Superior", "threshold_superior", Make<TTreshold_Sup>},
    {F::Threshold_Inferior, "Threshold_Inferior", "threshold_inferior", Make<TTreshold_Inf>},
    {F::Triangular, "Triangular", "triangular", Make<TTriangular>},
    {F::Triangular_Inverse, "Triangular_Inverse", "triangular_inverse", Make<TTriangular_inverse>},
    {F::Wang, "Wang", "wang", Make<TUnimodal>},
    {F::White, "White", "white", Make<TWhite>},
}};
} // namespace

std::string TModelFunction::GetFuncName(TAvailableFunctions f) {
    const auto i = static_cast<std::size_t>(f);
    if (i >= KINDS.size()) throw EOrvexError("Error: Invalid function index: " + std::to_string(i));
    return KINDS[i].member;
}

std::unique_ptr<TModelFunction> TModelFunction::GetFunction(const std::string& funcName) {
    std::string key = funcName;
    for (char& c : key)
        c = c == ' ' ? '_' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (const Kind& k : KINDS)
        if (key == k.key) return k.create();
    throw EOrvexError("Error: Invalid function: '" + funcName + "'");
}

std::unique_ptr<TModelFunction> TModelFunction::GetFunction(TAvailableFunctions f) {
    return GetFunction(GetFuncName(f));
}
