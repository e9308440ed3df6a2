#pragma once
// The modal "Phase Settings" dialog: the observed column, T0, its photoperiod conversion,
// daily or hourly sampling and S* of one phase. It only reads the phase; on OK it hands its
// caller the settings, which the model designer applies.

#include <QDialog>
#include <string>
#include <vector>

#include "ModelDesigner.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

class TEditPhaseForm1 : public QDialog {
    Q_OBJECT
public:
    // variablesList: the phenology file's header columns (station, provenance, year, dates...).
    TEditPhaseForm1(QWidget* owner, const TPhase& phase, const std::vector<std::string>& variablesList);

    // What the user accepted; valid after the OK result.
    const TPhaseEdits& Settings() const { return settings_; }

    QComboBox* PhenoVariableCB = nullptr;
    QRadioButton* t0FittedButton1 = nullptr;
    QRadioButton* t0FromPrevButton1 = nullptr;
    QRadioButton* t0FixedButton1 = nullptr;
    QRadioButton* t0FixedFromPhenoButton1 = nullptr;
    QLineEdit* t0FixedEdit1 = nullptr;
    QComboBox* FixedFromPhenoCB = nullptr;
    QGroupBox* PhotoperiodGB1 = nullptr;
    QComboBox* PhotoperiodCB1 = nullptr;
    QGroupBox* TimeSamplingGB1 = nullptr;
    QComboBox* TimeSamplingCB1 = nullptr;
    QComboBox* TempHourFuncCB1 = nullptr;
    QCheckBox* SStarFixedCB = nullptr;
    QLineEdit* SStarEdit1 = nullptr;
    QPushButton* OkButton1 = nullptr;
    QPushButton* CancelButton1 = nullptr;

public slots:
    void OkButton1Click();
    void t0Button1Click();
    void SStarFixedCBClick();
    void TimeSamplingCB1Change();

private:
    void gui_SelectedPhaseToSettings(const TPhase& phase);
    TPhaseEdits Collect() const; // raises when a number does not read

    TPhaseEdits settings_;
};
