#include "RepetitionChartsManager.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCommandLinkButton>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>
#include <filesystem>

#include "AppFolder.h"
#include "BoldLabel.h"
#include "ChartControl.h"
#include "ChartViewer.h"
#include "Dialogs.h"
#include "ImageViewer.h"
#include "OrvexConfig.h"
#include "Repetition.h"
#include "SlotGuard.h"
#include "UtilStuff.h"
#include "WindowPlacement.h"

namespace {

// The selectors of a panel in column order.
std::vector<QAbstractButton*> Selectors(const QGroupBox* panel) {
    std::vector<QAbstractButton*> buttons;
    for (QAbstractButton* b : panel->findChildren<QAbstractButton*>(Qt::FindDirectChildrenOnly))
        buttons.push_back(b);
    std::sort(buttons.begin(), buttons.end(), [](const QAbstractButton* a, const QAbstractButton* b) {
        return a->property("column").toInt() < b->property("column").toInt();
    });
    return buttons;
}

} // namespace

TRepChartMgr::TRepChartMgr(QWidget* parent, TRepetition& rep) : IChartMgrForm(parent), Repetition(rep) {
    dOptions.draw_used_to_fit_only = true;
    dOptions.draw_mode = TDrawStyle::dsLines;
    dOptions.draw_one_one = true;
    dOptions.pow_num = 2;
    dOptions2.draw_one_one = true;
    index = rep.id;
    setWindowTitle(QStringLiteral("Chart Management for Repetition <%1>").arg(index));
    axisDataLen = std::max(GetRawDataLen(rep.simResultsAsRaw), 0);
    BuildForm();
}

TRepChartMgr::~TRepChartMgr() = default;

void TRepChartMgr::BuildForm() {
    AbsPanel = new QGroupBox(QStringLiteral("Abs"), this);
    AbsPanel->setLayout(new QVBoxLayout);
    OrdPanel = new QGroupBox(QStringLiteral("Ord"), this);
    OrdPanel->setLayout(new QVBoxLayout);
    AbsButtons = new QButtonGroup(this);

    ViewChartButton = new QPushButton(QStringLiteral("View Dates Chart..."), this);
    UsedToFitOnlyCB = new QCheckBox(QStringLiteral("Draw Used To Fit Data Only"), this);
    UsedToFitOnlyCB->setChecked(true);
    DrawModeCB = new QComboBox(this);
    DrawModeCB->addItems({QStringLiteral("Lines"), QStringLiteral("Points")});
    DrawRegLineCB = new QCheckBox(QStringLiteral("Draw Lin. Reg."), this);
    DrawParabolicCB = new QCheckBox(QStringLiteral("Draw Pow. Reg."), this);
    ShowOneOneCB = new QCheckBox(QStringLiteral("Draw (1, 1) Line"), this);
    ShowOneOneCB->setChecked(true);
    // The degree box sits in the blank part of its label's text.
    PowerNumLabel4 = new QLabel(QStringLiteral("( NUM :              )"), this);
    PowerNumCB = new QComboBox(PowerNumLabel4);
    for (int n = 2; n <= 9; ++n)
        PowerNumCB->addItem(QString::number(n));
    const int numLeft = PowerNumLabel4->fontMetrics().horizontalAdvance(QStringLiteral("( NUM : "));
    const int numRight =
        PowerNumLabel4->fontMetrics().horizontalAdvance(QStringLiteral("( NUM :              "));
    PowerNumCB->setFixedWidth(std::max(numRight - numLeft, PowerNumCB->sizeHint().width()));
    PowerNumLabel4->setMinimumSize(numLeft + PowerNumCB->width() +
                                       PowerNumLabel4->fontMetrics().horizontalAdvance(")") + 2,
                                   PowerNumCB->sizeHint().height());
    PowerNumCB->move(numLeft, 0);

    FuncRadioGroup = new QGroupBox(this);
    FuncRadioGroup->setLayout(new QVBoxLayout);
    FuncButtons = new QButtonGroup(this);
    ViewFuncChartButton = new QPushButton(QStringLiteral("View Chart..."), this);
    ViewFormulaButton = new QPushButton(QStringLiteral("View Formula..."), this);
    PlayWithParamsButton1 = new QPushButton(QStringLiteral("Play Around With Parameters..."), this);
    ShowOneOneCB2 = new QCheckBox(QStringLiteral("Draw (1, 1) Line"), this);
    ShowOneOneCB2->setChecked(true);
    CloseButton = new QCommandLinkButton(QStringLiteral("Close"), this);

    auto* grid = new QGridLayout(this);
    grid->setColumnMinimumWidth(1, 24);
    auto* panels = new QHBoxLayout;
    panels->addWidget(AbsPanel);
    panels->addWidget(OrdPanel);
    grid->addWidget(BoldLabel(QStringLiteral("Dates : "), this), 0, 0);
    grid->addLayout(panels, 1, 0);
    auto* dates = new QVBoxLayout;
    dates->addWidget(ViewChartButton);
    dates->addWidget(UsedToFitOnlyCB);
    dates->addWidget(BoldLabel(QStringLiteral("Display Options : "), this));
    dates->addWidget(DrawModeCB);
    auto* regs = new QGridLayout;
    regs->addWidget(DrawRegLineCB, 0, 0);
    regs->addWidget(DrawParabolicCB, 0, 1);
    regs->addWidget(ShowOneOneCB, 1, 0);
    regs->addWidget(PowerNumLabel4, 1, 1);
    dates->addLayout(regs);
    dates->addStretch();
    grid->addLayout(dates, 1, 2);
    grid->addWidget(BoldLabel(QStringLiteral("Model Functions : "), this), 2, 0);
    grid->addWidget(FuncRadioGroup, 3, 0);
    auto* funcs = new QVBoxLayout;
    auto* funcRow = new QHBoxLayout;
    funcRow->addWidget(ViewFuncChartButton);
    funcRow->addWidget(ViewFormulaButton);
    funcs->addLayout(funcRow);
    funcs->addWidget(PlayWithParamsButton1);
    funcs->addWidget(ShowOneOneCB2);
    funcs->addStretch();
    auto* closeRow = new QHBoxLayout;
    closeRow->addStretch();
    closeRow->addWidget(CloseButton);
    funcs->addLayout(closeRow);
    grid->addLayout(funcs, 3, 2);

    connect(ViewChartButton, &QPushButton::clicked, this, &TRepChartMgr::ViewChartButtonClick);
    connect(ViewFuncChartButton, &QPushButton::clicked, this, &TRepChartMgr::ViewFuncChartButtonClick);
    connect(ViewFormulaButton, &QPushButton::clicked, this, &TRepChartMgr::ViewFormulaButtonClick);
    connect(PlayWithParamsButton1, &QPushButton::clicked, this, &TRepChartMgr::PlayWithParamsButton1Click);
    connect(CloseButton, &QPushButton::clicked, this, &TRepChartMgr::CloseButtonClick);
    connect(AbsButtons, &QButtonGroup::buttonClicked, this, [this](QAbstractButton* b) { MyCBClick(b); });

    connect(UsedToFitOnlyCB, &QCheckBox::toggled, this, [this](bool on) {
        dOptions.draw_used_to_fit_only = on;
        OptionChanged();
    });
    connect(DrawModeCB, &QComboBox::currentIndexChanged, this, [this](int i) {
        dOptions.draw_mode = i == 1 ? TDrawStyle::dsPoints : TDrawStyle::dsLines;
        OptionChanged();
    });
    connect(ShowOneOneCB, &QCheckBox::toggled, this, [this](bool on) {
        dOptions.draw_one_one = on;
        OptionChanged();
    });
    // The two regressions are never on together.
    connect(DrawRegLineCB, &QCheckBox::toggled, this, [this](bool on) {
        dOptions.draw_lin_reg = on;
        if (on) DrawParabolicCB->setChecked(false);
        OptionChanged();
    });
    connect(DrawParabolicCB, &QCheckBox::toggled, this, [this](bool on) {
        dOptions.draw_pow_reg = on;
        if (on) DrawRegLineCB->setChecked(false);
        PowerNumCB->setEnabled(on);
        PowerNumLabel4->setEnabled(on);
        OptionChanged();
    });
    connect(PowerNumCB, &QComboBox::currentIndexChanged, this, [this](int) {
        dOptions.pow_num = PowerNumCB->currentText().toInt();
        OptionChanged();
    });
    connect(ShowOneOneCB2, &QCheckBox::toggled, this, [this](bool on) { dOptions2.draw_one_one = on; });
}

void TRepChartMgr::Initialize() {
    BuildAbsOrd();
    BuildFuncPanel();
    PowerNumCB->setEnabled(false);
    PowerNumLabel4->setEnabled(false);
}

void TRepChartMgr::BuildAbsOrd() {
    ordMode = TOrdMode::Checkbox;
    for (int i = 0; i < axisDataLen; ++i) {
        auto* b = new QRadioButton(
            QString::fromStdString(Repetition.rawDataHeader.at(static_cast<size_t>(i))), AbsPanel);
        b->setProperty("column", i);
        b->setChecked(i == 0);
        AbsButtons->addButton(b, i);
        AbsPanel->layout()->addWidget(b);
    }
    static_cast<QVBoxLayout*>(AbsPanel->layout())->addStretch();
    UpdateOrd(TOrdMode::Checkbox);
}

void TRepChartMgr::UpdateOrd(TOrdMode mode) {
    for (QAbstractButton* b : Selectors(OrdPanel))
        delete b;
    delete OrdButtons;
    OrdButtons = new QButtonGroup(this);
    OrdButtons->setExclusive(mode == TOrdMode::Radio);
    QLayout* layout = OrdPanel->layout();
    while (QLayoutItem* item = layout->takeAt(0))
        delete item;
    for (int i = 0; i < axisDataLen; ++i) {
        const QString caption = QString::fromStdString(Repetition.rawDataHeader.at(static_cast<size_t>(i)));
        QAbstractButton* b = nullptr;
        if (mode == TOrdMode::Radio) {
            b = new QRadioButton(caption, OrdPanel);
            b->setChecked(i == 0);
        } else {
            b = new QCheckBox(caption, OrdPanel);
            b->setChecked(i != 0);
            b->setEnabled(i != 0);
        }
        b->setProperty("column", i);
        OrdButtons->addButton(b, i);
        layout->addWidget(b);
    }
    static_cast<QVBoxLayout*>(layout)->addStretch();
}

void TRepChartMgr::MyCBClick(QAbstractButton* sender) {
    if (!sender || sender->parent() != AbsPanel) return;
    const TOrdMode wanted = sender->text() == QStringLiteral("year") ? TOrdMode::Checkbox : TOrdMode::Radio;
    if (wanted != ordMode) UpdateOrd(wanted);
    ordMode = wanted;
}

std::vector<int> TRepChartMgr::GetColumns() const {
    std::vector<int> columns;
    for (QAbstractButton* b : Selectors(AbsPanel))
        if (b->isChecked()) {
            columns.push_back(b->property("column").toInt());
            break;
        }
    for (QAbstractButton* b : Selectors(OrdPanel))
        if (b->isChecked()) columns.push_back(b->property("column").toInt());
    return columns;
}

void TRepChartMgr::BuildFuncPanel() {
    int i = 0;
    for (const auto& f : Repetition.functionsList) {
        auto* b = new QRadioButton(QString::fromStdString(f->name), FuncRadioGroup);
        b->setChecked(i == 0);
        FuncButtons->addButton(b, i++);
        FuncRadioGroup->layout()->addWidget(b);
    }
}

TModelFunction* TRepChartMgr::SelectedFunction() const {
    const int i = FuncButtons->checkedId();
    if (i < 0 || i >= static_cast<int>(Repetition.functionsList.size())) return nullptr;
    return Repetition.functionsList[static_cast<size_t>(i)].get();
}

void TRepChartMgr::OptionChanged() {
    Guarded(this, [&] { UpdateOpenedCharts(); });
}

void TRepChartMgr::UpdateOpenedCharts() {
    for (TChartView* chart : std::vector<TChartView*>(chartsList))
        if (!chart->IsFuncViewer()) chart->UpdateOptions(dOptions);
}

void TRepChartMgr::RemoveChart(IChartForm* a_chart) {
    const auto at = std::find(chartsList.begin(), chartsList.end(), a_chart);
    if (at != chartsList.end()) chartsList.erase(at);
}

void TRepChartMgr::ViewChartButtonClick() {
    Guarded(this, [&] {
        auto* chart = new TChartView(this, Repetition.rawDataHeader, Repetition.simResultsAsRaw, GetColumns(),
                                     dOptions);
        PlaceCascaded(chart, this, chartsOpened++);
        chart->show();
        chartsList.push_back(chart);
    });
}

TChartView* TRepChartMgr::ViewFuncChart(TModelFunction& func) {
    std::vector<double> abs_data, ord_data;
    TChartController::ComputeFuncAxis(func, abs_data, ord_data);
    dOptions2.func_params = func.toString();
    auto* chart = new TChartView(this, func.name, abs_data, ord_data, dOptions2);
    PlaceCascaded(chart, this, chartsOpened++);
    chart->show();
    return chart;
}

void TRepChartMgr::ViewFuncChartButtonClick() {
    Guarded(this, [&] {
        if (TModelFunction* f = SelectedFunction()) ViewFuncChart(*f);
    });
}

std::string TRepChartMgr::FormulaPicturePath(const std::string& funcName) {
    const std::string folder = ExeFolder() + ORVEX_RESOURCES;
    const std::string own = folder + "formula_" + funcName + ".bmp";
    std::error_code ec;
    return std::filesystem::is_regular_file(own, ec) ? own : folder + "formula_" + "NA" + ".bmp";
}

void TRepChartMgr::ViewFormulaButtonClick() {
    Guarded(this, [&] {
        const TModelFunction* f = SelectedFunction();
        if (!f) return;
        const QString path = QString::fromStdString(FormulaPicturePath(f->name));
        auto* view = new TImageView(this, QString());
        if (!view->LoadPicture(path)) {
            delete view;
            Dialogs().Error(this, QStringLiteral("Cannot open the picture \"%1\"").arg(path));
            return;
        }
        PlaceOnScreen(view, ViewFormulaButton->mapToGlobal(QPoint(ViewFormulaButton->width(), 0)), this);
        view->show();
    });
}

void TRepChartMgr::PlayWithParamsButton1Click() {
    Guarded(this, [&] {
        TModelFunction* f = SelectedFunction();
        if (!f) return;
        TChartView* chart = ViewFuncChart(*f);
        TChartController controller(this, *f, chart);
        // Beside its chart rather than over it.
        PlaceOnScreen(&controller, chart->frameGeometry().topRight() + QPoint(1, 0), chart);
        Dialogs().Exec(&controller);
    });
}

void TRepChartMgr::CloseCharts() {
    // Each chart unregisters itself as it goes.
    const std::vector<TChartView*> charts = chartsList;
    for (auto it = charts.rbegin(); it != charts.rend(); ++it)
        (*it)->GetRide();
    chartsList.clear();
}

void TRepChartMgr::CloseButtonClick() {
    CloseCharts();
    done(QDialog::Rejected);
}

void TRepChartMgr::closeEvent(QCloseEvent* event) {
    CloseCharts();
    IChartMgrForm::closeEvent(event);
}

void TRepChartMgr::reject() {
    CloseCharts();
    IChartMgrForm::reject();
}
