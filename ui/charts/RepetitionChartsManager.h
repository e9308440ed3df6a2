#pragma once
// TRepChartMgr: the modal window from which the user charts one fit repetition: dates charts of
// its predicted/observed columns with their display options (applied at once to every open
// dates chart), and for one fitted function its chart, its formula picture or the playground.
//
// Glue: TRepChartMgr mgr(parent, rep); mgr.Initialize(); Dialogs().Exec(&mgr);

#include <QPointer>
#include <string>
#include <vector>

#include "ChartDisplayOptions.h"
#include "ChartMgrForm.h"

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QCommandLinkButton;
class TChartView;
class TImageView;
class TModelFunction;
class TRepetition;

class TRepChartMgr : public IChartMgrForm {
    Q_OBJECT
public:
    enum class TOrdMode { Radio, Checkbox };

    // The repetition is read, never changed, and must outlive the window.
    TRepChartMgr(QWidget* parent, TRepetition& rep);
    ~TRepChartMgr() override;

    void Initialize();
    void RemoveChart(IChartForm* a_chart) override;
    // Opens a chart of the function's response over the playground's temperatures.
    TChartView* ViewFuncChart(TModelFunction& func);
    // The picture file shown for a function: its own, or the "NA" one when that is missing.
    static std::string FormulaPicturePath(const std::string& funcName);

    // The abscissa column, then every checked ordinate in column order.
    std::vector<int> GetColumns() const;
    TOrdMode OrdMode() const { return ordMode; }
    const TRChartDOptions& DatesOptions() const { return dOptions; }
    const TRChartDOptions& FunctionOptions() const { return dOptions2; }
    const std::vector<TChartView*>& Charts() const { return chartsList; }

    QGroupBox* AbsPanel = nullptr;
    QGroupBox* OrdPanel = nullptr;
    QPushButton* ViewChartButton = nullptr;
    QCheckBox* UsedToFitOnlyCB = nullptr;
    QComboBox* DrawModeCB = nullptr;
    QCheckBox* DrawRegLineCB = nullptr;
    QCheckBox* DrawParabolicCB = nullptr;
    QCheckBox* ShowOneOneCB = nullptr;
    QLabel* PowerNumLabel4 = nullptr;
    QComboBox* PowerNumCB = nullptr;
    QGroupBox* FuncRadioGroup = nullptr;
    QButtonGroup* FuncButtons = nullptr;
    QPushButton* ViewFuncChartButton = nullptr;
    QPushButton* ViewFormulaButton = nullptr;
    QPushButton* PlayWithParamsButton1 = nullptr;
    QCheckBox* ShowOneOneCB2 = nullptr;
    QCommandLinkButton* CloseButton = nullptr;

public slots:
    void ViewChartButtonClick();
    void ViewFuncChartButtonClick();
    void ViewFormulaButtonClick();
    void PlayWithParamsButton1Click();
    void CloseButtonClick();

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void BuildForm();
    void BuildAbsOrd();
    void UpdateOrd(TOrdMode mode);
    void BuildFuncPanel();
    void UpdateOpenedCharts();
    void MyCBClick(QAbstractButton* sender);
    void OptionChanged();
    void CloseCharts();
    TModelFunction* SelectedFunction() const;

    int index = 0;
    std::vector<TChartView*> chartsList; // the open dates charts, owned as child windows
    int chartsOpened = 0;                // charts of every kind, for their places on the screen
    int axisDataLen = 0;
    TOrdMode ordMode = TOrdMode::Checkbox;
    TRepetition& Repetition;
    TRChartDOptions dOptions;
    TRChartDOptions dOptions2;
    QButtonGroup* AbsButtons = nullptr;
    QButtonGroup* OrdButtons = nullptr;
};
