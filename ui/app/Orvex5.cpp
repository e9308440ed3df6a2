// Orvex: starts the application with its main window. No command-line argument is read.
#include <QApplication>
#include <QPalette>
#include <QScreen>
#include <QToolTip>

#include "ImageViewer.h"
#include "MainWindow.h"
#include "UtilStuff.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvex"));
    QApplication::setApplicationVersion(QString::fromStdString(ApplicationVersion()));

    // Tips are drawn on their own light background; the frame around them matches it.
    QPalette tips = QToolTip::palette();
    tips.setColor(QPalette::ToolTipBase, QColor(0xD9, 0xD9, 0xFF));
    tips.setColor(QPalette::ToolTipText, QColor(0, 0, 128));
    QToolTip::setPalette(tips);

    TOrvexWindow window;
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = window.frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        window.move(frame.topLeft());
    }
    window.show();
    TImageView viewer(&window);
    return app.exec();
}
