#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <filesystem>
#include <fstream>

#include "ConfigSimulation.h"
#include "IniFile.h"
#include "OrvexConfig.h"
#include "UiTestSupport.h"

using ConfigSimulation = TempExeFolderTest;

TEST_F(ConfigSimulation, RemembersPathsRelativeToTheExecutableFolder) {
    {
        TConfigSimulationWindow window;
        window.TemperaturesPath->setText(QString::fromStdString(Folder() + "data/clim.txt"));
        window.ModelAsXmlPath->setText(QString::fromStdString(Folder() + "./models/../models/fitted.xml"));
        window.T0InfoPath->setText("");
        window.SaveAsPath->setText("out/sim.txt"); // already relative: kept
        window.OKBtnClick();
        EXPECT_EQ(window.result(), QDialog::Accepted);
    }
    const TIniFile ini(Folder() + ORVEX_INI_FILE);
    EXPECT_EQ(ini.ReadString("path-sim", "temperatures"), "data/clim.txt");
    EXPECT_EQ(ini.ReadString("path-sim", "model"), "models/fitted.xml");
    EXPECT_EQ(ini.ReadString("PATH-SIM", "T0Info", "unset"), ""); // case-insensitive, stored empty
    EXPECT_EQ(ini.ReadString("path-sim", "saveas"), "out/sim.txt");

    EXPECT_EQ(TConfigSimulationWindow().ModelAsXmlPath->text(), "models/fitted.xml"); // shown as stored
}

TEST_F(ConfigSimulation, ChecksModelThenTemperaturesAndWritesNothingWhenNotKept) {
    TConfigSimulationWindow window;
    window.PageControl1->setCurrentIndex(1);
    window.OKBtnClick();
    EXPECT_EQ(dialogs.shown, QStringList{"Please select a fitted model XML file."});
    EXPECT_EQ(window.PageControl1->currentIndex(), 0);

    window.ModelAsXmlPath->setText("m.xml");
    window.OKBtnClick();
    EXPECT_EQ(dialogs.shown.last(), "Please select a temperatures file.");
    EXPECT_TRUE(window.tempsLabel->styleSheet().contains("red"));

    window.TemperaturesPath->setText("a.txt");
    EXPECT_FALSE(window.tempsLabel->styleSheet().contains("red"));
    window.OKBtnClick(); // no output file: named here, not as the folder by the run
    EXPECT_EQ(dialogs.shown.last(), "Please select an output file.");
    EXPECT_NE(window.result(), QDialog::Accepted);

    window.SaveAsPath->setText("out.txt");
    window.savePathValues->setChecked(false);
    window.OKBtnClick();
    EXPECT_EQ(window.result(), QDialog::Accepted);
    TConfigSimulationWindow cancelled;
    cancelled.TemperaturesPath->setText("a.txt");
    cancelled.ModelAsXmlPath->setText("m.xml");
    cancelled.SaveAsPath->setText("out.txt");
    cancelled.CancelBtn->click();
    EXPECT_EQ(cancelled.result(), QDialog::Rejected);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(Folder() + ORVEX_INI_FILE)));
}

TEST_F(ConfigSimulation, FileButtonsFillTheirFields) {
    TConfigSimulationWindow window;
    dialogs.fileAnswer = "/data/chosen.txt";
    window.TempBtn->click();
    window.SimInfoBtn->click();
    window.SaveAsBtn->click();
    window.ParamBtn->click();
    for (const QLineEdit* e :
         {window.TemperaturesPath, window.T0InfoPath, window.SaveAsPath, window.ModelAsXmlPath})
        EXPECT_EQ(e->text(), "/data/chosen.txt");
    const QString txt = "TXT (*.txt);;XML (*.xml);;All Files (*)";
    EXPECT_EQ(dialogs.filters, (QStringList{txt, txt, "TXT (*.txt);;All Files (*)",
                                            "XML (*.xml);;TXT (*.txt);;All Files (*)"}));
    dialogs.fileAnswer.clear(); // cancelled: the field keeps its name
    window.TempBtn->click();
    EXPECT_EQ(window.TemperaturesPath->text(), "/data/chosen.txt");
}

TEST_F(ConfigSimulation, AnOutputNamingAnInputIsRefusedWhateverItsSpelling) {
    for (const char* name : {"clim.txt", "m.xml", "t0.txt"})
        std::ofstream(Folder() + name) << name;
    std::filesystem::create_symlink(Folder() + "m.xml", Folder() + "link.xml");
    TConfigSimulationWindow window;
    window.TemperaturesPath->setText("clim.txt");
    window.ModelAsXmlPath->setText(QString::fromStdString(Folder() + "m.xml"));
    window.T0InfoPath->setText("t0.txt");
    const std::pair<QString, QString> cases[] = {
        {"sub/../clim.txt", "temperatures file \"clim.txt\""},
        {"link.xml", "fitted model XML file \"" + window.ModelAsXmlPath->text() + "\""},
        {QString::fromStdString(Folder() + "./t0.txt"), "T0 file \"t0.txt\""}};
    for (const auto& [output, input] : cases) {
        window.SaveAsPath->setText(output);
        window.PageControl1->setCurrentIndex(1);
        window.OKBtnClick();
        ASSERT_FALSE(dialogs.shown.isEmpty()) << output.toStdString();
        EXPECT_EQ(dialogs.shown.last(), "The output file \"" + output + "\" and the " + input +
                                            " are the same file.\nPlease choose another output file.");
        EXPECT_EQ(window.PageControl1->currentIndex(), 0);
        EXPECT_NE(window.result(), QDialog::Accepted);
    }
    EXPECT_FALSE(QFile::exists(QString::fromStdString(Folder() + ORVEX_INI_FILE)));

    window.SaveAsPath->setText("sim.txt");
    window.OKBtnClick();
    EXPECT_EQ(window.result(), QDialog::Accepted);
}
