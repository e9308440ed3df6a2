#pragma once
// Each window family registers the pictures it takes; orvex_ui_screenshot runs them in
// order of their rank with a fresh executable folder and the main window at hand.

#include <QString>

class QWidget;
class TOrvexWindow;

struct TShotContext {
    QString out;             // folder the pictures go to
    TOrvexWindow* window;    // the main window, shown once
    QString sourceDir;       // the source tree, for examples/ and System/
};

// Shows the widget, lets it lay out and saves it as PNG; false when saving failed.
bool SaveShot(QWidget* widget, const QString& path);

using ShotFunction = bool (*)(TShotContext& context);
struct TShotRegistrar {
    TShotRegistrar(int rank, const char* name, ShotFunction shot);
};
