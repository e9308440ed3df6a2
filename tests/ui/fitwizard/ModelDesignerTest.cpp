// The model design rules, driven without a widget.
#include <fstream>
#include <tuple>

#include "ModelDesigner.h"
#include "OrvexError.h"
#include "WizardTestSupport.h"

namespace {

const std::string SOURCE = ORVEX_SOURCE_DIR;
const std::string EXAMPLE_MODEL = SOURCE + "/System/Presets/Models/Example_GDD.xml";

std::string ErrorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const EOrvexError& e) {
        return e.what();
    }
    return {};
}

TPhaseEdits Settings(int phenoColumn, const std::string& tempHour = "") {
    TPhaseEdits s;
    s.phenoDataColumn = phenoColumn;
    s.tempHourName = tempHour;
    return s;
}

using ModelDesigner = TempExeFolderTest;

} // namespace

TEST_F(ModelDesigner, PrebuildReadsTheHeadersAndStartsANewModel) {
    TModelDesigner d;
    d.PrebuildFromSources(SOURCE + "/examples/climate.txt", SOURCE + "/examples/phenology.txt");
    EXPECT_EQ(d.PhenoInfoList(), (std::vector<std::string>{"1", "1", "2001", "112"}));
    ASSERT_EQ(d.Model().GetNbPhases(), 1);

    // Relative names resolve beside the executable; quoted columns keep their tabs.
    QDir(dir.path()).mkpath("data");
    std::ofstream(Folder() + "data/clim.txt", std::ios::binary) << "a\t\"b\tc\"\td\r\n1\t2\t3\t4\r\n";
    std::ofstream(Folder() + "data/pheno.txt") << "s\tp\ty\tbud\n";
    d.AddPhase();
    d.PrebuildFromSources("data/clim.txt", "data/pheno.txt");
    EXPECT_EQ(d.VarInfoList(), (std::vector<std::string>{"a", "b\tc", "d", "____________", "DAY LENGTH"}));
    EXPECT_TRUE(d.PhenoInfoList().empty());
    EXPECT_EQ(d.Model().GetNbPhases(), 1);

    // A missing file is named.
    d.AddPhase();
    EXPECT_EQ(ErrorOf([&] { d.PrebuildFromSources("none.txt", SOURCE + "/examples/phenology.txt"); }),
              "The climate data file does not exist");
    EXPECT_EQ(d.Model().GetNbPhases(), 1); // cleared before the files are read
    EXPECT_EQ(ErrorOf([&] { d.PrebuildFromSources(SOURCE + "/examples/climate.txt", ""); }),
              "The phenology data file does not exist");
}

TEST_F(ModelDesigner, LinkModeSetsT0ModeAndTheCompositionColumn) {
    TModelDesigner d;
    d.ClearModel();
    TPhase& second = d.AddPhase();
    EXPECT_EQ(second.t0Mode, TPhaseT0Mode::PickedFromPrevPhase);
    EXPECT_EQ(second.phaseLinkMode, TPhaseLinkMode::Sequential);

    d.SetPhaseLinkMode(1, TPhaseLinkMode::Alternating);
    EXPECT_EQ(second.t0Mode, TPhaseT0Mode::Fitted);
    second.t0Mode = TPhaseT0Mode::Fixed; // only leaving or reaching Sequential moves T0
    d.SetPhaseLinkMode(1, TPhaseLinkMode::Overlap_Composition);
    EXPECT_EQ(second.t0Mode, TPhaseT0Mode::Fixed);
    TModelFunction& first = *second.functions[0];
    EXPECT_EQ(std::pair(first.varLinkMode, first.GetWeatherDataColumn()),
              std::pair(TVarLinkMode::Composition, -1));

    d.SetPhaseLinkMode(1, TPhaseLinkMode::Sequential);
    EXPECT_EQ(second.t0Mode, TPhaseT0Mode::PickedFromPrevPhase);
    EXPECT_EQ(std::pair(first.varLinkMode, first.GetWeatherDataColumn()),
              std::pair(TVarLinkMode::Multiplicative, 0));

    // The first phase has no previous one: its T0 stays.
    d.SetPhaseLinkMode(0, TPhaseLinkMode::Overlap_Multiplication);
    EXPECT_EQ(d.Model().PhasesArr[0]->t0Mode, TPhaseT0Mode::Fitted);
    d.SetOverlapFunction(1, "Sigmoid");
    EXPECT_EQ(second.overlapFunc->getName(), "Sigmoid");
}

TEST_F(ModelDesigner, ReplacedFunctionKeepsItsPlaceAndSettings) {
    TModelDesigner d;
    d.ClearModel();
    d.AddFunction(0);
    TPhase& ph = *d.Model().PhasesArr[0];
    TModelFunction& old = *ph.functions[1];
    old.SetWeatherDataColumn(2);
    old.varLinkMode = TVarLinkMode::Additive;
    old.weight = 0.5;
    d.ReplaceFunction(0, 1, "GDD");
    const TModelFunction& f = *ph.functions[1];
    EXPECT_EQ(
        std::tuple(f.getName(), f.GetWeatherDataColumn(), f.varLinkMode, f.weight, f.phaseNum, f.phasePos),
        std::tuple("GDD", 2, TVarLinkMode::Additive, 0.5, 0, 1));
    EXPECT_EQ(d.Model().FunctionsArr[1], &f);
    EXPECT_EQ(ph.coeffSStar, 25); // GDD scales S*

    // In an hourly phase the new function samples hourly as well.
    d.ApplyPhaseSettings(0, Settings(0, "tempheur"));
    d.ReplaceFunction(0, 0, "Erez");
    EXPECT_EQ(std::tuple(ph.functions[0]->tempHour, ph.functions[0]->TempHourFuncName, ph.coeffSStar),
              std::tuple(true, "tempheur", 24 * 24 * 25));
    EXPECT_THROW(d.ReplaceFunction(0, 2, "GDD"), EOrvexError);
}

TEST_F(ModelDesigner, ChecksNameThePhaseAtFault) {
    TModelDesigner d;
    d.ClearModel();
    EXPECT_NE(d.CheckPhaseCount(), "");
    d.AddPhase();
    EXPECT_EQ(d.CheckPhaseCount(), ""); // two phases: none needs to be fitted for this step

    EXPECT_EQ(d.CheckHourlyConversion(), "");
    d.ReplaceFunction(1, 0, "Erez");
    EXPECT_EQ(
        d.CheckHourlyConversion(),
        "You must configure Phase [2] with a correct \r\n\"Temperature Sampling\" conversion function to "
        "use the function : \"Erez\"");
    d.ApplyPhaseSettings(1, Settings(-1, "tempheur_shark"));
    EXPECT_EQ(d.CheckHourlyConversion(), "");
}

TEST_F(ModelDesigner, DailyReturnsTheFunctionsToDailyOperation) {
    TModelDesigner d;
    d.ClearModel();
    d.AddFunction(0);
    TPhase& ph = *d.Model().PhasesArr[0];
    d.ApplyPhaseSettings(0, Settings(0, "tempheur_shark"));
    for (const auto& f : ph.functions)
        EXPECT_EQ(f->TempHourFuncName, "tempheur_shark");
    EXPECT_EQ(ph.coeffSStar, 24 * 24);

    d.ApplyPhaseSettings(0, Settings(-1));
    EXPECT_TRUE(!ph.usedToFit && !ph.tempHourFunction && ph.coeffSStar == 1);
    for (const auto& f : ph.functions)
        EXPECT_TRUE(!f->tempHour && !f->tempHourFunction);
}

TEST_F(ModelDesigner, FunctionSettingsFixReleaseOrKeepEachParameter) {
    TModelDesigner d;
    d.ClearModel();
    d.ReplaceFunction(0, 0, "Triangular");
    TModelFunction& f = *d.Model().PhasesArr[0]->functions[0];
    f.fixParameter(1, 3.0);
    f.fixParameter(2, 30.0);
    TFunctionEdits s;
    s.weatherDataColumn = 2;
    s.varLinkMode = TVarLinkMode::Additive;
    s.params = {{true, 20.0}, {false, 99.0}, {true, std::nullopt}};
    d.ApplyFunctionSettings(0, 0, s);
    // An edit that did not read leaves the parameter as it was; no readable weight leaves it too.
    EXPECT_EQ(std::tuple(f.parameterFixed(0), f.getParameterValue(0), f.parameterFixed(1),
                         f.parameterFixed(2), f.getParameterValue(2), f.GetWeatherDataColumn(), f.weight),
              std::tuple(true, 20.0, false, true, 30.0, 2, 1.0));

    // An hourly function keeps its column.
    s.keepColumn = true;
    s.weatherDataColumn = -1;
    d.ApplyFunctionSettings(0, 0, s);
    EXPECT_EQ(f.GetWeatherDataColumn(), 2);
}

TEST_F(ModelDesigner, ASavedModelReloadsEqual) {
    TModelDesigner d;
    d.LoadModelFile(EXAMPLE_MODEL);
    ASSERT_EQ(d.Model().GetNbPhases(), 1);
    d.AddPhase();
    d.SetPhaseLinkMode(1, TPhaseLinkMode::Overlap_Composition);
    TPhaseEdits s = Settings(0, "tempheur");
    s.sStar = 12.25;
    s.sStarFixed = true;
    d.ApplyPhaseSettings(1, s);
    EXPECT_EQ(d.SaveModelFile(Folder() + "model"), Folder() + "model.xml");

    TModelDesigner again;
    again.LoadModelFile(Folder() + "model.xml");
    EXPECT_EQ(ModelText(again.Model()), ModelText(d.Model()));
}

TEST_F(ModelDesigner, FailedLoadLeavesTheDesignAsItWas) {
    TModelDesigner d;
    d.LoadModelFile(EXAMPLE_MODEL);
    const std::string before = ModelText(d.Model());
    std::ifstream in(EXAMPLE_MODEL);
    std::string text((std::istreambuf_iterator<char>(in)), {});
    text.replace(text.find("name=\"GDD\""), 10, "name=\"Nope\"");
    std::ofstream(Folder() + "bad.xml") << text;
    EXPECT_THROW(d.LoadModelFile(Folder() + "bad.xml"), std::exception);
    EXPECT_EQ(ModelText(d.Model()), before);
}
