// The model tab with the example preset loaded, a two-phase design, and both editors.
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>

#include "AppFolder.h"
#include "EditFuncSettings.h"
#include "EditPhaseSettings.h"
#include "ImageViewer.h"
#include "ModelDesignTab.h"
#include "Screenshot.h"

namespace {

bool Shoot(TShotContext& c) {
    const QString exe = QString::fromStdString(ExeFolder());
    QDir(exe).mkpath(QStringLiteral("System/Presets/Models"));
    QFile::copy(c.sourceDir + "/System/Presets/Models/Example_GDD.xml",
                exe + "System/Presets/Models/Example_GDD.xml");

    QLineEdit climate(c.sourceDir + "/examples/climate.txt");
    QLineEdit pheno(c.sourceDir + "/examples/phenology.txt");
    bool ok = true;
    {
        TModelDesignTab tab;
        tab.resize(560, 480);
        ok &= SaveShot(&tab, c.out + "/model-tab-start.png");
        tab.SetSourceEdits(&climate, &pheno);
        tab.gui_PrebuildFromSources();
        tab.PresetsCB1->setCurrentIndex(0);
        tab.PresetsCB1Change(0);
        ok &= SaveShot(&tab, c.out + "/model-tab-preset.png");

        TModelDesigner& d = tab.Designer();
        d.AddFunction(0);
        d.ReplaceFunction(0, 1, "Sigmoid");
        d.AddPhase();
        d.SetPhaseLinkMode(1, TPhaseLinkMode::Overlap_Multiplication);
        d.ReplaceFunction(1, 0, "Triangular");
        d.AddFunction(1);
        d.Model().PhasesArr[1]->functions[1]->varLinkMode = TVarLinkMode::Additive;
        tab.gui_RefreshFromModel();
        ok &= SaveShot(&tab, c.out + "/model-tab-design.png");

        const TPhase& second = *d.Model().PhasesArr[1];
        TEditPhaseForm1 phaseForm(nullptr, second, d.PhenoVarInfoList());
        ok &= SaveShot(&phaseForm, c.out + "/model-phase-editor.png");
        TEditFuncForm funcForm(nullptr, second, *second.functions[1], d.VarInfoList(), nullptr);
        ok &= SaveShot(&funcForm, c.out + "/model-function-editor.png");
        TEditFuncForm overlapForm(nullptr, second, *second.overlapFunc);
        ok &= SaveShot(&overlapForm, c.out + "/model-overlap-editor.png");
    }
    TImageView formula(nullptr, c.sourceDir + "/System/Resources/formula_Smoothed Utah.bmp");
    ok &= SaveShot(&formula, c.out + "/model-formula.png");
    return ok;
}

const TShotRegistrar registrar(20, "model design", Shoot);

} // namespace
