// Factory, parameter bookkeeping and Clone.

#include <gtest/gtest.h>

#include <tuple>

#include "ModelsFuncLib.h"
#include "OrvexError.h"

using F = TAvailableFunctions;

TEST(ModelFunctionFactory, EveryKindByOrdinalMemberAndDisplayNameAndNoOther) {
    std::string all;
    for (int i = 0; i < TModelFunction::GetNbFunc(); ++i) {
        const auto f = TModelFunction::GetFunction(static_cast<F>(i));
        all += (i ? "|" : "") + f->getName();
        for (const std::string& name : {TModelFunction::GetFuncName(static_cast<F>(i)), f->getName()}) {
            const auto g = TModelFunction::GetFunction(name);
            EXPECT_EQ(g->getName(), f->getName()) << name;
            EXPECT_EQ(g->nbOfParameters(), f->nbOfParameters()) << name;
        }
        EXPECT_EQ(f->tempHour, f->mustTempHour) << f->getName(); // an hourly-only kind starts hourly
    }
    // The display names are those model files store.
    EXPECT_EQ(all, "Bidabe|Varnel|Delpierre|Dormphot|Erez|Four Phases|GDD|GDD Inverse|Identity|Landsberg|"
                   "Negative Exponential|Parabolic|Richardson|Richardson Inverse|Sigmoid|Sigmoid Negative|"
                   "Smoothed Utah|STICS Simple|Threshold Superior|Threshold Inferior|Triangular|"
                   "Triangular Inverse|Wang|White");
    EXPECT_EQ(TModelFunction::GetFuncName(F::Smoothed_Utah), "Smoothed_Utah");
    EXPECT_EQ(TModelFunction::GetFunction("smoothed_utah")->getName(), "Smoothed Utah");
    // Near misses are no names.
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
    EXPECT_EQ(std::tuple(f->realParamID(-1), f->realParamID(0), f->realParamID(1)), std::tuple(-1, 1, 3));
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
    EXPECT_EQ(std::tuple(c->getName(), c->phaseNum, c->phasePos, c->weatherDataColumn, c->weight,
                         c->TempHourFuncName, c->varInfos[2].name),
              std::tuple("Triangular", 2, 1, 4, 0.5, "tempheur", "Tmax"));
    // Day length replaces the column.
    EXPECT_EQ(std::tuple(c->GetWeatherDataColumn(), c->varLinkMode, c->tempHourFunction),
              std::tuple(0, TVarLinkMode::Additive, hf.interpolationFunc));
    EXPECT_EQ(std::tuple(c->parameterFixed(0), c->parameterFixed(1), c->getParameterValue(0),
                         c->getParameterValue(1)),
              std::tuple(false, true, 20.0, 5.0));
}
