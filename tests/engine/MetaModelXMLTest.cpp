#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <tuple>

#include "FitOutputFile.h"
#include "ModelFixture.h"
#include "OrvexError.h"
#include "ScratchDir.h"
#include "UtilStuff.h"

using namespace fixture;
namespace fs = std::filesystem;

namespace {

class MetaModelXML : public ScratchDirTest {
protected:
    std::string Write(const std::string& text) { return WriteFile("model.xml", text); }
};

// One phase of a model file; `functions` goes inside <Functions>.
std::string PhaseXML(const std::string& attrs, const std::string& sampling, const std::string& overlap,
                     const std::string& functions) {
    return "<Phase id=\"0\" " + attrs +
           ">\n"
           "<T0 mode=\"2\" value=\"12,5\" t0DataColumn=\"-1\" photomode=\"0\"/>\n"
           "<TempSamplingFunc value=\"" +
           sampling +
           "\"/>\n"
           "<SStar fixed=\"True\" value=\"1,5e2\"/>\n"
           "<PhaseLinkMode value=\"0\"/>\n"
           "<OverlapFunction name=\"Negative Exponential\">" +
           overlap + "</OverlapFunction>\n<Functions>" + functions + "</Functions>\n</Phase>\n";
}

// Every parameter of the Negative Exponential overlap function, and of GDD.
const std::string kOverlap = "<Param fixed=\"False\" value=\"-0.1\"/><Param fixed=\"False\" value=\"1\"/>";
const std::string kGdd = "<Param fixed=\"False\" value=\"5\"/>";

std::string ModelXML(const std::string& phases) {
    return "<Model name=\"M\">\n<Phases>\n" + phases + "</Phases>\n</Model>\n";
}

std::string FunctionXML(const std::string& name, const std::string& params) {
    return "<Function id=\"5\" name=\"" + name +
           "\" weatherDataColumn=\"2\"><UseDayLengthAsVar value=\"False\"/><VarLinkMode value=\"1\"/>"
           "<Weight value=\"0,25\"/>" +
           params + "</Function>\n";
}

TEST_F(MetaModelXML, RoundTripKeepsEverything) {
    TMetaModel m;
    m.name = "Chill then force";
    auto p0 = std::make_unique<TPhase>(nullptr, TFunctionList{}, 0);
    p0->tempHourFunction = std::make_unique<TTempHourFunc>(TempHeur_shark, "tempheur_shark");
    auto f = Func("Triangular", 3, TVarLinkMode::Additive);
    f->workWithTempHour(p0->tempHourFunction.get());
    f->setParameterValue(0, 1.2e-5);
    f->fixParameter(1, -0.1);
    f->weight = 0.1;
    p0->PushFunction(std::move(f));
    p0->t0 = 0.1;
    p0->sStar = 1.0 / 3.0;
    p0->photoperiodMode = TPhotoperiodMode::YesDecreasing;
    p0->phenoDataColumn = 2;
    m.PushPhase(std::move(p0));
    auto p1 = std::make_unique<TPhase>(nullptr, TFunctionList{}, 1);
    auto d = Func("Sigmoid");
    d->useDayLengthAsVar = true;
    p1->PushFunction(std::move(d));
    p1->PushFunction(Func("GDD", 0, TVarLinkMode::Composition));
    p1->phaseLinkMode = TPhaseLinkMode::Overlap_Composition;
    p1->overlapFunc = TModelFunction::GetFunction("Sigmoid");
    p1->overlapFunc->fixParameter(0, 2.5);
    p1->sStarFixed = true;
    p1->usedToFit = false;
    p1->t0Mode = TPhaseT0Mode::PickedFromPheno;
    p1->t0DataColumn = 4;
    p1->sStar = 1e-300;
    m.PushPhase(std::move(p1));
    const std::string path = (dir_ / "saved.xml").string();
    std::ofstream(path) << "old";
    m.SaveToXML(path);
    EXPECT_FALSE(fs::exists(path + ".tmp"));
    EXPECT_THROW(m.SaveToXML((dir_ / "missing" / "m.xml").string()), EOrvexError);

    TMetaModel r;
    r.LoadFromXML(path);
    const std::string saved = ReadWholeFile(path);
    r.SaveToXML(path);
    EXPECT_EQ(ReadWholeFile(path), saved); // every value exactly, 1.2e-5 and 1/3 included
    for (const char* line :
         {"<T0 mode=\"0\" value=\"0.1\" t0DataColumn=\"-1\" photomode=\"2\"",
          "<SStar fixed=\"True\" value=\"1e-300\"", "<Param id=\"0\" fixed=\"False\" name=\"k\" value=\"0\"",
          "<UseDayLengthAsVar value=\"True\""})
        EXPECT_NE(saved.find(line), std::string::npos) << line << "\n" << saved;
    // What the file does not hold is rebuilt from it.
    ASSERT_EQ(r.FunctionsArr.size(), 3u);
    for (int i = 0; i < 2; ++i) {
        const TPhase& a = *m.PhasesArr[static_cast<std::size_t>(i)];
        const TPhase& b = *r.PhasesArr[static_cast<std::size_t>(i)];
        EXPECT_EQ(b.ownerModel, &r);
        EXPECT_EQ(b.coeffSStar, a.coeffSStar);
        for (std::size_t j = 0; j < a.functions.size(); ++j) {
            const TModelFunction &fa = *a.functions[j], &fb = *b.functions[j];
            EXPECT_EQ(std::tuple(fb.tempHour, fb.TempHourFuncName, fb.phaseNum, fb.phasePos),
                      std::tuple(fa.tempHour, fa.TempHourFuncName, i, static_cast<int>(j)));
        }
    }
}

TEST_F(MetaModelXML, ReadsCommaDecimalsExactTrueAndPositions) {
    const std::string overlap = "<Note/><Param id=\"7\" fixed=\"true\" name=\"x\" value=\"-0,5\"/><Param "
                                "fixed=\"False\" value=\"1\"/>";
    const std::string functions =
        FunctionXML("Threshold Superior", "<Param id=\"0\" fixed=\"True\" value=\"3,5\"/>") +
        FunctionXML("gdd", "<Param id=\"0\" fixed=\"False\" value=\"1.2e-5\"/>");
    TMetaModel m;
    m.LoadFromXML(Write(
        ModelXML(PhaseXML("usedToFit=\"true\" phenoDataColumn=\"1\"", "TEMPHEUR", overlap, functions))));
    const TPhase& ph = *m.PhasesArr[0];
    // Only the exact "True" is true.
    EXPECT_EQ(std::tuple(ph.usedToFit, ph.t0Mode, ph.t0, ph.sStar, ph.coeffSStar),
              std::tuple(false, TPhaseT0Mode::Fixed, 12.5, 150.0, 24 * 24 * 25));
    ASSERT_TRUE(ph.tempHourFunction);
    EXPECT_EQ(ph.tempHourFunction->name, "tempheur_shark"); // anything but "tempheur"
    // The overlap's first Param, after another element.
    EXPECT_EQ(std::pair(ph.overlapFunc->getParameterValue(0), ph.overlapFunc->parameterFixed(0)),
              std::pair(-0.5, false));
    ASSERT_EQ(ph.functions.size(), 2u);
    const TModelFunction& f = *ph.functions[0];
    EXPECT_EQ(std::tuple(f.getName(), f.parameterFixed(0), f.getParameterValue(0), f.weight, f.tempHour),
              std::tuple("Threshold Superior", true, 3.5, 0.25, true));
    EXPECT_EQ(ph.functions[1]->getParameterValue(0), 1.2e-5);
}

TEST_F(MetaModelXML, AFailedLoadLeavesTheModelAsItWas) {
    const std::string fit = "usedToFit=\"True\" phenoDataColumn=\"0\"";
    const std::string good = PhaseXML(fit, "", kOverlap, FunctionXML("GDD", kGdd));
    struct Case {
        std::string text, error;
    } cases[] = {
        {ModelXML(good + PhaseXML(fit, "", kOverlap, FunctionXML("Foo", ""))),
         ", line 18: Error: Invalid function: 'Foo'"},
        {ModelXML(good + PhaseXML("usedToFit=\"True\" phenoDataColumn=\"x\"", "", "", "")),
         ", line 12: attribute phenoDataColumn \"x\" is not an integer"},
        {ModelXML(PhaseXML(fit, "", kOverlap, FunctionXML("GDD", kGdd + kGdd))),
         ", line 9: function GDD has 1 parameters"},
        {ModelXML(PhaseXML(fit, "", kOverlap, FunctionXML("GDD", ""))),
         ", line 9: function GDD has 1 parameters but only 0 <Param> elements"},
        {ModelXML(good +
                  PhaseXML(fit, "", "<Param fixed=\"False\" value=\"-0.1\"/>", FunctionXML("GDD", kGdd))),
         ", line 17: function Negative Exponential has 2 parameters but only 1 <Param> elements"},
        {ModelXML(good.substr(0, good.find("<PhaseLinkMode value=\"0\"/>")) + "<PhaseLinkMode value=\"4\"/>" +
                  good.substr(good.find("<OverlapFunction"))),
         ", line 7: attribute value 4 is not between 0 and 3"},
        {ModelXML(PhaseXML(fit, "", "<Param fixed=\"False\" value=\"a\"/>", "")),
         ", line 8: attribute value \"a\" is not a number"},
        {"<Model name=\"M\"><Phases>", ", line 1: "},
        {"<Other/>", "has no <Model> element"},
    };
    for (const Case& c : cases) {
        TMetaModel m;
        m.PushPhase(IdentityPhase(0, 100, 10));
        const std::string error = ErrorOf([&] { m.LoadFromXML(Write(c.text)); });
        EXPECT_NE(error.find("Model file \"" + (dir_ / "model.xml").string() + "\""), std::string::npos)
            << error;
        EXPECT_NE(error.find(c.error), std::string::npos) << error;
        EXPECT_EQ(m.name, "Meta Model");
        EXPECT_EQ(m.GetNbPhases(), 1);
        EXPECT_EQ(m.FunctionsArr.size(), 1u);
    }
}

} // namespace
