// Writing the check sheet as an Office Open XML workbook (libxlsxwriter), and the actions of
// the window and the command line around it.
#include "run/check_sheet.h"

#include "base/errors.h"
#include "base/messages.h"
#include "base/text_file.h"
#include "base/workspace.h"

#include <xlsxwriter.h>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <new>

namespace lintora {

namespace {

// What a worksheet holds at most.
constexpr std::uint32_t kMaxRows = 1048576;
constexpr std::uint16_t kMaxColumns = 16384;
constexpr std::size_t kMaxCellUnits = 32767; // UTF-16 code units

constexpr std::string_view kTitle = "ネット比較結果チェックシート";
constexpr std::string_view kItemHeading = "項目";
constexpr std::string_view kPinHeading = "ピン";
constexpr std::uint16_t kPinColumns = 5;

constexpr lxw_color_t kRed = 0xFF0000;
constexpr lxw_color_t kBlue = 0x0000FF;

// Decodes the character at `i` and moves past it (a stray byte counts as itself).
char32_t nextCodePoint(std::string_view text, std::size_t& i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const std::size_t n = std::min(utf8SequenceLength(lead), text.size() - i);
    char32_t cp = n == 1 ? lead : lead & (0xFF >> (n + 1));
    for (std::size_t k = 1; k < n; ++k)
        cp = (cp << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
    i += n;
    return cp;
}

// Width in a spreadsheet's column units: a full-width character takes two.
std::size_t displayWidth(std::string_view text) {
    std::size_t width = 0;
    for (std::size_t i = 0; i < text.size();) {
        const char32_t cp = nextCodePoint(text, i);
        const bool narrow = cp < 0x1100 || (cp >= 0xFF61 && cp <= 0xFFDC);
        width += narrow ? 1 : 2;
    }
    return width;
}

std::size_t utf16Units(std::string_view text) {
    std::size_t units = 0;
    for (std::size_t i = 0; i < text.size();)
        units += nextCodePoint(text, i) > 0xFFFF ? 2 : 1;
    return units;
}

void checkFits(const std::vector<SheetCell>& cells) {
    for (const SheetCell& cell : cells) {
        if (cell.row < 1 || cell.row > kMaxRows || cell.column < 1 || cell.column > kMaxColumns)
            throw CapacityExceeded("check sheet: cell outside the worksheet");
        if (cell.text.size() > kMaxCellUnits && utf16Units(cell.text) > kMaxCellUnits)
            throw CapacityExceeded("check sheet: text longer than a cell holds");
    }
}

// Column A fits the header lines and the labels that have pins beside them (a whole line
// with nothing beside it may run on over the empty pin columns); B to F fit the pins.
struct ColumnWidths {
    double labels = 20;
    double pins = 10;
};

ColumnWidths columnWidths(const std::vector<SheetCell>& cells) {
    std::size_t labels = 0;
    std::size_t pins = 0;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const SheetCell& cell = cells[i];
        if (cell.column == 1) {
            const bool header = cell.row < kCheckSheetTemplateRow;
            const bool pinsBeside = i + 1 < cells.size() && cells[i + 1].row == cell.row;
            if (header || pinsBeside)
                labels = std::max(labels, displayWidth(cell.text));
        } else {
            pins = std::max(pins, displayWidth(cell.text));
        }
    }
    ColumnWidths widths;
    widths.labels = static_cast<double>(std::clamp<std::size_t>(labels + 2, 20, 255));
    widths.pins = static_cast<double>(std::clamp<std::size_t>(pins + 2, 10, 40));
    return widths;
}

// A spreadsheet program that has the workbook open leaves a lock file beside it
// (LibreOffice ".~lock.NAME#", Excel "~$NAME"). Replacing the file under it would leave the
// program showing, and saving back, the old sheet.
bool openInSpreadsheet(const std::filesystem::path& path) {
    const std::filesystem::path dir = path.parent_path();
    const std::string name = path.filename().string();
    std::error_code ignored;
    return std::filesystem::exists(dir / (".~lock." + name + "#"), ignored) ||
           std::filesystem::exists(dir / ("~$" + name), ignored);
}

// A fresh name beside `path` for the workbook while it is written.
std::filesystem::path createTemporaryBeside(const std::filesystem::path& path) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::filesystem::path temporary = path;
        temporary +=
            "." + std::to_string(::getpid()) + "-" + std::to_string(counter++) + ".partial";
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            ::close(fd);
            return temporary;
        }
        if (errno != EEXIST)
            break;
    }
    throw WriteFailed(path.string());
}

// Removes the temporary file unless it was renamed into place.
class TemporaryFile {
public:
    explicit TemporaryFile(std::filesystem::path path) : m_path(std::move(path)) {}
    ~TemporaryFile() {
        if (!m_committed)
            ::unlink(m_path.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    const std::filesystem::path& path() const { return m_path; }
    void commitAs(const std::filesystem::path& target) {
        if (::rename(m_path.c_str(), target.c_str()) != 0)
            throw WriteFailed(target.string());
        m_committed = true;
    }

private:
    std::filesystem::path m_path;
    bool m_committed = false;
};

// Frees the workbook unless it was closed (closing frees it too).
class Workbook {
public:
    explicit Workbook(const std::filesystem::path& path) {
        lxw_workbook_options options{};
        m_book = workbook_new_opt(path.c_str(), &options);
        if (m_book == nullptr)
            throw std::bad_alloc();
    }
    ~Workbook() {
        if (m_book != nullptr)
            lxw_workbook_free(m_book);
    }
    Workbook(const Workbook&) = delete;
    Workbook& operator=(const Workbook&) = delete;
    lxw_workbook* get() const { return m_book; }
    lxw_error close() {
        lxw_workbook* book = m_book;
        m_book = nullptr;
        return workbook_close(book);
    }

private:
    lxw_workbook* m_book = nullptr;
};

void check(lxw_error error) {
    if (error != LXW_NO_ERROR)
        throw RunFailure(std::string("spreadsheet library: ") + lxw_strerror(error));
}

void fillWorkbook(lxw_workbook* book, const std::vector<SheetCell>& cells) {
    lxw_worksheet* sheet = workbook_add_worksheet(book, "Sheet1");
    if (sheet == nullptr)
        throw std::bad_alloc();

    // Every cell is text ("@"), so that a line of dashes or asterisks, or a pin that looks
    // like a number or a date, stays exactly what the report says, also when edited.
    lxw_format* plain = workbook_add_format(book);
    format_set_num_format(plain, "@");
    lxw_format* red = workbook_add_format(book);
    format_set_num_format(red, "@");
    format_set_font_color(red, kRed);
    lxw_format* blue = workbook_add_format(book);
    format_set_num_format(blue, "@");
    format_set_font_color(blue, kBlue);
    lxw_format* title = workbook_add_format(book);
    format_set_num_format(title, "@");
    format_set_bold(title);
    format_set_font_size(title, 14);
    lxw_format* heading = workbook_add_format(book);
    format_set_num_format(heading, "@");
    format_set_bold(heading);
    format_set_bottom(heading, LXW_BORDER_THIN);

    const ColumnWidths widths = columnWidths(cells);
    check(worksheet_set_column(sheet, 0, 0, widths.labels, plain));
    for (lxw_col_t column = 1; column <= kPinColumns; ++column) // one by one: readers see each
        check(worksheet_set_column(sheet, column, column, widths.pins, plain));

    // The template: the title, and the row that heads the body.
    const std::string titleText(kTitle);
    check(worksheet_write_string(sheet, kCheckSheetTitleRow - 1, 0, titleText.c_str(), title));
    const lxw_row_t headingRow = kCheckSheetTemplateRow - 1;
    const std::string itemText(kItemHeading);
    const std::string pinText(kPinHeading);
    check(worksheet_write_string(sheet, headingRow, 0, itemText.c_str(), heading));
    check(worksheet_write_string(sheet, headingRow, 1, pinText.c_str(), heading));
    for (lxw_col_t column = 2; column <= kPinColumns; ++column)
        check(worksheet_write_blank(sheet, headingRow, column, heading));

    for (const SheetCell& cell : cells) {
        lxw_format* format = cell.colour == CellColour::Red    ? red
                             : cell.colour == CellColour::Blue ? blue
                                                               : plain;
        check(worksheet_write_string(sheet, cell.row - 1, cell.column - 1, cell.text.c_str(),
                                     format));
    }

    // Printed, the sheet is as wide as the page, with the body's headings on every page.
    worksheet_set_paper(sheet, 9); // A4
    worksheet_set_landscape(sheet);
    worksheet_fit_to_pages(sheet, 1, 0);
    check(worksheet_repeat_rows(sheet, headingRow, headingRow));
}

bool isFileError(lxw_error error) {
    switch (error) {
    case LXW_ERROR_CREATING_XLSX_FILE:
    case LXW_ERROR_CREATING_TMPFILE:
    case LXW_ERROR_READING_TMPFILE:
    case LXW_ERROR_ZIP_FILE_OPERATION:
    case LXW_ERROR_ZIP_FILE_ADD:
    case LXW_ERROR_ZIP_CLOSE:
        return true;
    default:
        return false;
    }
}

// Lays out workDir's report and writes `sheetPath`, telling every failure through the
// observer; `inUseMessage` is what a workbook that cannot be written shows (empty: the
// write-failure message with the file's name).
bool produceCheckSheet(const std::filesystem::path& workDir, const std::filesystem::path& sheetPath,
                       RunObserver& observer, std::string_view inUseMessage) {
    const auto tell = [&](std::string_view text, std::string_view detail = {}) {
        std::string message(text);
        message += detail;
        observer.message(message);
        return false;
    };
    try {
        std::string report;
        try {
            report = readInputText(workDir / files::report);
        } catch (const FileNotFound&) {
            return tell(messages::kCheckSheetNoReport);
        }
        writeCheckSheet(sheetPath, layOutCheckSheet(report));
        return true;
    } catch (const WriteFailed& e) {
        return inUseMessage.empty() ? tell(messages::kWriteFailed, e.path()) : tell(inUseMessage);
    } catch (const UndecodableInput& e) {
        return tell(messages::kUndecodable, e.path());
    } catch (const CapacityExceeded&) {
        return tell(messages::kCheckSheetTooLarge);
    } catch (const std::bad_alloc&) {
        return tell(messages::kUnexpected, "out of memory");
    } catch (const std::exception& e) {
        return tell(messages::kUnexpected, e.what());
    }
}

} // namespace

void writeCheckSheet(const std::filesystem::path& path, const std::vector<SheetCell>& cells) {
    checkFits(cells);
    ensureReplaceable(path);
    if (openInSpreadsheet(path))
        throw WriteFailed(path.string());
    TemporaryFile temporary(createTemporaryBeside(path));
    {
        Workbook book(temporary.path());
        fillWorkbook(book.get(), cells);
        const lxw_error closed = book.close();
        if (isFileError(closed))
            throw WriteFailed(path.string());
        check(closed);
    }
    temporary.commitAs(path);
}

std::optional<std::filesystem::path> exportCheckSheet(const std::filesystem::path& workDir,
                                                      RunObserver& observer) {
    if (!observer.question(messages::kCheckSheetQuestion))
        return std::nullopt;
    const std::filesystem::path sheetPath = workDir / kCheckSheetFileName;
    if (!produceCheckSheet(workDir, sheetPath, observer, messages::kCheckSheetInUse))
        return std::nullopt;
    std::error_code ignored;
    const std::filesystem::path absolute = std::filesystem::absolute(sheetPath, ignored);
    return absolute.empty() ? sheetPath : absolute;
}

bool writeCheckSheetFile(const std::filesystem::path& workDir,
                         const std::filesystem::path& sheetPath, RunObserver& observer) {
    return produceCheckSheet(workDir, sheetPath, observer, {});
}

} // namespace lintora
