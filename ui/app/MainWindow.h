#pragma once
// The main window: tool bar and menus that start fits and simulations, one work sheet per run,
// and the quit question.

#include <QMainWindow>
#include <functional>
#include <memory>
#include <string>

#include "FitRun.h"
#include "FitWizardLauncher.h"
#include "IniFile.h"
#include "SimulationRun.h"

class QAction;
class QLabel;
class QTabWidget;
class TFitDisplay;

class TOrvexWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit TOrvexWindow(QWidget* parent = nullptr);

    QTabWidget* PageControl1 = nullptr;
    QWidget* Home = nullptr;
    QLabel* WelcomeLabel = nullptr;
    QAction* FitButton = nullptr;
    QAction* SimulationButton = nullptr;
    QAction* ToolButton1 = nullptr;
    QAction* PlayPauseBtn = nullptr;
    QAction* CloseTabBtn = nullptr;
    QAction* QuitItem = nullptr;
    QAction* HelpItem = nullptr;
    QAction* AboutItem = nullptr;

    TIniFile& IniFile() { return iniFile; }

    // Makes the simulation runs; tests put a stand-in here.
    using TSimulationFactory = std::function<std::unique_ptr<TSimulationRun>(
        int, const std::string&, const std::string&, const std::string&, const std::string&)>;
    TSimulationFactory simulationFactory = CreateSimulationRun;
    // The fit configuration wizard and the fit runs; tests put stand-ins here.
    std::function<std::optional<TFitRequest>(QWidget*, const TFitPaths&)> fitWizard = RunFitWizard;
    std::function<std::unique_ptr<TFitRun>(TFitRequest)> fitFactory = CreateFitRun;

public slots:
    void CreateFit();
    void CreateSimulation();
    void SetButtonPlay(bool play);
    void PlayPauseBtnClick();
    void PageControl1Change();
    void ActivateOpenTabOptions();
    // False when the sheet was kept.
    bool CloseOpenTab();
    // False when the user refused or a sheet was kept: the window stays open.
    bool CloseApplication();
    void Orvexhelp1Click();
    void About1Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // Steps of the constructor.
    void CreateActions();
    void CreateToolBarAndMenus();
    QWidget* CreateHomePage(const QString& version);
    void ConnectActions();

    void CreateFitDisplay(std::unique_ptr<TFitRun> fit, const std::string& createdOutput);
    void createSimulDisplay(QWidget* display);
    // The frame of the active sheet when it is a fit sheet.
    TFitDisplay* ActiveFit() const;
    void RememberFitPaths(const TFitRequest& request);

    int cptFit = 1;
    int cptSimulation = 1;
    bool quitting = false;
    TIniFile iniFile;
};
