#pragma once
// A real repetition for the chart windows: the example model fitted once, seeded, on the
// example data (shared by every test of the suite).

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <memory>
#include <string>

#include "Fit.h"
#include "MetaModel.h"
#include "RandomDistrib.h"
#include "Repetition.h"
#include "UiTestSupport.h"

class RepetitionFixture : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder = std::make_unique<QTemporaryDir>();
        const std::string source = ORVEX_SOURCE_DIR;
        const std::string dir = folder->path().toStdString() + "/";
        for (const char* name : {"climate.txt", "phenology.txt", "fitinfo.txt"})
            QFile::copy(QString::fromStdString(source + "/examples/" + name),
                        QString::fromStdString(dir + name));
        auto model = std::make_unique<TMetaModel>();
        model->LoadFromXML(source + "/System/Presets/Models/Example_GDD.xml");
        TRMetropolisDesc md;
        md.ntr = 5;
        md.nts = 5;
        md.missing_threshold = 10;
        md.veryglob = 2;
        md.global = 3;
        md.nb_repetitions = 1;
        md.temp_confint = 1;
        md.conf_interval = 1;
        md.temp0 = 1.0;
        md.climbrate = 1.0;
        md.precision = 0.01;
        fit = std::make_unique<TFit>(std::move(model), md, dir + "climate.txt", dir + "phenology.txt",
                                     dir + "fitinfo.txt", dir + "out.txt", 10, false);
        fit->SetRandomGenerator(std::make_unique<TUniDistrib>(5, 17, 29, 41));
        fit->Prepare();
        fit->Start();
        fit->WaitFor();
    }
    static void TearDownTestSuite() {
        fit.reset();
        folder.reset();
    }
    void SetUp() override {
        ASSERT_FALSE(fit->Error()) << fit->ErrorInfo();
        ASSERT_FALSE(fit->Repetitions().empty());
    }
    TRepetition& Rep() const { return *fit->Repetitions().front(); }

    TFakeDialogs dialogs;
    static inline std::unique_ptr<QTemporaryDir> folder;
    static inline std::unique_ptr<TFit> fit;
};
