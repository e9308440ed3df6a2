#include "PendingFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <vector>

#include "OrvexError.h"

namespace fs = std::filesystem;

void TPendingFile::Create(const std::string& finalPath, const std::string& openError) {
    Discard();
    std::error_code ec;
    if (fs::path(finalPath).filename().empty() || fs::is_directory(finalPath, ec))
        throw EOrvexError(openError);
    std::vector<char> name(finalPath.begin(), finalPath.end());
    for (char c : std::string(".tmpXXXXXX"))
        name.push_back(c);
    name.push_back('\0');
    const int fd = ::mkstemp(name.data());
    if (fd < 0) throw EOrvexError(openError);
    ::fchmod(fd, 0644); // mkstemp makes it private; the result is an ordinary file
    stream_ = ::fdopen(fd, "wb");
    if (stream_ == nullptr) {
        ::close(fd);
        std::remove(name.data());
        throw EOrvexError(openError);
    }
    finalPath_ = finalPath;
    tempPath_ = name.data();
}

void TPendingFile::Fail(const std::string& why) const {
    throw EOrvexError("Cannot write the file \"" + finalPath_ + "\": " + why);
}

void TPendingFile::Reopen() {
    if (stream_ != nullptr) return;
    if (tempPath_.empty()) Fail("it was not created");
    stream_ = std::fopen(tempPath_.c_str(), "ab");
    if (stream_ == nullptr) Fail(std::strerror(errno));
}

void TPendingFile::Write(std::string_view text) {
    Reopen();
    if (std::fwrite(text.data(), 1, text.size(), stream_) != text.size()) Fail(std::strerror(errno));
}

void TPendingFile::Close() {
    if (stream_ == nullptr) return;
    const bool failed = std::ferror(stream_) != 0;
    const bool closeFailed = std::fclose(stream_) != 0;
    const std::string why = std::strerror(errno);
    stream_ = nullptr;
    if (failed || closeFailed) Fail(failed ? std::string("a write failed") : why);
}

void TPendingFile::Commit() {
    try {
        Close();
        if (tempPath_.empty()) Fail("it was not created");
        std::error_code ec;
        fs::rename(tempPath_, finalPath_, ec);
        if (ec) Fail(ec.message());
        tempPath_.clear();
    } catch (...) {
        Discard();
        throw;
    }
}

void TPendingFile::Discard() {
    if (stream_ != nullptr) std::fclose(stream_);
    stream_ = nullptr;
    if (!tempPath_.empty()) std::remove(tempPath_.c_str());
    tempPath_.clear();
}
