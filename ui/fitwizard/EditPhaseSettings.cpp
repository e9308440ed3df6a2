#include "EditPhaseSettings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>
#include <set>

#include "NumberText.h"
#include "SlotGuard.h"
#include "TextFactory.h"

namespace {

const QString TRIANGULAR = QStringLiteral("Triangular func.");
const QString SHARK = QStringLiteral("Shark func.");
const QString DAILY = QStringLiteral("Daily");

QString NumberText(double v) {
    return QString::fromStdString(FloatToStrGeneral(v));
}

// The phenology columns after station, provenance and year, each name once.
QStringList DateColumns(const std::vector<std::string>& variablesList) {
    QStringList names;
    std::set<std::string> seen;
    for (std::size_t k = 3; k < variablesList.size(); ++k)
        if (seen.insert(variablesList[k]).second) names << QString::fromStdString(variablesList[k]);
    return names;
}

} // namespace

TEditPhaseForm1::TEditPhaseForm1(QWidget* owner, const TPhase& phase,
                                 const std::vector<std::string>& variablesList)
    : QDialog(owner) {
    setWindowTitle(QStringLiteral("Phase Settings"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

    const QStringList columns = DateColumns(variablesList);

    auto* phenoGroup = new QGroupBox(QStringLiteral("Phenological Variable"));
    PhenoVariableCB = new QComboBox;
    PhenoVariableCB->setPlaceholderText(QStringLiteral("Select from pheno. input file..."));
    PhenoVariableCB->addItem(QStringLiteral("--MISSING--"));
    PhenoVariableCB->addItems(columns);
    (new QVBoxLayout(phenoGroup))->addWidget(PhenoVariableCB);

    auto* t0Group = new QGroupBox(QStringLiteral("Fix T0 (starting date for phase)"));
    t0FittedButton1 = new QRadioButton(QStringLiteral("Fitted"));
    t0FromPrevButton1 = new QRadioButton(QStringLiteral("End of the previous phase"));
    t0FixedButton1 = new QRadioButton(QStringLiteral("Fixed to a constant :"));
    t0FixedFromPhenoButton1 = new QRadioButton(QStringLiteral("Fixed to a varying date  :"));
    t0FixedEdit1 = new QLineEdit;
    t0FixedEdit1->setAlignment(Qt::AlignRight);
    t0FixedEdit1->setEnabled(false);
    FixedFromPhenoCB = new QComboBox;
    FixedFromPhenoCB->setPlaceholderText(QStringLiteral("Pheno. var."));
    FixedFromPhenoCB->addItems(columns);
    FixedFromPhenoCB->setEnabled(false);
    auto* t0Grid = new QGridLayout(t0Group);
    t0Grid->addWidget(t0FittedButton1, 0, 0, 1, 2);
    t0Grid->addWidget(t0FromPrevButton1, 1, 0, 1, 2);
    t0Grid->addWidget(t0FixedButton1, 2, 0);
    t0Grid->addWidget(t0FixedEdit1, 2, 1);
    t0Grid->addWidget(t0FixedFromPhenoButton1, 3, 0);
    t0Grid->addWidget(FixedFromPhenoCB, 3, 1);
    t0Grid->setColumnStretch(1, 1);

    PhotoperiodGB1 = new QGroupBox(QStringLiteral("Convert T0 to a photoperiod"));
    PhotoperiodCB1 = new QComboBox;
    PhotoperiodCB1->addItems({QStringLiteral("No"), QStringLiteral("Yes, increasing photoperiod"),
                              QStringLiteral("Yes, decreasing photoperiod")});
    (new QVBoxLayout(PhotoperiodGB1))->addWidget(PhotoperiodCB1);

    TimeSamplingGB1 = new QGroupBox(QStringLiteral("Temperatures Sampling"));
    TimeSamplingCB1 = new QComboBox;
    TimeSamplingCB1->addItems({DAILY, QStringLiteral("Hourly")});
    TempHourFuncCB1 = new QComboBox;
    TempHourFuncCB1->setPlaceholderText(QStringLiteral("conversion func."));
    TempHourFuncCB1->addItems({TRIANGULAR, SHARK});
    auto* samplingRow = new QHBoxLayout(TimeSamplingGB1);
    samplingRow->addWidget(TimeSamplingCB1, 1);
    samplingRow->addWidget(TempHourFuncCB1, 1);

    auto* sStarGroup = new QGroupBox(QStringLiteral("SStar (S* critical sum for phase)"));
    SStarFixedCB = new QCheckBox(QStringLiteral("Fix to a constant :"));
    SStarEdit1 = new QLineEdit;
    SStarEdit1->setAlignment(Qt::AlignRight);
    SStarEdit1->setEnabled(false);
    auto* sStarRow = new QHBoxLayout(sStarGroup);
    sStarRow->addWidget(SStarFixedCB);
    sStarRow->addWidget(SStarEdit1, 1);

    auto* buttons = new QDialogButtonBox;
    OkButton1 = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    CancelButton1 = buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    OkButton1->setDefault(true); // Enter acts as OK

    auto* layout = new QVBoxLayout(this);
    for (QGroupBox* w : {phenoGroup, t0Group, PhotoperiodGB1, TimeSamplingGB1, sStarGroup})
        layout->addWidget(w);
    layout->addWidget(buttons);
    setMinimumWidth(300);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    for (QRadioButton* r : {t0FittedButton1, t0FromPrevButton1, t0FixedButton1, t0FixedFromPhenoButton1})
        connect(r, &QRadioButton::toggled, this, &TEditPhaseForm1::t0Button1Click);
    connect(SStarFixedCB, &QCheckBox::toggled, this, &TEditPhaseForm1::SStarFixedCBClick);
    connect(TimeSamplingCB1, &QComboBox::currentIndexChanged, this, &TEditPhaseForm1::TimeSamplingCB1Change);
    connect(OkButton1, &QPushButton::clicked, this, &TEditPhaseForm1::OkButton1Click);
    connect(CancelButton1, &QPushButton::clicked, this, &QDialog::reject);

    gui_SelectedPhaseToSettings(phase);
    TempHourFuncCB1->setVisible(TimeSamplingCB1->currentIndex() == 1);

    TTextFactory::ShowTip(PhotoperiodGB1, TTextFactory::PHOTOPERIOD);
    TTextFactory::ShowTip(TimeSamplingGB1, TTextFactory::TEMP_SAMPLING);
    TTextFactory::ShowTip(TimeSamplingCB1, TTextFactory::TEMP_SAMPLING);
    TTextFactory::ShowTip(TempHourFuncCB1, TTextFactory::HOUR_INTERPOL);
}

void TEditPhaseForm1::gui_SelectedPhaseToSettings(const TPhase& phase) {
    // A first phase has no previous phase to follow.
    const bool first = phase.index == 0;
    switch (phase.t0Mode) {
    case TPhaseT0Mode::Fitted:
        t0FittedButton1->setChecked(true);
        break;
    case TPhaseT0Mode::PickedFromPrevPhase:
        (first ? t0FittedButton1 : t0FromPrevButton1)->setChecked(true);
        break;
    case TPhaseT0Mode::Fixed:
        t0FixedButton1->setChecked(true);
        break;
    case TPhaseT0Mode::PickedFromPheno:
        t0FixedFromPhenoButton1->setChecked(true);
        break;
    }
    t0FixedEdit1->setText(NumberText(phase.t0));
    t0FromPrevButton1->setEnabled(!first && phase.phaseLinkMode == TPhaseLinkMode::Sequential);
    PhotoperiodCB1->setCurrentIndex(static_cast<int>(phase.photoperiodMode));
    if (phase.tempHourFunction) {
        TimeSamplingCB1->setCurrentIndex(1);
        TempHourFuncCB1->setCurrentIndex(phase.tempHourFunction->name == "tempheur" ? 0 : 1);
    } else {
        TimeSamplingCB1->setCurrentIndex(0);
    }
    PhenoVariableCB->setCurrentIndex(
        phase.phenoDataColumn + 1 < PhenoVariableCB->count() ? phase.phenoDataColumn + 1 : -1);
    FixedFromPhenoCB->setCurrentIndex(phase.t0DataColumn < FixedFromPhenoCB->count() ? phase.t0DataColumn
                                                                                     : -1);
    SStarFixedCB->setChecked(phase.sStarFixed);
    SStarEdit1->setText(NumberText(phase.sStar));
}

void TEditPhaseForm1::t0Button1Click() {
    t0FixedEdit1->setEnabled(t0FixedButton1->isChecked());
    FixedFromPhenoCB->setEnabled(t0FixedFromPhenoButton1->isChecked());
}

void TEditPhaseForm1::SStarFixedCBClick() {
    SStarEdit1->setEnabled(SStarFixedCB->isChecked());
}

void TEditPhaseForm1::TimeSamplingCB1Change() {
    const bool hourly = TimeSamplingCB1->currentIndex() == 1;
    TempHourFuncCB1->setVisible(hourly);
    if (hourly && TempHourFuncCB1->currentIndex() < 0) TempHourFuncCB1->setCurrentIndex(0);
}

TPhaseEdits TEditPhaseForm1::Collect() const {
    TPhaseEdits s;
    if (t0FromPrevButton1->isChecked())
        s.t0Mode = TPhaseT0Mode::PickedFromPrevPhase;
    else if (t0FixedButton1->isChecked()) {
        s.t0Mode = TPhaseT0Mode::Fixed;
        s.t0 = SettingToFloat(t0FixedEdit1->text().trimmed().toStdString());
    } else if (t0FixedFromPhenoButton1->isChecked())
        s.t0Mode = TPhaseT0Mode::PickedFromPheno;
    s.sStar = SettingToFloat(SStarEdit1->text().trimmed().toStdString());
    s.sStarFixed = SStarFixedCB->isChecked();
    s.phenoDataColumn = PhenoVariableCB->currentIndex() - 1;
    s.t0DataColumn = FixedFromPhenoCB->currentIndex();
    s.photoperiodMode = static_cast<TPhotoperiodMode>(std::max(0, PhotoperiodCB1->currentIndex()));
    if (TimeSamplingCB1->currentIndex() == 1)
        s.tempHourName = TempHourFuncCB1->currentText() == TRIANGULAR ? "tempheur" : "tempheur_shark";
    return s;
}

void TEditPhaseForm1::OkButton1Click() {
    Guarded(this, [&] {
        if (PhenoVariableCB->currentIndex() < 0) {
            Dialogs().Message(this, QStringLiteral("You have to choose a Phenological variable first !"));
            return;
        }
        if (t0FixedFromPhenoButton1->isChecked() && FixedFromPhenoCB->currentIndex() < 0) {
            Dialogs().Message(this, QStringLiteral("You have to choose the t0 variable first !"));
            return;
        }
        // Both numbers are read before anything is handed on: a bad one keeps the dialog open.
        settings_ = Collect();
        accept();
    });
}
