#include <gtest/gtest.h>

#include <tuple>

#include "ModelFixture.h"
#include "OrvexError.h"

using namespace fixture;

namespace {

std::unique_ptr<TPhase> PhaseWith(int index, std::initializer_list<const char*> kinds,
                                  TPhaseLinkMode link = TPhaseLinkMode::Sequential) {
    auto ph = std::make_unique<TPhase>(nullptr, TFunctionList{}, index);
    for (const char* k : kinds)
        ph->PushFunction(Func(k));
    ph->phaseLinkMode = link;
    return ph;
}

std::vector<std::string> Names(const TRFunctionDesc& fd) {
    std::vector<std::string> n;
    for (const auto& v : fd.var_info)
        n.push_back(v.name);
    return n;
}

TEST(MetaModelParameters, OnlyClashingOverlapNamesCarryTheirPhase) {
    TMetaModel m;
    m.PushPhase(PhaseWith(0, {"GDD", "GDD"}));
    m.PushPhase(PhaseWith(1, {"GDD"}, TPhaseLinkMode::Overlap_Multiplication));
    m.PushPhase(PhaseWith(2, {"Negative Exponential"}, TPhaseLinkMode::Overlap_Composition));
    TRFunctionDesc fd;
    m.initializeParameters(fd);
    // Function slots keep their own names.
    EXPECT_EQ(Names(fd),
              (std::vector<std::string>{"T0<1>", "SStar<1>", "T0<2>", "SStar<2>", "k<2>", "A<2>", "T0<3>",
                                        "SStar<3>", "k<3>", "A<3>", "Tbase", "Tbase", "Tbase", "k", "A"}));
    EXPECT_EQ(std::pair(fd.nb_of_parameters, fd.nb_of_model_parameters), std::pair(15, 10));
}

TEST(MetaModelParameters, StartValuesFixedSlotsAndScaledSStar) {
    TMetaModel m;
    m.PushPhase(PhaseWith(0, {"GDD"})); // coeffCrit 25
    auto p = PhaseWith(1, {"Identity"}, TPhaseLinkMode::Alternating);
    p->sStar = 42.0;
    p->FixT0(60.0);
    p->overlapFunc->fixParameter(1, 0.75);
    m.PushPhase(std::move(p));
    m.nbMissingTemp = 3;
    TRFunctionDesc fd;
    m.initializeParameters(fd);
    ASSERT_EQ(fd.nb_of_parameters, 7);
    const TPhase& ph0 = *m.PhasesArr[0];
    const TPhase& ph1 = *m.PhasesArr[1];
    const TRVarInfo phaseT0 = ph0.parameterInitT0(false);
    const TRVarInfo plainSStar = ph1.parameterInitSStar(false);
    // Phase 1 takes the start values; S* is scaled by 25 except its lower bound.
    EXPECT_EQ(ph0.t0, phaseT0.value);
    const TRVarInfo& s = fd.var_info[1];
    EXPECT_EQ(std::tuple(s.value, s.maxBound, s.step, s.minBound),
              std::tuple(plainSStar.value * 25, plainSStar.maxBound * 25, plainSStar.step * 25,
                         plainSStar.minBound));
    EXPECT_EQ(ph0.sStar, fd.var_info[1].value);
    // Phase 2: fixed T0, S* fixed by the alternating link, a fixed overlap parameter.
    for (auto [k, value] : {std::pair{2, 60.0}, {3, 42.0}, {5, 0.75}}) {
        const TRVarInfo& v = fd.var_info[static_cast<std::size_t>(k)];
        EXPECT_EQ(std::tuple(v.value, v.minBound, v.maxBound, v.bestvalue),
                  std::tuple(value, value, value, value))
            << k;
    }
    EXPECT_TRUE(ph1.sStarFixed);
    EXPECT_EQ(m.nbMissingTemp, 0);
}

TEST(MetaModelParameters, SetParametersWritesTheSameLayoutBack) {
    TMetaModel m;
    m.PushPhase(PhaseWith(0, {"Triangular"}));
    auto p = PhaseWith(1, {"Wang", "GDD"}, TPhaseLinkMode::Overlap_Multiplication);
    p->functions[0]->fixParameter(0, 20.0);
    m.PushPhase(std::move(p));
    TRFunctionDesc fd;
    m.initializeParameters(fd);
    // Wang's first parameter is fixed: it has no slot.
    EXPECT_EQ(Names(fd), (std::vector<std::string>{"T0<1>", "SStar<1>", "T0<2>", "SStar<2>", "k", "A", "Topt",
                                                   "Tmin", "Tmax", "Tmin", "Tmax", "Tbase"}));
    EXPECT_EQ(std::pair(fd.nb_of_parameters, fd.nb_of_model_parameters), std::pair(12, 6));
    const double startT0 = m.PhasesArr[1]->t0;
    m.setParameters(fd); // the vector just made leaves the model as it is
    EXPECT_EQ(m.PhasesArr[1]->t0, startT0);

    for (int k = 0; k < fd.nb_of_parameters; ++k)
        fd.var_info[static_cast<std::size_t>(k)].value = 100.0 + k;
    m.setParameters(fd);
    const TPhase &p0 = *m.PhasesArr[0], &p1 = *m.PhasesArr[1];
    const TModelFunction& wang = *p1.functions[0];
    EXPECT_EQ(
        (std::vector<double>{p0.t0, p0.sStar, p1.t0, p1.sStar, p1.overlapFunc->getParameterValue(0),
                             p1.overlapFunc->getParameterValue(1), p0.functions[0]->getParameterValue(2),
                             wang.getParameterValue(0), wang.getParameterValue(1), wang.getParameterValue(2),
                             p1.functions[1]->getParameterValue(0)}),
        (std::vector<double>{100, 101, 102, 103, 104, 105, 108, 20, 109, 110, 111}));

    fd.nb_of_parameters = 5;
    EXPECT_THROW(m.setParameters(fd), EOrvexError);
}

TEST(MetaModelParameters, MoreThanThirtyParametersAreRefused) {
    TMetaModel m;
    m.PushPhase(PhaseWith(0, {"Erez", "Erez", "Erez", "Erez", "Smoothed Utah"})); // 2 + 24 + 4
    TRFunctionDesc fd;
    EXPECT_NO_THROW(m.initializeParameters(fd));
    EXPECT_EQ(fd.nb_of_parameters, 30);
    m.PhasesArr[0]->PushFunction(Func("GDD"));
    EXPECT_EQ(ErrorOf([&] { m.initializeParameters(fd); }),
              "The model has 31 parameters to fit; a fit takes at most 30");
}

} // namespace
