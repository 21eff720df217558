#pragma once

#include <QString>

#include <cstddef>
#include <filesystem>

namespace lintora {

// What a result-box view of a report file shows. The views only read; they never change a
// file, and they work on reports of the run just finished or of an earlier one.
struct ReportView {
    enum class Status {
        Shown,       // `text` is ready for the result box
        Missing,     // the file does not exist
        TooLarge,    // more than the result box holds
        Unreadable,  // exists but cannot be read
        Undecodable, // neither UTF-8 nor Shift_JIS
    };
    Status status = Status::Missing;
    QString text;          // line ends as LF
    bool allClear = false; // show in the all-clear presentation
};

// cmp.txt: the whole file, with the full-match banner on top when the report records no
// difference.
ReportView netReportView(const std::filesystem::path& file, std::size_t maxChars);
// cmpprt.txt: the whole file, or only the parts banner when its first line is empty (the
// report of a parts comparison without differences).
ReportView partsReportView(const std::filesystem::path& file, std::size_t maxChars);
// errlog.txt: the whole file, or only the error banner when it holds nothing but the run's
// headings.
ReportView errorLogView(const std::filesystem::path& file, std::size_t maxChars);

// True when an error log holds no line beyond the headings the run writes around the
// duplicate checks.
bool errorLogHasNoErrors(const QString& text);

// Result-box text from text with CR LF (or lone CR) line ends.
QString resultBoxText(std::string_view text);

} // namespace lintora
