#pragma once
// The fit wizard on the example files, with the shipped settings presets in a fresh folder.

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <memory>
#include <pugixml.hpp>
#include <sstream>

#include "ConfigModelFit.h"
#include "MetaModel.h"
#include "ModelDesignTab.h"
#include "OrvexConfig.h"
#include "UiTestSupport.h"

// A model as the text it saves to.
inline std::string ModelText(const TMetaModel& model) {
    pugi::xml_document doc;
    model.SaveToXML(static_cast<pugi::xml_node>(doc));
    std::ostringstream out;
    doc.save(out);
    return out.str();
}

class WizardTest : public TempExeFolderTest {
protected:
    void SetUp() override {
        TempExeFolderTest::SetUp();
        for (const char* folder : {PRESETS_OPTIM_DIR, PRESETS_VALID_DIR}) {
            QDir(dir.path()).mkpath(folder);
            QFile::copy(Source(std::string(folder) + "default.ini"),
                        QString::fromStdString(Folder() + folder + "default.ini"));
        }
    }

    static QString Source(const std::string& relative) {
        return QString::fromStdString(std::string(ORVEX_SOURCE_DIR) + "/" + relative);
    }

    void FillExampleFiles(TConfigModelFitWindow& w) {
        w.TemperaturesPath->setText(Source("examples/climate.txt"));
        w.PhenologyPath->setText(Source("examples/phenology.txt"));
        w.FitInfoPath->setText(Source("examples/fitinfo.txt"));
        w.SaveFitAsPath->setText("fit.txt"); // relative: against the application's folder
    }

    static void GiveExampleModel(TConfigModelFitWindow& w) {
        auto model = std::make_unique<TMetaModel>();
        model->LoadFromXML(Source("System/Presets/Models/Example_GDD.xml").toStdString());
        w.ModelTab->Designer().ReplaceModel(std::move(model));
    }

    // Files checked, validation skipped: the window on the model tab.
    void PassFilesTab(TConfigModelFitWindow& w) {
        FillExampleFiles(w);
        w.SkipValidationCB1->setChecked(true);
        w.InputValidationButton1Click();
    }
};
