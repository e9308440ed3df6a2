// Every tab of the fit wizard on the example files, and the validation progress window.
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <memory>

#include "AppFolder.h"
#include "ConfigModelFit.h"
#include "MainWindow.h"
#include "MetaModel.h"
#include "ModelDesignTab.h"
#include "OrvexConfig.h"
#include "Screenshot.h"
#include "ThreadedProgress.h"

namespace {

bool Shoot(TShotContext& c) {
    const QString source = c.sourceDir + "/";
    for (const char* folder : {PRESETS_OPTIM_DIR, PRESETS_VALID_DIR}) {
        QDir().mkpath(QString::fromStdString(ExeFolder() + folder));
        QFile::copy(source + folder + "default.ini",
                    QString::fromStdString(ExeFolder() + folder + "default.ini"));
    }
    bool ok = true;
    TConfigModelFitWindow wizard(c.window);
    wizard.TemperaturesPath->setText(source + "examples/climate.txt");
    wizard.PhenologyPath->setText(source + "examples/phenology.txt");
    wizard.FitInfoPath->setText(source + "examples/fitinfo.txt");
    wizard.SaveFitAsPath->setText(QStringLiteral("fit.txt"));
    wizard.DefaultOptimButton1Click();
    ok &= SaveShot(&wizard, c.out + "/fitwizard-files.png");

    auto model = std::make_unique<TMetaModel>();
    model->LoadFromXML((source + "System/Presets/Models/Example_GDD.xml").toStdString());
    wizard.ModelTab->Designer().ReplaceModel(std::move(model));
    wizard.SkipValidationCB1->setChecked(true);
    wizard.InputValidationButton1Click();
    ok &= SaveShot(&wizard, c.out + "/fitwizard-model.png");
    wizard.PageControl1->setCurrentIndex(2);
    ok &= SaveShot(&wizard, c.out + "/fitwizard-optimization.png");
    wizard.PageControl1->setCurrentIndex(3);
    wizard.OpenFitFileButton3->click();
    ok &= SaveShot(&wizard, c.out + "/fitwizard-export.png");

    TThreadProgressbar progress(&wizard);
    progress.progressProvider = {1000, [] { return std::int64_t{420}; }};
    progress.Start();
    QElapsedTimer clock; // a few polls, so the bar shows the value
    clock.start();
    while (clock.elapsed() < 150)
        QApplication::processEvents();
    ok &= SaveShot(&progress, c.out + "/fitwizard-progress.png");
    progress.Terminate();
    return ok;
}

const TShotRegistrar registrar(20, "fitwizard", Shoot);

} // namespace
