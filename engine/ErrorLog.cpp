#include "ErrorLog.h"

#include <filesystem>

#include "NumberText.h"
#include "OrvexError.h"

std::string ErrorLogEntry(std::int64_t line, std::string_view tag, std::string_view message) {
    const std::string number = IntToStr(line);
    std::string entry = "Line " + number;
    if (number.size() < 11) entry.append(11 - number.size(), ' ');
    entry += ":\t";
    entry += tag;
    entry += '\t';
    entry += message;
    entry += "\r\n";
    return entry;
}

void TErrorLog::Create(std::string path) {
    path_ = std::move(path);
    std::error_code ec;
    const auto folder = std::filesystem::path(path_).parent_path();
    if (!folder.empty()) std::filesystem::create_directories(folder, ec);
    file_.Create(path_, "The given error file \"" + path_ + "\" doesn't exist,\nor is already in use.");
}

void TErrorLog::Commit() {
    Flush();
    try {
        file_.Commit();
    } catch (const EOrvexError&) {
        Fail();
    }
}

void TErrorLog::Fail() const {
    throw EOrvexError("Unable to write the error file \"" + path_ + "\".");
}

void TErrorLog::Write(std::string_view text) {
    std::FILE* f = file_.Stream();
    if (f == nullptr) throw EOrvexError("The error file is not open.");
    if (std::fwrite(text.data(), 1, text.size(), f) != text.size()) Fail();
}

void TErrorLog::Entry(std::int64_t line, std::string_view tag, std::string_view message) {
    Write(ErrorLogEntry(line, tag, message));
}

void TErrorLog::Piece(std::string_view text) {
    Write(text);
    Flush();
}

void TErrorLog::Flush() {
    if (file_.Stream() != nullptr && std::fflush(file_.Stream()) != 0) Fail();
}
