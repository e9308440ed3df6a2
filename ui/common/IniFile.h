#pragma once
// A named ini file read and written key by key: each read loads the file again and each write
// loads, changes and saves it, so several windows can share one file. A fallback file, when
// given, answers for every key the file itself lacks; it is only ever read.

#include <string>

class TIniFile {
public:
    explicit TIniFile(std::string path, std::string fallback = "")
        : path_(std::move(path)), fallback_(std::move(fallback)) {}
    const std::string& FileName() const { return path_; }
    // The value; the fallback's when the file, the section or the key is missing; else def.
    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& def = "") const;
    // Raises EOrvexError naming the file when it cannot be saved.
    void WriteString(const std::string& section, const std::string& key, const std::string& value);

private:
    std::string path_;
    std::string fallback_;
};
