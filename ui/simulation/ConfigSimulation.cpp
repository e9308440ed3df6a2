#include "ConfigSimulation.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTabWidget>
#include <QVBoxLayout>

#include "AppFolder.h"
#include "Dialogs.h"
#include "FileFilters.h"
#include "FileUtils.h"
#include "OrvexConfig.h"
#include "OutputFile.h"
#include "TextFactory.h"

namespace {
const char* const SECTION = "path-sim";
} // namespace

TConfigSimulationWindow::TConfigSimulationWindow(QWidget* owner)
    : QDialog(owner), iniFile(ExeFolder() + ORVEX_INI_FILE) {
    setWindowTitle(QStringLiteral("Run Simulation Config"));

    auto* files = new QWidget;
    tempsLabel = new QLabel(QStringLiteral("Load the input files"));
    TempBtn = new QPushButton(QStringLiteral("Temperatures..."));
    ParamBtn = new QPushButton(QStringLiteral("Parameters..."));
    SimInfoBtn = new QPushButton(QStringLiteral("T0 Infos (facult.)"));
    SaveAsBtn = new QPushButton(QStringLiteral("Save As..."));
    TemperaturesPath = new QLineEdit;
    ModelAsXmlPath = new QLineEdit;
    T0InfoPath = new QLineEdit;
    SaveAsPath = new QLineEdit;
    savePathValues = new QCheckBox(QStringLiteral("Keep those values in memory"));
    savePathValues->setChecked(true);

    auto* grid = new QGridLayout(files);
    grid->addWidget(tempsLabel, 0, 0, 1, 2);
    grid->addWidget(TempBtn, 1, 0);
    grid->addWidget(TemperaturesPath, 1, 1);
    grid->addWidget(ParamBtn, 2, 0);
    grid->addWidget(ModelAsXmlPath, 2, 1);
    grid->addWidget(SimInfoBtn, 3, 0);
    grid->addWidget(T0InfoPath, 3, 1);
    grid->addWidget(new QLabel(QStringLiteral("Select an output file to save the simulation results")), 4, 0,
                    1, 2);
    grid->addWidget(SaveAsBtn, 5, 0);
    grid->addWidget(SaveAsPath, 5, 1);
    grid->addWidget(savePathValues, 6, 0, 1, 2);
    grid->setRowStretch(7, 1);
    grid->setColumnStretch(1, 1);

    auto* options = new QWidget;
    auto* group = new QGroupBox(QStringLiteral("Data Options"));
    maxMissingTemp = new QLineEdit(QStringLiteral("0"));
    maxMissingTemp->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), maxMissingTemp));
    auto* form = new QFormLayout(group);
    form->addRow(QStringLiteral("Max Missing Climatic Data :"), maxMissingTemp);
    auto* optionsLayout = new QVBoxLayout(options);
    optionsLayout->addWidget(group);
    optionsLayout->addStretch();

    PageControl1 = new QTabWidget;
    PageControl1->addTab(files, QStringLiteral("Ressources Files"));
    PageControl1->addTab(options, QStringLiteral("Options"));

    OKBtn = new QPushButton(QStringLiteral("OK"));
    OKBtn->setDefault(true);
    CancelBtn = new QPushButton(QStringLiteral("Cancel"));
    HelpBtn = new QPushButton(QStringLiteral("&Help"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(HelpBtn);
    buttons->addStretch();
    buttons->addWidget(OKBtn);
    buttons->addWidget(CancelBtn);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PageControl1);
    layout->addLayout(buttons);
    // A fixed border: the window keeps the size its contents need.
    TemperaturesPath->setMinimumWidth(380);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(TempBtn, &QPushButton::clicked, this, &TConfigSimulationWindow::TempBtnClick);
    connect(ParamBtn, &QPushButton::clicked, this, &TConfigSimulationWindow::ParamBtnClick);
    connect(SimInfoBtn, &QPushButton::clicked, this, &TConfigSimulationWindow::SimInfoBtnClick);
    connect(SaveAsBtn, &QPushButton::clicked, this, &TConfigSimulationWindow::SaveAsBtnClick);
    connect(HelpBtn, &QPushButton::clicked, this, &TConfigSimulationWindow::HelpBtnClick);
    connect(OKBtn, &QPushButton::clicked, this, &TConfigSimulationWindow::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    // The red mark asks for the temperatures file; it goes once one is given.
    connect(TemperaturesPath, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (!text.isEmpty()) tempsLabel->setStyleSheet(QString());
    });

    TemperaturesPath->setText(QString::fromStdString(iniFile.ReadString(SECTION, "temperatures")));
    ModelAsXmlPath->setText(QString::fromStdString(iniFile.ReadString(SECTION, "model")));
    T0InfoPath->setText(QString::fromStdString(iniFile.ReadString(SECTION, "t0info")));
    SaveAsPath->setText(QString::fromStdString(iniFile.ReadString(SECTION, "saveas")));
    TTextFactory::ShowTip(ParamBtn, TTextFactory::SELECT_PARAM_XML);
}

void TConfigSimulationWindow::TempBtnClick() {
    const QString name = Dialogs().OpenFile(this, SIM_TXT_FILTER);
    if (!name.isEmpty()) TemperaturesPath->setText(name);
}

void TConfigSimulationWindow::SimInfoBtnClick() {
    const QString name = Dialogs().OpenFile(this, SIM_TXT_FILTER);
    if (!name.isEmpty()) T0InfoPath->setText(name);
}

void TConfigSimulationWindow::ParamBtnClick() {
    const QString name = Dialogs().OpenFile(this, SIM_XML_FILTER);
    if (!name.isEmpty()) ModelAsXmlPath->setText(name);
}

void TConfigSimulationWindow::SaveAsBtnClick() {
    const QString name = Dialogs().SaveFile(this, SIM_SAVE_FILTER);
    if (!name.isEmpty()) SaveAsPath->setText(name);
}

void TConfigSimulationWindow::HelpBtnClick() {
    Dialogs().Message(this,
                      QStringLiteral("This configuration panel allows to run a simulation from a previous \n"
                                     "model fit run.\nFeel free to configure all the requiered settings..."));
}

bool TConfigSimulationWindow::OutputNamesNoInput() {
    // Resolved as the run resolves them.
    const auto file = [](const QLineEdit* edit) {
        return GetAbsolutePath(ExeFolder(), edit->text().toStdString());
    };
    const std::pair<const QLineEdit*, QString> inputs[] = {
        {TemperaturesPath, QStringLiteral("temperatures file")},
        {ModelAsXmlPath, QStringLiteral("fitted model XML file")},
        {T0InfoPath, QStringLiteral("T0 file")}};
    for (const auto& [edit, field] : inputs) {
        if (edit->text().isEmpty() || !SameFile(file(SaveAsPath), file(edit))) continue;
        Dialogs().Warning(this,
                          QStringLiteral("The output file \"") + SaveAsPath->text() +
                              QStringLiteral("\" and the ") + field + QStringLiteral(" \"") + edit->text() +
                              QStringLiteral("\" are the same file.\nPlease choose another output file."));
        PageControl1->setCurrentIndex(0);
        SaveAsPath->setFocus();
        return false;
    }
    return true;
}

void TConfigSimulationWindow::OKBtnClick() {
    if (ModelAsXmlPath->text().isEmpty()) {
        Dialogs().Warning(this, QStringLiteral("Please select a fitted model XML file."));
        PageControl1->setCurrentIndex(0);
        return;
    }
    if (TemperaturesPath->text().isEmpty()) {
        Dialogs().Warning(this, QStringLiteral("Please select a temperatures file."));
        PageControl1->setCurrentIndex(0);
        tempsLabel->setStyleSheet(QStringLiteral("color: red"));
        return;
    }
    // Without a name the run would report the executable's folder as its output file.
    if (SaveAsPath->text().trimmed().isEmpty()) {
        Dialogs().Warning(this, QStringLiteral("Please select an output file."));
        PageControl1->setCurrentIndex(0);
        return;
    }
    if (!OutputNamesNoInput()) return;
    if (savePathValues->isChecked()) {
        try {
            iniFile.WriteString(SECTION, "temperatures",
                                RelativeToExe(TemperaturesPath->text().toStdString()));
            iniFile.WriteString(SECTION, "model", RelativeToExe(ModelAsXmlPath->text().toStdString()));
            iniFile.WriteString(SECTION, "t0info", RelativeToExe(T0InfoPath->text().toStdString()));
            iniFile.WriteString(SECTION, "saveas", RelativeToExe(SaveAsPath->text().toStdString()));
        } catch (const std::exception& e) {
            // Remembering is a convenience: the simulation still runs.
            Dialogs().Warning(this, QString::fromStdString(e.what()));
        }
    }
    accept();
}
