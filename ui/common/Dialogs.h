#pragma once
// Every message box, file dialog, modal run and document launch goes through IDialogs, so
// tests can answer them without a modal window blocking.

#include <QString>

class QDialog;
class QWidget;

class IDialogs {
public:
    virtual ~IDialogs() = default;
    // Warning with OK and Cancel; true on OK.
    virtual bool Confirm(QWidget* parent, const QString& text) = 0;
    virtual void Warning(QWidget* parent, const QString& text) = 0;
    // The application's error box for a failure that reached the window.
    virtual void Error(QWidget* parent, const QString& text) = 0;
    virtual void Message(QWidget* parent, const QString& text) = 0;
    // Chosen file name, empty when cancelled.
    virtual QString OpenFile(QWidget* parent, const QString& filter) = 0;
    virtual QString SaveFile(QWidget* parent, const QString& filter) = 0;
    // Runs the dialog modally and returns its result (QDialog::Accepted or Rejected).
    virtual int Exec(QDialog* dialog) = 0;
    // Opens a document with the desktop's viewer; false when that failed.
    virtual bool OpenDocument(const QString& path) = 0;
};

// The dialogs in use: the real ones unless a test has installed its own.
IDialogs& Dialogs();
// Installs replacement dialogs (not owned); nullptr restores the real ones.
void SetDialogs(IDialogs* dialogs);
