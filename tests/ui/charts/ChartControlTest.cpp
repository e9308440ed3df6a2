// The function playground on a fitted function of a real repetition: exact bounds at the
// slider ends, the source function untouched, and "Reset All" restoring the exact values.

#include <QCoreApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>

#include "ChartControl.h"
#include "ChartViewer.h"
#include "ModelFunction.h"
#include "NumberText.h"
#include "RepetitionChartsManager.h"
#include "RepetitionFixture.h"
#include "Slider.h"
#include "ZoreRuzez.h"

namespace {

using Playground = RepetitionFixture;

// The chart shows exactly the curve of `f`.
void ExpectCurveOf(TChartView& chart, TModelFunction& f) {
    std::vector<double> xs, ys;
    TChartController::ComputeFuncAxis(f, xs, ys);
    const TPoints& curve = chart.ZoreRuzez1->Series().Series(0);
    ASSERT_EQ(curve.Count(), static_cast<int>(ys.size()));
    for (int i = 0; i < curve.Count(); ++i)
        EXPECT_EQ(static_cast<double>(curve.Points(i).Y), ys[static_cast<size_t>(i)]) << i;
}

} // namespace

TEST_F(Playground, SliderEndsAreTheBoundsAndResetRestoresTheExactValues) {
    TRepChartMgr mgr(nullptr, Rep());
    mgr.Initialize();
    TModelFunction& source = *Rep().functionsList.at(0);
    TChartView* chart = mgr.ViewFuncChart(source);
    QPointer<TChartView> watched(chart);
    std::vector<double> original;
    for (int i = 0; i < source.nbOfParameters(); ++i)
        original.push_back(source.getParameterValue(i));

    auto ctrl = std::make_unique<TChartController>(&mgr, source, chart);
    const auto& rows = ctrl->Rows();
    ASSERT_EQ(rows.size(), source.varInfos.size());
    ASSERT_FALSE(rows.empty());
    for (size_t i = 0; i < rows.size(); ++i) {
        const TRVarInfo& info = source.varInfos[i];
        ASSERT_LT(info.minBound, info.maxBound);
        rows[i].slider->SetValue(0);
        EXPECT_EQ(ctrl->WorkingFunction().getParameterValue(static_cast<int>(i)), info.minBound);
        rows[i].slider->SetValue(100);
        EXPECT_EQ(ctrl->WorkingFunction().getParameterValue(static_cast<int>(i)), info.maxBound);
        rows[i].slider->SetValue(37);
        EXPECT_EQ(rows[i].value->text().toStdString(),
                  FloatToStrFixed(ctrl->WorkingFunction().getParameterValue(static_cast<int>(i)), 8, 4));
    }
    auto moved = ctrl->WorkingFunction().Clone();
    ExpectCurveOf(*chart, *moved);
    for (size_t i = 0; i < original.size(); ++i)
        EXPECT_EQ(source.getParameterValue(static_cast<int>(i)), original[i]) << "the source is only read";

    ctrl->ResetButton1->click();
    for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(ctrl->WorkingFunction().getParameterValue(static_cast<int>(i)), original[i]);
        EXPECT_EQ(rows[i].value->text().toStdString(), FloatToStrFixed(original[i], 8, 4));
    }
    ExpectCurveOf(*chart, source);

    ctrl->reject();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(watched.isNull());
}
