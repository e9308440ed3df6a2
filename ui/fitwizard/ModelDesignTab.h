#pragma once
// The "Model Settings" tab of the fit configuration wizard: presets, model files, and the
// editor of phases and functions drawn from the model designer, which applies every change.

#include <QPointer>
#include <QWidget>
#include <string>
#include <vector>

#include "ModelDesigner.h"

class QAbstractButton;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QScrollArea;
class QStackedWidget;

class TModelDesignTab : public QWidget {
    Q_OBJECT
public:
    explicit TModelDesignTab(QWidget* parent = nullptr);
    // The files tab's edits the prebuild reads the climate and phenology file names from.
    void SetSourceEdits(QLineEdit* temperaturesPath, QLineEdit* phenologyPath);
    void ShowPrebuildPanel();       // the state at window creation: panel shown, presets/load/save disabled
    void gui_PrebuildFromSources(); // raises EOrvexError on a missing file
    TModelDesigner& Designer() { return designer_; }

    // Destroys and rebuilds the phase editor from the model.
    void gui_RefreshFromModel();
    // The editors of phase i_phase, its function pos, its overlap function (modal, through
    // Dialogs().Exec); the model changes only on their OK.
    void EditPhase(int i_phase);
    void EditFunction(int i_phase, int pos);
    void EditOverlapFunction(int i_phase);
    // The phase editor's row of phase i: its box, combos and buttons (for tests and pictures).
    QGroupBox* PhaseBox(int i_phase) const;
    QComboBox* FunctionCombo(int i_phase, int pos) const;
    QComboBox* LinkModeCombo(int i_phase) const;
    QComboBox* OverlapCombo(int i_phase) const;

    QAbstractButton* AddPhaseButton1 = nullptr;
    QAbstractButton* RemPhaseButton2 = nullptr;
    QAbstractButton* RefreshSourcesButton1 = nullptr;
    QAbstractButton* ClearModelButton1 = nullptr;
    QPushButton* LoadModelButton1 = nullptr;
    QPushButton* SaveModelButton1 = nullptr;
    QComboBox* PresetsCB1 = nullptr;
    QGroupBox* PhasesGroupBox6 = nullptr;
    QScrollArea* ModelDevScrollBox1 = nullptr;
    QAbstractButton* PrebuildPanel3 = nullptr;

public slots:
    void PresetsCB1Change(int index);
    void LoadModelButton1Click();
    void SaveModelButton1Click();

private:
    QWidget* BuildPhase(int i_phase);
    void FillPresets();
    void PlaceDialog(QWidget* dialog) const;

    // The widgets of each phase as last drawn.
    struct TPhaseWidgets {
        QGroupBox* box = nullptr;
        QComboBox* link = nullptr;
        QComboBox* overlap = nullptr;
        std::vector<QComboBox*> funcs;
    };

    TModelDesigner designer_;
    std::vector<TPhaseWidgets> drawn_;
    QPointer<QLineEdit> temperaturesPath_, phenologyPath_;
    QStackedWidget* stack_ = nullptr;
    std::vector<std::string> presetFilenames_;
};
