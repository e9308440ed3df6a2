#include "TextLineReader.h"

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

bool TTextLineReader::ReadLine(std::string& line) {
    line.clear();
    lineEnded_ = false;
    SkipNonText();
    if (!Fill()) return false;
    for (;;) {
        const char* start = buffer_.data() + begin_;
        const std::size_t avail = end_ - begin_;
        std::size_t len = 0;
        while (len < avail && start[len] != '\n' && start[len] != '\r')
            ++len;
        line.append(start, len);
        if (len < avail) {
            // A CR ends the line too; a LF right after it is skipped before the next read.
            pendingLf_ = start[len] == '\r';
            begin_ += len + 1;
            position_ += static_cast<std::int64_t>(len + 1);
            lineEnded_ = true;
            return true;
        }
        begin_ = end_;
        position_ += static_cast<std::int64_t>(avail);
        if (!Fill()) return true;
    }
}

void TTextLineReader::Rewind() {
    if (file_ == nullptr) return;
    std::rewind(file_);
    begin_ = end_ = 0;
    position_ = 0;
    pendingLf_ = false;
    atStart_ = true;
    lineEnded_ = false;
}
