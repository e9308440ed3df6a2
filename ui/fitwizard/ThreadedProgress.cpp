#include "ThreadedProgress.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <climits>

#include "SlotGuard.h"
#include "ValidationForm.h"

namespace {
constexpr int POLL_MS = 40;
}

TThreadProgressbar::TThreadProgressbar(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint) {
    setWindowTitle(QStringLiteral("Checking input data validity. Please wait..."));
    setModal(true);
    ProgressBar1 = new QProgressBar;
    ProgressBar1->setTextVisible(false);
    Label1 = new QLabel(QStringLiteral("Checking input data integrity. Please wait..."));
    PlayPauseValidationButton1 = new QToolButton;
    PlayPauseValidationButton1->setIcon(style()->standardIcon(QStyle::SP_MediaPause));
    StopValidationButton2 = new QToolButton;
    StopValidationButton2->setIcon(style()->standardIcon(QStyle::SP_MediaStop));

    auto* row = new QHBoxLayout;
    row->addWidget(ProgressBar1, 1);
    row->addWidget(PlayPauseValidationButton1);
    row->addWidget(StopValidationButton2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addLayout(row);
    resize(340, 60);

    poller_ = new QTimer(this);
    poller_->setInterval(POLL_MS);
    connect(poller_, &QTimer::timeout, this, [this] { Poll(); });
    connect(PlayPauseValidationButton1, &QToolButton::clicked, this,
            &TThreadProgressbar::PlayPauseValidationButton1Click);
    connect(StopValidationButton2, &QToolButton::clicked, this,
            &TThreadProgressbar::StopValidationButton2Click);
}

TThreadProgressbar::~TThreadProgressbar() {
    Terminate();
}

void TThreadProgressbar::Start() {
    scale_ = static_cast<int>(progressProvider.maximum / INT_MAX + 1);
    ProgressBar1->setRange(0, static_cast<int>(progressProvider.maximum / scale_));
    if (!waitCursor_) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        waitCursor_ = true;
    }
    if (started_) return;
    started_ = true;
    UpdateProgressBar(0);
    poller_->start();
}

void TThreadProgressbar::Terminate() {
    poller_->stop();
    progressProvider.value = nullptr;
    if (waitCursor_) {
        QApplication::restoreOverrideCursor();
        waitCursor_ = false;
    }
}

bool TThreadProgressbar::Polling() const {
    return poller_->isActive();
}

void TThreadProgressbar::Poll() {
    if (progressProvider.value) UpdateProgressBar(progressProvider.value());
}

void TThreadProgressbar::UpdateProgressBar(std::int64_t value) {
    ProgressBar1->setValue(static_cast<int>(value / scale_));
    ProgressBar1->repaint();
}

void TThreadProgressbar::PlayPauseValidationButton1Click() {
    Guarded(this, [&] {
        if (!winOwner) return;
        if (!winOwner->IsValidationSuspended()) {
            winOwner->SuspendValidation();
            PlayPauseValidationButton1->setIcon(style()->standardIcon(QStyle::SP_MediaPlay));
        } else {
            winOwner->ResumeValidation();
            PlayPauseValidationButton1->setIcon(style()->standardIcon(QStyle::SP_MediaPause));
        }
    });
}

void TThreadProgressbar::StopValidationButton2Click() {
    Guarded(this, [&] {
        if (!winOwner) return;
        winOwner->SuspendValidation();
        if (Dialogs().Confirm(this,
                              QStringLiteral("Are you sure that you want to abort the validation process ?\n"
                                             "Press \"Cancel\" to resume."))) {
            winOwner->AbortValidation();
        } else {
            winOwner->ResumeValidation();
            PlayPauseValidationButton1->setIcon(style()->standardIcon(QStyle::SP_MediaPause));
        }
    });
}

void TThreadProgressbar::reject() {}
