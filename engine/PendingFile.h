#pragma once
// A file written aside, under a unique temporary name beside its final path, and renamed over
// that path only once complete: a stopped or failed run leaves the previous file as it was and
// no partial one.

#include <cstdio>
#include <string>
#include <string_view>

class TPendingFile {
public:
    TPendingFile() = default;
    ~TPendingFile() { Discard(); }
    TPendingFile(const TPendingFile&) = delete;
    TPendingFile& operator=(const TPendingFile&) = delete;

    // Creates the temporary file empty and keeps it open for writing. Raises EOrvexError with
    // openError when the final path is a folder or nothing can be created beside it.
    void Create(const std::string& finalPath, const std::string& openError);
    // The open stream, or nullptr once closed.
    std::FILE* Stream() const { return stream_; }
    // Opens the temporary file again for appending; raises EOrvexError naming the final path.
    void Reopen();
    // Appends text to the open stream (reopened when closed); raises EOrvexError naming the
    // final path when it cannot be written.
    void Write(std::string_view text);
    // Closes the stream; raises EOrvexError naming the final path when pending text could not
    // be written.
    void Close();
    // Closes the stream and renames the temporary file over the final path; raises EOrvexError
    // naming the final path on failure, after removing the temporary file.
    void Commit();
    // Closes the stream and removes the temporary file; never raises.
    void Discard();

    bool Pending() const { return !tempPath_.empty(); }
    const std::string& TempPath() const { return tempPath_; }
    const std::string& FinalPath() const { return finalPath_; }

private:
    [[noreturn]] void Fail(const std::string& why) const;

    std::FILE* stream_ = nullptr;
    std::string finalPath_;
    std::string tempPath_;
};
