// The chart window's series: the dates chart with its regressions and statistics, the function
// curve, the view around them and the legend's information text.

#include <QLabel>
#include <QPushButton>
#include <QTextEdit>
#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "ChartViewer.h"
#include "NumberText.h"
#include "TextFactory.h"
#include "UtilStuff.h"
#include "ZoreRuzez.h"

namespace {

constexpr double MISSING_VALUE = -9999;
constexpr double OFFSET_STEP = 1e-6;

std::string Fixed(double v) {
    return FloatToStrFixed(v, 8, 4);
}

// The view around [lo, hi] with a tenth of the span on each side; a single value still gets
// a view of its own rather than an empty one the graph refuses.
void Widen(double lo, double hi, long double& from, long double& to) {
    long double margin = std::fabs(static_cast<long double>(hi) - lo) / 10;
    if (margin == 0) margin = 1;
    from = lo - margin;
    to = hi + margin;
}

} // namespace

void TChartView::BuildSeries() {
    TSeries& series = ZoreRuzez1->Series();
    // One rebuild of the legend for the whole build, so a picked row keeps showing its text.
    series.BeginUpdate();
    struct EndUpdate {
        TSeries& s;
        ~EndUpdate() { s.EndUpdate(); }
    } endUpdate{series};
    series.Clear();
    InfosEdit1->clear();
    double min_abs = 9999, max_abs = -9999, min_ord = 9999, max_ord = -9999;
    double offset = 0;
    StatsList.clear();
    LinList.clear();
    VeskList.clear();

    const bool consistent = nbCols >= 2 && nbRows >= 1 &&
                            *std::max_element(colIndex.begin(), colIndex.end()) < dataLen &&
                            *std::min_element(colIndex.begin(), colIndex.end()) >= 0;
    if (!consistent)
        throw std::runtime_error("Data are not consistent enought for Chart Rendering > Please select at "
                                 "least ONE ord checkbox !");
    const std::vector<std::string>& header = *dataHeader;
    const auto columnName = [&](int col) {
        return col < static_cast<int>(header.size()) ? header[static_cast<size_t>(col)] : std::string();
    };
    Label1->setText(QString::fromStdString("Caption : \"" + columnName(colIndex[0]) + "\"  / "));

    const bool regression = RegressionOn();
    std::vector<TPoints*> data(static_cast<size_t>(nbCols - 1)), reg(static_cast<size_t>(nbCols - 1));
    for (int j = 1; j < nbCols; ++j) {
        const std::string name = columnName(colIndex[static_cast<size_t>(j)]);
        TPoints& s = series.Add();
        if (!seriesColors.empty()) s.SetColor(seriesColors[static_cast<size_t>(j - 1)]);
        s.SetCaption(name);
        s.SetDrawStyle(dispOptions.draw_mode);
        data[static_cast<size_t>(j - 1)] = &s;
        StatsList.emplace_back();
        if (!regression) continue;
        TPoints& r = series.Add();
        if (!seriesColors.empty()) r.SetColor(seriesColors[static_cast<size_t>(j - 1)]);
        r.SetCaption("Reg#" + name);
        r.SetDrawStyle(dispOptions.draw_mode);
        reg[static_cast<size_t>(j - 1)] = &r;
        if (dispOptions.draw_lin_reg) LinList.emplace_back();
        if (dispOptions.draw_pow_reg) VeskList.emplace_back();
    }

    for (const TRRawData& row : *dataList) {
        if (dispOptions.draw_used_to_fit_only && !row.used_to_fit) continue;
        if (static_cast<int>(row.data_row.size()) < dataLen) continue;
        const double x = row.data_row[static_cast<size_t>(colIndex[0])];
        if (x != MISSING_VALUE) {
            min_abs = std::min(min_abs, x);
            max_abs = std::max(max_abs, x);
        }
        for (int j = 1; j < nbCols; ++j) {
            // Rows sharing an abscissa stay apart: a series keeps one point per abscissa.
            offset += OFFSET_STEP;
            const double y = row.data_row[static_cast<size_t>(colIndex[static_cast<size_t>(j)])];
            if (y == MISSING_VALUE) continue;
            const size_t k = static_cast<size_t>(j - 1);
            data[k]->Add(x + offset, y);
            StatsList[k].NextValue(y);
            if (dispOptions.draw_lin_reg) LinList[k].NextValue(x + offset, y);
            if (dispOptions.draw_pow_reg) VeskList[k].NextValue(x + offset, y);
            min_ord = std::min(min_ord, y);
            max_ord = std::max(max_ord, y);
        }
    }

    for (int j = 1; regression && j < nbCols; ++j) {
        const size_t k = static_cast<size_t>(j - 1);
        const std::string name = columnName(colIndex[static_cast<size_t>(j)]);
        if (dispOptions.draw_lin_reg) {
            double a = 0, b = 0;
            LinList[k].GetLineCoefficients(a, b);
            // An undetermined line draws nothing.
            if (a != STAT_UNDEFINED)
                reg[k]->SetFunc(FloatToStrGeneral(a, 15) + "*x+" + FloatToStrGeneral(b, 15));
            reg[k]->SetCaption("Lin#" + name);
        }
        if (dispOptions.draw_pow_reg) {
            VeskList[k].SetPower(dispOptions.pow_num);
            const std::string formula = VeskList[k].GetFormula();
            reg[k]->SetFunc(formula);
            reg[k]->SetCaption("Pow#" + name);
            LogIt("FUNC = " + formula);
        }
    }
    SetupDisplay(dispOptions, min_abs, max_abs, min_ord, max_ord);
}

void TChartView::SetupDisplay(const TRChartDOptions& dOptions, double min_abs, double max_abs, double min_ord,
                              double max_ord) {
    TTextFactory::ShowTip(Button4, TTextFactory::RAND_COLOR);
    ZoreRuzez1->SetFloatFormatting(TFloatFormat::ffGeneral);
    ZoreRuzez1->SetDrawOneOne(dOptions.draw_one_one);
    if (dOptions.draw_bg) {
        ZoreRuzez1->SetBgImage("./ZoreRuzez/calvetra.bmp");
        ZoreRuzez1->SetBgStyle(TBgStyle::bgsImageStretch);
    }
    TRect2D view;
    Widen(min_abs, max_abs, view.X1, view.X2);
    Widen(min_ord, max_ord, view.Y1, view.Y2);
    ZoreRuzez1->SetVisRect(view);
}

void TChartView::DrawFunction(const std::vector<double>& abs_data, const std::vector<double>& ord_data) {
    double a, b, c, d;
    DrawFunction(abs_data, ord_data, a, b, c, d);
}

void TChartView::DrawFunction(const std::vector<double>& abs_data, const std::vector<double>& ord_data,
                              double& min_abs, double& max_abs, double& min_ord, double& max_ord) {
    min_abs = 9999;
    max_abs = -9999;
    min_ord = 9999;
    max_ord = -9999;
    if (!isFuncViewer) return;
    TSeries& series = ZoreRuzez1->Series();
    TPoints& curve = series.Series(0);
    curve.SetColor(clRed);
    series.BeginUpdate();
    const size_t n = std::min(abs_data.size(), ord_data.size());
    for (size_t i = 0; i < n; ++i) {
        const double x = abs_data[i], y = ord_data[i];
        curve.Add(x, y);
        if (x != MISSING_VALUE) {
            min_abs = std::min(min_abs, x);
            max_abs = std::max(max_abs, x);
        }
        if (y != MISSING_VALUE) {
            min_ord = std::min(min_ord, y);
            max_ord = std::max(max_ord, y);
        }
    }
    series.EndUpdate();
    TRect2D view;
    Widen(min_abs, max_abs, view.X1, view.X2);
    Widen(min_ord, max_ord, view.Y1, view.Y2);
    ZoreRuzez1->SetVisRect(view);
}

std::string TChartView::LegendInfo(int sel) const {
    if (sel < 0 || sel >= ZoreRuzez1->Series().Count()) return std::string();
    if (isFuncViewer) return dispOptions.func_params;
    const TPoints& s = ZoreRuzez1->Series().Series(sel);
    const std::string& caption = s.Caption();
    const size_t k = static_cast<size_t>(RegressionOn() ? sel / 2 : sel);
    if (caption.rfind("Lin#", 0) == 0 && k < LinList.size()) {
        const double r = LinList[k].CorrelationCoefficient();
        const double r2 = r == STAT_UNDEFINED ? r : r * r;
        return "Formula : \ny=" + s.Func() + "\n\nR\xC2\xB2 : " + Fixed(r2);
    }
    if (caption.rfind("Pow#", 0) == 0 && k < VeskList.size())
        return "Formula : \ny=" + VeskList[k].GetShortFormula();
    if (k >= StatsList.size()) return std::string();
    const TDescriptiveStatistics& st = StatsList[k];
    return "Plots Count : " + std::to_string(st.Count()) + "\nMin Value : " + Fixed(st.MinValue()) +
           "\nMax Value : " + Fixed(st.MaxValue()) + "\nSum : " + Fixed(st.Sum()) +
           "\nMean Value : " + Fixed(st.MeanValue()) + "\n\nDeviation : " + Fixed(st.StandardDeviation());
}
