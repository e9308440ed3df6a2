#pragma once
// Line-by-line reading of a data file, with the byte position for progress. LF, CR LF and CR
// alone all end a line; a UTF-8 byte order mark at the start is skipped.

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
    // The same without a copy: the view is valid until the next call on this reader.
    bool ReadLine(std::string_view& line);
    bool Eof();
    // Whether the last line read ended with a line end (false for a last line cut short).
    bool LineEnded() const { return lineEnded_; }
    // Bytes consumed so far.
    std::int64_t Position() const { return position_; }
    void Rewind();

private:
    bool Fill();
    // Index of the next CR or LF at or after begin_, or end_ when the buffer holds none.
    std::size_t NextLineEnd();
    // Skips the byte order mark at the start, and the LF that completes a CR LF line end.
    void SkipNonText();

    std::FILE* file_ = nullptr;
    std::string path_;
    std::int64_t size_ = 0;
    std::int64_t position_ = 0;
    std::vector<char> buffer_;
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    // Where the next LF and CR were found in the buffer (end_ when absent), so that each byte is
    // searched once even when one kind of line end never occurs; NOT_SEARCHED after a refill.
    static constexpr std::size_t NOT_SEARCHED = static_cast<std::size_t>(-1);
    std::size_t lfAt_ = NOT_SEARCHED;
    std::size_t crAt_ = NOT_SEARCHED;
    // A line that runs across buffer reads is gathered here.
    std::string carry_;
    bool pendingLf_ = false;
    bool atStart_ = true;
    bool lineEnded_ = false;
};
