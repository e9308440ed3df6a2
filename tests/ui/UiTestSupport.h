#pragma once
// Dialogs that answer without showing anything, and a temporary executable folder.

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QString>
#include <QStringList>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QThread>
#include <functional>
#include <gtest/gtest.h>
#include <string>

#include "AppFolder.h"
#include "Dialogs.h"

class TFakeDialogs : public IDialogs {
public:
    TFakeDialogs() { SetDialogs(this); }
    ~TFakeDialogs() override { SetDialogs(nullptr); }

    bool Confirm(QWidget*, const QString& text) override {
        shown << text;
        return confirmAnswer;
    }
    void Warning(QWidget*, const QString& text) override { shown << text; }
    void Error(QWidget*, const QString& text) override { shown << text; }
    void Message(QWidget*, const QString& text) override { shown << text; }
    QString OpenFile(QWidget*, const QString& filter) override {
        filters << filter;
        return fileAnswer;
    }
    QString SaveFile(QWidget*, const QString& filter) override {
        filters << filter;
        return fileAnswer;
    }
    int Exec(QDialog* dialog) override {
        if (onExec) onExec(dialog);
        return dialog->result();
    }
    bool OpenDocument(const QString& path) override {
        opened << path;
        return openAnswer;
    }

    bool confirmAnswer = true;
    bool openAnswer = true; // false: no viewer for the document
    QString fileAnswer;
    // Plays the user's part in a modal window; the window's result is returned.
    std::function<void(QDialog*)> onExec;
    QStringList shown, filters, opened;
};

// The captions of the sheets, in order.
inline QStringList TabTexts(const QTabWidget* tabs) {
    QStringList texts;
    for (int i = 0; i < tabs->count(); ++i)
        texts << tabs->tabText(i);
    return texts;
}

// Lets queued events and timers run while `busy` holds, at most `ms`; true when it ended.
template <class Busy> bool WaitWhile(Busy busy, int ms = 180000) {
    QElapsedTimer clock;
    clock.start();
    while (busy() && clock.elapsed() < ms) {
        QApplication::processEvents();
        QThread::msleep(2);
    }
    return !busy();
}

// Points the application at a fresh folder with a System/ subfolder.
class TempExeFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        QDir(dir.path()).mkpath(QStringLiteral("System"));
        SetExeFolder(dir.path().toStdString());
    }
    void TearDown() override { SetExeFolder(""); }
    std::string Folder() const { return dir.path().toStdString() + "/"; }

    QTemporaryDir dir;
    TFakeDialogs dialogs;
};
