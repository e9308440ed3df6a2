#include "EditFuncSettings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <set>

#include "AppFolder.h"
#include "BoldLabel.h"
#include "FileUtils.h"
#include "ImageViewer.h"
#include "NumberText.h"
#include "OrvexConfig.h"
#include "OrvexError.h"
#include "SlotGuard.h"
#include "TextFactory.h"
#include "WindowPlacement.h"

namespace {

QString NumberText(double v) {
    return QString::fromStdString(FloatToStrGeneral(v));
}

std::optional<double> ReadNumber(const QLineEdit* edit) {
    double v = 0.0;
    if (!TryParseSetting(edit->text().trimmed().toStdString(), v)) return std::nullopt;
    return v;
}

} // namespace

TEditFuncForm::TEditFuncForm(QWidget* owner, const TPhase& phase, const TModelFunction& func,
                             const std::vector<std::string>& variablesList, const TTempHourFunc* tempHourFunc)
    : QDialog(owner), function_(func.Clone()) {
    (void)phase;
    hourly_ = tempHourFunc != nullptr;
    if (hourly_ && variablesList.size() < 5) throw EOrvexError("Weather data have not been initialized...");
    Build(true);

    VarLinkModeCB->addItems(
        {QStringLiteral("Multiplicative"), QStringLiteral("Additive"), QStringLiteral("Composition")});
    if (hourly_) {
        // Hourly temperatures come from the day's minimum and maximum: no column to choose.
        VariableCB->addItem(QString::fromStdString(variablesList[4]));
        VariableCB->setEnabled(false);
    } else {
        std::set<std::string> seen;
        for (std::size_t k = 4; k < variablesList.size(); ++k)
            if (seen.insert(variablesList[k]).second)
                VariableCB->addItem(QString::fromStdString(variablesList[k]));
    }
    dayLengthIndex = VariableCB->count() - 1;
    gui_SelectedFunctionToSettings();
    VarLinkModeCB->setEnabled(func.phasePos != 0); // the first function has nothing to join

    TTextFactory::ShowTip(FormulaButton, TTextFactory::FUNC_FORMULA);
    TTextFactory::ShowTip(VariableCB, TTextFactory::FUNC_VARIABLE);
    TTextFactory::ShowTip(VarLinkModeCB, TTextFactory::FUNC_LINKMODE);
    TTextFactory::ShowTip(WeightEdit, TTextFactory::FUNC_WEIGHT);
}

TEditFuncForm::TEditFuncForm(QWidget* owner, const TPhase& phase, const TModelFunction& overlap_func)
    : QDialog(owner), function_(overlap_func.Clone()), isOverlapFunc(true) {
    (void)phase;
    Build(false);
    gui_SelectedFunctionToSettings();
}

TEditFuncForm::~TEditFuncForm() = default;

void TEditFuncForm::Build(bool withGlobal) {
    setWindowTitle(QStringLiteral("Function Settings"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

    FormulaButton = new QToolButton;
    FormulaButton->setText(QStringLiteral("f(x)"));
    FormulaButton->setAutoRaise(true);
    QFont italic = FormulaButton->font();
    italic.setItalic(true);
    italic.setBold(true);
    FormulaButton->setFont(italic);
    auto* title = BoldLabel(QString::fromStdString(function_->getName()));
    auto* top = new QHBoxLayout;
    top->addWidget(title);
    top->addStretch();
    top->addWidget(FormulaButton);

    GlobalSettingsGroupBox5 = new QGroupBox(QStringLiteral("Global Settings"));
    VariableCB = new QComboBox;
    VarLinkModeCB = new QComboBox;
    WeightEdit = new QLineEdit;
    WeightEdit->setAlignment(Qt::AlignRight);
    auto* form = new QFormLayout(GlobalSettingsGroupBox5);
    form->addRow(BoldLabel(QStringLiteral("Variable    :")), VariableCB);
    form->addRow(BoldLabel(QStringLiteral("Link Mode :")), VarLinkModeCB);
    form->addRow(BoldLabel(QStringLiteral("Weight     :")), WeightEdit);
    GlobalSettingsGroupBox5->setVisible(withGlobal);

    FixParametersGroupBox1 = new QGroupBox(QStringLiteral("Fix Parameters to a constant"));

    auto* buttons = new QDialogButtonBox;
    OkButton1 = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    CancelButton1 = buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    OkButton1->setDefault(true); // Enter acts as OK

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(GlobalSettingsGroupBox5);
    layout->addWidget(FixParametersGroupBox1);
    layout->addWidget(buttons);
    setMinimumWidth(280);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(FormulaButton, &QToolButton::clicked, this, &TEditFuncForm::FormulaButtonClick);
    connect(OkButton1, &QPushButton::clicked, this, &TEditFuncForm::OkButton1Click);
    connect(CancelButton1, &QPushButton::clicked, this, &QDialog::reject);
}

void TEditFuncForm::gui_SelectedFunctionToSettings() {
    TModelFunction& f = *function_;
    if (!isOverlapFunc) {
        VariableCB->setCurrentIndex(-1);
        if (hourly_)
            VariableCB->setCurrentIndex(0);
        else if (f.useDayLengthAsVar)
            VariableCB->setCurrentIndex(dayLengthIndex);
        else if (f.GetWeatherDataColumn() < VariableCB->count())
            VariableCB->setCurrentIndex(f.GetWeatherDataColumn());
        if (f.varLinkMode == TVarLinkMode::Composition) {
            VariableCB->setCurrentIndex(-1);
            VariableCB->setEnabled(false);
            VariableCB->setPlaceholderText(f.phasePos > 0 ? QStringLiteral("[Prev. Func. Val.]")
                                                          : QStringLiteral("[Prev. Phase Sum]"));
        }
        VarLinkModeCB->setCurrentIndex(static_cast<int>(f.varLinkMode));
        prev_link_mode = f.varLinkMode;
        WeightEdit->setText(NumberText(f.weight));
        connect(VarLinkModeCB, &QComboBox::currentIndexChanged, this, &TEditFuncForm::VarLinkModeCBChange);
    }

    auto* grid = new QGridLayout(FixParametersGroupBox1);
    grid->setColumnStretch(0, 1);
    for (int i = 0; i < f.nbOfParameters(); ++i) {
        TRVarInfo info;
        f.parameterInitValues(i, info);
        TParamComponent c;
        c.check = new QCheckBox(QString::fromStdString(info.name));
        c.check->setChecked(f.parameterFixed(i));
        c.edit = new QLineEdit(NumberText(f.parameterFixed(i) ? f.getParameterValue(i) : info.value));
        c.edit->setAlignment(Qt::AlignRight);
        c.edit->setFixedWidth(80);
        QSizePolicy keep = c.edit->sizePolicy();
        keep.setRetainSizeWhenHidden(true); // rows keep their place when an edit hides
        c.edit->setSizePolicy(keep);
        c.edit->setVisible(f.parameterFixed(i));
        grid->addWidget(c.check, i, 0);
        grid->addWidget(c.edit, i, 1);
        connect(c.check, &QCheckBox::toggled, this, &TEditFuncForm::myCBClick);
        p.push_back(c);
    }
    if (f.nbOfParameters() == 0) grid->addWidget(new QLabel(QStringLiteral("No parameter")), 0, 0);
}

void TEditFuncForm::myCBClick() {
    for (const TParamComponent& c : p)
        c.edit->setVisible(c.check->isChecked());
}

void TEditFuncForm::VarLinkModeCBChange() {
    const auto mode = static_cast<TVarLinkMode>(VarLinkModeCB->currentIndex());
    if (mode == TVarLinkMode::Composition) {
        VariableCB->setCurrentIndex(-1);
        VariableCB->setEnabled(false);
        VariableCB->setPlaceholderText(QStringLiteral("[Prev. Func. Val.]"));
    } else {
        VariableCB->setEnabled(!hourly_);
        if (prev_link_mode == TVarLinkMode::Composition) VariableCB->setCurrentIndex(0);
    }
    prev_link_mode = mode;
}

TFunctionEdits TEditFuncForm::Collect() const {
    TFunctionEdits s;
    if (!isOverlapFunc) {
        const int index = VariableCB->currentIndex();
        s.weatherDataColumn = index;
        s.useDayLengthAsVar = index == dayLengthIndex && index != 0;
        s.keepColumn = hourly_;
        s.varLinkMode = static_cast<TVarLinkMode>(std::max(0, VarLinkModeCB->currentIndex()));
        s.weight = ReadNumber(WeightEdit);
    }
    for (const TParamComponent& c : p)
        s.params.push_back({c.check->isChecked(), ReadNumber(c.edit)});
    return s;
}

void TEditFuncForm::OkButton1Click() {
    settings_ = Collect();
    accept();
}

QString TEditFuncForm::FormulaPicturePath(const std::string& funcName) {
    const std::string folder = GetAbsolutePath(ExeFolder(), ORVEX_RESOURCES);
    const QString own = QString::fromStdString(folder + "formula_" + funcName + ".bmp");
    return QFileInfo::exists(own) ? own : QString::fromStdString(folder + "formula_NA.bmp");
}

void TEditFuncForm::FormulaButtonClick() {
    Guarded(this, [&] {
        auto* view = new TImageView(this, FormulaPicturePath(function_->getName()));
        view->setAttribute(Qt::WA_DeleteOnClose);
        PlaceOnScreen(view, mapToGlobal(QPoint(width(), 0)), this);
        view->show();
    });
}
