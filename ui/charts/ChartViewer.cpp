#include "ChartViewer.h"

#include <QCloseEvent>
#include <QCommandLinkButton>
#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTextEdit>
#include <QVBoxLayout>
#include <stdexcept>

#include "BoldLabel.h"
#include "ChartColors.h"
#include "Dialogs.h"
#include "SeriesColors.h"
#include "SlotGuard.h"
#include "TextFactory.h"
#include "ZoreRuzez.h"
#include "ZoreRuzezLegend.h"

TChartView::TChartView(IChartMgrForm* AOwner) : IChartForm(AOwner, Qt::Window), winOwner(AOwner) {
    BuildForm();
}

TChartView::TChartView(IChartMgrForm* AOwner, const std::vector<std::string>& header,
                       const std::vector<TRRawData>& data_list, std::vector<int> col_index,
                       const TRChartDOptions& dOptions)
    : TChartView(AOwner) {
    dataHeader = &header;
    dataList = &data_list;
    colIndex = std::move(col_index);
    dispOptions = dOptions;
    nbRows = static_cast<int>(data_list.size());
    nbCols = static_cast<int>(colIndex.size());
    dataLen = data_list.empty() ? -1 : static_cast<int>(data_list.front().data_row.size());
    BuildSeries();
    RefreshColors();
}

TChartView::TChartView(IChartMgrForm* AOwner, const std::string& caption, const std::vector<double>& abs_data,
                       const std::vector<double>& ord_data, const TRChartDOptions& dOptions)
    : TChartView(AOwner) {
    isFuncViewer = true;
    dispOptions = dOptions;
    if (abs_data.size() != ord_data.size()) throw std::runtime_error("Data Malformed !");
    nbRows = static_cast<int>(abs_data.size());
    nbCols = 2;
    if (nbRows == 0)
        throw std::runtime_error(
            "Data are not consistent enought for Chart Rendering > \nNo data rows found !");
    Label1->setText(QStringLiteral("Caption : "));
    TPoints& s = ZoreRuzez1->Series().Add();
    s.SetCaption("Y = " + caption + " ( X )");
    s.SetDrawStyle(dispOptions.draw_mode);
    RefreshColors();
    double min_abs, max_abs, min_ord, max_ord;
    DrawFunction(abs_data, ord_data, min_abs, max_abs, min_ord, max_ord);
    SetupDisplay(dispOptions, min_abs, max_abs, min_ord, max_ord);
}

TChartView::~TChartView() = default;

void TChartView::BuildForm() {
    setWindowTitle(QStringLiteral("Chart View"));
    setMinimumSize(600, 450);
    resize(600, 450);

    ZoreRuzez1 = new TZoreRuzez(this);
    ZoreRuzez1->SetAspectRatio(1.0);
    ZoreRuzez1->SetMaintainRatio(false);
    ZoreRuzez1->SetMousePan(TMouseAction::maRight);
    ZoreRuzez1->SetMouseZoom(TMouseAction::maRight);
    ZoreRuzez1->SetMouseFuncHint(TMouseAction::maShift);
    ZoreRuzez1->SetQuadrant(TEGQuadrant::egqAll);
    ZoreRuzez1->SetZoomTime(200);
    ZoreRuzez1->setMinimumSize(400, 400);

    Label1 = BoldLabel(QStringLiteral("Caption :"), this);
    Label1->setWordWrap(true);
    EGLegendList1 = new TEGLegendList(this);
    EGLegendList1->SetZoreRuzez(ZoreRuzez1);
    EGLegendList1->SetCheckBoxes(true);
    EGLegendList1->OnClick = [this](TEGLegendList&) { EGLegendList1Click(); };
    Button4 = new QPushButton(this);
    Button4->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
    Button4->setFixedSize(22, 22);
    Button1 = new QPushButton(QStringLiteral("Save View (.bmp)..."), this);
    Label2 = BoldLabel(QStringLiteral("Informations :"), this);
    InfosEdit1 = new QTextEdit(this);
    // Shown, selectable and copied, never typed into.
    InfosEdit1->setReadOnly(true);
    InfosEdit1->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    Button3 = new QPushButton(this);
    Button3->setIcon(style()->standardIcon(QStyle::SP_MessageBoxQuestion));
    Button3->setFixedSize(30, 30);
    Button2 = new QCommandLinkButton(QStringLiteral("Close"), this);

    auto* side = new QVBoxLayout;
    side->addWidget(Label1);
    side->addWidget(EGLegendList1, 3);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Button4);
    buttons->addWidget(Button1, 1);
    side->addLayout(buttons);
    side->addSpacing(10);
    side->addWidget(Label2);
    side->addWidget(InfosEdit1, 2);
    side->addStretch();
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(Button3);
    bottom->addStretch();
    bottom->addWidget(Button2);
    side->addLayout(bottom);
    auto* sideBox = new QWidget(this);
    sideBox->setLayout(side);
    sideBox->setFixedWidth(160);
    side->setContentsMargins(0, 0, 0, 0);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setSpacing(12);
    layout->addWidget(ZoreRuzez1, 1);
    layout->addWidget(sideBox);

    connect(Button1, &QPushButton::clicked, this, &TChartView::Button1Click);
    connect(Button2, &QPushButton::clicked, this, [this] { close(); });
    connect(Button3, &QPushButton::clicked, this, &TChartView::Button3Click);
    connect(Button4, &QPushButton::clicked, this, [this] { Guarded(this, [&] { RefreshColors(); }); });
}

void TChartView::RefreshColors() {
    seriesColors.clear();
    const QRgb background = ColorToRGB(ZoreRuzez1->ColorBg());
    for (int j = 1; j < nbCols; ++j)
        seriesColors.push_back(RandomSeriesColor(random, background));
    ApplyColors();
}

void TChartView::ApplyColors() {
    TSeries& series = ZoreRuzez1->Series();
    const int perOrdinate = !isFuncViewer && RegressionOn() ? 2 : 1;
    series.BeginUpdate();
    for (size_t j = 0; j < seriesColors.size(); ++j)
        for (int k = 0; k < perOrdinate; ++k) {
            const int index = static_cast<int>(j) * perOrdinate + k;
            if (index < series.Count()) series.Series(index).SetColor(seriesColors[j]);
        }
    series.EndUpdate();
}

void TChartView::UpdateOptions(const TRChartDOptions& dOptions) {
    dispOptions = dOptions;
    BuildSeries();
}

void TChartView::GetRide() {
    if (gone) return;
    gone = true;
    StatsList.clear();
    LinList.clear();
    VeskList.clear();
    if (winOwner) winOwner->RemoveChart(this);
    hide();
    deleteLater();
}

void TChartView::closeEvent(QCloseEvent* event) {
    GetRide();
    event->accept();
}

void TChartView::Button1Click() {
    Guarded(this, [&] {
        QString name = Dialogs().SaveFile(this, QStringLiteral("Bitmap (*.bmp)"));
        if (name.isEmpty()) return;
        if (!name.endsWith(QStringLiteral(".bmp"), Qt::CaseSensitive)) name += QStringLiteral(".bmp");
        ZoreRuzez1->SaveAsBmp(name.toStdString());
    });
}

void TChartView::Button3Click() {
    Dialogs().Message(this, TTextFactory::GetHelp(TTextFactory::GRAPH_MOUSE_CTRL));
}

void TChartView::EGLegendList1Click() {
    const int sel = EGLegendList1->ItemIndex();
    if (sel < 0) return;
    Guarded(this, [&] { InfosEdit1->setPlainText(QString::fromStdString(LegendInfo(sel))); });
}
