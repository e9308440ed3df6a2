#include "TextLineReader.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string_view>

#include "OrvexError.h"

namespace {
constexpr std::size_t BUFFER_SIZE = 1 << 16;
}

TTextLineReader::~TTextLineReader() {
    Close();
}

bool TTextLineReader::Open(const std::string& path) {
    Close();
    path_ = path;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return false;
    file_ = std::fopen(path.c_str(), "rb");
    if (file_ == nullptr) return false;
    const auto size = std::filesystem::file_size(path, ec);
    size_ = ec ? 0 : static_cast<std::int64_t>(size);
    buffer_.resize(BUFFER_SIZE);
    begin_ = end_ = 0;
    lfAt_ = crAt_ = NOT_SEARCHED;
    position_ = 0;
    pendingLf_ = false;
    atStart_ = true;
    lineEnded_ = false;
    return true;
}

void TTextLineReader::Close() {
    if (file_ != nullptr) std::fclose(file_);
    file_ = nullptr;
}

bool TTextLineReader::Fill() {
    if (begin_ < end_) return true;
    if (file_ == nullptr) return false;
    begin_ = 0;
    lfAt_ = crAt_ = NOT_SEARCHED;
    end_ = std::fread(buffer_.data(), 1, buffer_.size(), file_);
    if (end_ == 0 && std::ferror(file_)) throw EOrvexError("Error while reading the file \"" + path_ + "\".");
    return end_ > 0;
}

void TTextLineReader::SkipNonText() {
    if (atStart_) {
        atStart_ = false;
        if (Fill() && end_ - begin_ >= 3 && std::memcmp(buffer_.data() + begin_, "\xEF\xBB\xBF", 3) == 0) {
            begin_ += 3;
            position_ += 3;
        }
    }
    if (pendingLf_) {
        pendingLf_ = false;
        if (Fill() && buffer_[begin_] == '\n') {
            ++begin_;
            ++position_;
        }
    }
}

bool TTextLineReader::Eof() {
    SkipNonText();
    return !Fill();
}

std::size_t TTextLineReader::NextLineEnd() {
    const char* data = buffer_.data();
    auto find = [&](std::size_t& at, char c) {
        if (at != NOT_SEARCHED && at >= begin_) return;
        const void* p = std::memchr(data + begin_, c, end_ - begin_);
        at = p != nullptr ? static_cast<std::size_t>(static_cast<const char*>(p) - data) : end_;
    };
    find(lfAt_, '\n');
    find(crAt_, '\r');
    return std::min(lfAt_, crAt_);
}

bool TTextLineReader::ReadLine(std::string& line) {
    std::string_view view;
    const bool read = ReadLine(view);
    line.assign(view);
    return read;
}

bool TTextLineReader::ReadLine(std::string_view& line) {
    line = {};
    lineEnded_ = false;
    SkipNonText();
    if (!Fill()) return false;
    bool carried = false;
    carry_.clear();
    for (;;) {
        const char* start = buffer_.data() + begin_;
        const std::size_t avail = end_ - begin_;
        const std::size_t len = NextLineEnd() - begin_;
        if (len < avail) {
            // A CR ends the line too; a LF right after it is skipped before the next read.
            pendingLf_ = start[len] == '\r';
            begin_ += len + 1;
            position_ += static_cast<std::int64_t>(len + 1);
            lineEnded_ = true;
            if (carried) {
                carry_.append(start, len);
                line = carry_;
            } else {
                line = std::string_view(start, len);
            }
            return true;
        }
        // The buffer is about to be refilled: keep what the line holds so far.
        carry_.append(start, avail);
        carried = true;
        begin_ = end_;
        position_ += static_cast<std::int64_t>(avail);
        if (!Fill()) {
            line = carry_;
            return true;
        }
    }
}

void TTextLineReader::Rewind() {
    if (file_ == nullptr) return;
    std::rewind(file_);
    begin_ = end_ = 0;
    lfAt_ = crAt_ = NOT_SEARCHED;
    position_ = 0;
    pendingLf_ = false;
    atStart_ = true;
    lineEnded_ = false;
}
