#include <QLineEdit>
#include <QRadioButton>
#include <fstream>
#include <pugixml.hpp>

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
