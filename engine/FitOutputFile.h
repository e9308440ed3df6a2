#pragma once
// The fit output file while a fit writes it: header lines end in CR LF, the repetition blocks
// are raw text with LF line breaks, and after every pass the whole file is rewritten with the
// pass's summary after the header and CR LF after every line.

#include <cstdio>
#include <string>
#include <vector>

#include "OrvexRawTypes.h"
#include "PendingFile.h"

// Lines 0-5 of the header: version, the three data files.
std::string FitHeaderText(const std::string& version, const std::string& climatePath,
                          const std::string& phenoPath, const std::string& infoPath);
// Lines 6-14: the optimiser settings.
std::string MetropolisParametersText(const TRMetropolisDesc& md);

// Lines of a text: a line ends at LF; a CR is dropped wherever it stands.
std::vector<std::string> SplitFileLines(const std::string& text);

// Summary lines of one pass inserted into the file's lines L (after the header).
// leftOut is the pass's left-out fit row (from 1), or -1 without leave-one-out.
void InsertSummaryLines(std::vector<std::string>& L, std::vector<std::string> S, int leftOut, int nbFitLines);
// The lines InsertSummaryLines inserts.
std::vector<std::string> SummaryBlock(std::vector<std::string> S, int leftOut, int nbFitLines);
// Index of L at which InsertSummaryLines inserts.
std::size_t SummaryPlace(const std::vector<std::string>& L);

// The lines as the fit files hold them: each followed by CR LF.
std::string LinesCRLF(const std::vector<std::string>& lines);
// Every line of the file followed by CR LF, through a temporary file renamed over it.
// Raises EOrvexError naming the file.
void WriteLinesCRLF(const std::string& path, const std::vector<std::string>& lines);

// Reads a whole file; raises EOrvexError naming it.
std::string ReadWholeFile(const std::string& path);

// Written aside and renamed over its path only by Commit: until then a previous file of that
// name stays as it was, and a run that ends early leaves none of its own.
class TFitOutputFile {
public:
    TFitOutputFile() = default;
    ~TFitOutputFile() { Discard(); }
    TFitOutputFile(const TFitOutputFile&) = delete;
    TFitOutputFile& operator=(const TFitOutputFile&) = delete;

    // Creates the temporary file empty and keeps it open. Raises EOrvexError with openError.
    void Create(const std::string& path, const std::string& openError);
    // Appends text and flushes; failure raises EOrvexError with failText and the reason.
    void Append(const std::string& text, const std::string& failText);
    // The summary of a pass goes after the header, and every line so far ends in CR LF. The
    // file stays open for appending. Once the header is in place the summaries are kept aside
    // and the file is put together at Commit: rewriting it at every pass of a leave-one-out
    // fit took time that grew faster than the square of its passes.
    void InsertSummary(const std::vector<std::string>& summaryRows, int leftOut, int nbFitLines);
    // Closes the file (it can be appended to again); raises EOrvexError when a write failed.
    void Close() { file_.Close(); }
    // Puts the whole file together aside and closes it; raises EOrvexError naming it when a
    // write fails. Afterwards only Commit's rename is left.
    void Complete();
    // The complete file replaces any file at its path; raises EOrvexError naming it on failure.
    void Commit();
    // Drops what was written; any file at the path is left as it was.
    void Discard();
    bool IsOpen() const { return file_.Stream() != nullptr; }
    const std::string& Path() const { return file_.FinalPath(); }

private:
    void AppendBody(const std::vector<std::string>& lines, std::size_t from);
    void DropBody();

    TPendingFile file_;
    // Once the header is written: its lines, the summaries (oldest first), the lines after them
    // with CR LF (in a file of their own), and how much of the pending file they cover.
    bool deferred_ = false;
    std::vector<std::string> head_;
    std::vector<std::vector<std::string>> summaries_;
    std::FILE* body_ = nullptr;
    long long covered_ = 0;
};
