// CR3000 / CR5000 netlist reader.
//
//   /* board CTRL-01 */
//   $CCF{
//       DEFINITION{
//           74HC00: IC1, IC2;
//           10K: R1;
//       }
//       NET{
//           GND: IC1(7), IC2(7),
//                R1(2);
//       }
//       POWER{
//           VCC: IC1(14), IC2(14);
//       }
//   }
//
// A definition entry is part name ":" references separated by "," and ended by ";"; a net
// is name ":" pins separated by "," and ended by ";", a pin being REF(PIN). Blanks and line
// ends separate nothing: a name or pin broken over two lines is joined again. Everything
// is read in upper case.

#include "readers/net_merge.h"
#include "readers/readers.h"

namespace lintora {

namespace {

enum class Section { BeforeDefinition, Definition, Nets, Comment };

class Cr5Reader {
public:
    explicit Cr5Reader(ReaderOutput& out) : m_out(out), m_f(out.fields) {}

    void readLine(std::string_view line);
    // After the last line: a net still open when the file ends is written.
    void finish();

    bool foundLandmark() const { return m_foundLandmark; }
    bool metNetBlock() const { return m_metNetBlock; }

private:
    bool netPending() const { return m_netOpen || m_pinCounter > 2; }
    void openComment();
    void matchKeyword();
    bool handleSeparator(char c);
    void storePin();
    void writeNet();
    void closeNetAtBrace();

    ReaderOutput& m_out;
    FieldArray& m_f; // the part being defined
    std::string m_token;
    std::string m_netName;
    std::string m_pins; // of the open net, each followed by ", "
    Section m_section = Section::BeforeDefinition;
    Section m_saved = Section::BeforeDefinition; // the section a comment returns to
    std::size_t m_pinCounter = 2;
    bool m_netOpen = false; // a ":" named a net whose ";" has not come yet
    bool m_entryOpen = false; // a definition entry's ":" came and its ";" has not
    bool m_foundLandmark = false;
    bool m_metNetBlock = false;
};

// Finds "*/" from byte `from`; the offset after it, or npos.
std::size_t afterCommentEnd(std::string_view line, std::size_t from) {
    if (from > line.size())
        return std::string_view::npos;
    const std::size_t at = line.find("*/", from);
    return at == std::string_view::npos ? at : at + 2;
}

void Cr5Reader::openComment() {
    // Comments do not nest: a "/*" inside a comment keeps the section to return to.
    if (m_section != Section::Comment)
        m_saved = m_section;
    m_section = Section::Comment;
    m_token.clear();
}

// The keywords, recognised when the token holds exactly one of them; the token is cleared.
void Cr5Reader::matchKeyword() {
    if (m_token.empty() || (m_token.back() != '{' && m_token.back() != '}'))
        return; // every keyword ends with a brace
    if (m_token == "$CCF{") {
        m_foundLandmark = true;
    } else if (m_token == "DEFINITION{" && m_section == Section::BeforeDefinition) {
        m_section = Section::Definition;
    } else if (m_token == "}" && m_section == Section::Definition) {
        // the end of the definition block; the section stays until a net block opens
    } else if (m_token == "NET{" || m_token == "POWER{" || m_token == "GROUND{") {
        m_metNetBlock = m_metNetBlock || m_token == "NET{";
        if (netPending())
            writeNet(); // a net whose ";" never came keeps its pins
        m_section = Section::Nets;
        m_pinCounter = 2;
    } else if (m_token == "{" && m_section == Section::Nets) {
        // a lone "{" inside a net block opens nothing
    } else {
        return;
    }
    m_token.clear();
}

// A pin takes the next slot of a net record: beyond the record's last slot it is a
// capacity failure.
void Cr5Reader::storePin() {
    if (m_pinCounter >= m_f.capacity())
        throwFieldSlotExceeded(m_pinCounter);
    m_pins.append(m_token).append(", ");
    ++m_pinCounter;
    m_token.clear();
}

// Appends the net line of the open net; its name stays for a net that names none.
void Cr5Reader::writeNet() {
    std::string& netText = m_out.netText();
    netText.append(m_netName).append("; ").append(std::to_string(m_pinCounter - 2));
    netText.append(": ").append(m_pins).append("\r\n");
    m_pins.clear();
    m_pinCounter = 2;
    m_netOpen = false;
}

// A "}" that closes a block while a net is still open: the net ends there with what it
// has, including a last pin written without ";".
void Cr5Reader::closeNetAtBrace() {
    if (netPending()) {
        if (!m_token.empty())
            storePin();
        writeNet();
    }
    m_token.clear();
}

// The separators of the definition and net blocks. Returns true when c was consumed.
bool Cr5Reader::handleSeparator(char c) {
    if (m_section == Section::Definition) {
        // ":" opens an entry, also one without a part name (": R9;"), whose parts are kept
        // with an empty name to pair by their references. Outside an entry, and without a
        // token, "," and ";" are ordinary characters.
        if (c == ':') {
            m_f[1] = m_token;
            m_f[3] = m_token;
            m_entryOpen = true;
            m_token.clear();
            return true;
        }
        if ((c == ',' || c == ';') && m_entryOpen && !m_token.empty()) {
            m_f[2] = m_token;
            m_out.addPart();
            m_f[2].clear();
            m_token.clear();
            if (c == ';') {
                m_f[1].clear();
                m_f[3].clear();
                m_entryOpen = false;
            }
            return true;
        }
        return false;
    }
    if (m_section != Section::Nets)
        return false;
    switch (c) {
    case ':':
        m_netName = m_token;
        m_token.clear();
        m_netOpen = true;
        return true;
    case ',':
        storePin();
        return true;
    case ';':
        storePin();
        writeNet();
        return true;
    case '}':
        closeNetAtBrace();
        return true;
    default:
        return false;
    }
}

// Characters that take part in rules of their own; the others only extend the token, and a
// token that ends with one of them is no keyword and no comment mark.
constexpr ByteSet kRuleCharacters("$*{}():,;");
constexpr ByteSet kDropped("\r\n\t ");

void Cr5Reader::readLine(std::string_view line) {
    std::size_t i = 0;
    if (m_section == Section::Comment) {
        // A "*/" anywhere on the line closes the comment; the line goes on after it.
        const std::size_t resume = afterCommentEnd(line, 0);
        if (resume != std::string_view::npos) {
            m_section = m_saved;
            m_token.clear();
            i = resume;
        }
    }
    for (; i <= line.size(); ++i) {
        char c = i < line.size() ? line[i] : '\0';
        const bool atEnd = i == line.size();
        if (m_token == "/*") {
            openComment();
            // A comment closed on its own opening line lets the rest of the line count.
            const std::size_t resume = afterCommentEnd(line, i);
            if (resume == std::string_view::npos)
                return;
            m_section = m_saved;
            i = resume - 1; // the loop steps to `resume`
            continue;
        }
        // A keyword is recognised at the character after it; that character is then read
        // as usual, so "NET{GND: ..." keeps the G of GND.
        matchKeyword();
        if (!atEnd && c == '$') {
            m_token = "$";
            continue;
        }
        if (m_section == Section::Comment && m_token == "*") {
            m_token.clear(); // the next line is read afresh
            return;          // a "*" line inside a comment
        }
        bool isEmptyCharacter = atEnd;
        if (m_section == Section::Nets && !atEnd) {
            if (c == '(') {
                c = '.';
            } else if (c == ')') {
                isEmptyCharacter = true;
            }
        }
        if (!isEmptyCharacter && handleSeparator(c))
            continue;
        if (isEmptyCharacter)
            continue;
        if (kRuleCharacters.contains(line[i])) { // "(" has become "." here
            if (!kDropped.contains(c))
                m_token += c;
            continue;
        }
        // The ordinary characters after it go the same way: none of them can complete a
        // keyword or a comment mark, so no rule applies until the next other character.
        const std::size_t end = kRuleCharacters.findIn(line, i + 1);
        for (; i < end; ++i)
            if (!kDropped.contains(line[i]))
                m_token += line[i];
        i = end - 1;
    }
}

void Cr5Reader::finish() {
    if (!netPending())
        return;
    if (m_section == Section::Nets && !m_token.empty())
        storePin();
    writeNet();
}

} // namespace

// readCr5000: converts a CR3000 / CR5000 netlist into net.tmp and parts.tmp.
ReaderResult readCr5000(Workspace& ws, const std::string& path) {
    ReaderInput input(path);
    ReaderOutput out(ws);
    Cr5Reader reader(out);
    std::string_view line;
    std::string upper;
    while (input.next(line)) {
        upper.assign(line);
        upperCaseInPlace(upper);
        reader.readLine(upper);
    }
    if (!reader.foundLandmark()) {
        if (reader.metNetBlock())
            out.writePartsFile();
        ws.observer.hideProgress();
        return ReaderResult::NotRecognised;
    }
    reader.finish();
    out.writeNetFile();
    // Written also when no "NET{" block came, so the run always finds this side's parts.
    out.writePartsFile();
    return ReaderResult::Recognised;
}

} // namespace lintora
