#include "ChartControl.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "ChartViewer.h"
#include "ModelFunction.h"
#include "NumberText.h"
#include "Slider.h"
#include "SlotGuard.h"
#include "Weather.h"

namespace {

constexpr int ROW_HEIGHT = 25;

QString ValueText(double v) {
    return QString::fromStdString(FloatToStrFixed(v, 8, 4));
}

// The slider step nearest to v (halves to even); a start value outside the bounds sits at an end.
int SliderPosition(double v, const TRVarInfo& info) {
    const double span = info.maxBound - info.minBound;
    const double pos = (v - info.minBound) * 100 / span;
    if (!std::isfinite(pos)) return 0;
    return static_cast<int>(std::nearbyint(std::clamp(pos, -1.0, 101.0)));
}

} // namespace

TChartController::TChartController(QWidget* AOwner, const TModelFunction& func, TChartView* chart)
    : QDialog(AOwner, Qt::Tool | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      chartView(chart), chartFunc0(func), chartFunc(func.Clone()) {
    setWindowTitle(QString::fromStdString("<" + chartFunc->name + "> Function Control..."));
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 5, 5);
    grid->setVerticalSpacing(0);
    const int count = static_cast<int>(chartFunc->varInfos.size());
    for (int i = 0; i < count; ++i) {
        const TRVarInfo& info = chartFunc->varInfos[static_cast<size_t>(i)];
        const double v = chartFunc->getParameterValue(i);
        TRow row;
        row.panel = new QWidget(this);
        row.panel->setFixedSize(250, ROW_HEIGHT);
        auto* name = new QLabel(QString::fromStdString(info.name + " : "), row.panel);
        name->setObjectName(QStringLiteral("P_NAME"));
        QFont bold = name->font();
        bold.setBold(true);
        name->setFont(bold);
        row.slider = new TSlider(row.panel);
        row.slider->setObjectName(QStringLiteral("P_SLIDER"));
        row.slider->SetOrientation(TSliderOrientation::slHoriz);
        row.slider->SetThumbHeight(8);
        row.slider->SetTrackWidth(4);
        row.slider->SetMin(0);
        row.slider->SetMax(100);
        row.slider->setFixedSize(80, 12);
        row.slider->SetValue(SliderPosition(v, info));
        // Attached after the start value, so building the rows redraws nothing.
        row.slider->OnValueChange = [this, i](TSlider&) { SliderValueChange(i); };
        row.value = new QLabel(ValueText(v), row.panel);
        row.value->setObjectName(QStringLiteral("P_VALUE"));
        QFont underlined = row.value->font();
        underlined.setUnderline(true);
        row.value->setFont(underlined);
        auto* line = new QHBoxLayout(row.panel);
        line->setContentsMargins(10, 0, 0, 0);
        line->addWidget(name, 1);
        line->addWidget(row.slider);
        line->addSpacing(10);
        line->addWidget(row.value, 1);
        grid->addWidget(row.panel, i, 0);
        rows.push_back(row);
    }
    ResetButton1 = new QPushButton(QStringLiteral("Reset All"), this);
    ResetButton1->setFixedSize(70, 25);
    grid->addWidget(ResetButton1, std::max(count - 1, 0), 1, Qt::AlignRight | Qt::AlignBottom);
    grid->setColumnMinimumWidth(1, 80);
    connect(ResetButton1, &QPushButton::clicked, this, &TChartController::ResetButton1Click);
}

TChartController::~TChartController() {
    if (chartView) chartView->GetRide();
}

void TChartController::ComputeFuncAxis(TModelFunction& func, std::vector<double>& abs_data,
                                       std::vector<double>& ord_data) {
    abs_data.clear();
    ord_data.clear();
    const double step = std::fabs(MAX_TEMP - MIN_TEMP) / FUNC_SAMPLES;
    for (int i = 0; i < FUNC_SAMPLES; ++i) {
        const double x = i * step + MIN_TEMP;
        TRWeatherDay day;
        day._tmp = x;
        day._tmn = x - 5;
        day._tmx = x + 5;
        day._tmu = x;
        day._doy = 182;
        day._lat = 10.0;
        abs_data.push_back(x);
        ord_data.push_back(func.runDailyT(day, 1));
    }
}

void TChartController::SliderValueChange(int i) {
    if (resetting) return;
    Guarded(this, [&] {
        const TRow& row = rows[static_cast<size_t>(i)];
        const TRVarInfo& info = chartFunc->varInfos[static_cast<size_t>(i)];
        // lerp hits both bounds exactly at the slider's ends.
        const double v = std::lerp(info.minBound, info.maxBound, row.slider->Value() / 100.0);
        chartFunc->setParameterValue(i, v);
        row.value->setText(ValueText(v));
        Redraw();
    });
}

void TChartController::Redraw() {
    if (!chartView) return;
    std::vector<double> abs_data, ord_data;
    ComputeFuncAxis(*chartFunc, abs_data, ord_data);
    chartView->DrawFunction(abs_data, ord_data);
}

void TChartController::ResetButton1Click() {
    Guarded(this, [&] {
        // The sliders only show where the exact values lie: their steps must not replace them.
        resetting = true;
        for (size_t k = 0; k < rows.size(); ++k) {
            const int i = static_cast<int>(k);
            const double v = chartFunc0.getParameterValue(i);
            chartFunc->setParameterValue(i, v);
            rows[k].slider->SetValue(SliderPosition(v, chartFunc0.varInfos[k]));
            rows[k].value->setText(ValueText(v));
        }
        resetting = false;
        if (!rows.empty()) Redraw();
    });
    resetting = false;
}

void TChartController::done(int result) {
    if (chartView) chartView->GetRide();
    QDialog::done(result);
}
