#include "FitOutputFile.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "NumberText.h"
#include "OrvexError.h"

namespace {

std::string Reason() {
    return std::strerror(errno);
}

const std::string HASH_LINE(70, '#');

// A file's text from byte offset on.
std::string ReadFrom(const std::string& path, long long offset) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw EOrvexError("Cannot read the file \"" + path + "\": " + Reason());
    in.seekg(offset);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) throw EOrvexError("Cannot read the file \"" + path + "\": " + Reason());
    return text;
}

} // namespace

std::string FitHeaderText(const std::string& version, const std::string& climatePath,
                          const std::string& phenoPath, const std::string& infoPath) {
    return "Software Version : " + version + "\r\n\r\nData Files :\r\n" + climatePath + "\r\n" + phenoPath +
           "\r\n" + infoPath + "\r\n";
}

std::string MetropolisParametersText(const TRMetropolisDesc& md) {
    return "\r\nMetropolis Parameters\r\n"
           "Nb very global search = \t" +
           std::to_string(md.veryglob) + "\r\n" + "Nb global search = \t" + std::to_string(md.global) +
           "\r\n" + "Initial metropolis temperature = \t" + FormatFloat("0.#", md.temp0) + "\r\n" +
           "Temperature climb rate = \t" + FormatFloat("0.#", md.climbrate) + "\r\n" + "Ntr loops = \t" +
           std::to_string(md.ntr) + "\r\n" + "Nst loops = \t" + std::to_string(md.nts) + "\r\n\r\n";
}

std::vector<std::string> SplitFileLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    bool open = false;
    for (char c : text) {
        if (c == '\n') {
            lines.push_back(line);
            line.clear();
            open = false;
        } else {
            open = true;
            if (c != '\r') line += c;
        }
    }
    if (open) lines.push_back(line);
    return lines;
}

std::vector<std::string> SummaryBlock(std::vector<std::string> S, int leftOut, int nbFitLines) {
    const bool leaveOneOut = leftOut >= 0;
    std::string title = "SUMMARY TABLE OF ALL REPETITIONS";
    if (leaveOneOut) title += "\t[ Left fit : " + std::to_string(leftOut) + " ]";
    S.insert(S.begin(), title);
    S.insert(S.begin() + 1, "");
    S.push_back("");
    if (leaveOneOut && leftOut == 1)
        S.insert(S.begin(),
                 {HASH_LINE, "#######################  FITS SUMMARY TABLES  ########################",
                  HASH_LINE, "", ""});
    if (leaveOneOut && leftOut == nbFitLines - 1)
        S.insert(S.end(),
                 {"", HASH_LINE, "#####################  INTERMEDIATE COMPUTINGS  ######################",
                  HASH_LINE, ""});
    return S;
}

std::size_t SummaryPlace(const std::vector<std::string>& L) {
    return L.size() > 14 ? 14 : (L.empty() ? 0 : L.size() - 1);
}

void InsertSummaryLines(std::vector<std::string>& L, std::vector<std::string> S, int leftOut,
                        int nbFitLines) {
    S = SummaryBlock(std::move(S), leftOut, nbFitLines);
    L.insert(L.begin() + static_cast<std::ptrdiff_t>(SummaryPlace(L)), S.begin(), S.end());
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw EOrvexError("Cannot read the file \"" + path + "\": " + Reason());
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) throw EOrvexError("Cannot read the file \"" + path + "\": " + Reason());
    return text;
}

std::string LinesCRLF(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines)
        text += line + "\r\n";
    return text;
}

void WriteLinesCRLF(const std::string& path, const std::vector<std::string>& lines) {
    // A stop or a full disk must never leave the file half rewritten: write aside, then rename.
    const std::string tmp = path + ".tmp";
    std::FILE* f = std::fopen(tmp.c_str(), "wb");
    if (f == nullptr) throw EOrvexError("Cannot write the file \"" + path + "\": " + Reason());
    const std::string text = LinesCRLF(lines);
    const bool written = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    const bool closed = std::fclose(f) == 0;
    if (!written || !closed) {
        const std::string why = Reason();
        std::remove(tmp.c_str());
        throw EOrvexError("Cannot write the file \"" + path + "\": " + why);
    }
    std::error_code ec;
    std::filesystem::rename(tmp, path, ec);
    if (ec) {
        std::remove(tmp.c_str());
        throw EOrvexError("Cannot replace the file \"" + path + "\": " + ec.message());
    }
}

void TFitOutputFile::Create(const std::string& path, const std::string& openError) {
    file_.Create(path, openError);
}

void TFitOutputFile::Append(const std::string& text, const std::string& failText) {
    try {
        file_.Reopen();
    } catch (const EOrvexError&) {
        throw EOrvexError(failText + "\n" + Path() + ": " + Reason());
    }
    std::FILE* f = file_.Stream();
    if (std::fwrite(text.data(), 1, text.size(), f) != text.size() || std::fflush(f) != 0)
        throw EOrvexError(failText + "\n" + Path() + ": " + Reason());
}

void TFitOutputFile::InsertSummary(const std::vector<std::string>& summaryRows, int leftOut, int nbFitLines) {
    file_.Close();
    const std::string text = ReadFrom(file_.TempPath(), covered_);
    if (!deferred_) {
        std::vector<std::string> L = SplitFileLines(text);
        if (SummaryPlace(L) < 14) {
            // A header shorter than its place: the file is rewritten as it stands.
            InsertSummaryLines(L, summaryRows, leftOut, nbFitLines);
            WriteLinesCRLF(file_.TempPath(), L);
            file_.Reopen();
            return;
        }
        deferred_ = true;
        head_.assign(L.begin(), L.begin() + 14);
        body_ = std::tmpfile();
        if (body_ == nullptr) throw EOrvexError("Cannot write the file \"" + Path() + "\": " + Reason());
        AppendBody(L, 14);
    } else {
        // Only what was appended since the last pass. Its first line starts a line: the text
        // before it ended in a line break.
        AppendBody(SplitFileLines(text), 0);
    }
    covered_ += static_cast<long long>(text.size());
    summaries_.push_back(SummaryBlock(summaryRows, leftOut, nbFitLines));
    file_.Reopen();
}

void TFitOutputFile::AppendBody(const std::vector<std::string>& lines, std::size_t from) {
    std::string out;
    for (std::size_t i = from; i < lines.size(); ++i)
        out += lines[i] + "\r\n";
    if (std::fwrite(out.data(), 1, out.size(), body_) != out.size() || std::fflush(body_) != 0)
        throw EOrvexError("Cannot write the file \"" + Path() + "\": " + Reason());
}

void TFitOutputFile::DropBody() {
    if (body_ != nullptr) std::fclose(body_);
    body_ = nullptr;
}

void TFitOutputFile::Commit() {
    Complete();
    file_.Commit();
}

void TFitOutputFile::Complete() {
    if (deferred_) {
        file_.Close();
        const std::string tail = ReadFrom(file_.TempPath(), covered_);
        std::string text = LinesCRLF(head_);
        for (auto s = summaries_.rbegin(); s != summaries_.rend(); ++s)
            text += LinesCRLF(*s);
        std::FILE* f = std::fopen(file_.TempPath().c_str(), "wb");
        if (f == nullptr) throw EOrvexError("Cannot write the file \"" + Path() + "\": " + Reason());
        bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
        std::rewind(body_);
        char block[1 << 16];
        for (std::size_t n; ok && (n = std::fread(block, 1, sizeof block, body_)) > 0;)
            ok = std::fwrite(block, 1, n, f) == n;
        ok = ok && !std::ferror(body_) && std::fwrite(tail.data(), 1, tail.size(), f) == tail.size();
        const bool closed = std::fclose(f) == 0;
        if (!ok || !closed) throw EOrvexError("Cannot write the file \"" + Path() + "\": " + Reason());
        DropBody();
        deferred_ = false;
        summaries_.clear();
        head_.clear();
    }
    file_.Close();
}

void TFitOutputFile::Discard() {
    DropBody();
    deferred_ = false;
    summaries_.clear();
    head_.clear();
    file_.Discard();
}
