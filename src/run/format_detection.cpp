#include "run/format_detection.h"

#include "base/text_file.h"

#include <array>
#include <cstdint>

namespace lintora {

namespace {

char upperAscii(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string_view trimmedLine(std::string_view line) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!line.empty() && blank(line.front()))
        line.remove_prefix(1);
    while (!line.empty() && blank(line.back()))
        line.remove_suffix(1);
    return line;
}

// `text` (upper case) stands at the start of `line`, whose ASCII letters may be of any case.
bool startsWithUpper(std::string_view line, std::string_view text) {
    if (line.size() < text.size())
        return false;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (upperAscii(line[i]) != text[i])
            return false;
    return true;
}

bool containsUpper(std::string_view line, std::string_view text) {
    for (std::size_t i = 0; i + text.size() <= line.size(); ++i)
        if (startsWithUpper(line.substr(i), text))
            return true;
    return false;
}

// A clue of one format's landmark (one of its alternatives), with the bit it sets when found.
struct ClueRef {
    LineClue::Kind kind;
    std::string_view text;
    std::size_t format; // index in the format table
    std::uint8_t bit;   // in the format's required or excluded mask
    bool required;
};

// The clues of every landmark, filed by what a line must begin with to match them, so that
// a line is compared only with the few clues its first character allows.
class ClueIndex {
public:
    explicit ClueIndex(std::span<const FormatEntry> formats) {
        for (std::size_t f = 0; f < formats.size(); ++f) {
            const Landmark& landmark = formats[f].landmark;
            if (landmark.empty())
                continue;
            file(landmark.required, f, true);
            file(landmark.excluded, f, false);
        }
    }

    const std::vector<ClueRef>& trimmedStartingWith(char c) const {
        return m_trimmed[static_cast<unsigned char>(upperAscii(c))];
    }
    const std::vector<ClueRef>& rawStartingWith(char c) const {
        return m_raw[static_cast<unsigned char>(c)];
    }
    const std::vector<ClueRef>& title() const { return m_title; }

private:
    void file(const std::array<LineClue, 4>& clues, std::size_t format, bool required) {
        for (std::size_t i = 0; i < clues.size(); ++i) {
            const LineClue& clue = clues[i];
            std::string_view texts = clue.text;
            while (clue.kind != LineClue::Kind::None && !texts.empty()) {
                const std::size_t bar = texts.find('|');
                const std::string_view text = texts.substr(0, bar);
                texts = bar == std::string_view::npos ? std::string_view() : texts.substr(bar + 1);
                if (text.empty())
                    continue;
                const ClueRef ref{clue.kind, text, format, static_cast<std::uint8_t>(1u << i),
                                  required};
                const auto first = static_cast<unsigned char>(text.front());
                switch (clue.kind) {
                case LineClue::Kind::LineIs:
                case LineClue::Kind::LineStarts:
                    m_trimmed[first].push_back(ref);
                    break;
                case LineClue::Kind::RawLineIs:
                    m_raw[first].push_back(ref);
                    break;
                case LineClue::Kind::FirstLineContains:
                    m_title.push_back(ref);
                    break;
                case LineClue::Kind::None:
                    break;
                }
            }
        }
    }

    std::array<std::vector<ClueRef>, 256> m_trimmed;
    std::array<std::vector<ClueRef>, 256> m_raw;
    std::vector<ClueRef> m_title;
};

bool matches(const ClueRef& clue, std::string_view raw, std::string_view line) {
    switch (clue.kind) {
    case LineClue::Kind::LineIs:
        return line.size() == clue.text.size() && startsWithUpper(line, clue.text);
    case LineClue::Kind::LineStarts:
        return startsWithUpper(line, clue.text);
    case LineClue::Kind::RawLineIs:
        return raw == clue.text;
    case LineClue::Kind::FirstLineContains:
        return containsUpper(line, clue.text);
    case LineClue::Kind::None:
        break;
    }
    return false;
}

// How much of the first line a title clue looks at.
constexpr std::size_t kTitleChars = 256;

std::uint8_t maskOf(const std::array<LineClue, 4>& clues) {
    std::uint8_t mask = 0;
    for (std::size_t i = 0; i < clues.size(); ++i)
        if (clues[i].kind != LineClue::Kind::None && !clues[i].text.empty())
            mask = static_cast<std::uint8_t>(mask | (1u << i));
    return mask;
}

} // namespace

FormatDetection detectFormat(std::string_view text, std::span<const FormatEntry> formats) {
    const ClueIndex index(formats);
    struct Found {
        std::uint8_t required = 0;
        std::uint8_t excluded = 0;
    };
    std::vector<Found> found(formats.size());
    const auto note = [&](const ClueRef& ref, std::string_view raw, std::string_view line) {
        std::uint8_t& mask = ref.required ? found[ref.format].required : found[ref.format].excluded;
        if ((mask & ref.bit) == 0 && matches(ref, raw, line))
            mask = static_cast<std::uint8_t>(mask | ref.bit);
    };

    LineReader lines = netlistLines(text);
    std::string_view raw;
    bool titleSeen = false;
    while (lines.next(raw)) {
        const std::string_view line = trimmedLine(raw);
        if (line.empty())
            continue;
        if (!titleSeen) {
            titleSeen = true;
            // A title is short: a first line of megabytes (no netlist at all) is not searched.
            const std::string_view title = line.substr(0, kTitleChars);
            for (const ClueRef& ref : index.title())
                note(ref, raw, title);
        }
        for (const ClueRef& ref : index.rawStartingWith(raw.front()))
            note(ref, raw, line);
        for (const ClueRef& ref : index.trimmedStartingWith(line.front()))
            note(ref, raw, line);
    }

    FormatDetection detection;
    for (std::size_t f = 0; f < formats.size(); ++f) {
        const Landmark& landmark = formats[f].landmark;
        if (landmark.empty())
            continue;
        if (found[f].required == maskOf(landmark.required) && found[f].excluded == 0)
            detection.candidates.push_back(&formats[f]);
    }
    if (detection.candidates.size() == 1) {
        detection.verdict = FormatDetection::Verdict::Detected;
        detection.format = detection.candidates.front();
    } else if (detection.candidates.size() > 1) {
        detection.verdict = FormatDetection::Verdict::Ambiguous;
    }
    return detection;
}

FormatDetection detectFileFormat(const std::filesystem::path& path) {
    return detectFormat(readInputText(path));
}

} // namespace lintora
