#pragma once
// The modal "Function Settings" dialog: the climate variable, link mode, weight and fixed
// parameters of one response function, or the fixed parameters of a phase's overlap function.
// It only reads the function; on OK it hands its caller the settings, which the model designer
// applies.

#include <QDialog>
#include <memory>
#include <string>
#include <vector>

#include "ModelDesigner.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QToolButton;

class TEditFuncForm : public QDialog {
    Q_OBJECT
public:
    // An ordinary function. variablesList: the climate columns, the separator and
    // "DAY LENGTH"; tempHourFunc: the phase's hourly routine, none for a daily phase. Raises
    // EOrvexError for an hourly function when the climate columns are not known.
    TEditFuncForm(QWidget* owner, const TPhase& phase, const TModelFunction& func,
                  const std::vector<std::string>& variablesList, const TTempHourFunc* tempHourFunc);
    // The phase's overlap function: its fixed parameters only.
    TEditFuncForm(QWidget* owner, const TPhase& phase, const TModelFunction& overlap_func);
    ~TEditFuncForm() override;

    // What the user accepted; valid after the OK result.
    const TFunctionEdits& Settings() const { return settings_; }
    // The picture shown by the formula button, beside the executable.
    static QString FormulaPicturePath(const std::string& funcName);

    struct TParamComponent {
        QCheckBox* check = nullptr;
        QLineEdit* edit = nullptr;
    };

    QGroupBox* GlobalSettingsGroupBox5 = nullptr;
    QComboBox* VariableCB = nullptr;
    QComboBox* VarLinkModeCB = nullptr;
    QLineEdit* WeightEdit = nullptr;
    QGroupBox* FixParametersGroupBox1 = nullptr;
    std::vector<TParamComponent> p;
    QToolButton* FormulaButton = nullptr;
    QPushButton* OkButton1 = nullptr;
    QPushButton* CancelButton1 = nullptr;

public slots:
    void OkButton1Click();
    void FormulaButtonClick();
    void VarLinkModeCBChange();
    void myCBClick();

private:
    void Build(bool withGlobal);
    void gui_SelectedFunctionToSettings();
    TFunctionEdits Collect() const;

    // A copy to read the parameter names from the settings file without touching the model.
    std::unique_ptr<TModelFunction> function_;
    bool isOverlapFunc = false;
    bool hourly_ = false;
    int dayLengthIndex = -1;
    TVarLinkMode prev_link_mode = TVarLinkMode::Multiplicative;
    TFunctionEdits settings_;
};
