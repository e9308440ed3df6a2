#pragma once
// Line-by-line reading of a data file, LF or CR LF alike, with the byte position for progress.

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

class TTextLineReader {
public:
    TTextLineReader() = default;
    ~TTextLineReader();
    TTextLineReader(const TTextLineReader&) = delete;
    TTextLineReader& operator=(const TTextLineReader&) = delete;

    // False when the path is not a readable file (a folder counts as unreadable).
    bool Open(const std::string& path);
    void Close();
    bool IsOpen() const { return file_ != nullptr; }
    const std::string& Path() const { return path_; }
    std::int64_t Size() const { return size_; }

    // The next line without its line end; false (and an empty line) at the end of the file.
    // Raises EOrvexError naming the file when the system fails to read it.
    bool ReadLine(std::string& line);
    bool Eof();
    // Bytes consumed so far.
    std::int64_t Position() const { return position_; }
    void Rewind();

private:
    bool Fill();

    std::FILE* file_ = nullptr;
    std::string path_;
    std::int64_t size_ = 0;
    std::int64_t position_ = 0;
    std::vector<char> buffer_;
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
};

// Cells of a line split at every TAB (blanks do not split); an empty line has no cells.
// The views point into `line`.
void SplitTabCells(const std::string& line, std::vector<std::string_view>& cells);
