#pragma once
// The frame of a simulation sheet: waits for its run thread, then shows the output file in a grid.

#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "SimulationRun.h"

class QTableWidget;
class QTimer;

class TSimulDisplay : public QWidget {
    Q_OBJECT
public:
    // Takes the run over; it is freed as soon as its output is loaded or has failed.
    TSimulDisplay(QWidget* owner, std::unique_ptr<TSimulationRun> simul);
    // A run still going is stopped and waited for.
    ~TSimulDisplay() override;

    // Grid cells of the output lines: the empty line ending the header (row 0, blank), the
    // column header, then the data rows; as many columns as the column header has fields.
    static std::vector<std::vector<std::string>> GridCells(const std::vector<std::string>& lines,
                                                           int headersSize);

    bool Waiting() const;
    const TSimulationRun* Simulation() const { return simul.get(); }

    QTableWidget* StringGrid1 = nullptr;
    QTimer* Timer1 = nullptr;

public slots:
    void Timer1Timer();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    bool LoadOutput();
    void FitColumns();
    void FreeSimulation();

    std::unique_ptr<TSimulationRun> simul;
};
