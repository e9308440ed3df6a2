#pragma once
// TEGHintForm: the small borderless window that follows the mouse during a hint gesture and
// shows the data coordinates and the series under the mouse.

#include "ChartTypes.h"

#include <QImage>
#include <QWidget>

#include <string>

class TEGHintForm : public QWidget {
    Q_OBJECT

public:
    explicit TEGHintForm(QWidget* owner);

    // New texts; the window is rendered and repainted.
    void SetHint(const std::string& x, const std::string& y, bool displaySeries, TColor color,
                 const std::string& function);

    const std::string& XText() const { return XX; }
    const std::string& YText() const { return XY; }
    bool DisplaySeries() const { return XDisplaySeries; }
    const std::string& Function() const { return XFunction; }
    TColor SeriesColor() const { return XColor; }
    const QImage& Picture() const { return XBitmap; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Render();

    TColor XColor = clBlack;
    std::string XFunction;
    std::string XX, XY;
    QImage XBitmap;
    bool XDisplaySeries = false;
};
