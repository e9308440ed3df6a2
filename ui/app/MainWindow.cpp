#include "MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>

#include "About.h"
#include "AppFolder.h"
#include "ConfigSimulation.h"
#include "Dialogs.h"
#include "FitDisplay.h"
#include "HomePicture.h"
#include "NumberText.h"
#include "OrvexConfig.h"
#include "OrvexError.h"
#include "OutputFile.h"
#include "SimulDisplay.h"
#include "SlotGuard.h"
#include "UtilStuff.h"

namespace {
const QString HELP_FILE = QStringLiteral("Orvexhelp.chm");
const char* const FIT_SECTION = "path-fit";

int ToInt(const QString& text) {
    int value = 0;
    if (!TryParseInt(text.trimmed().toStdString(), value))
        throw EOrvexError("'" + text.toStdString() + "' is not a valid integer value");
    return value;
}
} // namespace

TOrvexWindow::TOrvexWindow(QWidget* parent) : QMainWindow(parent), iniFile(ExeFolder() + ORVEX_INI_FILE) {
    const QString version = QStringLiteral(" - ") + QString::fromStdString(ApplicationVersion());
    setWindowTitle(QStringLiteral("Orvex") + version);
    setMinimumSize(600, 500);
    resize(900, 640);

    CreateActions();
    CreateToolBarAndMenus();
    PageControl1 = new QTabWidget;
    PageControl1->addTab(CreateHomePage(version), QStringLiteral("Home"));
    setCentralWidget(PageControl1);
    statusBar();
    ConnectActions();
    ActivateOpenTabOptions();
}

void TOrvexWindow::CreateActions() {
    QStyle* st = style();
    FitButton =
        new QAction(st->standardIcon(QStyle::SP_FileDialogDetailedView), QStringLiteral("Fit Model"), this);
    SimulationButton =
        new QAction(st->standardIcon(QStyle::SP_MediaPlay), QStringLiteral("Run Simulation"), this);
    PlayPauseBtn = new QAction(this);
    CloseTabBtn = new QAction(st->standardIcon(QStyle::SP_DialogCloseButton),
                              QStringLiteral("Stop / Close Work Sheet"), this);
    QuitItem = new QAction(QStringLiteral("&Quit"), this);
    QuitItem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    HelpItem = new QAction(QStringLiteral("Orvex help"), this);
    HelpItem->setShortcut(QKeySequence(Qt::Key_F1));
    AboutItem = new QAction(QStringLiteral("About"), this);
    SetButtonPlay(false);
}

void TOrvexWindow::CreateToolBarAndMenus() {
    auto* toolBar = addToolBar(QStringLiteral("ToolBar1"));
    toolBar->setObjectName(QStringLiteral("ToolBar1"));
    toolBar->setMovable(false);
    toolBar->setIconSize(QSize(24, 24));
    toolBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    toolBar->addAction(FitButton);
    toolBar->addAction(SimulationButton);
    ToolButton1 = toolBar->addSeparator();
    toolBar->addAction(PlayPauseBtn);
    toolBar->addAction(CloseTabBtn);

    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    QMenu* newMenu = file->addMenu(QStringLiteral("New"));
    newMenu->addAction(FitButton);
    newMenu->addAction(SimulationButton);
    file->addSeparator();
    file->addAction(QuitItem);
    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->addAction(HelpItem);
    help->addAction(AboutItem);
}

QWidget* TOrvexWindow::CreateHomePage(const QString& version) {
    Home = new QWidget;
    auto* picture = new QLabel;
    picture->setPixmap(HomePicture(96, picture->devicePixelRatioF()));
    picture->setAlignment(Qt::AlignCenter);
    WelcomeLabel = new QLabel(QStringLiteral("Welcome on Orvex") + version);
    QFont big = WelcomeLabel->font();
    big.setPointSizeF(big.pointSizeF() * 1.8);
    big.setBold(true);
    WelcomeLabel->setFont(big);
    WelcomeLabel->setAlignment(Qt::AlignCenter);
    auto* hint = new QLabel(QStringLiteral("Get ready to fit a model or to run a simulation by selecting the "
                                           "appropriate button in the toolbar."));
    hint->setWordWrap(true);
    hint->setAlignment(Qt::AlignCenter);
    auto* homeLayout = new QVBoxLayout(Home);
    homeLayout->addStretch();
    homeLayout->addWidget(picture);
    homeLayout->addWidget(WelcomeLabel);
    homeLayout->addWidget(hint);
    homeLayout->addStretch(2);
    return Home;
}

void TOrvexWindow::ConnectActions() {
    connect(FitButton, &QAction::triggered, this, &TOrvexWindow::CreateFit);
    connect(SimulationButton, &QAction::triggered, this, &TOrvexWindow::CreateSimulation);
    connect(PlayPauseBtn, &QAction::triggered, this, &TOrvexWindow::PlayPauseBtnClick);
    connect(CloseTabBtn, &QAction::triggered, this, &TOrvexWindow::CloseOpenTab);
    connect(QuitItem, &QAction::triggered, this, &TOrvexWindow::close);
    connect(HelpItem, &QAction::triggered, this, &TOrvexWindow::Orvexhelp1Click);
    connect(AboutItem, &QAction::triggered, this, &TOrvexWindow::About1Click);
    connect(PageControl1, &QTabWidget::currentChanged, this, [this] {
        PageControl1Change();
        ActivateOpenTabOptions();
    });
}

void TOrvexWindow::CreateFit() {
    Guarded(this, [&] {
        const TFitPaths paths{
            iniFile.ReadString(FIT_SECTION, "temperatures"), iniFile.ReadString(FIT_SECTION, "phenology"),
            iniFile.ReadString(FIT_SECTION, "fitinfo"), iniFile.ReadString(FIT_SECTION, "savefitas")};
        std::optional<TFitRequest> request = fitWizard(this, paths);
        if (!request) return;
        if (request->savePathValues) RememberFitPaths(*request);
        request->metropolis.missing_threshold = request->maxMissingTemp;
        request->metropolis.skip_fisher = request->skipFisher;

        const std::string createdOutput = request->createdOutput;
        std::unique_ptr<TFitRun> fit;
        // A failed preparation raises, having dropped what it made: the error box shows it and
        // the run goes unstarted.
        try {
            fit = fitFactory(std::move(*request));
            fit->Prepare();
        } catch (...) {
            RemoveIfEmpty(createdOutput);
            throw;
        }
        fit->Start();
        CreateFitDisplay(std::move(fit), createdOutput);
        ActivateOpenTabOptions();
    });
}

void TOrvexWindow::RememberFitPaths(const TFitRequest& request) {
    try {
        iniFile.WriteString(FIT_SECTION, "temperatures", RelativeToExe(request.temperaturesPath));
        iniFile.WriteString(FIT_SECTION, "savefitas", RelativeToExe(request.saveFitAsPath));
        iniFile.WriteString(FIT_SECTION, "phenology", RelativeToExe(request.phenologyPath));
        iniFile.WriteString(FIT_SECTION, "fitinfo", RelativeToExe(request.fitInfoPath));
    } catch (const std::exception& e) {
        // Remembering is a convenience: the fit still runs.
        Dialogs().Warning(this, QString::fromStdString(e.what()));
    }
}

void TOrvexWindow::CreateFitDisplay(std::unique_ptr<TFitRun> fit, const std::string& createdOutput) {
    auto* display = new TFitDisplay(nullptr, std::move(fit), createdOutput);
    const int index = PageControl1->addTab(display, QStringLiteral("Model fit ") + QString::number(cptFit));
    ++cptFit;
    PageControl1->setCurrentIndex(index);
    SetButtonPlay(false);
}

TFitDisplay* TOrvexWindow::ActiveFit() const {
    return qobject_cast<TFitDisplay*>(PageControl1->currentWidget());
}

void TOrvexWindow::CreateSimulation() {
    TConfigSimulationWindow window(this);
    if (Dialogs().Exec(&window) != QDialog::Accepted) return;
    Guarded(this, [&] {
        auto simul = simulationFactory(
            ToInt(window.maxMissingTemp->text()), window.TemperaturesPath->text().toStdString(),
            window.SaveAsPath->text().toStdString(), window.ModelAsXmlPath->text().toStdString(),
            window.T0InfoPath->text().toStdString());
        simul->Prepare();
        TSimulationRun* run = simul.get();
        createSimulDisplay(new TSimulDisplay(nullptr, std::move(simul)));
        ActivateOpenTabOptions();
        run->Start();
    });
}

void TOrvexWindow::createSimulDisplay(QWidget* display) {
    const int index =
        PageControl1->addTab(display, QStringLiteral("Simulation ") + QString::number(cptSimulation));
    ++cptSimulation;
    PageControl1->setCurrentIndex(index);
}

void TOrvexWindow::SetButtonPlay(bool play) {
    QStyle* st = style();
    if (play) {
        PlayPauseBtn->setIcon(st->standardIcon(QStyle::SP_MediaPlay));
        PlayPauseBtn->setText(QStringLiteral("Play"));
    } else {
        PlayPauseBtn->setIcon(st->standardIcon(QStyle::SP_MediaPause));
        PlayPauseBtn->setText(QStringLiteral("Pause"));
    }
}

void TOrvexWindow::PlayPauseBtnClick() {
    TFitDisplay* frame = ActiveFit();
    if (!frame || frame->IsFinished()) return; // a simulation sheet ignores the button
    if (PlayPauseBtn->text() == QStringLiteral("Pause")) {
        frame->PauseFit();
        SetButtonPlay(true);
    } else {
        frame->PlayFit();
        SetButtonPlay(false);
    }
}

void TOrvexWindow::PageControl1Change() {
    // Only a paused fit offers to play: a finished one has nothing left to resume.
    if (TFitDisplay* frame = ActiveFit()) SetButtonPlay(!frame->IsFinished() && !frame->IsRunning());
}

void TOrvexWindow::ActivateOpenTabOptions() {
    const bool onSheet = PageControl1->currentWidget() != Home;
    CloseTabBtn->setVisible(onSheet);
    PlayPauseBtn->setVisible(onSheet);
    ToolButton1->setVisible(onSheet);
}

bool TOrvexWindow::CloseOpenTab() {
    QWidget* sheet = PageControl1->currentWidget();
    if (!sheet || sheet == Home) return true;
    if (auto* frame = qobject_cast<TFitDisplay*>(sheet); frame && frame->Waiting()) {
        frame->PauseFit();
        if (!Dialogs().Confirm(this, QStringLiteral("Do you really want to stop a running fit ?"))) {
            frame->PlayFit();
            SetButtonPlay(!frame->IsRunning());
            return false;
        }
    }
    const int index = PageControl1->currentIndex();
    PageControl1->removeTab(index);
    // A running fit or simulation is stopped and waited for by its frame.
    delete sheet;
    PageControl1->setCurrentIndex(index - 1);
    return true;
}

bool TOrvexWindow::CloseApplication() {
    if (!Dialogs().Confirm(this, QStringLiteral("Do you really want to quit Orvex ?"))) return false;
    for (int i = PageControl1->count() - 1; i >= 1; --i) {
        PageControl1->setCurrentIndex(i);
        CloseOpenTab();
        if (PageControl1->currentIndex() == i) return false;
    }
    return true;
}

void TOrvexWindow::closeEvent(QCloseEvent* event) {
    if (quitting || CloseApplication()) {
        quitting = true;
        event->accept();
    } else {
        event->ignore();
    }
}

void TOrvexWindow::Orvexhelp1Click() {
    if (!QFileInfo::exists(HELP_FILE)) {
        Dialogs().Message(this, QStringLiteral("Help file not found : \"OrvexHelp.chm\" !"));
        return;
    }
    if (!Dialogs().OpenDocument(QFileInfo(HELP_FILE).absoluteFilePath()))
        Dialogs().Warning(this, QStringLiteral("No viewer could open \"Orvexhelp.chm\"."));
}

void TOrvexWindow::About1Click() {
    TAboutBox box(this);
    Dialogs().Exec(&box);
}
