#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <filesystem>
#include <fstream>
#include <tuple>

#include "FitOutputFile.h"
#include "ThreadedProgress.h"
#include "WizardTestSupport.h"

namespace {

class ConfigModelFit : public WizardTest {
protected:
    // Runs "Next Step" with the validation; `inProgress` plays the user in the progress window.
    void RunValidation(TConfigModelFitWindow& w, std::function<void(TThreadProgressbar&)> inProgress = {}) {
        int shown = 0;
        dialogs.onExec = [&](QDialog* d) {
            auto* bar = qobject_cast<TThreadProgressbar*>(d);
            ASSERT_NE(bar, nullptr);
            ++shown;
            EXPECT_TRUE(bar->Polling());
            if (inProgress) inProgress(*bar);
            EXPECT_TRUE(WaitWhile([&] { return w.ValidationRunning(); }, 30000));
            EXPECT_FALSE(bar->Polling());
        };
        w.InputValidationButton1Click();
        dialogs.onExec = nullptr;
        EXPECT_EQ(shown, 1);
        EXPECT_FALSE(w.ValidationRunning());
    }
};

} // namespace

TEST_F(ConfigModelFit, FilesTabChecksGateTheOtherTabsAndKeepAnExistingOutput) {
    TConfigModelFitWindow w;
    w.PageControl1->setCurrentIndex(2);
    EXPECT_EQ(w.PageControl1->currentIndex(), 0);
    w.InputValidationButton1Click();
    EXPECT_EQ(dialogs.shown, QStringList{"Please select a temperatures file."});

    FillExampleFiles(w);
    w.PhenologyPath->setText("missing/pheno.txt");
    dialogs.shown.clear();
    w.InputValidationButton1Click();
    EXPECT_EQ(
        dialogs.shown,
        QStringList{"The given phenology file \"missing/pheno.txt\" doesn't exist,\nor is already in use."});

    FillExampleFiles(w);
    w.SaveFitAsPath->setText("no/such/folder/fit.txt");
    dialogs.shown.clear();
    w.InputValidationButton1Click();
    EXPECT_EQ(dialogs.shown,
              QStringList{"The given output filename \"no/such/folder/fit.txt\" isn't writable,\n"
                          "maybe already in use."});
    EXPECT_EQ(w.PageControl1->currentIndex(), 0);

    // An output file from an earlier fit is checked, not emptied; a skipped validation goes
    // straight to the model tab.
    std::ofstream(Folder() + "fit.txt") << "earlier results";
    dialogs.shown.clear();
    dialogs.onExec = [&](QDialog*) { ADD_FAILURE() << "no progress window"; };
    PassFilesTab(w);
    EXPECT_TRUE(dialogs.shown.isEmpty());
    EXPECT_EQ(ReadWholeFile(Folder() + "fit.txt"), "earlier results");
    EXPECT_EQ(w.PageControl1->currentIndex(), 1);
    EXPECT_TRUE(TConfigModelFitWindow().SkipValidationCB1->isChecked()); // remembered once passed

    w.PageControl1->setCurrentIndex(2);
    w.InputValidationButton1Click(); // not on the files tab: nothing
    EXPECT_EQ(w.PageControl1->currentIndex(), 2);

    w.PageControl1->setCurrentIndex(0); // back on the files: they must pass again
    w.PageControl1->setCurrentIndex(3);
    EXPECT_EQ(w.PageControl1->currentIndex(), 0);
    EXPECT_FALSE(w.allowNextStep);
}

TEST_F(ConfigModelFit, AnOutputNamingAnInputIsRefusedWhateverItsSpelling) {
    QDir(dir.path()).mkpath("data");
    const std::string pheno = ReadWholeFile(Source("examples/phenology.txt").toStdString());
    std::ofstream(Folder() + "data/pheno.txt") << pheno;
    std::filesystem::create_symlink(Folder() + "data/pheno.txt", Folder() + "link.txt");
    std::filesystem::create_hard_link(Folder() + "data/pheno.txt", Folder() + "hard.txt");

    TConfigModelFitWindow w;
    FillExampleFiles(w);
    w.PhenologyPath->setText("data/pheno.txt");
    w.SkipValidationCB1->setChecked(true);
    for (const QString output : {"data/../data/pheno.txt", "link.txt", "hard.txt"}) {
        w.SaveFitAsPath->setText(output);
        w.InputValidationButton1Click();
        ASSERT_FALSE(dialogs.shown.isEmpty()) << output.toStdString();
        EXPECT_EQ(dialogs.shown.last(), "The output filename \"" + output +
                                            "\" and the phenology file \"data/pheno.txt\" are the same "
                                            "file.\nPlease choose another output filename.");
        EXPECT_EQ(w.PageControl1->currentIndex(), 0) << output.toStdString();
    }
    EXPECT_EQ(ReadWholeFile(Folder() + "data/pheno.txt"), pheno);

    // The climate file too, reached from the application's folder by another way.
    w.SaveFitAsPath->setText(w.TemperaturesPath->text().replace("examples/", "examples/../examples/"));
    w.InputValidationButton1Click();
    EXPECT_TRUE(dialogs.shown.last().contains("\" and the temperatures file \""))
        << dialogs.shown.last().toStdString();
    EXPECT_EQ(w.PageControl1->currentIndex(), 0);
}

TEST_F(ConfigModelFit, TheEmptyOutputTheCheckMadeGoesWithACancel) {
    const QString output = QString::fromStdString(Folder() + "fit.txt");
    {
        TConfigModelFitWindow w;
        PassFilesTab(w);
        EXPECT_TRUE(QFile::exists(output));
        w.CancelBtnClick();
        EXPECT_FALSE(QFile::exists(output));
    }
    // One that was there before stays, even empty.
    std::ofstream(output.toStdString()).close();
    TConfigModelFitWindow w;
    PassFilesTab(w);
    w.CancelBtnClick();
    EXPECT_TRUE(QFile::exists(output));
}

TEST_F(ConfigModelFit, SkipBoxesExcludeEachOther) {
    TConfigModelFitWindow w;
    w.SkipLatitudeValidationCB3->setChecked(true);
    w.SkipMinMaxValidationCB4->setChecked(true);
    w.SkipValidationCB1->setChecked(true);
    EXPECT_FALSE(w.SkipLatitudeValidationCB3->isChecked() || w.SkipMinMaxValidationCB4->isChecked());
    w.SkipMeanTempValidationCB2->setChecked(true);
    EXPECT_FALSE(w.SkipValidationCB1->isChecked());

    // A file that skips everything and one check shows only the first.
    std::ofstream(Folder() + PRESETS_VALID_DIR + "last.ini") << "[option]\nSkipAll=True\nSkipLatitude=True\n";
    TConfigModelFitWindow again;
    EXPECT_TRUE(again.SkipValidationCB1->isChecked());
    EXPECT_FALSE(again.SkipLatitudeValidationCB3->isChecked());
}

TEST_F(ConfigModelFit, ValidationOptionsOpenAsLastUsedAndRestoreTheDefaults) {
    const std::string folder = Folder() + PRESETS_VALID_DIR;
    std::ofstream(folder + "default.ini")
        << "[option]\nSkipAll=False\nSkipLatitude=True\nSkipMeanTemp=False\nSkipMinMaxTemp=True\n";
    std::ofstream(folder + "last.ini") << "[option]\nSkipAll=False\nSkipLatitude=False\nSkipMeanTemp=True\n";
    const auto boxes = [](const TConfigModelFitWindow& w) {
        return std::tuple(w.SkipValidationCB1->isChecked(), w.SkipLatitudeValidationCB3->isChecked(),
                          w.SkipMeanTempValidationCB2->isChecked(), w.SkipMinMaxValidationCB4->isChecked());
    };
    TConfigModelFitWindow w;
    EXPECT_EQ(boxes(w), std::tuple(false, false, true, true)); // the missing key from the defaults
    w.DefaultValidationButton1->click();
    EXPECT_EQ(boxes(w), std::tuple(false, true, false, true));
}

TEST_F(ConfigModelFit, BrowseDialogsOfferEveryKindOfFile) {
    TConfigModelFitWindow w;
    dialogs.fileAnswer = "/data/climate.dat";
    for (QPushButton* b : {w.TempBtn, w.PhenoBtn, w.FitInfoBtn, w.SaveFitAsBtn, w.OpenExistingFileButton1})
        b->click();
    const QString txt = "TXT (*.txt);;XML (*.xml);;CSV (*.csv);;All Files (*)";
    const QString xml = "XML (*.xml);;TXT (*.txt);;CSV (*.csv);;All Files (*)";
    EXPECT_EQ(dialogs.filters, (QStringList{txt, txt, txt, txt, xml}));
    EXPECT_EQ(w.TemperaturesPath->text(), "/data/climate.dat");
}

TEST_F(ConfigModelFit, AnErrorInThePhenologyFileNamesTheLog) {
    std::string pheno = ReadWholeFile(Source("examples/phenology.txt").toStdString());
    pheno.replace(pheno.find("112"), 3, "11x");
    std::ofstream(Folder() + "pheno.txt") << pheno;

    TConfigModelFitWindow w;
    FillExampleFiles(w);
    w.PhenologyPath->setText("pheno.txt");
    RunValidation(w);
    const std::string log = Folder() + ERRLOG_PATH + N_ERRLOG;
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_TRUE(dialogs.shown[0].startsWith("Errors were found in the source files !!!\n"));
    EXPECT_TRUE(dialogs.shown[0].contains(QString::fromStdString("\"" + log + "\"")));
    EXPECT_EQ(dialogs.opened, QStringList{QString::fromStdString(log)});
    EXPECT_NE(ReadWholeFile(log).find("Value \"11x\" is not a float."), std::string::npos);
    EXPECT_EQ(w.PageControl1->currentIndex(), 0);
    EXPECT_FALSE(w.allowNextStep);

    // No viewer: the user is told where the report is.
    dialogs.openAnswer = false;
    dialogs.shown.clear();
    RunValidation(w);
    EXPECT_EQ(dialogs.shown.size(), 2);
    EXPECT_EQ(dialogs.shown.last(),
              QString::fromStdString("No viewer could open the report.\nIts full path is \"" + log + "\"."));

    // Cancel in the error box opens nothing.
    dialogs.confirmAnswer = false;
    dialogs.opened.clear();
    RunValidation(w);
    EXPECT_TRUE(dialogs.opened.isEmpty());
    EXPECT_EQ(w.PageControl1->currentIndex(), 0);
}

TEST_F(ConfigModelFit, StopThenOkAbortsAndStopThenCancelResumes) {
    TConfigModelFitWindow w;
    FillExampleFiles(w);
    RunValidation(w, [&](TThreadProgressbar& bar) {
        bar.PlayPauseValidationButton1Click(); // paused first: the stop must still end the run
        EXPECT_TRUE(w.IsValidationSuspended());
        bar.StopValidationButton2Click();
        EXPECT_FALSE(w.ValidationRunning());
    });
    EXPECT_EQ(dialogs.shown, QStringList{"Are you sure that you want to abort the validation process ?\n"
                                         "Press \"Cancel\" to resume."});
    QApplication::processEvents(); // a late end of the stopped run changes nothing
    w.PageControl1->setCurrentIndex(1);
    EXPECT_EQ(w.PageControl1->currentIndex(), 0);
    EXPECT_FALSE(w.allowNextStep);

    dialogs.confirmAnswer = false;
    RunValidation(w, [&](TThreadProgressbar& bar) {
        bar.StopValidationButton2Click();
        EXPECT_FALSE(w.IsValidationSuspended());
    });
    EXPECT_EQ(w.PageControl1->currentIndex(), 1); // resumed, the valid files pass
}

TEST_F(ConfigModelFit, FitNowChecksPhasesThenSettings) {
    TConfigModelFitWindow w;
    PassFilesTab(w);
    w.DefaultOptimButton1Click();
    w.PageControl1->setCurrentIndex(3);
    w.OKBtnClick();
    EXPECT_EQ(dialogs.shown.last(), "Please, configure correctly at least one phase !");
    EXPECT_EQ(w.PageControl1->currentIndex(), 1);

    GiveExampleModel(w);
    w.NtsLoops->setText("0");
    w.NbRepetitions->setText("x"); // later in the order: not reported
    w.OKBtnClick();
    EXPECT_EQ(dialogs.shown.last(), "\"0\" is not a valid value!");
    EXPECT_EQ(w.PageControl1->currentIndex(), 2);

    // Checked with the others: the window stays, and last.ini gets no empty value to trip on.
    w.DefaultOptimButton1Click();
    w.MaxMissingTemp->clear();
    w.PageControl1->setCurrentIndex(1);
    w.OKBtnClick();
    EXPECT_EQ(dialogs.shown.last(), "\"\" is not a valid value!");
    EXPECT_EQ(w.PageControl1->currentIndex(), 2);
    EXPECT_NE(w.result(), QDialog::Accepted);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(Folder() + PRESETS_OPTIM_DIR + "last.ini")));
}

TEST_F(ConfigModelFit, ClosingWithoutFitNowFreesTheModel) {
    for (bool byCancel : {true, false}) {
        TConfigModelFitWindow w;
        GiveExampleModel(w);
        w.show();
        if (byCancel)
            w.CancelBtnClick();
        else
            w.close(); // the title bar's close box
        EXPECT_EQ(w.cancelled, byCancel);
        EXPECT_EQ(w.result(), QDialog::Rejected);
        EXPECT_EQ(w.ModelTab->Designer().Model().GetNbPhases(), 0);
    }
}
