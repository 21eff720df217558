#pragma once

// Net lines gathered by name, and the helpers of the readers that merge nets or build their
// net lines themselves.

#include "readers/reader_support.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <exception>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace lintora {

// What the readers that merge nets or build their net lines themselves share (FUTURE,
// MENTOR, Expedition PCB, CR3000/CR5000, D2 CAD): their inputs are large, so they find
// the extent of a token and take it whole instead of going character by character.

// A set of bytes, as a table: one look-up tells whether a byte is in it.
class ByteSet {
public:
    constexpr explicit ByteSet(std::string_view bytes) : m_contains{} {
        for (const char c : bytes)
            m_contains[static_cast<unsigned char>(c)] = true;
    }
    constexpr bool contains(char c) const { return m_contains[static_cast<unsigned char>(c)]; }
    // The first position from `from` on whose byte is in the set; text.size() if none is.
    std::size_t findIn(std::string_view text, std::size_t from) const {
        while (from < text.size() && !contains(text[from]))
            ++from;
        return from;
    }

private:
    std::array<bool, 256> m_contains;
};

// The first position from `from` on whose byte is one of `Bytes`; text.size() if none is.
// For long text in which they are rare: it steps over eight bytes at a time while none of
// them is one of `Bytes`. (A byte equal to b is a zero byte of word ^ bb..b, and
// (x - 0101..01) & ~x & 8080..80 is not zero exactly when x has a zero byte.)
template <char... Bytes> std::size_t findAnyOfInLongText(std::string_view text, std::size_t from) {
    constexpr std::uint64_t ones = 0x0101010101010101ULL;
    constexpr std::uint64_t highBits = ones * 0x80;
    const auto hasZeroByte = [](std::uint64_t x) { return (x - ones) & ~x & highBits; };
    for (; from + 8 <= text.size(); from += 8) {
        std::uint64_t word;
        std::memcpy(&word, text.data() + from, 8);
        if ((hasZeroByte(word ^ (ones * static_cast<unsigned char>(Bytes))) | ...) != 0)
            break;
    }
    while (from < text.size() && ((text[from] != Bytes) && ...))
        ++from;
    return from;
}

// A number of pins over the slots of a field array would be a failure of the array itself,
// with the same message ("field array slot N" for the first slot it does not have).
[[noreturn]] void throwFieldSlotExceeded(std::size_t slot);

// Numbers distinct names in the order they first appear, and finds a name's number
// without a node per name: the names lie one after the other in one text, each after its
// length, and an open-addressing table of numbers leads to them. The table holds nothing
// else, so that it stays small and mostly in the cache; the hash of each name is kept by
// number beside where the name is.
class NameTable {
public:
    static std::uint32_t hashOf(std::string_view name);

    // The number of `name`, and true when it is new (it has been added then).
    std::pair<std::size_t, bool> insert(std::string_view name, std::uint32_t hash);
    std::pair<std::size_t, bool> insert(std::string_view name) {
        return insert(name, hashOf(name));
    }
    std::string_view name(std::size_t number) const { return nameAt(m_offsets[number]); }
    std::size_t size() const { return m_offsets.size(); }
    // Makes room for about `count` names at once: growing step by step would copy the
    // table several times over.
    void reserve(std::size_t count);

    // Starts loading the slot where the look-up of `hash` begins.
    void prefetchSlot(std::uint32_t hash) const;
    // Once that slot is loaded: the number of the name it holds, or npos (its hash and
    // where its text is are then being loaded).
    std::size_t likelyNumber(std::uint32_t hash) const;
    // Once those are loaded: starts loading the name's text when the hash matches.
    void prefetchName(std::size_t number, std::uint32_t hash) const {
        if (m_hashes[number] == hash)
            __builtin_prefetch(m_text.data() + m_offsets[number]);
    }

private:
    std::string_view nameAt(std::uint64_t offset) const;
    void rehash(std::size_t slotCount);

    std::string m_text;
    std::vector<std::uint64_t> m_offsets; // by number
    std::vector<std::uint32_t> m_hashes;  // by number
    std::vector<std::uint32_t> m_slots;   // number + 1 of the name there; 0 for a free slot
};

// Net lines gathered by name, for formats that spread a net over several lines: each line's
// pins are logged as they come, and appendTo() puts the lines of each net together, in the
// order the names first appeared.
//
// A board has many thousands of names, and looking one up mostly waits for memory. So the
// names are looked up a few lines late, several at a time, after their memory was asked
// for: the checks of a line (see the limits) are made then too, by resolve().
class NetLines {
public:
    // A new name when netLimit - 1 nets are known, or pins that would give a net more than
    // pinLimit - 2, are a capacity failure.
    NetLines(std::size_t netLimit, std::size_t pinLimit)
        : m_netLimit(netLimit), m_pinLimit(pinLimit) {}

    // Makes room for the lines of an input of about this many bytes at once.
    void reserveFor(std::size_t inputBytes);

    // One line: its name, and its pins each followed by ", ".
    void add(std::string_view name, std::size_t pinCount, std::string_view pinText);
    // Looks up the names of the lines added since the last time, in their order.
    void resolve();

    std::size_t lineCount() const { return m_lineStarts.size(); }
    // After resolve(): the nets, and the net of the last line.
    std::size_t netCount() const { return m_nets.size(); }
    std::size_t pinCount(std::size_t net) const { return m_nets[net].pinCount; }
    std::string_view name(std::size_t net) const { return m_names.name(net); }
    std::size_t lastNet() const { return m_lineNets.back(); }
    bool lastNetIsNew() const { return m_nets[lastNet()].lines == 1; }

    // The net is written as `line` instead of its name and pins while no other line joins it.
    void keepLine(std::size_t net, std::string_view line);

    // Appends the line of each net, followed by CR LF: "name; count: pins".
    void appendTo(std::string& netText);

private:
    static constexpr std::size_t kLookAhead = 16;

    struct Net {
        std::size_t pinCount;
        std::size_t lines;
    };
    struct Pending {
        std::size_t nameOffset; // in m_pendingNames
        std::size_t nameLength;
        std::size_t pinCount;
        std::uint32_t hash;
    };

    std::string_view pinsOfLine(std::size_t line) const;
    void dropKeptLine(std::size_t net);

    std::size_t m_netLimit;
    std::size_t m_pinLimit;
    NameTable m_names;
    std::vector<Net> m_nets;
    std::string m_log;                     // the pins of every line, in the order of the lines
    std::vector<std::size_t> m_lineStarts; // where each line's pins start in the log
    std::vector<std::size_t> m_lineNets;   // the net of each line looked up
    std::string m_pendingNames;            // of the lines not yet looked up
    std::vector<Pending> m_pending;
    std::vector<std::pair<std::size_t, std::string>> m_keptLines; // net, line; few
};

// Gathers net lines that carry the same net name into one net, for formats that spread a
// net over several lines or records (Mentor "NET" lines, FUTURE "PIN" lines).
//
// A line beyond the table sizes of the limits is a capacity failure. It is kept, and the
// lines after it are ignored: catchUp() and appendTo() throw it. So a reader may go on to
// the end of its input, to write its other file first, as if it had stopped there.
class NetMerger {
public:
    // `inputBytes`: the size of the input, to make room for its lines at once.
    NetMerger(const Workspace& workspace, std::size_t inputBytes);

    // What the reader knows of its pins.
    enum class Pins { Unchecked, HoldNoSeparators /* no blank, ",", ";" or ":" */ };

    // Takes one net as the net line "name; pinCount: pinText" that the net-line writer
    // builds, `pinText` holding each pin followed by ", ". Its name is compared as the
    // splitter returns it (blanks dropped), exactly; a name seen before adds the line's pins
    // after that net's pins.
    void add(std::string_view name, std::size_t pinCount, std::string_view pinText,
             Pins pins = Pins::Unchecked);

    // Throws the capacity failure of a line taken so far, if there is one. A reader that
    // fails on its own calls it first: the failure of an earlier line comes first.
    void catchUp();

    // Appends the merged nets to `netText`, in the order their names first appeared, each
    // followed by CR LF. A net that came from one line keeps that line as it was. Throws
    // the capacity failure of a line, if there is one.
    void appendTo(std::string& netText);

private:
    void addUnsplit(std::string_view name, std::size_t pinCount, std::string_view pinText);
    void addLine(std::string_view netLine);

    std::exception_ptr m_failure;

    Limits m_limits;
    FieldArray m_split;
    // True when the last line was taken without splitting it: slots 0 and 1 of its split,
    // which a later line that does not fill them would keep, are then its name and count.
    bool m_lastLineUnsplit = false;
    std::size_t m_lastPinCount = 0;
    NetLines m_lines;
    std::string m_line;
    std::string m_splitPins;
};

} // namespace lintora
