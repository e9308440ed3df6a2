#include "ParallelExecute.h"

#include <exception>
#include <thread>

#include "OrvexError.h"

namespace {

// Body and outcome of one helper thread; a failure is kept as text, never rethrown there.
struct TSimpleThread {
    std::string ExceptionMessage;
    std::string ExceptionType;

    void Execute(const TParallelFunction& proc) noexcept {
        try {
            if (proc) proc();
        } catch (const EOrvexError& e) {
            Fail("EOrvexError", e.what());
        } catch (const std::exception& e) {
            Fail("Exception", e.what());
        } catch (...) {
            Fail("Exception", "unknown error");
        }
    }
    void Fail(const char* type, const char* message) {
        ExceptionType = type;
        ExceptionMessage = *message != '\0' ? message : "failed";
    }
    void RaiseIfFailed() const {
        if (!ExceptionMessage.empty()) throw EOrvexError(ExceptionType + ": " + ExceptionMessage);
    }
};

} // namespace

void ParallelExe(const TParallelFunction& p1, const TParallelFunction& p2, const TParallelFunction& final) {
    TSimpleThread t1, t2;
    std::thread th1([&] { t1.Execute(p1); });
    std::thread th2;
    try {
        th2 = std::thread([&] { t2.Execute(p2); });
    } catch (...) {
        th1.join();
        throw EOrvexError("Cannot start a helper thread");
    }
    th2.join();
    th1.join();
    t2.RaiseIfFailed();
    t1.RaiseIfFailed();
    if (final) final();
}
