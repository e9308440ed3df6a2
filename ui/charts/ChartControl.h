#pragma once
// TChartController: the function playground. One slider per parameter of a working copy of a
// fitted function; every move redraws the function chart. The fitted function is only read.

#include <QDialog>
#include <QPointer>
#include <memory>
#include <vector>

class QLabel;
class QPushButton;
class TChartView;
class TModelFunction;
class TSlider;

class TChartController : public QDialog {
    Q_OBJECT
public:
    static constexpr int FUNC_SAMPLES = 200;
    static constexpr double MIN_TEMP = -20.0;
    static constexpr double MAX_TEMP = 40.0;

    // `func` must outlive the window; `chart` is the function chart to redraw, released with
    // this window.
    TChartController(QWidget* AOwner, const TModelFunction& func, TChartView* chart);
    ~TChartController() override;

    // The function's response to FUNC_SAMPLES mean temperatures from MIN_TEMP on.
    static void ComputeFuncAxis(TModelFunction& func, std::vector<double>& abs_data,
                                std::vector<double>& ord_data);

    const TModelFunction& WorkingFunction() const { return *chartFunc; }
    // A row per parameter: its slider and value label.
    struct TRow {
        QWidget* panel = nullptr;
        TSlider* slider = nullptr;
        QLabel* value = nullptr;
    };
    const std::vector<TRow>& Rows() const { return rows; }

    QPushButton* ResetButton1 = nullptr;

public slots:
    void ResetButton1Click();

protected:
    void done(int result) override;

private:
    void SliderValueChange(int i);
    void Redraw();

    QPointer<TChartView> chartView;
    const TModelFunction& chartFunc0;
    std::unique_ptr<TModelFunction> chartFunc;
    std::vector<TRow> rows;
    bool resetting = false;
};
