// The chart manager of a real repetition: its selectors, the options reaching every open dates
// chart, function charts and formula pictures.

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCommandLinkButton>
#include <QGroupBox>
#include <QGuiApplication>
#include <QImage>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

#include "ChartControl.h"
#include "ChartViewer.h"
#include "ImageViewer.h"
#include "ModelFunction.h"
#include "RepetitionChartsManager.h"
#include "RepetitionFixture.h"
#include "ZoreRuzez.h"

namespace {

using ChartManager = RepetitionFixture;

template <class Button> std::vector<Button*> Buttons(QGroupBox* panel) {
    std::vector<Button*> buttons;
    for (Button* b : panel->findChildren<Button*>(Qt::FindDirectChildrenOnly))
        buttons.push_back(b);
    return buttons;
}

} // namespace

TEST_F(ChartManager, OrdinatesFollowTheAbscissa) {
    TRepChartMgr mgr(nullptr, Rep());
    mgr.Initialize();
    const auto abs = Buttons<QRadioButton>(mgr.AbsPanel);
    ASSERT_EQ(abs.size(), Rep().rawDataHeader.size());
    ASSERT_GE(abs.size(), 3u);
    const auto ords = Buttons<QCheckBox>(mgr.OrdPanel);
    ASSERT_EQ(ords.size(), abs.size());
    EXPECT_FALSE(ords[0]->isEnabled());
    EXPECT_EQ(mgr.GetColumns(), (std::vector<int>{0, 1, 2}));

    abs[1]->click();
    EXPECT_TRUE(Buttons<QCheckBox>(mgr.OrdPanel).empty());
    EXPECT_EQ(mgr.GetColumns(), (std::vector<int>{1, 0}));
    Buttons<QRadioButton>(mgr.OrdPanel)[2]->click();
    EXPECT_EQ(mgr.GetColumns(), (std::vector<int>{1, 2}));

    abs[0]->click();
    EXPECT_EQ(mgr.GetColumns(), (std::vector<int>{0, 1, 2}));

    // No ordinate: the chart's error reaches the error box and nothing is opened.
    for (QCheckBox* b : Buttons<QCheckBox>(mgr.OrdPanel))
        b->setChecked(false);
    mgr.ViewChartButton->click();
    EXPECT_TRUE(mgr.Charts().empty());
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_TRUE(dialogs.shown[0].contains("Please select at least ONE ord checkbox"));
}

TEST_F(ChartManager, OptionsRebuildEveryOpenDatesChartOnly) {
    TRepChartMgr mgr(nullptr, Rep());
    mgr.Initialize();
    mgr.ViewChartButton->click();
    mgr.ViewChartButton->click();
    ASSERT_EQ(mgr.Charts().size(), 2u);
    const std::vector<TChartView*> charts = mgr.Charts();
    std::vector<std::vector<TColor>> colours;
    for (TChartView* c : charts)
        colours.push_back(c->SeriesColors());
    TModelFunction& func = *Rep().functionsList.at(0);
    TChartView* before = mgr.ViewFuncChart(func);
    EXPECT_EQ(mgr.Charts().size(), 2u);

    mgr.DrawParabolicCB->click();
    mgr.PowerNumCB->setCurrentIndex(mgr.PowerNumCB->findText("4"));
    for (TChartView* c : charts) {
        TSeries& s = c->ZoreRuzez1->Series();
        ASSERT_EQ(s.Count(), 4);
        EXPECT_NE(s.Series(1).Func().find("*(x)*(x)*(x)*(x)"), std::string::npos) << s.Series(1).Func();
    }
    mgr.DrawRegLineCB->click();
    EXPECT_FALSE(mgr.DrawParabolicCB->isChecked());
    mgr.UsedToFitOnlyCB->click();
    mgr.DrawModeCB->setCurrentIndex(1);
    for (size_t i = 0; i < charts.size(); ++i) {
        const TChartView* c = charts[i];
        EXPECT_TRUE(c->Options().draw_lin_reg && !c->Options().draw_pow_reg);
        EXPECT_FALSE(c->Options().draw_used_to_fit_only);
        EXPECT_EQ(c->ZoreRuzez1->Series().Series(1).DrawStyle(), TDrawStyle::dsPoints);
        EXPECT_EQ(c->SeriesColors(), colours[i]);
    }
    EXPECT_EQ(before->ZoreRuzez1->Series().Count(), 1) << "function charts are left alone";

    // The function section's (1, 1) line applies to function charts opened afterwards.
    mgr.ShowOneOneCB2->click();
    TChartView* after = mgr.ViewFuncChart(func);
    EXPECT_TRUE(before->ZoreRuzez1->DrawOneOne());
    EXPECT_FALSE(after->ZoreRuzez1->DrawOneOne());
    EXPECT_EQ(after->ZoreRuzez1->Series().Series(0).Count(), 200);

    QPointer<TChartView> first(charts[0]);
    mgr.CloseButton->click();
    EXPECT_TRUE(mgr.Charts().empty());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull());
}

TEST_F(ChartManager, FormulaPictureFallsBackToNA) {
    QTemporaryDir exe;
    QDir(exe.path()).mkpath("System/Resources");
    SetExeFolder(exe.path().toStdString());
    TRepChartMgr mgr(nullptr, Rep());
    mgr.Initialize();
    const std::string name = Rep().functionsList.at(0)->name;
    const QString resources = exe.path() + "/System/Resources/";

    mgr.ViewFormulaButton->click();
    ASSERT_EQ(dialogs.shown.size(), 1) << "neither picture exists";
    EXPECT_TRUE(dialogs.shown[0].contains("formula_NA.bmp"));

    QImage(30, 20, QImage::Format_RGB32).save(resources + "formula_NA.bmp", "BMP");
    EXPECT_EQ(TRepChartMgr::FormulaPicturePath(name), (resources + "formula_NA.bmp").toStdString());
    QImage(40, 10, QImage::Format_RGB32)
        .save(resources + QString::fromStdString("formula_" + name + ".bmp"), "BMP");
    mgr.ViewFormulaButton->click();
    const auto views = mgr.findChildren<TImageView*>();
    ASSERT_EQ(views.size(), 1);
    EXPECT_EQ(views[0]->size(), QSize(40, 10));
    SetExeFolder("");
}

TEST_F(ChartManager, WindowsOpenWholeOnTheScreenAndChartsApart) {
    QTemporaryDir exe;
    QDir(exe.path()).mkpath("System/Resources");
    SetExeFolder(exe.path().toStdString());
    QImage(300, 200, QImage::Format_RGB32).save(exe.path() + "/System/Resources/formula_NA.bmp", "BMP");
    TRepChartMgr mgr(nullptr, Rep());
    mgr.Initialize();
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    mgr.show();
    // At the screen's right edge the picture cannot open right of its button.
    mgr.move(area.right() + 1 - mgr.frameGeometry().width(), area.top());
    mgr.ViewFormulaButton->click();
    const auto views = mgr.findChildren<TImageView*>();
    ASSERT_EQ(views.size(), 1);
    EXPECT_TRUE(area.contains(views[0]->frameGeometry()));

    mgr.ViewChartButton->click();
    mgr.ViewChartButton->click();
    mgr.ViewFuncChart(*Rep().functionsList.at(0));
    const auto charts = mgr.findChildren<TChartView*>();
    ASSERT_EQ(charts.size(), 3);
    for (qsizetype i = 0; i < charts.size(); ++i) {
        EXPECT_TRUE(area.contains(charts[i]->frameGeometry())) << i;
        for (qsizetype k = 0; k < i; ++k)
            EXPECT_NE(charts[i]->pos(), charts[k]->pos()) << k << " and " << i;
    }
    SetExeFolder("");
}

TEST_F(ChartManager, PlaygroundButtonPlaysWithTheChosenFunctionOnItsOwnChart) {
    TRepChartMgr mgr(nullptr, Rep());
    mgr.Initialize();
    const int chosen = static_cast<int>(Rep().functionsList.size()) - 1;
    mgr.FuncButtons->button(chosen)->click();
    const TModelFunction& func = *Rep().functionsList.back();
    QString title;
    size_t rows = 0;
    QPointer<TChartView> chart;
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    dialogs.onExec = [&](QDialog* d) {
        const auto* playground = qobject_cast<TChartController*>(d);
        ASSERT_NE(playground, nullptr);
        title = playground->windowTitle();
        rows = playground->Rows().size();
        const auto charts = mgr.findChildren<TChartView*>();
        ASSERT_EQ(charts.size(), 1);
        chart = charts[0];
        EXPECT_TRUE(chart->isVisible() && chart->IsFuncViewer());
        // Both open whole on the screen, the playground beside its chart.
        EXPECT_TRUE(area.contains(chart->frameGeometry()));
        EXPECT_TRUE(area.contains(QRect(playground->pos(), playground->size())));
        EXPECT_NE(playground->pos(), chart->pos());
    };
    mgr.PlayWithParamsButton1->click();
    EXPECT_EQ(title.toStdString(), "<" + func.name + "> Function Control...");
    EXPECT_EQ(rows, func.varInfos.size());
    ASSERT_FALSE(chart.isNull());
    EXPECT_FALSE(chart->isVisible()) << "the chart goes with the playground";
    EXPECT_TRUE(dialogs.shown.isEmpty()) << dialogs.shown.join("|").toStdString();
}
