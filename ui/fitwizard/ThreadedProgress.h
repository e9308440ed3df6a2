#pragma once
// The small borderless window shown while the input files are validated: a bar refreshed every
// 40 ms from the validator's position in the climate file, a pause/resume and a stop button.

#include <QDialog>
#include <cstdint>
#include <functional>

class IValidationForm;
class QLabel;
class QProgressBar;
class QTimer;
class QToolButton;

// The bar's maximum and where its value is read from (any thread may advance it).
struct TProgressValuesProvider {
    std::int64_t maximum = 0;
    std::function<std::int64_t()> value;
};

class TThreadProgressbar : public QDialog {
    Q_OBJECT
public:
    explicit TThreadProgressbar(QWidget* owner = nullptr);
    ~TThreadProgressbar() override;

    // Sets the range and starts polling (once, however often it is called); hourglass cursor.
    void Start();
    // Stops polling for good and restores the cursor; the provider is never read again.
    void Terminate();
    void UpdateProgressBar(std::int64_t value);
    bool Polling() const;

    QProgressBar* ProgressBar1 = nullptr;
    QLabel* Label1 = nullptr;
    QToolButton* PlayPauseValidationButton1 = nullptr;
    QToolButton* StopValidationButton2 = nullptr;
    IValidationForm* winOwner = nullptr;
    TProgressValuesProvider progressProvider;

public slots:
    void PlayPauseValidationButton1Click();
    void StopValidationButton2Click();
    // Only the owner closes the window: Escape does not leave a validation running unseen.
    void reject() override;

private:
    void Poll();

    QTimer* poller_ = nullptr;
    bool started_ = false;
    bool waitCursor_ = false;
    int scale_ = 1; // a bar holds an int: very large files are shown in coarser steps
};
