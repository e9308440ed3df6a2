#pragma once
// The frame of a fit sheet: follows its run thread every 100 ms (progress, step, search lines,
// elapsed time without the paused spans), then shows the output file and opens the statistics
// grid of the repetitions.

#include <QElapsedTimer>
#include <QStringList>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "FitRun.h"
#include "RunClock.h"

class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTimer;

class TFitDisplay : public QWidget {
    Q_OBJECT
public:
    // Takes the run over, already started. createdOutput: the empty output file the wizard
    // made, removed when the fit fails or is stopped before it filled it.
    TFitDisplay(QWidget* owner, std::unique_ptr<TFitRun> fit, std::string createdOutput = {});
    // A fit still going is stopped and waited for ("Fit canceled !").
    ~TFitDisplay() override;

    // Not finished and not paused.
    bool IsRunning() const;
    bool IsFinished() const;
    void PauseFit();
    void PlayFit();
    // The timer still follows the run.
    bool Waiting() const;
    // The finished fit's output is still going into the text box, a slice per event-loop turn.
    bool Loading() const { return loadAt_ < pending_.size(); }
    std::int64_t ElapsedMs() const;
    const TFitRun* Fit() const { return fit.get(); }

    QLabel* Label1 = nullptr;
    QLabel* OutputLabel = nullptr;
    QLabel* Label2 = nullptr;
    QPlainTextEdit* RichEdit1 = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    QPushButton* ParamSelectBtn = nullptr;
    QTimer* Timer1 = nullptr;

public slots:
    void Timer1Timer();
    void ParamSelectBtnClick();

private:
    std::int64_t Now() const { return steady_.elapsed(); }
    void ShowFailure();
    void ShowOutput();
    void LoadSlice();
    void ShowElapsedTime();
    void ShowLines(const std::vector<std::string>& lines);

    std::unique_ptr<TFitRun> fit;
    std::string createdOutput_;
    QElapsedTimer steady_;
    TRunClock clock_;
    std::vector<std::string> shownProgress_;
    QStringList pending_;
    qsizetype loadAt_ = 0;
    QTimer* loader_ = nullptr;
};
