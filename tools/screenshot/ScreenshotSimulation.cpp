// The simulation window and the sheet of a finished simulation of the example files.
#include <QApplication>
#include <QElapsedTimer>
#include <QTabWidget>
#include <QTableWidget>
#include <QThread>
#include <cstdio>

#include "ConfigSimulation.h"
#include "MainWindow.h"
#include "Screenshot.h"
#include "SimulDisplay.h"

namespace {

bool Shoot(TShotContext& c) {
    bool ok = true;
    {
        TConfigSimulationWindow config(c.window);
        ok &= SaveShot(&config, c.out + "/simulation-config.png");
    }
    const std::string source = c.sourceDir.toStdString();
    auto simul = CreateSimulationRun(0, source + "/examples/climate.txt", "sim.txt",
                                     source + "/System/Presets/Models/Example_GDD.xml", "");
    simul->Prepare();
    TSimulationRun* run = simul.get();
    auto* display = new TSimulDisplay(nullptr, std::move(simul));
    c.window->PageControl1->addTab(display, QStringLiteral("Simulation 1"));
    c.window->PageControl1->setCurrentWidget(display);
    run->Start();
    // The sheet's own timer loads the output once the run is over.
    QElapsedTimer clock;
    clock.start();
    while (display->Waiting() && clock.elapsed() < 60000) {
        QApplication::processEvents();
        QThread::msleep(10);
    }
    if (display->Waiting() || display->StringGrid1->rowCount() == 0) {
        std::fprintf(stderr, "simulation: no table to show\n");
        return false;
    }
    ok &= SaveShot(c.window, c.out + "/simulation-sheet.png");
    return ok;
}

const TShotRegistrar registrar(10, "simulation", Shoot);

} // namespace
