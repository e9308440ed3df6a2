// The charts of a repetition of the example fit: the manager, a dates chart with a polynomial
// regression and a picked legend row, a function chart with its playground, and the function's
// formula picture when the source tree has one.
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

#include "ChartControl.h"
#include "ChartViewer.h"
#include "ImageViewer.h"
#include "MainWindow.h"
#include "ModelFunction.h"
#include "Repetition.h"
#include "RepetitionChartsManager.h"
#include "Screenshot.h"
#include "SeededFit.h"
#include "ZoreRuzez.h"
#include "ZoreRuzezLegend.h"

namespace {

bool Shoot(TShotContext& c) {
    QTemporaryDir work;
    const auto fit = ExampleFit(work.path().toStdString(), 1);
    if (fit->Error() || fit->Repetitions().empty()) {
        std::fprintf(stderr, "charts: the example fit failed: %s\n", fit->ErrorInfo().c_str());
        return false;
    }
    TRepetition& rep = *fit->Repetitions().front();
    TRepChartMgr mgr(c.window, rep);
    mgr.Initialize();
    mgr.DrawParabolicCB->setChecked(true);
    mgr.PowerNumCB->setCurrentIndex(1);
    bool ok = SaveShot(&mgr, c.out + "/charts-manager.png");

    mgr.ViewChartButtonClick();
    if (mgr.Charts().empty()) return false;
    TChartView* dates = mgr.Charts().front();
    dates->resize(760, 520);
    dates->EGLegendList1->SetItemIndex(1);
    dates->EGLegendList1Click();
    ok &= SaveShot(dates, c.out + "/charts-dates.png");

    TModelFunction& func = *rep.functionsList.at(0);
    TChartView* curve = mgr.ViewFuncChart(func);
    TChartController playground(&mgr, func, curve);
    ok &= SaveShot(curve, c.out + "/charts-function.png");
    ok &= SaveShot(&playground, c.out + "/charts-playground.png");

    const QString picture =
        c.sourceDir + QString::fromStdString("/System/Resources/formula_" + func.name + ".bmp");
    if (QFile::exists(picture)) {
        TImageView view(nullptr, picture);
        ok &= SaveShot(&view, c.out + "/charts-formula.png");
    } else {
        std::printf("charts: no formula picture %s\n", qPrintable(picture));
    }
    return ok;
}

const TShotRegistrar registrar(40, "charts", Shoot);

} // namespace
