#pragma once
#include <stdexcept>
#include <string>

// Every failure inside the engine: an English message for the user.
class EOrvexError : public std::runtime_error {
public:
    explicit EOrvexError(const std::string& message) : std::runtime_error(message) {}
};
