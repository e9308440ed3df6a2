#pragma once
// The validator's text error log: one entry per problem, aligned on the line number.

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

// "Line <n>" padded to 16 characters, then ":" TAB tag TAB message CR LF.
std::string ErrorLogEntry(std::int64_t line, std::string_view tag, std::string_view message);

class TErrorLog {
public:
    TErrorLog() = default;
    // Creates (truncates) the log, and its folder when missing; raises EOrvexError naming the file.
    void Create(std::string path);
    ~TErrorLog();
    TErrorLog(const TErrorLog&) = delete;
    TErrorLog& operator=(const TErrorLog&) = delete;

    const std::string& Path() const { return path_; }
    void Entry(std::int64_t line, std::string_view tag, std::string_view message);
    // Titles and report pieces carry their own line breaks; each is flushed at once.
    void Piece(std::string_view text);
    void Flush();

private:
    void Write(std::string_view text);

    std::string path_;
    std::FILE* file_ = nullptr;
};
