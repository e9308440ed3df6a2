// Saves pictures of the windows, to check their layout by eye:
//   orvex_ui_screenshot <folder>
#include "Screenshot.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <exception>
#include <vector>

#include "AppFolder.h"
#include "MainWindow.h"

namespace {

struct TShot {
    int rank;
    const char* name;
    ShotFunction shot;
};

std::vector<TShot>& Shots() {
    static std::vector<TShot> shots;
    return shots;
}

} // namespace

TShotRegistrar::TShotRegistrar(int rank, const char* name, ShotFunction shot) {
    Shots().push_back({rank, name, shot});
}

bool SaveShot(QWidget* widget, const QString& path) {
    widget->show();
    for (int i = 0; i < 10; ++i)
        QApplication::processEvents();
    const bool ok = widget->grab().save(path, "PNG");
    std::printf("%s %s\n", ok ? "saved" : "FAILED", qPrintable(path));
    return ok;
}

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

    TOrvexWindow window;
    window.resize(900, 640);
    TShotContext context{out, &window, QStringLiteral(ORVEX_SOURCE_DIR)};
    std::stable_sort(Shots().begin(), Shots().end(),
                     [](const TShot& a, const TShot& b) { return a.rank < b.rank; });
    bool ok = true;
    for (const TShot& shot : Shots()) {
        try {
            ok &= shot.shot(context);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "%s: %s\n", shot.name, e.what());
            ok = false;
        }
    }
    return ok ? 0 : 1;
}
