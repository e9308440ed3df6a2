#include "Dialogs.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QUrl>

namespace {

// The application's title: the product name and its version.
QString AppTitle() {
    const QString version = QCoreApplication::applicationVersion();
    return version.isEmpty() ? QCoreApplication::applicationName()
                             : QCoreApplication::applicationName() + QStringLiteral(" - ") + version;
}

class TQtDialogs final : public IDialogs {
public:
    bool Confirm(QWidget* parent, const QString& text) override {
        return QMessageBox::warning(parent, AppTitle(), text, QMessageBox::Ok | QMessageBox::Cancel) ==
               QMessageBox::Ok;
    }
    void Warning(QWidget* parent, const QString& text) override {
        QMessageBox::warning(parent, AppTitle(), text);
    }
    void Error(QWidget* parent, const QString& text) override {
        QMessageBox::critical(parent, AppTitle(), text);
    }
    void Message(QWidget* parent, const QString& text) override {
        QMessageBox::information(parent, AppTitle(), text);
    }
    QString OpenFile(QWidget* parent, const QString& filter) override {
        return QFileDialog::getOpenFileName(parent, QString(), QString(), filter);
    }
    QString SaveFile(QWidget* parent, const QString& filter) override {
        return QFileDialog::getSaveFileName(parent, QString(), QString(), filter);
    }
    int Exec(QDialog* dialog) override { return dialog->exec(); }
    bool OpenDocument(const QString& path) override {
        return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
    }
};

IDialogs* g_override = nullptr;

} // namespace

IDialogs& Dialogs() {
    static TQtDialogs real;
    return g_override ? *g_override : real;
}

void SetDialogs(IDialogs* dialogs) {
    g_override = dialogs;
}
