#pragma once
// Dialogs that answer without showing anything, and a temporary executable folder.

#include <QDialog>
#include <QDir>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
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
        return true;
    }

    bool confirmAnswer = true;
    QString fileAnswer;
    // Plays the user's part in a modal window; the window's result is returned.
    std::function<void(QDialog*)> onExec;
    QStringList shown, filters, opened;
};

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
