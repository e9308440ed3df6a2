#include "StatsManager.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "Dialogs.h"
#include "OrvexError.h"
#include "Repetition.h"
#include "RepetitionChartsManager.h"
#include "RepetitionsTableModel.h"
#include "SlotGuard.h"
#include "TextFactory.h"

namespace {
const QString SAVE_FILTER = QStringLiteral("XML (*.xml);;TXT (*.txt);;All Files (*)");
constexpr int COLUMN_WIDTH = 120;
} // namespace

std::function<void(QWidget*, TRepetition&)> TStatsManager::openCharts = [](QWidget* parent, TRepetition& rep) {
    TRepChartMgr manager(parent, rep);
    manager.Initialize();
    Dialogs().Exec(&manager);
};

TStatsManager::TStatsManager(QWidget* owner, const std::vector<TRepetition*>& repetitions)
    : QDialog(owner), repetitions_(repetitions) {
    setWindowTitle(QStringLiteral("Stats Manager"));
    Label1 = new QLabel(QStringLiteral("Choose the set of parameters you want to save or chart :"));
    model_ = new TRepetitionsTableModel(repetitions_, this);
    StringGrid1 = new QTableView;
    StringGrid1->setModel(model_);
    StringGrid1->verticalHeader()->hide();
    StringGrid1->horizontalHeader()->setDefaultSectionSize(COLUMN_WIDTH);
    StringGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGrid1->setWordWrap(false);
    StringGrid1->verticalHeader()->setDefaultSectionSize(StringGrid1->fontMetrics().height() + 8);
    StringGrid1->resizeColumnToContents(0);
    ComboBox1 = new QComboBox;
    ComboBox1->setPlaceholderText(QStringLiteral("Select a repetition"));
    for (size_t k = 1; k <= repetitions_.size(); ++k)
        ComboBox1->addItem(QStringLiteral("repetition ") + QString::number(k));
    ComboBox1->setCurrentIndex(-1);
    saveAsBtn = new QPushButton(QStringLiteral("Save As..."));
    ChartButton = new QPushButton(QStringLiteral("Charts..."));
    ChartButton->setEnabled(static_cast<bool>(openCharts));
    cancelBtn = new QPushButton(QStringLiteral("Cancel"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ComboBox1);
    buttons->addStretch();
    buttons->addWidget(saveAsBtn);
    buttons->addWidget(ChartButton);
    buttons->addWidget(cancelBtn);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(StringGrid1, 1);
    layout->addLayout(buttons);

    // Wide enough for a few repetitions side by side, high enough for every row of the tables.
    const int columns = model_->columnCount() > 0 ? model_->columnCount() : 1;
    const QMargins margins = layout->contentsMargins();
    const int gridHeight = StringGrid1->horizontalHeader()->sizeHint().height() +
                           model_->rowCount() * StringGrid1->verticalHeader()->defaultSectionSize() +
                           2 * StringGrid1->frameWidth() + 4;
    int height = margins.top() + margins.bottom() + 2 * layout->spacing() + Label1->sizeHint().height() +
                 buttons->sizeHint().height() + gridHeight;
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        height = std::min(height, screen->availableGeometry().height() * 9 / 10);
    resize(columns < 6 ? columns * COLUMN_WIDTH + 200 : 920, height);

    TTextFactory::ShowTip(saveAsBtn, TTextFactory::SAVE_PARAMS);
    TTextFactory::ShowTip(ChartButton, TTextFactory::VIEW_CHARTS);
    connect(saveAsBtn, &QPushButton::clicked, this, &TStatsManager::saveAsBtnClick);
    connect(ChartButton, &QPushButton::clicked, this, &TStatsManager::ChartButtonClick);
    connect(cancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

QString TStatsManager::XmlFileName(const QString& chosen) {
    return chosen.endsWith(QStringLiteral(".xml"), Qt::CaseSensitive) ? chosen
                                                                      : chosen + QStringLiteral(".xml");
}

TRepetition* TStatsManager::Chosen() {
    const int index = ComboBox1->currentIndex();
    if (index < 0 || index >= static_cast<int>(repetitions_.size())) {
        Dialogs().Warning(this, QStringLiteral("Please choose a repetition in the list above."));
        return nullptr;
    }
    return repetitions_[static_cast<size_t>(index)];
}

void TStatsManager::saveAsBtnClick() {
    Guarded(this, [&] {
        TRepetition* rep = Chosen();
        if (!rep) return;
        const QString chosen = Dialogs().SaveFile(this, SAVE_FILTER);
        if (chosen.isEmpty()) return;
        if (!rep->snapShotModel)
            throw EOrvexError("Repetition " + std::to_string(rep->id) + " holds no fitted model.");
        rep->snapShotModel->SaveToXML(XmlFileName(chosen).toStdString());
        accept();
    });
}

void TStatsManager::ChartButtonClick() {
    Guarded(this, [&] {
        TRepetition* rep = Chosen();
        if (rep && openCharts) openCharts(this, *rep);
    });
}
