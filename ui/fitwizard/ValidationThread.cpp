#include "ValidationThread.h"

#include <exception>

#include "InputValidator.h"

TValidationThread::TValidationThread(TInputValidator& validator, std::function<void()> onDone) {
    thread_ = std::thread([this, &validator, done = std::move(onDone)] {
        try {
            success_ = validator.Validate();
        } catch (const std::exception& e) {
            error_ = e.what();
        } catch (...) {
            error_ = "Unknown error";
        }
        if (done) done();
    });
}

TValidationThread::~TValidationThread() {
    Join();
}

void TValidationThread::Join() {
    if (thread_.joinable()) thread_.join();
}
