#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

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
