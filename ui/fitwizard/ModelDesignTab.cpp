#include "ModelDesignTab.h"

#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

TModelDesignTab::TModelDesignTab(QWidget* parent) : QWidget(parent) {
    AddPhaseButton1 = new QToolButton;
    RemPhaseButton2 = new QToolButton;
    RefreshSourcesButton1 = new QToolButton;
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Click to start developing...")));
    layout->addWidget(RefreshSourcesButton1);
    layout->addWidget(AddPhaseButton1);
    layout->addWidget(RemPhaseButton2);
    layout->addStretch();
}

void TModelDesignTab::SetSourceEdits(QLineEdit* temperaturesPath, QLineEdit* phenologyPath) {
    temperaturesPath_ = temperaturesPath;
    phenologyPath_ = phenologyPath;
}

void TModelDesignTab::ShowPrebuildPanel() {}

void TModelDesignTab::gui_PrebuildFromSources() {}

TModelDesigner& TModelDesignTab::Designer() {
    return designer_;
}
