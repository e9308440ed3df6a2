// Saves pictures of the main windows, to check their layout by eye:
//   orvex_ui_screenshot <folder>
// The simulation sheet shows a finished run over a small output file.
#include <QApplication>
#include <QDir>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <fstream>

#include "../FakeSimulationRun.h"
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

}  // namespace

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

    auto state = std::make_shared<TFakeSimulationState>();
    state->output = "sim.txt";
    std::ofstream(exeDir.path().toStdString() + "/sim.txt", std::ios::binary)
        << "data files:\r\n/data/clim.txt\r\n/data/model.xml\r\n\r\n\r\n"
           "station_code\tyear\tpredicted 0\tpredicted 1\r\n"
           "1\t2001\t95.5\t120\r\n1\t2002\t101\t118.3\r\n2\t2001\t99\t-9999\r\n2\t2002\t97.5\t121\r\n\r\n";
    state->finished = true;
    window.simulationFactory = [state](int, const std::string&, const std::string&, const std::string&,
                                       const std::string&) { return std::make_unique<TFakeSimulationRun>(state); };
    auto* display = new TSimulDisplay(nullptr, std::make_unique<TFakeSimulationRun>(state));
    window.PageControl1->addTab(display, QStringLiteral("Simulation 1"));
    window.PageControl1->setCurrentWidget(display);
    display->Timer1Timer();
    ok &= Save(&window, out + "/simulation-sheet.png");
    return ok ? 0 : 1;
}
