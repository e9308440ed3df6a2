#pragma once
// The modal window behind "Run Simulation": the four files of a simulation and the maximum of
// missing climate values, remembered in the section path-sim of the configuration file.

#include <QDialog>

#include "IniFile.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

class TConfigSimulationWindow : public QDialog {
    Q_OBJECT
public:
    explicit TConfigSimulationWindow(QWidget* owner = nullptr);

    QTabWidget* PageControl1 = nullptr;
    QLabel* tempsLabel = nullptr;
    QPushButton* TempBtn = nullptr;
    QPushButton* ParamBtn = nullptr;
    QPushButton* SimInfoBtn = nullptr;
    QPushButton* SaveAsBtn = nullptr;
    QLineEdit* TemperaturesPath = nullptr;
    QLineEdit* ModelAsXmlPath = nullptr;
    QLineEdit* T0InfoPath = nullptr;
    QLineEdit* SaveAsPath = nullptr;
    QCheckBox* savePathValues = nullptr;
    QLineEdit* maxMissingTemp = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;
    QPushButton* HelpBtn = nullptr;

public slots:
    void TempBtnClick();
    void ParamBtnClick();
    void SimInfoBtnClick();
    void SaveAsBtnClick();
    void HelpBtnClick();
    void OKBtnClick();

private:
    // The run's output replaces its file whole: naming an input there would lose it. Warns,
    // naming both fields, and gives false.
    bool OutputNamesNoInput();

    TIniFile iniFile;
};
