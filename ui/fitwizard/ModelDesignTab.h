#pragma once
// The "Model Settings" tab of the fit wizard.

#include <QWidget>

#include "ModelDesigner.h"

class QAbstractButton;
class QLineEdit;

class TModelDesignTab : public QWidget {
    Q_OBJECT
public:
    explicit TModelDesignTab(QWidget* parent = nullptr);
    // The files tab's edits the prebuild reads the climate and phenology file names from.
    void SetSourceEdits(QLineEdit* temperaturesPath, QLineEdit* phenologyPath);
    // The state at window creation: panel shown, presets/load/save disabled.
    void ShowPrebuildPanel();
    // Raises EOrvexError on a missing file.
    void gui_PrebuildFromSources();
    TModelDesigner& Designer();

    QAbstractButton* AddPhaseButton1 = nullptr;
    QAbstractButton* RemPhaseButton2 = nullptr;
    QAbstractButton* RefreshSourcesButton1 = nullptr;

private:
    TModelDesigner designer_;
    QLineEdit* temperaturesPath_ = nullptr;
    QLineEdit* phenologyPath_ = nullptr;
};
