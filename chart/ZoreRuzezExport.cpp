// The graph's picture leaves the control: as a bitmap file or on the clipboard.

#include "ZoreRuzez.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImageWriter>

#include <stdexcept>

void TZoreRuzez::SaveAsBmp(const std::string& fileName) {
    if (RenderDue()) RenderTimed();
    // The format is named: the file is a bitmap whatever its extension says.
    QImageWriter writer(QString::fromStdString(fileName), "BMP");
    if (XTempBmp.isNull() || !writer.write(XTempBmp))
        throw std::runtime_error("Cannot write the picture file \"" + fileName + "\".");
}

void TZoreRuzez::CopyToClipboard() {
    // Drawing into a given picture needs the plot rectangle of one render done before.
    if (RenderDue()) RenderTimed();
    if (width() <= 0 || height() <= 0) return;
    // Like a drawing, the copy has no background of its own: what the graph leaves is transparent.
    QImage picture(width(), height(), QImage::Format_ARGB32);
    picture.fill(Qt::transparent);
    Render(&picture);
    QGuiApplication::clipboard()->setImage(picture);
}
