#include "ConfigModelFit.h"

#include <QCheckBox>
#include <QCommandLinkButton>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QTabWidget>
#include <QVBoxLayout>

#include "Dialogs.h"
#include "InputValidator.h"
#include "ModelDesignTab.h"
#include "SlotGuard.h"
#include "TextFactory.h"
#include "ThreadedProgress.h"
#include "ValidationThread.h"

namespace {

QLineEdit* NumberEdit() {
    auto* edit = new QLineEdit;
    edit->setAlignment(Qt::AlignRight);
    edit->setFixedWidth(109);
    return edit;
}

QFormLayout* FormOf(QGroupBox* group) {
    auto* form = new QFormLayout(group);
    form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    form->setLabelAlignment(Qt::AlignLeft);
    form->setVerticalSpacing(4);
    return form;
}

// One label column for every group, so the edits line up down the tab.
void AddRow(QFormLayout* form, const char* label, QLineEdit* edit) {
    auto* text = new QLabel(QString::fromUtf8(label));
    text->setMinimumWidth(210);
    form->addRow(text, edit);
}

} // namespace

TConfigModelFitWindow::TConfigModelFitWindow(QWidget* owner) : QDialog(owner) {
    setWindowTitle(QStringLiteral("Fit Model Config"));
    // The layouts set the minimum size: the platform font may need more than the design's.
    resize(513, 557);

    ModelTab = new TModelDesignTab;
    PageControl1 = new QTabWidget;
    PageControl1->addTab(BuildFilesTab(), QStringLiteral("Ressource Files"));
    PageControl1->addTab(ModelTab, QStringLiteral("Model Settings"));
    PageControl1->addTab(BuildOptimTab(), QStringLiteral("Optimization"));
    PageControl1->addTab(BuildExportTab(), QStringLiteral("Export..."));

    OKBtn = new QPushButton(QStringLiteral("FIT NOW !"));
    QFont bold = OKBtn->font();
    bold.setBold(true);
    bold.setItalic(true);
    OKBtn->setFont(bold);
    OKBtn->setDefault(true);
    OKBtn->setEnabled(false);
    CancelBtn = new QPushButton(QStringLiteral("Cancel"));
    HelpBtn = new QPushButton(QStringLiteral("&Help"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKBtn);
    buttons->addWidget(CancelBtn);
    buttons->addWidget(HelpBtn);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PageControl1, 1);
    layout->addLayout(buttons);

    connect(PageControl1, &QTabWidget::currentChanged, this, &TConfigModelFitWindow::TabChange);
    connect(OKBtn, &QPushButton::clicked, this, &TConfigModelFitWindow::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &TConfigModelFitWindow::CancelBtnClick);
    connect(HelpBtn, &QPushButton::clicked, this, &TConfigModelFitWindow::HelpBtnClick);

    ModelTab->SetSourceEdits(TemperaturesPath, PhenologyPath);
    ModelTab->ShowPrebuildPanel();
    gui_LoadOptimParams(false);
    gui_LoadValidationParams(false);
    allowNextStep = false;

    TTextFactory::ShowTip(ModelTab->AddPhaseButton1, TTextFactory::ADD_PHASE);
    TTextFactory::ShowTip(ModelTab->RemPhaseButton2, TTextFactory::REM_PHASE);
    TTextFactory::ShowTip(ModelTab->RefreshSourcesButton1, TTextFactory::REFRESH_SRC);
    TTextFactory::ShowTip(SkipValidationCB1, TTextFactory::SKIP_VALIDATION);
    Label11->setText(TTextFactory::GetHelp(TTextFactory::EXPORT_TAB));
}

TConfigModelFitWindow::~TConfigModelFitWindow() {
    // The progress window is modal, so this only happens when the window dies under a run.
    if (validationThread) EndValidation(TOutcome::Aborted);
}

QWidget* TConfigModelFitWindow::BuildFilesTab() {
    auto* tab = new QWidget;
    TempBtn = new QPushButton(QStringLiteral("Climate data..."));
    PhenoBtn = new QPushButton(QStringLiteral("Phenology data..."));
    FitInfoBtn = new QPushButton(QStringLiteral("Fit information..."));
    SaveFitAsBtn = new QPushButton(QStringLiteral("Save As..."));
    TemperaturesPath = new QLineEdit;
    PhenologyPath = new QLineEdit;
    FitInfoPath = new QLineEdit;
    SaveFitAsPath = new QLineEdit;
    savePathValues = new QCheckBox(QStringLiteral("Keep those values in memory"));
    savePathValues->setChecked(true);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral(
                        "Select the three files containing the information required to fit a model")),
                    0, 0, 1, 2);
    grid->addWidget(TempBtn, 1, 0);
    grid->addWidget(TemperaturesPath, 1, 1);
    grid->addWidget(PhenoBtn, 2, 0);
    grid->addWidget(PhenologyPath, 2, 1);
    grid->addWidget(FitInfoBtn, 3, 0);
    grid->addWidget(FitInfoPath, 3, 1);
    grid->setRowMinimumHeight(4, 12);
    grid->addWidget(
        new QLabel(QStringLiteral("Select an output file to save the result of the optimization")), 5, 0, 1,
        2);
    grid->addWidget(SaveFitAsBtn, 6, 0);
    grid->addWidget(SaveFitAsPath, 6, 1);
    grid->addWidget(savePathValues, 7, 1);
    grid->setColumnStretch(1, 1);

    auto* group = new QGroupBox(QStringLiteral("Files Validation Options"));
    SkipValidationCB1 = new QCheckBox(QStringLiteral("Skip whole validation"));
    SkipLatitudeValidationCB3 = new QCheckBox(QStringLiteral("Skip latitudes validation"));
    SkipMeanTempValidationCB2 = new QCheckBox(QStringLiteral("Skip mean temp. validation"));
    SkipMinMaxValidationCB4 = new QCheckBox(QStringLiteral("Skip min < max temp. validation"));
    DefaultValidationButton1 = new QPushButton(QStringLiteral("Restore Defaults"));
    auto* options = new QGridLayout(group);
    options->addWidget(SkipValidationCB1, 0, 0);
    options->addWidget(SkipLatitudeValidationCB3, 1, 0);
    options->addWidget(SkipMeanTempValidationCB2, 2, 0);
    options->addWidget(SkipMinMaxValidationCB4, 3, 0);
    auto* defaults = new QHBoxLayout;
    defaults->addWidget(DefaultValidationButton1);
    defaults->addWidget(new QLabel(QStringLiteral("(Recommanded)")));
    options->addLayout(defaults, 3, 1, Qt::AlignRight);
    options->setColumnStretch(1, 1);

    InputValidationButton1 = new QCommandLinkButton(QStringLiteral("Next Step"));
    auto* next = new QHBoxLayout;
    next->addStretch();
    next->addWidget(InputValidationButton1);

    auto* layout = new QVBoxLayout(tab);
    layout->addLayout(grid);
    layout->addSpacing(12);
    layout->addWidget(group);
    layout->addStretch();
    layout->addLayout(next);

    connect(TempBtn, &QPushButton::clicked, this, &TConfigModelFitWindow::TempBtnClick);
    connect(PhenoBtn, &QPushButton::clicked, this, &TConfigModelFitWindow::PhenoBtnClick);
    connect(FitInfoBtn, &QPushButton::clicked, this, &TConfigModelFitWindow::FitInfoBtnClick);
    connect(SaveFitAsBtn, &QPushButton::clicked, this, &TConfigModelFitWindow::SaveFitAsBtnClick);
    connect(SkipValidationCB1, &QCheckBox::toggled, this, &TConfigModelFitWindow::SkipValidationCB1Click);
    for (QCheckBox* box : {SkipLatitudeValidationCB3, SkipMeanTempValidationCB2, SkipMinMaxValidationCB4})
        connect(box, &QCheckBox::toggled, this, &TConfigModelFitWindow::SkipOneValidationClick);
    connect(DefaultValidationButton1, &QPushButton::clicked, this,
            &TConfigModelFitWindow::DefaultValidationButton1Click);
    connect(InputValidationButton1, &QPushButton::clicked, this,
            &TConfigModelFitWindow::InputValidationButton1Click);
    return tab;
}

QWidget* TConfigModelFitWindow::BuildOptimTab() {
    auto* tab = new QWidget;
    NbRepetitions = NumberEdit();
    NbVeryGlobalSearch = NumberEdit();
    NbGlobalSearch = NumberEdit();
    MetPrecision = NumberEdit();
    MetropolisTemperature = NumberEdit();
    TemperatureClimbRate = NumberEdit();
    NtrLoops = NumberEdit();
    NtsLoops = NumberEdit();
    NbConfidenceInterval = NumberEdit();
    TemperatureConfInt = NumberEdit();
    MaxMissingTemp = NumberEdit();
    MaxMissingTemp->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), MaxMissingTemp));

    auto* optim = new QGroupBox(QStringLiteral("Optimisation parameters"));
    QFormLayout* form = FormOf(optim);
    AddRow(form, "Number of repetitions :", NbRepetitions);
    AddRow(form, "Number of very gloal search :", NbVeryGlobalSearch);
    AddRow(form, "Number of global search :", NbGlobalSearch);
    AddRow(form, "Precision :", MetPrecision);
    auto* metropolis = new QGroupBox(QStringLiteral("Metropolis Parameters"));
    form = FormOf(metropolis);
    AddRow(form, "Metropolis initial temperature :", MetropolisTemperature);
    AddRow(form, "Temperature climb rate :", TemperatureClimbRate);
    AddRow(form, "Ntr loops :", NtrLoops);
    AddRow(form, "Nts loops :", NtsLoops);
    auto* confidence = new QGroupBox(QStringLiteral("Confidence interval"));
    form = FormOf(confidence);
    AddRow(form, "Number of loops :", NbConfidenceInterval);
    AddRow(form, "Metropolis temperatures :", TemperatureConfInt);
    auto* tolerance = new QGroupBox(QStringLiteral("Tolerance"));
    form = FormOf(tolerance);
    AddRow(form, "Maximum missing climatic data :", MaxMissingTemp);

    LeaveOneOutCB1 = new QCheckBox(QStringLiteral("Use \"Leave-One Out Cross-Validation\""));
    SkipFisherCB1 = new QCheckBox(QStringLiteral("Skip confidence interval search"));
    SkipFisherCB1->setChecked(true);
    DefaultOptimButton1 = new QPushButton(QStringLiteral("Restore Defaults"));
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(DefaultOptimButton1);

    auto* layout = new QVBoxLayout(tab);
    for (QGroupBox* group : {optim, metropolis, confidence, tolerance})
        layout->addWidget(group);
    layout->addWidget(LeaveOneOutCB1);
    layout->addWidget(SkipFisherCB1);
    layout->addStretch();
    layout->addLayout(bottom);

    connect(DefaultOptimButton1, &QPushButton::clicked, this,
            &TConfigModelFitWindow::DefaultOptimButton1Click);
    return tab;
}

QWidget* TConfigModelFitWindow::BuildExportTab() {
    auto* tab = new QWidget;
    auto* group = new QGroupBox(QStringLiteral("Export Full Fit Configuration"));
    NewFitFileButton2 = new QRadioButton(QStringLiteral("Create a new file from scratch"));
    NewFitFileButton2->setChecked(true);
    OpenFitFileButton3 = new QRadioButton(QStringLiteral("Append Fit to an existing file"));
    OpenExistingFilePanel3 = new QWidget;
    OpenExistingFileButton1 = new QPushButton(QStringLiteral("Open..."));
    OpenExistingFilePathEdit1 = new QLineEdit;
    auto* panel = new QHBoxLayout(OpenExistingFilePanel3);
    panel->setContentsMargins(0, 0, 0, 0);
    panel->addWidget(OpenExistingFileButton1);
    panel->addWidget(OpenExistingFilePathEdit1, 1);
    OpenExistingFilePanel3->hide();
    SaveFullFitButton1 = new QPushButton(QStringLiteral("Save As..."));
    auto* save = new QHBoxLayout;
    save->addStretch();
    save->addWidget(SaveFullFitButton1);
    auto* inGroup = new QVBoxLayout(group);
    inGroup->addWidget(NewFitFileButton2);
    inGroup->addWidget(OpenFitFileButton3);
    inGroup->addWidget(OpenExistingFilePanel3);
    inGroup->addLayout(save);

    Label11 = new QLabel;
    Label11->setWordWrap(true);
    Label11->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    auto* layout = new QVBoxLayout(tab);
    layout->addWidget(group);
    layout->addWidget(Label11, 1);

    connect(NewFitFileButton2, &QRadioButton::clicked, this, &TConfigModelFitWindow::NewFitFileButton2Click);
    connect(OpenFitFileButton3, &QRadioButton::clicked, this,
            &TConfigModelFitWindow::OpenFitFileButton3Click);
    connect(OpenExistingFileButton1, &QPushButton::clicked, this,
            &TConfigModelFitWindow::OpenExistingFileButton1Click);
    connect(SaveFullFitButton1, &QPushButton::clicked, this, &TConfigModelFitWindow::SaveFullFitButton1Click);
    return tab;
}

void TConfigModelFitWindow::SwitchTab(int index) {
    switching_ = true;
    PageControl1->setCurrentIndex(index);
    switching_ = false;
}

void TConfigModelFitWindow::TabChange(int index) {
    if (switching_) return;
    if (index == 0) allowNextStep = false;
    if (!allowNextStep) SwitchTab(0);
    OKBtn->setEnabled(PageControl1->currentIndex() != 0);
}

void TConfigModelFitWindow::gui_ShowNextStep() {
    allowNextStep = true;
    OKBtn->setEnabled(true);
    SwitchTab(1);
}

void TConfigModelFitWindow::OKBtnClick() {
    Guarded(this, [&] {
        if (!gui_CheckModel()) return;
        try {
            gui_SaveOptimParams();
        } catch (const std::exception& e) {
            // Remembering the settings is a convenience: the fit still runs.
            Dialogs().Warning(this, QString::fromStdString(e.what()));
        }
        accept();
    });
}

void TConfigModelFitWindow::CancelBtnClick() {
    cancelled = true;
    reject();
}

void TConfigModelFitWindow::done(int result) {
    QDialog::done(result);
    if (result != QDialog::Accepted) ModelTab->Designer().TakeModel();
    DropCreatedOutputs(result == QDialog::Accepted ? CreatedOutput() : std::string());
}

void TConfigModelFitWindow::HelpBtnClick() {
    Dialogs().Message(
        this, QStringLiteral("This configuration panel allows to design a model fit from Presets or form "
                             "scratch.\nFeel free to configure all the requiered settings..."));
}
