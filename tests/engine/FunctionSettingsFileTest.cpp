// The function settings file: the shipped one, and how faults in one are reported.

#include <gtest/gtest.h>

#include <tuple>

#include "ErrorText.h"
#include "ModelsFuncLib.h"
#include "ScratchDir.h"
#include "Weather.h"

namespace {
class SettingsFile : public ScratchDirTest {
protected:
    // The error of reading parameter `i` of a function from `file`.
    static std::string ReadError(const std::string& file, int i, const char* func = "Richardson") {
        TRVarInfo info;
        return ErrorText([&] { TModelFunction::GetFunction(func)->parameterInitValuesXML(file, i, info); });
    }
    static std::string Message(const std::string& file, const char* func, int i) {
        return "Error: bad or impossible reading of the functions settings file \"" + file +
               "\" for function <" + func + ">, parameter <" + std::to_string(i) + "> !";
    }
};

const char* GOOD = R"(<?xml version="1.0"?>
<Functions>
  <!-- a comment is not a function -->
  <Function name="richardson">
    <!-- nor a parameter -->
    <P id="0" name="Tbase" value="4,5" step="0.5" min="-5" max="15"/>
    <P id="1" name="Température de base du jour" value="25" step="1,25" min="1.5e1" max="40"/>
  </Function>
</Functions>)";
} // namespace

// Names are cut to 20 characters, not bytes.
TEST_F(SettingsFile, ReadsPointOrCommaAndCutsLongNames) {
    auto f = TModelFunction::GetFunction("Richardson");
    const std::string file = WriteFile("f.xml", GOOD);
    TRVarInfo info;
    f->parameterInitValuesXML(file, 0, info);
    EXPECT_EQ(std::tuple(info.name, info.value, info.bestvalue, info.minBound, info.maxBound, info.b4_point,
                         info.after_point),
              std::tuple("Tbase", 4.5, 4.5, -5.0, 15.0, 2, 5));
    f->parameterInitValuesXML(file, 1, info);
    EXPECT_EQ(std::tuple(info.name, info.step, info.minBound),
              std::tuple("Température de base ", 1.25, 15.0));
    EXPECT_EQ(f->varInfos[1].name, "Température de base ");
    EXPECT_EQ(f->getParameterValue(1), 0.0); // metadata only
}

TEST_F(SettingsFile, EveryFaultGivesTheOneMessage) {
    struct Bad {
        const char* what;
        std::string body;
        int param;
    };
    const std::string head = "<Functions><F name=\"Richardson\">";
    const std::string p0 = R"(<P id="0" name="a" value="1" step="1" min="0" max="2"/>)";
    const std::string end = "</F></Functions>";
    const std::vector<Bad> bad = {
        {"id mismatch", head + p0 + R"(<P id="2" name="b" value="1" step="1" min="0" max="2"/>)" + end, 1},
        {"id not a number", head + R"(<P id="x" name="a" value="1" step="1" min="0" max="2"/>)" + end, 0},
        {"missing attribute", head + R"(<P id="0" name="a" value="1" min="0" max="2"/>)" + end, 0},
        {"missing name", head + R"(<P id="0" value="1" step="1" min="0" max="2"/>)" + end, 0},
        {"bad number", head + R"(<P id="0" name="a" value="1;5" step="1" min="0" max="2"/>)" + end, 0},
        {"too few parameters", head + p0 + end, 1},
        {"no entry for the kind", "<Functions><F name=\"GDD\">" + p0 + end, 0},
        {"wrong root", "<Function>" + head + p0 + "</F></Function>", 0},
        {"not XML", "<Functions><F name=", 0},
    };
    for (const Bad& b : bad) {
        const std::string file = WriteFile("f.xml", b.body);
        EXPECT_EQ(ReadError(file, b.param), Message(file, "Richardson", b.param)) << b.what;
    }
    EXPECT_EQ(ReadError(P("none.xml"), 0), Message(P("none.xml"), "Richardson", 0));
}

TEST_F(SettingsFile, BoundsThatCannotBeFittedAreRefused) {
    const struct {
        const char* attrs;
        const char* fault;
    } bad[] = {
        {R"(value="5" step="1" min="10" max="0")", "min is greater than max"},
        {R"(value="-6" step="1" min="-5" max="15")", "the value lies outside [min, max]"},
        {R"(value="5" step="0" min="-5" max="15")", "the step is not positive"},
        {R"(value="5" step="-1" min="-5" max="15")", "the step is not positive"},
    };
    const std::string head = R"(<Functions><F name="GDD"><P id="0" name="Tbase" )";
    for (const auto& b : bad) {
        const std::string file = WriteFile("f.xml", head + b.attrs + "/></F></Functions>");
        const std::string msg = ReadError(file, 0, "GDD");
        for (const std::string& part :
             {"\"" + file + "\"", std::string("<GDD>, parameter <0> (Tbase) value "), std::string(b.fault)})
            EXPECT_NE(msg.find(part), std::string::npos) << b.attrs << ": " << msg;
    }
}

TEST(ShippedSettingsFile, EveryKindHasUsableStartValues) {
    for (int k = 0; k < TModelFunction::GetNbFunc(); ++k) {
        auto f = TModelFunction::GetFunction(static_cast<TAvailableFunctions>(k));
        for (int i = 0; i < f->nbOfParameters(); ++i) {
            TRVarInfo info;
            ASSERT_NO_THROW(f->parameterInitValues(i, info)) << f->getName() << " " << i;
            EXPECT_FALSE(info.name.empty());
            EXPECT_LT(info.minBound, info.maxBound) << f->getName() << " " << info.name;
            EXPECT_LT(info.step, info.maxBound - info.minBound) << f->getName() << " " << info.name;
            f->setParameterValue(i, info.value);
        }
        // The start point of a fit evaluates without a fault.
        const TRWeatherDay d = CreateWeatherDay({}, 0, 1, 45, 2001, 80, 8, 3, 14);
        for (double T : {-10.0, 0.0, 8.0, 25.0})
            EXPECT_NO_THROW(f->runDaily(d, T, OPTIM_LVL)) << f->getName();
    }
}

TEST(ShippedSettingsFile, FreeParameterStartsAndDescriptionText) {
    auto f = TModelFunction::GetFunction("Richardson");
    f->fixParameter(0, 4.0);
    f->setParameterValue(1, 123.456789);
    TRVarInfo info;
    f->initFittedParameterValue(0, info); // the first free one is parameter 1
    EXPECT_EQ(info.name, "Tmax");
    EXPECT_EQ(f->getParameterValue(1), 25.0);
    EXPECT_EQ(f->getParameterValue(0), 4.0);
    f->setParameterValue(1, 123.456789);
    EXPECT_EQ(f->toString(), "Richardson\nTbase: 4.00000\nTmax: 123.45680");
    EXPECT_EQ(f->toString(3), "Richardson\nTbase<3>: 4.00000\nTmax<3>: 123.45680");
    EXPECT_EQ(TModelFunction::GetFunction("Identity")->toString(), "Identity");
}
