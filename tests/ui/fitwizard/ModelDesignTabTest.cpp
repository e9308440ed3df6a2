// The model tab and its two editors, offscreen.
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QGuiApplication>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStackedWidget>
#include <QToolButton>
#include <fstream>
#include <tuple>

#include "EditFuncSettings.h"
#include "EditPhaseSettings.h"
#include "ImageViewer.h"
#include "ModelDesignTab.h"
#include "OrvexError.h"
#include "UiTestSupport.h"

namespace {

const QString SOURCE = QStringLiteral(ORVEX_SOURCE_DIR);

class ModelDesignTab : public TempExeFolderTest {
protected:
    void SetUp() override {
        TempExeFolderTest::SetUp();
        QDir(dir.path()).mkpath("System/Presets/Models");
        QFile::copy(SOURCE + "/System/Presets/Models/Example_GDD.xml",
                    dir.path() + "/System/Presets/Models/Example_GDD.xml");
        climate.setText(SOURCE + "/examples/climate.txt");
        pheno.setText(SOURCE + "/examples/phenology.txt");
    }
    // A tab past its prebuild, from the example files.
    void Prebuild(TModelDesignTab& tab) {
        tab.SetSourceEdits(&climate, &pheno);
        tab.gui_PrebuildFromSources();
    }
    QLineEdit climate, pheno;
};

} // namespace

TEST_F(ModelDesignTab, PrebuildUncoversTheEditor) {
    TModelDesignTab tab;
    tab.SetSourceEdits(&climate, &pheno);
    pheno.setText("missing.txt");
    EXPECT_THROW(tab.gui_PrebuildFromSources(), EOrvexError);
    EXPECT_FALSE(tab.LoadModelButton1->isEnabled()); // a failed prebuild keeps the panel

    pheno.setText(SOURCE + "/examples/phenology.txt");
    tab.RefreshSourcesButton1->click();
    EXPECT_TRUE(dialogs.shown.isEmpty());
    EXPECT_TRUE(tab.LoadModelButton1->isEnabled());
    EXPECT_EQ(tab.PhaseBox(1), nullptr);

    tab.AddPhaseButton1->click();
    ASSERT_NE(tab.LinkModeCombo(1), nullptr);
    EXPECT_EQ(tab.OverlapCombo(1), nullptr);
    tab.LinkModeCombo(1)->setCurrentIndex(1); // rebuilds from inside the combo's own signal
    ASSERT_NE(tab.OverlapCombo(1), nullptr);

    tab.FunctionCombo(1, 0)->setCurrentIndex(tab.FunctionCombo(1, 0)->findText("Wang"));
    EXPECT_EQ(tab.Designer().Model().PhasesArr[1]->functions[0]->getName(), "Wang");
    tab.RemPhaseButton2->click();
    EXPECT_EQ(tab.Designer().Model().GetNbPhases(), 1);
}

TEST_F(ModelDesignTab, PresetsComeFromTheFolderBesideTheExecutable) {
    TModelDesignTab tab;
    Prebuild(tab);
    ASSERT_EQ(tab.PresetsCB1->count(), 1);
    tab.PresetsCB1Change(0);
    EXPECT_EQ(tab.FunctionCombo(0, 0)->currentText(), "GDD");

    // A file that fails to load shows its error and keeps the design.
    std::ofstream(Folder() + "bad.xml") << "<Model name=\"x\"><Phases><Phase>";
    dialogs.fileAnswer = QString::fromStdString(Folder() + "bad.xml");
    tab.LoadModelButton1Click();
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_TRUE(dialogs.shown[0].contains("bad.xml")) << dialogs.shown[0].toStdString();
    EXPECT_EQ(tab.Designer().Model().name, "Example GDD");
}

TEST_F(ModelDesignTab, PhaseEditorChangesThePhaseOnOkOnly) {
    TModelDesignTab tab;
    Prebuild(tab);
    const TPhase& ph = *tab.Designer().Model().PhasesArr[0];
    QString sStarText = "250";
    bool pressOk = false;
    dialogs.onExec = [&](QDialog* d) {
        auto* form = qobject_cast<TEditPhaseForm1*>(d);
        ASSERT_NE(form, nullptr);
        form->PhenoVariableCB->setCurrentIndex(1);
        form->t0FixedButton1->setChecked(true);
        form->t0FixedEdit1->setText("15,5");
        form->TimeSamplingCB1->setCurrentIndex(1);
        form->SStarFixedCB->setChecked(true);
        form->SStarEdit1->setText(sStarText);
        if (pressOk) form->OkButton1->click();
    };
    tab.EditPhase(0);
    EXPECT_FALSE(ph.usedToFit);

    pressOk = true;
    sStarText = "abc"; // checked before anything is applied: the dialog stays open
    tab.EditPhase(0);
    EXPECT_EQ(dialogs.shown, QStringList{"'abc' is not a valid floating point value"});
    EXPECT_EQ(ph.t0Mode, TPhaseT0Mode::Fitted);

    sStarText = "250";
    tab.EditPhase(0);
    EXPECT_EQ(std::tuple(ph.usedToFit, ph.phenoDataColumn, ph.t0Mode, ph.t0, ph.tempHourFunction->name,
                         ph.sStarFixed, ph.sStar),
              std::tuple(true, 0, TPhaseT0Mode::Fixed, 15.5, "tempheur", true, 250.0));

    // Reopened, it shows what it saved.
    TEditPhaseForm1 again(nullptr, ph, tab.Designer().PhenoVarInfoList());
    EXPECT_EQ(again.PhenoVariableCB->currentText(), "Budburst");
    EXPECT_TRUE(again.t0FixedButton1->isChecked());
    EXPECT_EQ(again.TimeSamplingCB1->currentText(), "Hourly");
}

TEST_F(ModelDesignTab, FunctionEditorChangesTheFunctionOnOkOnly) {
    TModelDesignTab tab;
    Prebuild(tab);
    tab.Designer().AddFunction(0);
    tab.Designer().ReplaceFunction(0, 1, "Triangular");
    const TModelFunction& f = *tab.Designer().Model().PhasesArr[0]->functions[1];
    bool pressOk = false;
    dialogs.onExec = [&](QDialog* d) {
        auto* form = qobject_cast<TEditFuncForm*>(d);
        ASSERT_NE(form, nullptr);
        ASSERT_EQ(form->p.size(), 3u);
        form->VariableCB->setCurrentIndex(form->VariableCB->count() - 1); // DAY LENGTH
        form->VarLinkModeCB->setCurrentIndex(1);
        form->WeightEdit->setText("abc");
        form->p[0].check->setChecked(true);
        form->p[0].edit->setText("21.5");
        if (pressOk) form->OkButton1->click();
    };
    tab.EditFunction(0, 1);
    EXPECT_FALSE(f.parameterFixed(0) || f.useDayLengthAsVar);

    pressOk = true;
    tab.EditFunction(0, 1);
    const TModelFunction& g = *tab.Designer().Model().PhasesArr[0]->functions[1];
    EXPECT_EQ(
        std::tuple(g.parameterFixed(0), g.getParameterValue(0), g.useDayLengthAsVar, g.varLinkMode, g.weight),
        std::tuple(true, 21.5, true, TVarLinkMode::Additive, 1.0));

    // The overlap editor shows the parameters only.
    tab.Designer().SetPhaseLinkMode(0, TPhaseLinkMode::Alternating);
    dialogs.onExec = [&](QDialog* d) {
        auto* form = qobject_cast<TEditFuncForm*>(d);
        EXPECT_FALSE(form->GlobalSettingsGroupBox5->isVisibleTo(form));
        form->p[1].check->setChecked(true);
        form->p[1].edit->setText("2");
        form->OkButton1->click();
    };
    tab.EditOverlapFunction(0);
    EXPECT_TRUE(tab.Designer().Model().PhasesArr[0]->overlapFunc->parameterFixed(1));
}

TEST_F(ModelDesignTab, FunctionEditorOfAnHourlyFunction) {
    TModelDesigner d;
    d.ClearModel();
    const TPhase& ph = *d.Model().PhasesArr[0];
    const TTempHourFunc hourly(nullptr, "tempheur");
    EXPECT_THROW(TEditFuncForm(nullptr, ph, *ph.functions[0], {"a", "b"}, &hourly), EOrvexError);

    const std::vector<std::string> vars = {"S", "L", "Y", "D", "Tmean", "Tmin", "____________", "DAY LENGTH"};
    TEditFuncForm form(nullptr, ph, *ph.functions[0], vars, &hourly);
    EXPECT_FALSE(form.VariableCB->isEnabled());
    form.OkButton1->click();
    EXPECT_TRUE(form.Settings().keepColumn && !form.Settings().useDayLengthAsVar);
}

TEST_F(ModelDesignTab, FormulaPictureFallsBackToNA) {
    QDir(dir.path()).mkpath("System/Resources");
    for (const char* name : {"GDD", "NA"})
        QFile(dir.path() + "/System/Resources/formula_" + name + ".bmp").open(QIODevice::WriteOnly);
    EXPECT_TRUE(TEditFuncForm::FormulaPicturePath("GDD").endsWith("/System/Resources/formula_GDD.bmp"));
    EXPECT_TRUE(TEditFuncForm::FormulaPicturePath("Wang").endsWith("/System/Resources/formula_NA.bmp"));
    EXPECT_TRUE(TEditFuncForm::FormulaPicturePath("Wang").startsWith(dir.path()));
    // The shipped pictures cover every library function.
    for (const std::string& name : TModelDesigner::FunctionNames())
        EXPECT_TRUE(
            QFile::exists(SOURCE + "/System/Resources/formula_" + QString::fromStdString(name) + ".bmp"))
            << name;
}

TEST_F(ModelDesignTab, EditorsAndFormulaPicturesOpenWholeOnTheScreen) {
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    // Moves a shown window so that `at`'s right edge meets the screen's: what opens right of it
    // must come back inside.
    const auto toTheRightEdge = [&](QWidget* window, const QWidget* at) {
        window->show();
        const int right = at->mapToGlobal(QPoint(at->width(), 0)).x();
        window->move(window->pos() + QPoint(area.right() + 1 - right, 0));
    };
    TModelDesignTab tab;
    Prebuild(tab);
    toTheRightEdge(&tab, tab.LoadModelButton1);
    QApplication::setActiveWindow(&tab);
    tab.LoadModelButton1->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), tab.LoadModelButton1);
    QRect editor;
    dialogs.onExec = [&](QDialog* d) { editor = QRect(d->pos(), d->size()); };
    tab.EditPhase(0);
    EXPECT_TRUE(area.contains(editor)) << editor.x() << "," << editor.y();

    QDir(dir.path()).mkpath("System/Resources");
    QImage(300, 200, QImage::Format_RGB32).save(dir.path() + "/System/Resources/formula_NA.bmp", "BMP");
    const TPhase& ph = *tab.Designer().Model().PhasesArr[0];
    TEditFuncForm form(nullptr, ph, *ph.functions[0], {"Tmean"}, nullptr);
    toTheRightEdge(&form, &form);
    form.FormulaButton->click();
    const auto views = form.findChildren<TImageView*>();
    ASSERT_EQ(views.size(), 1);
    EXPECT_TRUE(area.contains(views[0]->frameGeometry()));
}
