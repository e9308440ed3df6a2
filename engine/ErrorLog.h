#pragma once
// The validator's text error log: one entry per problem, aligned on the line number.

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "PendingFile.h"

// "Line <n>" padded to 16 characters, then ":" TAB tag TAB message CR LF.
std::string ErrorLogEntry(std::int64_t line, std::string_view tag, std::string_view message);

// Written aside: an earlier log stays as it was until Commit, so a log that cannot be written
// whole never replaces it.
class TErrorLog {
public:
    TErrorLog() = default;
    // Starts the log, and makes its folder when missing; raises EOrvexError naming the file.
    void Create(std::string path);
    // The log written so far replaces any earlier one; raises EOrvexError naming the file.
    void Commit();
    TErrorLog(const TErrorLog&) = delete;
    TErrorLog& operator=(const TErrorLog&) = delete;

    const std::string& Path() const { return path_; }
    void Entry(std::int64_t line, std::string_view tag, std::string_view message);
    // Titles and report pieces carry their own line breaks; each is flushed at once.
    void Piece(std::string_view text);
    void Flush();

private:
    void Write(std::string_view text);
    [[noreturn]] void Fail() const;

    std::string path_;
    TPendingFile file_;
};
