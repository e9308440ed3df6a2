#pragma once
// What the validation progress window asks of the window that runs the validation.

class IValidationForm {
public:
    virtual ~IValidationForm() = default;
    virtual bool IsValidationSuspended() = 0;
    virtual void SuspendValidation() = 0;
    virtual void ResumeValidation() = 0;
    // Stops the validation, waits for its thread and closes the progress window.
    virtual void AbortValidation() = 0;
};
