#include <QCheckBox>
#include <QLineEdit>
#include <QTabWidget>
#include <fstream>
#include <tuple>
#include <vector>

#include "IniFile.h"
#include "WizardTestSupport.h"

namespace {

class OptimSettings : public WizardTest {
protected:
    std::string LastIni() const { return Folder() + PRESETS_OPTIM_DIR + "last.ini"; }
    std::string DefaultIni() const { return Folder() + PRESETS_OPTIM_DIR + "default.ini"; }
};

std::vector<std::string> Texts(const TOptimSettingsText& s) {
    return {s.NbVeryGlobalSearch,
            s.NbGlobalSearch,
            s.NbConfidenceInterval,
            s.TemperatureConfInt,
            s.MetropolisTemperature,
            s.TemperatureClimbRate,
            s.NtrLoops,
            s.NtsLoops,
            s.NbRepetitions,
            s.MetPrecision,
            s.MaxMissingTemp,
            s.SkipFisher ? "True" : "False",
            s.LeaveOneOut ? "True" : "False"};
}

auto Fields(const TRMetropolisDesc& d) {
    return std::tuple(d.ntr, d.nts, d.missing_threshold, d.veryglob, d.global, d.nb_repetitions,
                      d.temp_confint, d.conf_interval, d.temp0, d.tempf, d.bgeup, d.bgedown, d.tT, d.t0,
                      d.climbrate, d.pacc, d.precision, d.skip_fisher);
}

} // namespace

TEST_F(OptimSettings, AKeyMissingFromTheLastSettingsComesFromTheDefaults) {
    const TOptimSettingsText defaults = LoadOptimSettings(DefaultIni());
    ASSERT_EQ(defaults.NbGlobalSearch, "40");
    EXPECT_EQ(Texts(LoadOptimSettings(LastIni(), DefaultIni())), Texts(defaults)); // no last.ini yet
    EXPECT_EQ(LoadOptimSettings(LastIni()).NbGlobalSearch, "");                    // no fallback, no value

    std::ofstream(LastIni()) << "[option]\nNBREPETITIONS=7\nMetPrecision=0,25\nSkipFisher=False\n";
    TOptimSettingsText expected = defaults;
    expected.NbRepetitions = "7";
    expected.MetPrecision = "0.25";
    expected.SkipFisher = false;
    EXPECT_EQ(Texts(LoadOptimSettings(LastIni(), DefaultIni())), Texts(expected));
}

TEST_F(OptimSettings, AFreshInstallFitsWithTheDefaults) {
    TConfigModelFitWindow w;
    PassFilesTab(w);
    GiveExampleModel(w);
    w.OKBtnClick();
    EXPECT_TRUE(dialogs.shown.isEmpty()) << dialogs.shown.join("|").toStdString();
    EXPECT_EQ(w.result(), QDialog::Accepted);
    EXPECT_EQ(Texts(LoadOptimSettings(LastIni())), Texts(LoadOptimSettings(DefaultIni())));
}

TEST_F(OptimSettings, EveryTextGoesToItsOwnSearchSetting) {
    TOptimSettingsText s;
    s.NbVeryGlobalSearch = "2";
    s.NbGlobalSearch = "3";
    s.NbConfidenceInterval = "4";
    s.TemperatureConfInt = "5";
    s.MetropolisTemperature = "6,5";
    s.TemperatureClimbRate = "7.25";
    s.NtrLoops = "8";
    s.NtsLoops = "9";
    s.NbRepetitions = "10";
    s.MetPrecision = "0.125";
    s.MaxMissingTemp = "11";
    s.SkipFisher = true;
    s.LeaveOneOut = false;
    TRMetropolisDesc expected;
    expected.veryglob = 2;
    expected.global = 3;
    expected.conf_interval = 4;
    expected.temp_confint = 5;
    expected.temp0 = expected.tempf = 6.5;
    expected.climbrate = 7.25;
    expected.ntr = 8;
    expected.nts = 9;
    expected.nb_repetitions = 10;
    expected.precision = 0.125;
    expected.missing_threshold = 11;
    expected.skip_fisher = true;
    EXPECT_EQ(Fields(ToMetropolisDesc(s)), Fields(expected));
}

TEST_F(OptimSettings, DefaultsToLastAndBackWithEitherSeparator) {
    {
        TConfigModelFitWindow w;
        w.DefaultOptimButton1Click();
        PassFilesTab(w);
        GiveExampleModel(w);
        w.TemperatureClimbRate->setText("1,5"); // as typed, and written as typed
        w.LeaveOneOutCB1->setChecked(true);
        w.SkipFisherCB1->setChecked(false);
        w.OKBtnClick();
        ASSERT_EQ(w.result(), QDialog::Accepted);
    }
    EXPECT_EQ(TIniFile(LastIni()).ReadString("option", "TemperatureClimbRate"), "1,5");

    TConfigModelFitWindow w;
    EXPECT_EQ(w.TemperatureClimbRate->text(), "1.5"); // read back with our separator
    EXPECT_TRUE(w.LeaveOneOutCB1->isChecked() && !w.SkipFisherCB1->isChecked());
    EXPECT_DOUBLE_EQ(ToMetropolisDesc(w.OptimSettings()).climbrate, 1.5);
    w.DefaultOptimButton1Click();
    EXPECT_NE(w.TemperatureClimbRate->text(), "1.5");

    // Only the exact "True" is true.
    std::ofstream(LastIni()) << "[option]\nSkipFisher=true\nLeaveOneOut=True\n";
    TConfigModelFitWindow exact;
    EXPECT_TRUE(exact.LeaveOneOutCB1->isChecked() && !exact.SkipFisherCB1->isChecked());
}

TEST_F(OptimSettings, EachInvalidValueIsNamed) {
    using W = TConfigModelFitWindow;
    // clang-format off
    const std::pair<QLineEdit* W::*, const char*> cases[] = {
        {&W::NbVeryGlobalSearch, ""}, {&W::NbVeryGlobalSearch, "2.0"},
        {&W::NbGlobalSearch, "0"}, // the search needs at least one
        {&W::NbConfidenceInterval, "2.5"}, {&W::NbConfidenceInterval, "0"}, {&W::TemperatureConfInt, "ten"},
        {&W::MetropolisTemperature, "1..5"}, {&W::MetropolisTemperature, "inf"},
        {&W::TemperatureClimbRate, "1,5,"}, {&W::NtrLoops, "-1"}, {&W::NtsLoops, "0"},
        {&W::NbRepetitions, "3.5"}, {&W::NbRepetitions, "0"}, {&W::MetPrecision, "0.01x"}};
    // clang-format on
    TConfigModelFitWindow w;
    PassFilesTab(w);
    GiveExampleModel(w);
    for (const auto& [edit, text] : cases) {
        w.DefaultOptimButton1Click();
        (w.*edit)->setText(text);
        w.PageControl1->setCurrentIndex(3);
        w.OKBtnClick();
        EXPECT_EQ(dialogs.shown.last(), QStringLiteral("\"%1\" is not a valid value!").arg(text)) << text;
        EXPECT_EQ(w.PageControl1->currentIndex(), 2) << text;
        EXPECT_EQ(w.focusWidget(), w.*edit) << text; // the field, not only its text
    }
    // Zero and negative values are fine where the search can take them.
    w.DefaultOptimButton1Click();
    w.NbVeryGlobalSearch->setText("0");
    w.TemperatureConfInt->setText("-2");
    w.MetropolisTemperature->setText("-0,5");
    std::string wrong;
    EXPECT_TRUE(w.ValidateMetropolisValues(wrong)) << wrong;
}
