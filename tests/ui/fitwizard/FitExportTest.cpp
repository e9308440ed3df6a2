#include <QLineEdit>
#include <QRadioButton>
#include <fstream>
#include <pugixml.hpp>
#include <utility>
#include <vector>

#include "FitExport.h"
#include "WizardTestSupport.h"

using FitExport = WizardTest;

TEST_F(FitExport, NewFileThenTwoAppendsKeepEveryFitInOrder) {
    TConfigModelFitWindow w;
    PassFilesTab(w);
    GiveExampleModel(w);
    w.DefaultOptimButton1Click();
    const std::string file = Folder() + "fits.xml";

    dialogs.fileAnswer = QString::fromStdString(Folder() + "fits"); // ".xml" is added
    w.NbRepetitions->setText("1");
    w.SaveFullFitButton1Click();
    w.OpenFitFileButton3->click();
    EXPECT_FALSE(w.OpenExistingFilePanel3->isHidden());
    w.OpenExistingFilePathEdit1->setText(QString::fromStdString(file));
    dialogs.fileAnswer = QString::fromStdString(Folder() + "ignored.xml");
    for (const char* repetitions : {"2", "3"}) {
        w.NbRepetitions->setText(repetitions);
        w.SaveFullFitButton1Click();
    }
    EXPECT_TRUE(dialogs.shown.isEmpty()) << dialogs.shown.join("|").toStdString();
    EXPECT_FALSE(QFile::exists(QString::fromStdString(Folder() + "ignored.xml")));
    EXPECT_EQ(dialogs.filters, QStringList(3, "XML (*.xml);;TXT (*.txt);;CSV (*.csv);;All Files (*)"));

    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_file(file.c_str()));
    const pugi::xml_node fits = doc.child("Fits");
    int n = 0;
    for (pugi::xml_node fit : fits.children()) {
        ++n;
        EXPECT_STREQ(fit.name(), "Fit");
        EXPECT_EQ(std::string(fit.child("Optimization").child("NbRepetitions").attribute("value").value()),
                  std::to_string(n));
        EXPECT_EQ(std::string(fit.child("FilesPath").child("OutputFile").attribute("value").value()),
                  Folder() + "fit.txt");
        TMetaModel loaded;
        loaded.LoadFromXML(fit.child("Model"));
        EXPECT_EQ(ModelText(loaded), ModelText(w.ModelTab->Designer().Model()));
    }
    EXPECT_EQ(n, 3);
    EXPECT_EQ(std::distance(doc.children().begin(), doc.children().end()), 1);
}

TEST_F(FitExport, NothingIsWrittenWithoutAUsableFile) {
    TConfigModelFitWindow w;
    PassFilesTab(w);
    GiveExampleModel(w);
    w.DefaultOptimButton1Click();
    dialogs.fileAnswer = QString::fromStdString(Folder() + "out.xml");

    w.OpenFitFileButton3->click();
    w.SaveFullFitButton1Click();
    EXPECT_EQ(dialogs.shown, QStringList{"You must select an input file first !"});
    EXPECT_TRUE(dialogs.filters.isEmpty()); // not even asked for a name

    const std::string other = Folder() + "other.xml";
    std::ofstream(other) << "<Other/>";
    w.OpenExistingFilePathEdit1->setText(QString::fromStdString(other));
    w.SaveFullFitButton1Click();
    EXPECT_TRUE(dialogs.shown.last().contains("has no <Fits> element"));

    // A model the check refuses: its message, no file.
    w.NewFitFileButton2->click();
    w.ModelTab->Designer().TakeModel();
    w.SaveFullFitButton1Click();
    EXPECT_EQ(dialogs.shown.last(), "Please, configure correctly at least one phase !");
    EXPECT_FALSE(QFile::exists(dialogs.fileAnswer));
}

TEST_F(FitExport, EveryFieldIsWrittenUnderItsOwnName) {
    TMetaModel model;
    model.LoadFromXML(Source("System/Presets/Models/Example_GDD.xml").toStdString());
    TFitExport fit{"/d/meteo.txt", "/d/pheno.txt", "/d/info.txt", "/d/out.txt", {}, &model};
    TOptimSettingsText& o = fit.optim;
    o.NbRepetitions = "1";
    o.NbGlobalSearch = "2";
    o.NbVeryGlobalSearch = "3";
    o.MetPrecision = "0,4";
    o.MetropolisTemperature = "5.5";
    o.TemperatureClimbRate = "6,6";
    o.NtrLoops = "7";
    o.NtsLoops = "8";
    o.NbConfidenceInterval = "9";
    o.TemperatureConfInt = "10";
    o.MaxMissingTemp = "11";
    o.SkipFisher = true;
    o.LeaveOneOut = false;
    const std::string file = Folder() + "all.xml";
    ExportNewFitFile(file, fit);

    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_file(file.c_str()));
    const auto values = [](pugi::xml_node parent) {
        std::vector<std::pair<std::string, std::string>> read;
        for (pugi::xml_node leaf : parent.children())
            read.emplace_back(leaf.name(), leaf.attribute("value").value());
        return read;
    };
    const pugi::xml_node node = doc.child("Fits").child("Fit");
    using Values = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(values(node.child("FilesPath")), (Values{{"MeteoFile", "/d/meteo.txt"},
                                                       {"PhenoFile", "/d/pheno.txt"},
                                                       {"FitInfoFile", "/d/info.txt"},
                                                       {"OutputFile", "/d/out.txt"}}));
    EXPECT_EQ(values(node.child("Optimization")), (Values{{"NbRepetitions", "1"},
                                                          {"NbGlobalSearch", "2"},
                                                          {"NbVeryGlobalSearch", "3"},
                                                          {"MetPrecision", "0,4"},
                                                          {"MetropolisTemperature", "5.5"},
                                                          {"TemperatureClimbRate", "6,6"},
                                                          {"NtrLoops", "7"},
                                                          {"NtsLoops", "8"},
                                                          {"NbLoopsConfInt", "9"},
                                                          {"TemperatureConfInt", "10"},
                                                          {"MaxMissingTemp", "11"},
                                                          {"SkipFisher", "True"},
                                                          {"LeaveOneOut", "False"}}));
}
