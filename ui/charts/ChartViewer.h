#pragma once
// TChartView: one chart of a fit repetition. A dates chart plots chosen columns of the
// repetition's predicted/observed rows against one column, optionally with a regression per
// column, and shows a series' statistics when its legend row is picked. A function chart plots
// a response function's samples and is redrawn in place by the function playground.

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "ChartDisplayOptions.h"
#include "ChartMgrForm.h"
#include "ChartTypes.h"
#include "OrvexRawTypes.h"
#include "StatisticsLibrary.h"

class QLabel;
class QPushButton;
class QCommandLinkButton;
class QTextEdit;
class TEGLegendList;
class TZoreRuzez;

class TChartView : public IChartForm {
    Q_OBJECT
public:
    // A dates chart of `data_list` (not copied: it must outlive the window). `col_index` holds
    // the abscissa column, then the ordinates. Raises std::runtime_error without an ordinate.
    TChartView(IChartMgrForm* AOwner, const std::vector<std::string>& header,
               const std::vector<TRRawData>& data_list, std::vector<int> col_index,
               const TRChartDOptions& dOptions);
    // A function chart of the samples (abs_data[i], ord_data[i]). Raises std::runtime_error when
    // the lists differ in length or are empty.
    TChartView(IChartMgrForm* AOwner, const std::string& caption, const std::vector<double>& abs_data,
               const std::vector<double>& ord_data, const TRChartDOptions& dOptions);
    ~TChartView() override;

    void BuildSeries();
    // Replaces the function chart's curve and fits the view to it; nothing on a dates chart.
    void DrawFunction(const std::vector<double>& abs_data, const std::vector<double>& ord_data);
    void DrawFunction(const std::vector<double>& abs_data, const std::vector<double>& ord_data,
                      double& min_abs, double& max_abs, double& min_ord, double& max_ord);
    void SetupDisplay(const TRChartDOptions& dOptions, double min_abs, double max_abs, double min_ord,
                      double max_ord);
    // New random colours for every ordinate, its regression sharing its colour.
    void RefreshColors();
    // Rebuilds with the options; each ordinate keeps its colour.
    void UpdateOptions(const TRChartDOptions& dOptions);
    // Closes the window for good and unregisters it from its manager.
    void GetRide();

    // The information box's text for legend row `sel` (-1: none picked, empty text).
    std::string LegendInfo(int sel) const;

    bool IsFuncViewer() const { return isFuncViewer; }
    const TRChartDOptions& Options() const { return dispOptions; }
    const std::vector<TColor>& SeriesColors() const { return seriesColors; }

    TZoreRuzez* ZoreRuzez1 = nullptr;
    TEGLegendList* EGLegendList1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QPushButton* Button1 = nullptr;        // save
    QPushButton* Button3 = nullptr;        // mouse help
    QPushButton* Button4 = nullptr;        // new colours
    QCommandLinkButton* Button2 = nullptr; // close
    QTextEdit* InfosEdit1 = nullptr;

public slots:
    void Button1Click();
    void Button3Click();
    void EGLegendList1Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    explicit TChartView(IChartMgrForm* AOwner);
    void BuildForm();
    bool RegressionOn() const { return dispOptions.draw_lin_reg || dispOptions.draw_pow_reg; }
    void ApplyColors();

    int nbRows = 0;
    int nbCols = 0;
    int dataLen = 0;
    const std::vector<std::string>* dataHeader = nullptr;
    const std::vector<TRRawData>* dataList = nullptr;
    std::vector<int> colIndex;
    TRChartDOptions dispOptions;
    std::vector<TColor> seriesColors;
    IChartMgrForm* winOwner = nullptr;
    std::vector<TDescriptiveStatistics> StatsList;
    std::vector<TLinearRegression> LinList;
    std::vector<TVeskPolyFit> VeskList;
    bool isFuncViewer = false;
    bool gone = false;
    std::mt19937 random{std::random_device{}()};
};
