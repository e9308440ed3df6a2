#pragma once
// A real repetition for the chart windows: the example model fitted once, seeded, on the
// example data (shared by every test of the suite).

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <memory>

#include "Repetition.h"
#include "SeededFit.h"
#include "UiTestSupport.h"

class RepetitionFixture : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder = std::make_unique<QTemporaryDir>();
        fit = ExampleFit(folder->path().toStdString(), 1);
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
