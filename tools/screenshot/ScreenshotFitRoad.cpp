// A running fit sheet, a finished one and the statistics grid of its repetitions, on the
// example files with short search settings.
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QTabWidget>
#include <QThread>
#include <cstdio>

#include "ExampleFitRequest.h"
#include "FitDisplay.h"
#include "MainWindow.h"
#include "Screenshot.h"
#include "StatsManager.h"

namespace {

template <class Busy> bool WaitWhile(Busy busy, int ms) {
    QElapsedTimer clock;
    clock.start();
    while (busy() && clock.elapsed() < ms) {
        QApplication::processEvents();
        QThread::msleep(10);
    }
    return !busy();
}

// A sheet for a started fit; the run stays reachable to stop it quietly.
TFitDisplay* AddSheet(TShotContext& c, TFitRequest request, const QString& caption, TFitRun** run) {
    auto fit = CreateFitRun(std::move(request));
    fit->Prepare();
    if (fit->Error()) {
        std::fprintf(stderr, "fit: %s\n", fit->ErrorInfo().c_str());
        return nullptr;
    }
    fit->Start();
    *run = fit.get();
    auto* display = new TFitDisplay(nullptr, std::move(fit));
    c.window->PageControl1->addTab(display, caption);
    c.window->PageControl1->setCurrentWidget(display);
    return display;
}

bool Shoot(TShotContext& c) {
    const std::string source = c.sourceDir.toStdString();
    bool ok = true;
    TFitRun* run = nullptr;
    // Long searches, so the run is still going when its picture is taken.
    TFitRequest slow = ExampleFitRequest(source, "running.txt", 1000);
    slow.metropolis.ntr = slow.metropolis.nts = 40;
    TFitDisplay* running = AddSheet(c, std::move(slow), "Model fit 1", &run);
    if (!running) return false;
    WaitWhile([] { return true; }, 1200); // let the search write a few lines
    ok &= SaveShot(c.window, c.out + "/fit-running.png");
    run->Quit(); // stopped before its sheet goes: no "Fit canceled !" box
    delete running;

    TFitDisplay* over = AddSheet(c, ExampleFitRequest(source, "fit.txt"), "Model fit 2", &run);
    if (!over) return false;
    if (!WaitWhile([&] { return over->Waiting() || over->Loading(); }, 120000)) {
        std::fprintf(stderr, "fit: the run did not end\n");
        return false;
    }
    ok &= SaveShot(c.window, c.out + "/fit-finished.png");
    {
        TStatsManager stats(c.window, over->Fit()->Repetitions());
        stats.ComboBox1->setCurrentIndex(0);
        ok &= SaveShot(&stats, c.out + "/fit-statistics.png");
    }
    delete over;
    return ok;
}

const TShotRegistrar registrar(20, "fit", Shoot);

} // namespace
