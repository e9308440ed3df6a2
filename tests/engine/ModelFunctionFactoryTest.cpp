// Factory, parameter bookkeeping and Clone.

#include <gtest/gtest.h>

#include "ModelsFuncLib.h"
#include "OrvexError.h"

namespace {
struct KindRow {
    TAvailableFunctions id;
    const char* display;
    int params, exp;
    bool overlap;
    int coeff;
};
using F = TAvailableFunctions;
const KindRow KINDS[] = {
    {F::Bidabe, "Bidabe", 1, 1, false, 1},
    {F::Varnel, "Varnel", 3, 1, false, 1},
    {F::Delpierre, "Delpierre", 4, 1, false, 25},
    {F::Dormphot, "Dormphot", 4, 0, true, 1},
    {F::Erez, "Erez", 6, 1, false, 1},
    {F::Four_Phases, "Four Phases", 5, 0, true, 1},
    {F::GDD, "GDD", 1, 0, true, 25},
    {F::GDD_Inverse, "GDD Inverse", 1, 0, true, 25},
    {F::Identity, "Identity", 0, 1, true, 1},
    {F::Landsberg, "Landsberg", 1, 0, true, 25},
    {F::Negative_Exponential, "Negative Exponential", 2, 1, true, 1},
    {F::Parabolic, "Parabolic", 1, 0, false, 1},
    {F::Richardson, "Richardson", 2, 0, true, 25},
    {F::Richardson_Inverse, "Richardson Inverse", 2, 0, true, 25},
    {F::Sigmoid, "Sigmoid", 2, 0, true, 1},
    {F::Sigmoid_Negative, "Sigmoid Negative", 2, 0, true, 1},
    {F::Smoothed_Utah, "Smoothed Utah", 4, 0, false, 1},
    {F::STICS_Simple, "STICS Simple", 3, 0, false, 1},
    {F::Threshold_Superior, "Threshold Superior", 1, 0, true, 1},
    {F::Threshold_Inferior, "Threshold Inferior", 1, 0, true, 1},
    {F::Triangular, "Triangular", 3, 0, true, 1},
    {F::Triangular_Inverse, "Triangular Inverse", 3, 0, true, 1},
    {F::Wang, "Wang", 3, 4, false, 1},
    {F::White, "White", 3, 1, false, 1},
};
} // namespace

TEST(ModelFunctionFactory, EveryKindByOrdinalMemberAndDisplayName) {
    ASSERT_EQ(TModelFunction::GetNbFunc(), 24);
    for (int i = 0; i < TModelFunction::GetNbFunc(); ++i) {
        const KindRow& k = KINDS[i];
        ASSERT_EQ(static_cast<int>(k.id), i);
        const std::string member = TModelFunction::GetFuncName(k.id);
        std::unique_ptr<TModelFunction> made[] = {TModelFunction::GetFunction(k.id),
                                                  TModelFunction::GetFunction(member),
                                                  TModelFunction::GetFunction(k.display)};
        for (const auto& f : made) {
            EXPECT_EQ(f->getName(), k.display) << member;
            EXPECT_EQ(f->nbOfParameters(), k.params) << member;
            EXPECT_EQ(f->optimLvl, k.exp) << member;
            EXPECT_EQ(f->overlapCompatible, k.overlap) << member;
            EXPECT_EQ(f->coeffCrit, k.coeff) << member;
            EXPECT_EQ(f->mustTempHour, k.id == F::Erez) << member;
            EXPECT_EQ(f->tempHour, k.id == F::Erez) << member;
            EXPECT_EQ(f->nbOfFittedParameters(), k.params);
            EXPECT_EQ(f->varLinkMode, TVarLinkMode::Multiplicative);
            EXPECT_EQ(f->weight, 1.0);
        }
    }
    EXPECT_EQ(TModelFunction::GetFuncName(F::Smoothed_Utah), "Smoothed_Utah");
    EXPECT_EQ(TModelFunction::GetFunction("smoothed_utah")->getName(), "Smoothed Utah");
}

TEST(ModelFunctionFactory, UnknownNameIsRejected) {
    for (const char* bad : {"Smoothed-Utah", "", "GDD2"}) {
        try {
            TModelFunction::GetFunction(bad);
            ADD_FAILURE() << bad;
        } catch (const EOrvexError& e) {
            EXPECT_EQ(std::string(e.what()), std::string("Error: Invalid function: '") + bad + "'");
        }
    }
}

TEST(ModelFunctionFactory, FreeParametersSkipFixedOnes) {
    auto f = TModelFunction::GetFunction("Smoothed Utah");
    f->fixParameter(0, 2.0);
    f->fixParameter(2, 13.0);
    EXPECT_EQ(f->nbOfFittedParameters(), 2);
    EXPECT_EQ(f->realParamID(-1), -1);
    EXPECT_EQ(f->realParamID(0), 1);
    EXPECT_EQ(f->realParamID(1), 3);
    f->setFittedParameterValue(1, -0.5);
    EXPECT_EQ(f->getParameterValue(3), -0.5);
    EXPECT_EQ(f->getParameterValue(0), 2.0);
    f->releaseParameter(0);
    EXPECT_FALSE(f->parameterFixed(0));
    EXPECT_EQ(f->realParamID(0), 0);
    EXPECT_THROW(f->getParameterValue(4), EOrvexError);
}

TEST(ModelFunctionFactory, CloneKeepsSettings) {
    TTempHourFunc hf([](const TWeatherYear&, int, int) { return 1.0; }, "tempheur");
    auto f = TModelFunction::GetFunction("Triangular");
    f->SetIndices(2, 1);
    f->SetWeatherDataColumn(4);
    f->useDayLengthAsVar = true;
    f->varLinkMode = TVarLinkMode::Additive;
    f->weight = 0.5;
    f->workWithTempHour(&hf);
    f->fixParameter(1, 5.0);
    f->setParameterValue(0, 20.0);
    f->varInfos[2].name = "Tmax";
    auto c = f->Clone();
    EXPECT_EQ(c->getName(), "Triangular");
    EXPECT_EQ(c->phaseNum, 2);
    EXPECT_EQ(c->phasePos, 1);
    EXPECT_EQ(c->weatherDataColumn, 4);
    EXPECT_EQ(c->GetWeatherDataColumn(), 0); // day length replaces the column
    EXPECT_EQ(c->varLinkMode, TVarLinkMode::Additive);
    EXPECT_EQ(c->weight, 0.5);
    EXPECT_TRUE(c->tempHour);
    EXPECT_EQ(c->tempHourFunction, hf.interpolationFunc);
    EXPECT_EQ(c->TempHourFuncName, "tempheur");
    EXPECT_TRUE(c->parameterFixed(1));
    EXPECT_FALSE(c->parameterFixed(0));
    EXPECT_EQ(c->getParameterValue(0), 20.0);
    EXPECT_EQ(c->getParameterValue(1), 5.0);
    EXPECT_EQ(c->varInfos[2].name, "Tmax");
}
