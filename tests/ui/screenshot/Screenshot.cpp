// Saves pictures of the main windows, to check their layout by eye:
//   orvex_ui_screenshot <folder>
// The simulation sheet shows a finished run of the example model over the example climate file.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QThread>
#include <cstdio>
#include <exception>

#include "About.h"
#include "AppFolder.h"
#include "ConfigSimulation.h"
#include "MainWindow.h"
#include "SimulDisplay.h"

namespace {

bool Save(QWidget* widget, const QString& path) {
    widget->show();
    for (int i = 0; i < 10; ++i)
        QApplication::processEvents();
    const bool ok = widget->grab().save(path, "PNG");
    std::printf("%s %s\n", ok ? "saved" : "FAILED", qPrintable(path));
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvex"));
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(out);
    QTemporaryDir exeDir;
    QDir(exeDir.path()).mkpath(QStringLiteral("System"));
    SetExeFolder(exeDir.path().toStdString());

    bool ok = true;
    TOrvexWindow window;
    window.resize(900, 640);
    ok &= Save(&window, out + "/main.png");

    {
        TConfigSimulationWindow config(&window);
        ok &= Save(&config, out + "/simulation-config.png");
    }
    {
        TAboutBox about(&window);
        ok &= Save(&about, out + "/about.png");
    }

    const std::string examples = std::string(ORVEX_SOURCE_DIR) + "/examples/";
    auto simul =
        CreateSimulationRun(0, examples + "climate.txt", "sim.txt",
                            std::string(ORVEX_SOURCE_DIR) + "/System/Presets/Models/Example_GDD.xml", "");
    try {
        simul->Prepare();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "simulation: %s\n", e.what());
        return 1;
    }
    TSimulationRun* run = simul.get();
    auto* display = new TSimulDisplay(nullptr, std::move(simul));
    window.PageControl1->addTab(display, QStringLiteral("Simulation 1"));
    window.PageControl1->setCurrentWidget(display);
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
        return 1;
    }
    ok &= Save(&window, out + "/simulation-sheet.png");
    return ok ? 0 : 1;
}
