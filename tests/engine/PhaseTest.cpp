#include <gtest/gtest.h>

#include <tuple>

#include <limits>

#include "ModelFixture.h"
#include "OrvexError.h"
#include "ScratchDir.h"
#include "UtilStuff.h"

using namespace fixture;

namespace {

TEST(Phase, CoefficientOfSStar) {
    TPhase first(nullptr, TFunctionList{}, 0);
    first.PopFunction(); // nothing to pop
    EXPECT_TRUE(first.functions.empty());

    TTempHourFunc hourly(TempHeur, "tempheur");
    auto gdd = Func("GDD");
    gdd->workWithTempHour(&hourly);
    first.PushFunction(std::move(gdd));
    EXPECT_EQ(first.coeffSStar, 600);
    first.PushFunction(Func("Identity"));
    EXPECT_EQ(first.functions[1]->phasePos, 1);
    EXPECT_EQ(first.coeffSStar, 600);
    first.PopFunction();
    first.PopFunction();
    EXPECT_EQ(first.coeffSStar, 1);

    // Four hourly degree-day functions: 600^4 does not fit an int, the coefficient saturates.
    for (int k = 0; k < 4; ++k) {
        auto f = Func("GDD");
        f->workWithTempHour(&hourly);
        first.PushFunction(std::move(f));
    }
    EXPECT_EQ(first.coeffSStar, std::numeric_limits<int>::max());
}

TEST(Phase, StartingDayRoundsHalvesToEven) {
    TWeather W;
    AddYear(W, 2001, 1.0);
    TPhase ph(nullptr, TFunctionList{}, 0);
    for (auto [t0, day] : {std::pair{-10.5, -10}, {2.5, 2}, {3.5, 4}, {365.0, 365}, {-365.0, -365}, {-3.5, -4},
                           {-0.4, 0}, {0.49999999999999994, 0}, {364.5, 364}, {-364.5, -364}}) {
        ph.SetT0(t0);
        EXPECT_EQ(ph.InitStartingDate(W, 0), day) << t0;
    }
    for (double t0 : {365.5, 1e17, std::numeric_limits<double>::quiet_NaN(), -std::numeric_limits<double>::infinity()}) {
        ph.SetT0(t0);
        EXPECT_THROW(ph.InitStartingDate(W, 0), EOrvexError) << t0;
    }
}

TEST(Phase, CloneKeepsSettingsButNotTheOwner) {
    TMetaModel m;
    auto ph = std::make_unique<TPhase>(nullptr, TFunctionList{}, 0);
    ph->tempHourFunction = std::make_unique<TTempHourFunc>(TempHeur, "tempheur");
    auto f = Func("Wang");
    f->fixParameter(2, 38.0);
    ph->PushFunction(std::move(f));
    ph->t0DataColumn = 3;
    ph->phenoDataColumn = 1;
    ph->sStar = 7.0;
    ph->overlapFunc->fixParameter(0, -0.2);
    m.PushPhase(std::move(ph));
    const auto c = m.PhasesArr[0]->Clone();
    EXPECT_EQ(c->ownerModel, nullptr);
    EXPECT_EQ(std::tuple(c->t0DataColumn, c->phenoDataColumn, c->sStar), std::tuple(3, 1, 7.0));
    ASSERT_TRUE(c->tempHourFunction);
    EXPECT_NE(c->tempHourFunction.get(), m.PhasesArr[0]->tempHourFunction.get());
    EXPECT_TRUE(c->functions[0]->parameterFixed(2));
    EXPECT_TRUE(c->overlapFunc->parameterFixed(0));
    EXPECT_EQ(m.FunctionsArr.size(), 1u);

    const auto copy = m.Clone();
    EXPECT_EQ(copy->FunctionsArr.size(), 1u);
    EXPECT_EQ(copy->PhasesArr[0]->ownerModel, copy.get());
}

class PhaseSettings : public ScratchDirTest {
protected:
    void Write(const std::string& text) { path_ = WriteFile("phases.xml", text); }
    std::string path_;
};

TEST_F(PhaseSettings, ReadsTheEntryOfThePhotoperiodModeAndScalesSStar) {
    Write("<Phases><Phase photomode=\"0\"><T0 value=\"1,5\" step=\"10\" min=\"-100\" max=\"100\"/>"
          "<SStar value=\"2\" step=\"0.5\" min=\"1\" max=\"50\"/></Phase>"
          "<Phase photomode=\"TRUE\"><T0 value=\"12\" step=\"1\" min=\"8\" max=\"16\"/>"
          "<SStar value=\"3\" step=\"1\" min=\"2\" max=\"60\"/></Phase></Phases>");
    TPhase ph(nullptr, TFunctionList{}, 0);
    ph.PushFunction(Func("GDD")); // 25
    const TRVarInfo t0 = ph.parameterInitT0XML(path_, false);
    EXPECT_EQ(std::tuple(t0.name, t0.value, t0.bestvalue, t0.minBound, t0.b4_point, t0.after_point),
              std::tuple("T0", 1.5, 1.5, -100, 3, 1));
    const TRVarInfo photo = ph.parameterInitT0XML(path_, true);
    EXPECT_EQ(std::tuple(photo.value, photo.b4_point, photo.after_point), std::tuple(12, 2, 3));
    // S* scaled by the function's coefficient, except its lower bound.
    const TRVarInfo s = ph.parameterInitSStarXML(path_, true);
    EXPECT_EQ(std::tuple(s.name, s.value, s.step, s.minBound, s.maxBound, s.b4_point),
              std::tuple("SStar", 75, 25, 2, 1500, 6));
}

TEST_F(PhaseSettings, AFaultyEntryIsRefusedWithItsMessage) {
    // The T0 entry of one phase, with a sound S*; no fault named: the file cannot be read at all.
    const struct {
        std::string photomode, value, step, min, max, fault;
    } bad[] = {
        {"True", "12", "1", "8", "16", ""}, // no entry for photomode 0
        {"False", "x", "1", "8", "16", ""},
        {"", "", "", "", "", ""}, // not a whole file
        {"False", "1", "10", "100", "-100", "min is greater than max"},
        {"False", "150", "10", "-100", "100", "the value lies outside [min, max]"},
        {"False", "1", "0", "-100", "100", "the step is not positive"},
    };
    TPhase ph(nullptr, TFunctionList{}, 0);
    for (const auto& b : bad) {
        const std::string t0 = "<T0 value=\"" + b.value + "\" step=\"" + b.step + "\" min=\"" + b.min +
                               "\" max=\"" + b.max + "\"/>";
        Write(b.photomode.empty()
                  ? "<Phases>"
                  : "<Phases><Phase photomode=\"" + b.photomode + "\">" + t0 +
                        "<SStar value=\"3\" step=\"1\" min=\"2\" max=\"60\"/></Phase></Phases>");
        const std::string file = "the phase settings file \"" + path_ + "\"";
        try {
            ph.parameterInitT0XML(path_, false);
            ADD_FAILURE() << t0;
        } catch (const EOrvexError& e) {
            EXPECT_EQ(std::string(e.what()),
                      b.fault.empty()
                          ? "Error: bad or impossible reading of " + file + " for T0, photomode <0> !"
                          : "Error: " + file + " gives T0, photomode <0> value " + b.value + ", step " +
                                b.step + ", min " + b.min + ", max " + b.max + ": " + b.fault + " !");
        }
        if (!b.fault.empty()) { // the S* entry is read on its own
            EXPECT_NO_THROW(ph.parameterInitSStarXML(path_, false));
        }
    }
    Write("<Phases><Phase photomode=\"True\"><T0 value=\"12\" step=\"1\" min=\"8\" max=\"16\"/>"
          "<SStar value=\"3\" step=\"1\" min=\"4\" max=\"60\"/></Phase></Phases>");
    EXPECT_THROW(ph.parameterInitSStarXML(path_, true), EOrvexError);  // its value below its min
    EXPECT_THROW(ph.parameterInitSStarXML(path_, false), EOrvexError); // no entry
}

TEST(PhaseSettingsFile, ShippedFileHasBothModes) {
    TPhase ph(nullptr, TFunctionList{}, 0);
    // Reading checks every entry's bounds.
    for (bool photo : {false, true}) {
        EXPECT_NO_THROW(ph.parameterInitT0(photo));
        EXPECT_NO_THROW(ph.parameterInitSStar(photo));
    }
}

} // namespace
