#pragma once
// Plays the user in the simulation window: fills it, the output as "out.txt", and presses OK.

#include <QLineEdit>
#include <functional>
#include <gtest/gtest.h>
#include <string>

#include "ConfigSimulation.h"

inline std::function<void(QDialog*)> FillSimulationWindow(const std::string& model, const std::string& temps,
                                                          const std::string& t0 = "",
                                                          const std::string& maxMissing = "") {
    return [=](QDialog* dialog) {
        auto* config = qobject_cast<TConfigSimulationWindow*>(dialog);
        ASSERT_NE(config, nullptr);
        config->ModelAsXmlPath->setText(QString::fromStdString(model));
        config->TemperaturesPath->setText(QString::fromStdString(temps));
        config->T0InfoPath->setText(QString::fromStdString(t0));
        config->SaveAsPath->setText(QStringLiteral("out.txt"));
        if (!maxMissing.empty()) config->maxMissingTemp->setText(QString::fromStdString(maxMissing));
        config->OKBtnClick();
    };
}
