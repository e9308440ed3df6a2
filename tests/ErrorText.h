#pragma once
// The message of the error a call raises, or "" when it raises none; a missing error then shows
// as an empty message against the expected one.

#include <functional>
#include <string>

#include "OrvexError.h"

inline std::string ErrorText(const std::function<void()>& call) {
    try {
        call();
    } catch (const EOrvexError& e) {
        return e.what();
    }
    return "";
}
