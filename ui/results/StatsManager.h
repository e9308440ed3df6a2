#pragma once
// The statistics grid of a finished fit: the repetitions' information tables side by side,
// and the chosen repetition's model saved as a model file or shown in charts.

#include <QDialog>
#include <functional>
#include <vector>

class QComboBox;
class QLabel;
class QPushButton;
class QTableView;
class TRepetition;
class TRepetitionsTableModel;

class TStatsManager : public QDialog {
    Q_OBJECT
public:
    // The repetitions stay the fit's.
    TStatsManager(QWidget* owner, const std::vector<TRepetition*>& repetitions);

    // Opens the charts of a repetition, modally: the repetition chart manager unless a test
    // put a stand-in here. "Charts..." is enabled only when it is set.
    static std::function<void(QWidget*, TRepetition&)> openCharts;

    // The name the model is saved under: ".xml" is appended unless the name ends with it.
    static QString XmlFileName(const QString& chosen);

    QLabel* Label1 = nullptr;
    QTableView* StringGrid1 = nullptr;
    QComboBox* ComboBox1 = nullptr;
    QPushButton* saveAsBtn = nullptr;
    QPushButton* ChartButton = nullptr;
    QPushButton* cancelBtn = nullptr;

public slots:
    void saveAsBtnClick();
    void ChartButtonClick();

private:
    // The chosen repetition; warns and gives nullptr when none is chosen.
    TRepetition* Chosen();

    std::vector<TRepetition*> repetitions_;
    TRepetitionsTableModel* model_ = nullptr;
};
