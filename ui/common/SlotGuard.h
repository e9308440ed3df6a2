#pragma once
// Qt must never see an exception leave a slot: every slot body that can raise runs through
// Guarded, which shows the failure in the application's error box instead.

#include <QString>
#include <exception>
#include <utility>

#include "Dialogs.h"

class QWidget;

template <class Body>
void Guarded(QWidget* parent, Body&& body) {
    try {
        std::forward<Body>(body)();
    } catch (const std::exception& e) {
        Dialogs().Error(parent, QString::fromStdString(e.what()));
    } catch (...) {
        Dialogs().Error(parent, QStringLiteral("Unknown error"));
    }
}
