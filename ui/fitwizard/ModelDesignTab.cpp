#include "ModelDesignTab.h"

#include <QApplication>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QStackedWidget>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include "Dialogs.h"
#include "EditFuncSettings.h"
#include "EditPhaseSettings.h"
#include "FileFilters.h"
#include "SlotGuard.h"
#include "TextFactory.h"
#include "WindowPlacement.h"

namespace {

constexpr int COMBO_WIDTH = 130;

// Pictures of how a phase follows the previous one and how a function joins its neighbour.
const char* const PHASE_LINK_SIGN[] = {"\u2192", "\u21c4", "\u00d7", "\u2218"};
const char* const PHASE_LINK_NAME[] = {"Sequential", "Alternating", "Overlap_Multiplication",
                                       "Overlap_Composition"};
const char* const VAR_LINK_SIGN[] = {"\u00d7", "+", "\u2218"};
const char* const VAR_LINK_NAME[] = {"Multiplicative", "Additive", "Composition"};

QToolButton* SmallButton(const QString& text, QWidget* parent = nullptr) {
    auto* b = new QToolButton(parent);
    b->setText(text);
    b->setAutoRaise(false);
    b->setFixedSize(20, 20);
    return b;
}

QLabel* LinkSign(const char* sign, const char* name) {
    auto* label = new QLabel(QString::fromUtf8(sign));
    QFont f = label->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * 1.3);
    label->setFont(f);
    label->setStyleSheet(QStringLiteral("color: #1c3f94"));
    label->setToolTip(QString::fromUtf8(name));
    label->setFixedWidth(18);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

QString DotsLabel(const char* text) {
    return QString::fromUtf8(text);
}

} // namespace

TModelDesignTab::TModelDesignTab(QWidget* parent) : QWidget(parent) {
    auto* presetsGroup = new QGroupBox(QStringLiteral("Presets Library"));
    PresetsCB1 = new QComboBox;
    PresetsCB1->setPlaceholderText(QStringLiteral("Select a Preset..."));
    PresetsCB1->setMinimumWidth(170);
    (new QHBoxLayout(presetsGroup))->addWidget(PresetsCB1);

    LoadModelButton1 = new QPushButton(QStringLiteral("Load..."));
    SaveModelButton1 = new QPushButton(QStringLiteral("Save..."));
    auto* refresh = new QToolButton;
    refresh->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
    refresh->setFixedSize(24, 24);
    RefreshSourcesButton1 = refresh;
    auto* fileButtons = new QVBoxLayout;
    fileButtons->addWidget(LoadModelButton1);
    fileButtons->addWidget(SaveModelButton1);
    auto* refreshRow = new QHBoxLayout;
    refreshRow->addWidget(RefreshSourcesButton1);
    refreshRow->addWidget(new QLabel(DotsLabel("......... [Refresh Ressources Files]")));
    refreshRow->addStretch();

    auto* top = new QHBoxLayout;
    top->addWidget(presetsGroup, 1);
    top->addLayout(fileButtons);
    top->addSpacing(12);
    top->addLayout(refreshRow, 1);

    PhasesGroupBox6 = new QGroupBox(QStringLiteral("Model Development"));
    AddPhaseButton1 = SmallButton(QStringLiteral("+"));
    RemPhaseButton2 = SmallButton(QStringLiteral("\u2212"));
    auto* clear = new QPushButton(QStringLiteral("Clear"));
    ClearModelButton1 = clear;
    auto* phaseButtons = new QHBoxLayout;
    phaseButtons->addWidget(AddPhaseButton1);
    phaseButtons->addWidget(RemPhaseButton2);
    phaseButtons->addWidget(new QLabel(DotsLabel("............ [Add / Remove a Phase]")));
    phaseButtons->addStretch();
    phaseButtons->addWidget(ClearModelButton1);
    ModelDevScrollBox1 = new QScrollArea;
    ModelDevScrollBox1->setWidgetResizable(true);
    ModelDevScrollBox1->setWidget(new QWidget);
    auto* devLayout = new QVBoxLayout(PhasesGroupBox6);
    devLayout->addLayout(phaseButtons);
    devLayout->addWidget(ModelDevScrollBox1, 1);

    auto* panel = new QPushButton(QStringLiteral("Click to start developing..."));
    panel->setIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));
    panel->setIconSize(QSize(48, 48));
    panel->setFlat(true);
    panel->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    QFont big = panel->font();
    big.setPointSizeF(big.pointSizeF() * 1.4);
    big.setItalic(true);
    panel->setFont(big);
    panel->setStyleSheet(
        QStringLiteral("QPushButton { border: 1px dashed palette(mid); color: palette(dark); }"));
    PrebuildPanel3 = panel;

    stack_ = new QStackedWidget;
    stack_->addWidget(PrebuildPanel3);
    stack_->addWidget(PhasesGroupBox6);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(stack_, 1);

    connect(PrebuildPanel3, &QAbstractButton::clicked, this,
            [this] { Guarded(this, [&] { gui_PrebuildFromSources(); }); });
    connect(RefreshSourcesButton1, &QAbstractButton::clicked, this,
            [this] { Guarded(this, [&] { gui_PrebuildFromSources(); }); });
    connect(PresetsCB1, &QComboBox::activated, this, &TModelDesignTab::PresetsCB1Change);
    connect(LoadModelButton1, &QPushButton::clicked, this, &TModelDesignTab::LoadModelButton1Click);
    connect(SaveModelButton1, &QPushButton::clicked, this, &TModelDesignTab::SaveModelButton1Click);
    connect(AddPhaseButton1, &QAbstractButton::clicked, this, [this] {
        Guarded(this, [&] {
            designer_.AddPhase();
            gui_RefreshFromModel();
        });
    });
    connect(RemPhaseButton2, &QAbstractButton::clicked, this, [this] {
        Guarded(this, [&] {
            designer_.RemPhase();
            gui_RefreshFromModel();
        });
    });
    connect(ClearModelButton1, &QAbstractButton::clicked, this, [this] {
        Guarded(this, [&] {
            designer_.ClearModel();
            gui_RefreshFromModel();
        });
    });

    TTextFactory::ShowTip(AddPhaseButton1, TTextFactory::ADD_PHASE);
    TTextFactory::ShowTip(RemPhaseButton2, TTextFactory::REM_PHASE);
    TTextFactory::ShowTip(RefreshSourcesButton1, TTextFactory::REFRESH_SRC);

    FillPresets();
    ShowPrebuildPanel();
}

void TModelDesignTab::SetSourceEdits(QLineEdit* temperaturesPath, QLineEdit* phenologyPath) {
    temperaturesPath_ = temperaturesPath;
    phenologyPath_ = phenologyPath;
}

void TModelDesignTab::ShowPrebuildPanel() {
    stack_->setCurrentWidget(PrebuildPanel3);
    PresetsCB1->setEnabled(false);
    LoadModelButton1->setEnabled(false);
    SaveModelButton1->setEnabled(false);
}

void TModelDesignTab::gui_PrebuildFromSources() {
    const auto text = [](const QPointer<QLineEdit>& edit) {
        return edit ? edit->text().toStdString() : std::string();
    };
    try {
        designer_.PrebuildFromSources(text(temperaturesPath_), text(phenologyPath_));
    } catch (...) {
        gui_RefreshFromModel(); // the model was cleared before the files were read
        throw;
    }
    stack_->setCurrentWidget(PhasesGroupBox6);
    PresetsCB1->setEnabled(true);
    LoadModelButton1->setEnabled(true);
    SaveModelButton1->setEnabled(true);
    gui_RefreshFromModel();
}

void TModelDesignTab::FillPresets() {
    presetFilenames_ = TModelDesigner::PresetFileNames();
    for (const std::string& name : presetFilenames_)
        PresetsCB1->addItem(QString::fromStdString(name.size() > 4 ? name.substr(0, name.size() - 4) : name));
    PresetsCB1->setCurrentIndex(-1);
}

void TModelDesignTab::PresetsCB1Change(int index) {
    Guarded(this, [&] {
        if (index < 0 || index >= static_cast<int>(presetFilenames_.size())) return;
        designer_.LoadModelFile(
            TModelDesigner::PresetPath(presetFilenames_[static_cast<std::size_t>(index)]));
        gui_RefreshFromModel();
    });
}

void TModelDesignTab::LoadModelButton1Click() {
    Guarded(this, [&] {
        const QString name = Dialogs().OpenFile(this, FIT_XML_FILTER);
        if (name.isEmpty()) return;
        designer_.LoadModelFile(name.toStdString());
        gui_RefreshFromModel();
    });
}

void TModelDesignTab::SaveModelButton1Click() {
    Guarded(this, [&] {
        const QString name = Dialogs().SaveFile(this, FIT_XML_FILTER);
        if (!name.isEmpty()) designer_.SaveModelFile(name.toStdString());
    });
}

void TModelDesignTab::gui_RefreshFromModel() {
    // The combo whose change asked for the rebuild may still be running: release it later.
    QWidget* old = ModelDevScrollBox1->takeWidget();
    if (old != nullptr) old->deleteLater();
    drawn_.clear();
    auto* inner = new QWidget;
    auto* column = new QVBoxLayout(inner);
    column->setSpacing(2);
    for (int i = 0; i < designer_.Model().GetNbPhases(); ++i)
        column->addWidget(BuildPhase(i));
    column->addStretch();
    ModelDevScrollBox1->setWidget(inner);
}

QWidget* TModelDesignTab::BuildPhase(int i) {
    TPhase& phase = *designer_.Model().PhasesArr[static_cast<std::size_t>(i)];
    TPhaseWidgets drawn;
    auto* row = new QWidget;
    auto* rowLayout = new QVBoxLayout(row);
    rowLayout->setContentsMargins(0, 0, 0, 0);
    rowLayout->setSpacing(2);

    if (i > 0) {
        auto* header = new QHBoxLayout;
        header->setContentsMargins(100, 6, 0, 0);
        const int mode = static_cast<int>(phase.phaseLinkMode);
        header->addWidget(LinkSign(PHASE_LINK_SIGN[mode], PHASE_LINK_NAME[mode]));
        drawn.link = new QComboBox;
        for (const char* name : PHASE_LINK_NAME)
            drawn.link->addItem(QString::fromUtf8(name));
        drawn.link->setCurrentIndex(mode);
        drawn.link->setFixedWidth(COMBO_WIDTH + 40);
        header->addWidget(drawn.link);
        connect(drawn.link, &QComboBox::currentIndexChanged, this, [this, i](int k) {
            Guarded(this, [&] {
                designer_.SetPhaseLinkMode(i, static_cast<TPhaseLinkMode>(k));
                gui_RefreshFromModel();
            });
        });
        if (phase.phaseLinkMode != TPhaseLinkMode::Sequential) {
            drawn.overlap = new QComboBox;
            const auto& names = TModelDesigner::OverlapFunctionNames();
            for (const std::string& name : names)
                drawn.overlap->addItem(QString::fromStdString(name));
            drawn.overlap->setCurrentIndex(phase.overlapFunc ? drawn.overlap->findText(QString::fromStdString(
                                                                   phase.overlapFunc->getName()))
                                                             : -1);
            drawn.overlap->setFixedWidth(COMBO_WIDTH + 25);
            header->addWidget(drawn.overlap);
            connect(drawn.overlap, &QComboBox::currentIndexChanged, this,
                    [this, i, combo = drawn.overlap](int) {
                        Guarded(this,
                                [&] { designer_.SetOverlapFunction(i, combo->currentText().toStdString()); });
                    });
            auto* edit = SmallButton(QStringLiteral("\u2026"));
            edit->setToolTip(QStringLiteral("Overlap function settings"));
            header->addWidget(edit);
            connect(edit, &QAbstractButton::clicked, this, [this, i] { EditOverlapFunction(i); });
        }
        header->addStretch();
        rowLayout->addLayout(header);
    }

    drawn.box = new QGroupBox(QStringLiteral("Phase [%1]").arg(i + 1));
    QFont bold = drawn.box->font();
    bold.setBold(true);
    drawn.box->setFont(bold);
    QFont regular = bold; // set explicitly, or the box's bold would be inherited
    regular.setBold(false);
    auto* funcs = new QHBoxLayout(drawn.box);
    funcs->setSpacing(4);
    for (int j = 0; j < static_cast<int>(phase.functions.size()); ++j) {
        const TModelFunction& f = *phase.functions[static_cast<std::size_t>(j)];
        if (j > 0) {
            const int mode = static_cast<int>(f.varLinkMode);
            funcs->addWidget(LinkSign(VAR_LINK_SIGN[mode], VAR_LINK_NAME[mode]));
        }
        auto* combo = new QComboBox;
        combo->setFont(regular);
        for (const std::string& name : TModelDesigner::FunctionNames())
            combo->addItem(QString::fromStdString(name));
        combo->setCurrentIndex(combo->findText(QString::fromStdString(f.getName())));
        combo->setFixedWidth(COMBO_WIDTH);
        funcs->addWidget(combo);
        connect(combo, &QComboBox::currentIndexChanged, this, [this, i, j, combo](int) {
            Guarded(this, [&] { designer_.ReplaceFunction(i, j, combo->currentText().toStdString()); });
        });
        drawn.funcs.push_back(combo);
        auto* edit = SmallButton(QStringLiteral("\u2026"));
        edit->setFont(regular);
        edit->setToolTip(QStringLiteral("Function settings"));
        funcs->addWidget(edit);
        connect(edit, &QAbstractButton::clicked, this, [this, i, j] { EditFunction(i, j); });
    }
    funcs->addStretch();
    auto* plusMinus = new QVBoxLayout;
    plusMinus->setSpacing(0);
    auto* addFunc = SmallButton(QStringLiteral("+"));
    auto* remFunc = SmallButton(QStringLiteral("\u2212"));
    addFunc->setFixedSize(18, 18);
    remFunc->setFixedSize(18, 18);
    addFunc->setFont(regular);
    remFunc->setFont(regular);
    plusMinus->addWidget(addFunc);
    plusMinus->addWidget(remFunc);
    funcs->addLayout(plusMinus);
    TTextFactory::ShowTip(addFunc, TTextFactory::ADD_FUNC);
    TTextFactory::ShowTip(remFunc, TTextFactory::REM_FUNC);
    connect(addFunc, &QAbstractButton::clicked, this, [this, i] {
        Guarded(this, [&] {
            designer_.AddFunction(i);
            gui_RefreshFromModel();
        });
    });
    connect(remFunc, &QAbstractButton::clicked, this, [this, i] {
        Guarded(this, [&] {
            designer_.RemFunction(i);
            gui_RefreshFromModel();
        });
    });

    // The phase's settings button sits on the frame, right after the caption.
    auto* phaseEdit = SmallButton(QStringLiteral("\u2026"), drawn.box);
    phaseEdit->setFont(regular);
    phaseEdit->setFixedSize(18, 16);
    phaseEdit->setToolTip(QStringLiteral("Phase settings"));
    phaseEdit->move(QFontMetrics(bold).horizontalAdvance(drawn.box->title()) + 22, 0);
    connect(phaseEdit, &QAbstractButton::clicked, this, [this, i] { EditPhase(i); });

    rowLayout->addWidget(drawn.box);
    drawn_.push_back(std::move(drawn));
    return row;
}

QGroupBox* TModelDesignTab::PhaseBox(int i_phase) const {
    const auto& d = drawn_;
    return i_phase >= 0 && i_phase < static_cast<int>(d.size()) ? d[static_cast<std::size_t>(i_phase)].box
                                                                : nullptr;
}

QComboBox* TModelDesignTab::FunctionCombo(int i_phase, int pos) const {
    const auto& d = drawn_;
    if (i_phase < 0 || i_phase >= static_cast<int>(d.size())) return nullptr;
    const auto& funcs = d[static_cast<std::size_t>(i_phase)].funcs;
    return pos >= 0 && pos < static_cast<int>(funcs.size()) ? funcs[static_cast<std::size_t>(pos)] : nullptr;
}

QComboBox* TModelDesignTab::LinkModeCombo(int i_phase) const {
    const auto& d = drawn_;
    return i_phase >= 0 && i_phase < static_cast<int>(d.size()) ? d[static_cast<std::size_t>(i_phase)].link
                                                                : nullptr;
}

QComboBox* TModelDesignTab::OverlapCombo(int i_phase) const {
    const auto& d = drawn_;
    return i_phase >= 0 && i_phase < static_cast<int>(d.size()) ? d[static_cast<std::size_t>(i_phase)].overlap
                                                                : nullptr;
}

void TModelDesignTab::PlaceDialog(QWidget* dialog) const {
    // Beside the button that opened it.
    const QWidget* at = QApplication::focusWidget();
    if (at != nullptr && isAncestorOf(at))
        PlaceOnScreen(dialog, at->mapToGlobal(QPoint(at->width(), 0)), this);
}

void TModelDesignTab::EditPhase(int i_phase) {
    Guarded(this, [&] {
        const TPhase& phase = *designer_.Model().PhasesArr.at(static_cast<std::size_t>(i_phase));
        TEditPhaseForm1 dialog(this, phase, designer_.PhenoVarInfoList());
        PlaceDialog(&dialog);
        if (Dialogs().Exec(&dialog) == QDialog::Accepted)
            designer_.ApplyPhaseSettings(i_phase, dialog.Settings());
    });
}

void TModelDesignTab::EditFunction(int i_phase, int pos) {
    Guarded(this, [&] {
        const TPhase& phase = *designer_.Model().PhasesArr.at(static_cast<std::size_t>(i_phase));
        const TModelFunction& func = *phase.functions.at(static_cast<std::size_t>(pos));
        TEditFuncForm dialog(this, phase, func, designer_.VarInfoList(), phase.tempHourFunction.get());
        PlaceDialog(&dialog);
        if (Dialogs().Exec(&dialog) != QDialog::Accepted) return;
        designer_.ApplyFunctionSettings(i_phase, pos, dialog.Settings());
        gui_RefreshFromModel();
    });
}

void TModelDesignTab::EditOverlapFunction(int i_phase) {
    Guarded(this, [&] {
        const TPhase& phase = *designer_.Model().PhasesArr.at(static_cast<std::size_t>(i_phase));
        if (!phase.overlapFunc) return;
        TEditFuncForm dialog(this, phase, *phase.overlapFunc);
        PlaceDialog(&dialog);
        if (Dialogs().Exec(&dialog) != QDialog::Accepted) return;
        designer_.ApplyOverlapSettings(i_phase, dialog.Settings());
        gui_RefreshFromModel();
    });
}
