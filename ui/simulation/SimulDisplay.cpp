#include "SimulDisplay.h"

#include <QHeaderView>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <fstream>

#include "AppFolder.h"
#include "Dialogs.h"
#include "FileUtils.h"
#include "NumberText.h"
#include "UtilStuff.h"

namespace {

bool ReadLines(const std::string& path, std::vector<std::string>& lines) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return !in.bad();
}

} // namespace

TSimulDisplay::TSimulDisplay(QWidget* owner, std::unique_ptr<TSimulationRun> run)
    : QWidget(owner), simul(std::move(run)) {
    StringGrid1 = new QTableWidget(this);
    StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGrid1->verticalHeader()->hide();
    StringGrid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    StringGrid1->verticalHeader()->setDefaultSectionSize(StringGrid1->fontMetrics().height() + 4);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(StringGrid1);

    Timer1 = new QTimer(this);
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &TSimulDisplay::Timer1Timer);
    Timer1->start();
}

TSimulDisplay::~TSimulDisplay() {
    FreeSimulation();
}

bool TSimulDisplay::Waiting() const {
    return Timer1->isActive();
}

void TSimulDisplay::FreeSimulation() {
    if (simul) {
        simul->Quit();
        simul.reset();
    }
}

std::vector<std::vector<std::string>> TSimulDisplay::GridCells(const std::vector<std::string>& lines,
                                                               int headersSize) {
    std::vector<std::vector<std::string>> cells;
    const int h = headersSize;
    const int count = static_cast<int>(lines.size());
    if (h < 0 || h + 1 >= count) return cells;
    const size_t columns = static_cast<size_t>(nbOfColumns(lines[h + 1]));
    cells.assign(count - h - 1, std::vector<std::string>(columns));
    std::vector<std::string_view> fields;
    for (int i = h; i < count; ++i) {
        const int row = i - h;
        if (row >= static_cast<int>(cells.size())) break;
        SplitTabCells(lines[i], fields);
        for (size_t c = 0; c < fields.size() && c < columns; ++c)
            cells[row][c] = std::string(fields[c]);
    }
    return cells;
}

bool TSimulDisplay::LoadOutput() {
    std::vector<std::string> lines;
    if (!ReadLines(GetAbsolutePath(ExeFolder(), simul->OutputFile()), lines)) return false;
    const auto cells = GridCells(lines, simul->HeadersSize());
    if (cells.size() < 2) return false;
    // Row 0 of the cells is the blank fixed row and row 1 the column names: the grid's own
    // header shows the names, so they stay in sight while the rows scroll.
    const int columns = static_cast<int>(cells[1].size());
    StringGrid1->clear();
    StringGrid1->setColumnCount(columns);
    QStringList names;
    for (const std::string& name : cells[1])
        names << QString::fromStdString(name);
    StringGrid1->setHorizontalHeaderLabels(names);
    StringGrid1->setRowCount(static_cast<int>(cells.size()) - 2);
    for (size_t r = 2; r < cells.size(); ++r) {
        for (int c = 0; c < columns; ++c) {
            auto* item = new QTableWidgetItem(QString::fromStdString(cells[r][c]));
            double number = 0.0;
            if (TryParseFloat(cells[r][c], number)) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            StringGrid1->setItem(static_cast<int>(r) - 2, c, item);
        }
    }
    FitColumns();
    return true;
}

void TSimulDisplay::FitColumns() {
    QHeaderView* header = StringGrid1->horizontalHeader();
    if (header->count() == 0) return;
    // Columns as wide as their contents; when they leave room, they share the sheet's width.
    header->setSectionResizeMode(QHeaderView::Interactive);
    StringGrid1->resizeColumnsToContents();
    int needed = 0;
    for (int c = 0; c < header->count(); ++c)
        needed += header->sectionSize(c);
    if (needed < StringGrid1->viewport()->width()) header->setSectionResizeMode(QHeaderView::Stretch);
}

void TSimulDisplay::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    FitColumns();
}

void TSimulDisplay::Timer1Timer() {
    if (!simul || !simul->Finished()) return;
    Timer1->stop();
    if (simul->Error()) {
        Dialogs().Error(this, QString::fromStdString(simul->ErrorInfo()));
    } else if (!LoadOutput()) {
        Dialogs().Error(this, QStringLiteral("Output file cannot be read (may be already in use) : ") +
                                  QString::fromStdString(simul->OutputFile()));
    }
    // The thread is freed on every path, a failed run included.
    FreeSimulation();
}
