// reviseBoard(): the second side of a benchmark comparison, a board after an engineering
// change. Each change touches signal nets only, and each net at most once, so the
// comparison's result can be predicted from the counts: a moved pin gives two nets with
// differences (the net it left keeps at least two thirds of its pins, the net it joined
// all of its own), a missing net and an extra net stay unpaired, a renamed net matches.

#include "generator/netlist_generator.h"
#include "generator/random.h"

#include <algorithm>
#include <charconv>
#include <map>
#include <stdexcept>
#include <string>

namespace lintora::bench {

namespace {

enum class Change { Rename, Move, Missing, Extra };

// "TP12" -> ("TP", 12). A reference without trailing digits has number 0.
std::pair<std::string, std::size_t> splitReference(std::string_view reference) {
    std::size_t digits = reference.size();
    while (digits > 0 && reference[digits - 1] >= '0' && reference[digits - 1] <= '9')
        --digits;
    std::size_t number = 0;
    std::from_chars(reference.data() + digits, reference.data() + reference.size(), number);
    return {std::string(reference.substr(0, digits)), number};
}

class Reviser {
public:
    Reviser(const Board& board, const RevisionSpec& request)
        : m_request(request), m_rng(0x2E7150000ull + request.seed), m_original(board) {
        m_revision.board = board;
    }

    Revision revise();

private:
    bool takeNet(std::size_t minimumPins, std::size_t& net);
    void collectFreePins();
    bool takeFreePin(std::uint32_t notPart, PinRef& pin);
    PinRef newTestPoint();
    void renumber();

    const RevisionSpec& m_request;
    Rng m_rng;
    const Board& m_original;
    Revision m_revision;

    std::vector<std::size_t> m_signalNets; // shuffled; taken from m_nextNet on
    std::size_t m_nextNet = 0;
    std::vector<PinRef> m_freePins; // unconnected IC and connector pins, shuffled
    std::size_t m_nextFreePin = 0;
    std::size_t m_nextTestPoint = 0; // number of the last test point, once one is added
    std::uint32_t m_testPointType = UINT32_MAX;
};

// The next unchanged signal net with at least `minimumPins` pins.
bool Reviser::takeNet(std::size_t minimumPins, std::size_t& net) {
    const auto& nets = m_revision.board.nets;
    for (std::size_t i = m_nextNet; i < m_signalNets.size(); ++i) {
        if (nets[m_signalNets[i]].pins.size() >= minimumPins) {
            std::swap(m_signalNets[i], m_signalNets[m_nextNet]);
            net = m_signalNets[m_nextNet++];
            return true;
        }
    }
    return false;
}

void Reviser::collectFreePins() {
    const Board& board = m_original;
    std::vector<std::size_t> firstPin(board.parts.size() + 1, 0);
    for (std::size_t p = 0; p < board.parts.size(); ++p)
        firstPin[p + 1] = firstPin[p] + board.parts[p].pinCount;
    std::vector<bool> connected(firstPin.back(), false);
    for (const Net& net : board.nets)
        for (const PinRef& pin : net.pins)
            connected[firstPin[pin.part] + pin.pin - 1] = true;
    for (std::size_t p = 0; p < board.parts.size(); ++p) {
        const PartKind kind = board.parts[p].kind;
        if (kind != PartKind::Ic && kind != PartKind::Connector)
            continue;
        for (std::uint16_t pin = 1; pin <= board.parts[p].pinCount; ++pin)
            if (!connected[firstPin[p] + pin - 1])
                m_freePins.push_back({static_cast<std::uint32_t>(p), pin});
    }
    m_rng.shuffle(std::span(m_freePins));
}

bool Reviser::takeFreePin(std::uint32_t notPart, PinRef& pin) {
    for (std::size_t i = m_nextFreePin; i < m_freePins.size(); ++i) {
        if (m_freePins[i].part != notPart) {
            std::swap(m_freePins[i], m_freePins[m_nextFreePin]);
            pin = m_freePins[m_nextFreePin++];
            return true;
        }
    }
    return false;
}

// When the board has no unconnected pin left, an extra net is wired to new test points.
PinRef Reviser::newTestPoint() {
    Board& board = m_revision.board;
    if (m_testPointType == UINT32_MAX) {
        for (const Part& part : board.parts) {
            const auto [prefix, number] = splitReference(part.reference);
            if (prefix == "TP")
                m_nextTestPoint = std::max(m_nextTestPoint, number);
        }
        m_testPointType = static_cast<std::uint32_t>(board.types.size());
        board.types.push_back({"TP", "TP1MM"});
    }
    Part part;
    part.reference = "TP" + std::to_string(++m_nextTestPoint);
    part.type = m_testPointType;
    part.pinCount = 1;
    part.kind = PartKind::TestPoint;
    board.parts.push_back(std::move(part));
    return {static_cast<std::uint32_t>(board.parts.size() - 1), 1};
}

// Renumbers a share of the original parts: some swap references among themselves in
// cycles (R5 takes R9's, R9 takes R5's), the others get numbers after the highest of
// their prefix. The swap file names each old reference once, so every pin is renamed by
// the one pair of its own reference.
void Reviser::renumber() {
    Board& board = m_revision.board;
    const std::size_t originalParts = m_original.parts.size();
    if (originalParts == 0)
        return;
    std::size_t count = static_cast<std::size_t>(m_request.renumberShare *
                                                 static_cast<double>(originalParts) + 0.5);
    count = std::clamp<std::size_t>(count, 1, originalParts);

    std::map<std::string, std::size_t> highest;
    for (const Part& part : board.parts) {
        const auto [prefix, number] = splitReference(part.reference);
        auto& top = highest[prefix];
        top = std::max(top, number);
    }
    std::vector<std::uint32_t> chosen(originalParts);
    for (std::size_t p = 0; p < originalParts; ++p)
        chosen[p] = static_cast<std::uint32_t>(p);
    m_rng.shuffle(std::span(chosen));
    chosen.resize(count);

    std::map<std::string, std::vector<std::uint32_t>> cycles;
    std::vector<std::string> newReference(count);
    for (std::size_t i = 0; i < count; ++i) {
        const Part& part = board.parts[chosen[i]];
        const auto [prefix, number] = splitReference(part.reference);
        if (m_rng.percent(50)) {
            cycles[prefix].push_back(static_cast<std::uint32_t>(i));
        } else {
            newReference[i] = prefix + std::to_string(++highest[prefix]);
        }
    }
    for (auto& [prefix, members] : cycles) {
        if (members.size() == 1) { // a cycle of one renames nothing: give it a new number
            newReference[members[0]] = prefix + std::to_string(++highest[prefix]);
            continue;
        }
        for (std::size_t k = 0; k < members.size(); ++k) {
            const std::uint32_t next = members[(k + 1) % members.size()];
            newReference[members[k]] = board.parts[chosen[next]].reference;
        }
    }
    std::string& swap = m_revision.swapText;
    for (std::size_t i = 0; i < count; ++i) {
        swap += board.parts[chosen[i]].reference;
        swap += ' ';
        swap += newReference[i];
        swap += "\r\n";
    }
    for (std::size_t i = 0; i < count; ++i)
        board.parts[chosen[i]].reference = std::move(newReference[i]);
    m_revision.renumberedReferences = count;
}

Revision Reviser::revise() {
    if (!(m_request.changes >= 0.0 && m_request.changes <= 1.0))
        throw std::invalid_argument("RevisionSpec: changes must be a share from 0 to 1");
    Board& board = m_revision.board;
    for (std::size_t n = 0; n < board.nets.size(); ++n)
        if (!board.nets[n].power)
            m_signalNets.push_back(n);
    m_rng.shuffle(std::span(m_signalNets));
    collectFreePins();

    const std::size_t changes =
        static_cast<std::size_t>(m_request.changes * static_cast<double>(board.nets.size()) + 0.5);
    std::vector<bool> missing(board.nets.size(), false);
    std::vector<Net> extra;
    for (std::size_t c = 0; c < changes; ++c) {
        std::size_t net = 0;
        std::size_t other = 0;
        switch (static_cast<Change>(c % 4)) {
        case Change::Rename:
            if (takeNet(1, net)) {
                board.nets[net].name += "_REV";
                ++m_revision.renamedNets;
            }
            break;
        case Change::Move:
            // The net the pin leaves keeps at least two pins.
            if (takeNet(3, net) && takeNet(2, other)) {
                auto& from = board.nets[net].pins;
                const std::size_t at = m_rng.below(from.size());
                board.nets[other].pins.push_back(from[at]);
                from.erase(from.begin() + static_cast<std::ptrdiff_t>(at));
                ++m_revision.movedPins;
            }
            break;
        case Change::Missing:
            if (takeNet(1, net)) {
                missing[net] = true;
                ++m_revision.missingNets;
            }
            break;
        case Change::Extra: {
            Net added;
            added.name = "ECO_" + std::to_string(extra.size() + 1);
            PinRef first{};
            PinRef second{};
            if (!takeFreePin(UINT32_MAX, first))
                first = newTestPoint();
            if (!takeFreePin(first.part, second))
                second = newTestPoint();
            added.pins = {first, second};
            extra.push_back(std::move(added));
            ++m_revision.extraNets;
            break;
        }
        }
    }

    std::size_t kept = 0;
    for (std::size_t n = 0; n < board.nets.size(); ++n) {
        if (missing[n])
            continue;
        if (kept != n)
            board.nets[kept] = std::move(board.nets[n]);
        ++kept;
    }
    board.nets.resize(kept);
    for (auto& net : extra)
        board.nets.push_back(std::move(net));

    if (m_request.renumber)
        renumber();
    return std::move(m_revision);
}

} // namespace

Revision reviseBoard(const Board& board, const RevisionSpec& request) {
    return Reviser(board, request).revise();
}

} // namespace lintora::bench
