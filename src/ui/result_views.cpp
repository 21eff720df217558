#include "ui/result_views.h"

#include "base/errors.h"
#include "base/messages.h"
#include "base/text_encoding.h"
#include "base/text_file.h"
#include "run/report.h"
#include "ui/window_texts.h"

#include <QStringList>

#include <algorithm>
#include <iterator>

#include <new>
#include <system_error>

namespace lintora {

namespace {

// Reads and decodes a report: UTF-8 as the window writes it, or Shift_JIS as the command
// line writes it for Windows colleagues.
ReportView::Status readReport(const std::filesystem::path& file, std::size_t maxChars,
                              QString& text) {
    std::error_code ec;
    if (!std::filesystem::exists(file, ec))
        return ReportView::Status::Missing;
    const auto size = std::filesystem::file_size(file, ec);
    if (ec)
        return ReportView::Status::Unreadable;
    // A character takes at least one byte; far larger files cannot fit once decoded.
    if (maxChars < static_cast<std::size_t>(-1) / 4 && size > maxChars * 4)
        return ReportView::Status::TooLarge;
    try {
        std::string utf8;
        if (!decodeInputText(readFileBytes(file), utf8))
            return ReportView::Status::Undecodable;
        if (charCount(utf8) > maxChars)
            return ReportView::Status::TooLarge;
        text = resultBoxText(utf8);
    } catch (const FileNotFound&) {
        return ReportView::Status::Unreadable; // a directory, or no permission
    } catch (const std::bad_alloc&) {
        return ReportView::Status::TooLarge;
    }
    return ReportView::Status::Shown;
}

QString banner(const QString& centre) {
    return texts::kStarRule + '\n' + centre + '\n' + texts::kStarRule;
}

} // namespace

QString resultBoxText(std::string_view text) {
    QString out = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    out.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    out.replace('\r', '\n');
    return out;
}

ReportView netReportView(const std::filesystem::path& file, std::size_t maxChars) {
    ReportView view;
    view.status = readReport(file, maxChars, view.text);
    if (view.status != ReportView::Status::Shown)
        return view;
    const QByteArray utf8 = view.text.toUtf8();
    view.allClear = reportHasNoDifferences(std::string_view(utf8.constData(), utf8.size()));
    if (view.allClear)
        view.text.prepend(banner(texts::kNetAllClear) + QStringLiteral("\n\n"));
    return view;
}

ReportView partsReportView(const std::filesystem::path& file, std::size_t maxChars) {
    ReportView view;
    view.status = readReport(file, maxChars, view.text);
    if (view.status != ReportView::Status::Shown)
        return view;
    // The report of a parts comparison without differences is one empty line.
    view.allClear = view.text.isEmpty() || view.text.startsWith('\n');
    if (view.allClear)
        view.text = '\n' + banner(texts::kPartsAllClear);
    return view;
}

bool errorLogHasNoErrors(const QString& text) {
    const QString headings[] = {
        QString::fromUtf8(messages::kErrorLogTitle.data(), messages::kErrorLogTitle.size()),
        QString::fromUtf8(messages::kErrorLogSide1.data(), messages::kErrorLogSide1.size()),
        QString::fromUtf8(messages::kErrorLogSide2.data(), messages::kErrorLogSide2.size())};
    bool sawHeading = false;
    for (const QString& line : text.split('\n')) {
        if (line.isEmpty())
            continue;
        if (std::find(std::begin(headings), std::end(headings), line) == std::end(headings))
            return false;
        sawHeading = true;
    }
    return sawHeading;
}

ReportView errorLogView(const std::filesystem::path& file, std::size_t maxChars) {
    ReportView view;
    view.status = readReport(file, maxChars, view.text);
    if (view.status != ReportView::Status::Shown)
        return view;
    view.allClear = errorLogHasNoErrors(view.text);
    if (view.allClear)
        view.text = '\n' + banner(texts::kErrorsAllClear);
    return view;
}

} // namespace lintora
