#include "FileReplace.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "OrvexError.h"

void ReplaceFileContents(const std::string& path, std::string_view text) {
    const std::string tmp = path + ".tmp";
    const auto fail = [&](const std::string& why) {
        std::error_code ec;
        std::filesystem::remove(tmp, ec);
        return EOrvexError("The file \"" + path + "\" cannot be written: " + why);
    };
    const auto reason = [](int err) { return std::string(err != 0 ? std::strerror(err) : "write error"); };
    errno = 0;
    std::FILE* f = std::fopen(tmp.c_str(), "wb");
    if (f == nullptr) throw fail(reason(errno));
    // The buffer may hide a failed write until the flush; the close may report the last one.
    const bool written = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    const bool flushed = std::fflush(f) == 0 && std::ferror(f) == 0;
    const int writeErrno = errno;
    const bool closed = std::fclose(f) == 0;
    if (!written || !flushed || !closed) throw fail(reason(writeErrno != 0 ? writeErrno : errno));
    std::error_code ec;
    std::filesystem::rename(tmp, path, ec);
    if (ec) throw fail(ec.message());
}
