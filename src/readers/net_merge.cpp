#include "readers/net_merge.h"

#include "base/text_hash.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace lintora {

void throwFieldSlotExceeded(std::size_t slot) {
    throw CapacityExceeded("field array slot " + std::to_string(slot));
}

// ---- NameTable

std::uint32_t NameTable::hashOf(std::string_view name) {
    return static_cast<std::uint32_t>(hashText(name));
}

std::string_view NameTable::nameAt(std::uint64_t offset) const {
    std::uint32_t length;
    std::memcpy(&length, m_text.data() + offset, sizeof length);
    return std::string_view(m_text).substr(offset + sizeof length, length);
}

std::pair<std::size_t, bool> NameTable::insert(std::string_view name, std::uint32_t hash) {
    if ((m_offsets.size() + 1) * 2 > m_slots.size())
        rehash(m_slots.empty() ? 4096 : m_slots.size() * 2);
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t s = hash & mask;; s = (s + 1) & mask) {
        const std::uint32_t held = m_slots[s];
        if (held == 0) {
            if (m_offsets.size() >= std::numeric_limits<std::uint32_t>::max() - 1 ||
                name.size() > std::numeric_limits<std::uint32_t>::max())
                throw CapacityExceeded("net names");
            const auto length = static_cast<std::uint32_t>(name.size());
            m_slots[s] = static_cast<std::uint32_t>(m_offsets.size() + 1);
            m_offsets.push_back(m_text.size());
            m_hashes.push_back(hash);
            m_text.append(reinterpret_cast<const char*>(&length), sizeof length).append(name);
            return {m_offsets.size() - 1, true};
        }
        if (m_hashes[held - 1] == hash && nameAt(m_offsets[held - 1]) == name)
            return {held - 1, false};
    }
}

void NameTable::reserve(std::size_t count) {
    m_offsets.reserve(count);
    m_hashes.reserve(count);
    m_text.reserve(count * 12);
    std::size_t slots = 4096;
    while (slots < count * 2)
        slots *= 2;
    if (slots > m_slots.size())
        rehash(slots);
}

void NameTable::prefetchSlot(std::uint32_t hash) const {
    if (!m_slots.empty())
        __builtin_prefetch(&m_slots[hash & (m_slots.size() - 1)]);
}

std::size_t NameTable::likelyNumber(std::uint32_t hash) const {
    if (m_slots.empty())
        return std::string_view::npos;
    const std::uint32_t held = m_slots[hash & (m_slots.size() - 1)];
    if (held == 0)
        return std::string_view::npos;
    __builtin_prefetch(&m_hashes[held - 1]);
    __builtin_prefetch(&m_offsets[held - 1]);
    return held - 1;
}

void NameTable::rehash(std::size_t slotCount) {
    m_slots.assign(slotCount, 0);
    const std::size_t mask = slotCount - 1;
    for (std::size_t number = 0; number < m_offsets.size(); ++number) {
        std::size_t s = m_hashes[number] & mask;
        while (m_slots[s] != 0)
            s = (s + 1) & mask;
        m_slots[s] = static_cast<std::uint32_t>(number + 1);
    }
}

// ---- NetLines

void NetLines::reserveFor(std::size_t inputBytes) {
    // A line takes some 30 bytes or more, a net's name and line 60 or more.
    m_log.reserve(inputBytes);
    m_lineStarts.reserve(inputBytes / 32);
    m_lineNets.reserve(inputBytes / 32);
    m_nets.reserve(inputBytes / 64);
    m_names.reserve(inputBytes / 64);
}

void NetLines::add(std::string_view name, std::size_t pinCount, std::string_view pinText) {
    const std::uint32_t hash = NameTable::hashOf(name);
    m_names.prefetchSlot(hash);
    m_pending.push_back({m_pendingNames.size(), name.size(), pinCount, hash});
    m_pendingNames.append(name);
    m_lineStarts.push_back(m_log.size());
    m_log.append(pinText);
    if (m_pending.size() == kLookAhead)
        resolve();
}

void NetLines::resolve() {
    // First ask for the memory of the likely nets (their slots were asked for when the
    // lines came), then look the names up in order.
    std::array<std::size_t, kLookAhead> likely;
    for (std::size_t k = 0; k < m_pending.size(); ++k)
        likely[k] = m_names.likelyNumber(m_pending[k].hash);
    for (std::size_t k = 0; k < m_pending.size(); ++k) {
        if (likely[k] < m_nets.size()) {
            m_names.prefetchName(likely[k], m_pending[k].hash);
            __builtin_prefetch(&m_nets[likely[k]]);
        }
    }
    const std::string_view names = m_pendingNames;
    for (const Pending& p : m_pending) {
        const auto [number, isNew] =
            m_names.insert(names.substr(p.nameOffset, p.nameLength), p.hash);
        if (isNew) {
            if (m_nets.size() + 1 >= m_netLimit)
                throw CapacityExceeded("merged nets");
            m_nets.push_back({p.pinCount, 1});
        } else {
            Net& net = m_nets[number];
            if (net.pinCount + p.pinCount + 2 > m_pinLimit)
                throw CapacityExceeded("pins of a merged net");
            net.pinCount += p.pinCount;
            ++net.lines;
            if (!m_keptLines.empty())
                dropKeptLine(number); // written from its pins from now on
        }
        m_lineNets.push_back(number);
    }
    m_pending.clear();
    m_pendingNames.clear();
}

void NetLines::keepLine(std::size_t net, std::string_view line) {
    m_keptLines.emplace_back(net, line); // (nets come new in their order)
}

void NetLines::dropKeptLine(std::size_t net) {
    const auto kept = std::lower_bound(m_keptLines.begin(), m_keptLines.end(), net,
                                       [](const auto& k, std::size_t n) { return k.first < n; });
    if (kept != m_keptLines.end() && kept->first == net)
        m_keptLines.erase(kept);
}

std::string_view NetLines::pinsOfLine(std::size_t line) const {
    const std::size_t end = line + 1 < m_lineStarts.size() ? m_lineStarts[line + 1] : m_log.size();
    return std::string_view(m_log).substr(m_lineStarts[line], end - m_lineStarts[line]);
}

void NetLines::appendTo(std::string& netText) {
    resolve();
    // The lines in the order of their nets, a net's lines in their own order: a counting
    // sort by net. Where every net has one line, that is the order of the lines.
    std::vector<std::size_t> byNet;
    if (m_lineNets.size() != m_nets.size()) {
        std::vector<std::size_t> next(m_nets.size());
        std::size_t place = 0;
        for (std::size_t i = 0; i < m_nets.size(); ++i) {
            next[i] = place;
            place += m_nets[i].lines;
        }
        byNet.resize(m_lineNets.size());
        for (std::size_t line = 0; line < m_lineNets.size(); ++line)
            byNet[next[m_lineNets[line]]++] = line;
    }

    netText.reserve(netText.size() + m_log.size() + m_nets.size() * 16);
    auto kept = m_keptLines.begin(); // in the order of their nets
    std::size_t place = 0;
    for (std::size_t i = 0; i < m_nets.size(); ++i) {
        const Net& net = m_nets[i];
        if (kept != m_keptLines.end() && kept->first == i) {
            netText += kept->second;
            ++kept;
        } else {
            netText += m_names.name(i);
            netText += "; ";
            netText += std::to_string(net.pinCount);
            netText += ": ";
            for (std::size_t k = place; k < place + net.lines; ++k) {
                if (!byNet.empty()) {
                    // The lines of a net lie anywhere in the log: ask for the memory of the
                    // lines a little ahead, where each starts and then its pins.
                    if (k + 2 * kLookAhead < byNet.size())
                        __builtin_prefetch(&m_lineStarts[byNet[k + 2 * kLookAhead]]);
                    if (k + kLookAhead < byNet.size())
                        __builtin_prefetch(m_log.data() + m_lineStarts[byNet[k + kLookAhead]]);
                }
                netText += pinsOfLine(byNet.empty() ? k : byNet[k]);
            }
        }
        place += net.lines;
        netText += "\r\n";
    }
}

// ---- NetMerger

namespace {

// Splitting "name; count: pinText" gives back exactly this name and these pins unless the
// name holds a blank or a separator, or a pin a blank, ";" or ":" (a "," inside a pin would
// make two pins of it).
constexpr ByteSet kSplitterMarks(" ;:,");

bool nameSplitsBack(std::string_view name) {
    return kSplitterMarks.findIn(name, 0) == name.size();
}

bool pinsSplitBack(std::size_t pinCount, std::string_view pinText) {
    // Each pin must be followed by ", " and hold none of the four itself.
    std::size_t commas = 0;
    for (std::size_t i = kSplitterMarks.findIn(pinText, 0); i < pinText.size();
         i = kSplitterMarks.findIn(pinText, i + 2)) {
        if (pinText[i] != ',' || i + 1 == pinText.size() || pinText[i + 1] != ' ')
            return false;
        ++commas;
    }
    return commas == pinCount && (pinText.empty() || pinText.ends_with(", "));
}

} // namespace

NetMerger::NetMerger(const Workspace& workspace, std::size_t inputBytes)
    : m_limits(workspace.limits), m_split(workspace.limits.fieldSlots),
      // The merged table keeps its last slot empty as its end mark.
      m_lines(workspace.limits.sideSlots, workspace.limits.fieldSlots) {
    m_lines.reserveFor(inputBytes);
}

void NetMerger::add(std::string_view name, std::size_t pinCount, std::string_view pinText,
                    Pins pins) {
    if (m_failure)
        return;
    try {
        if (nameSplitsBack(name) &&
            (pins == Pins::HoldNoSeparators || pinsSplitBack(pinCount, pinText))) {
            addUnsplit(name, pinCount, pinText);
        } else {
            // The net is taken as its line splits.
            m_line.assign(name).append("; ").append(std::to_string(pinCount)).append(": ");
            m_line.append(pinText);
            addLine(m_line);
        }
    } catch (const CapacityExceeded&) {
        m_failure = std::current_exception();
    }
}

void NetMerger::catchUp() {
    if (!m_failure) {
        try {
            m_lines.resolve();
        } catch (const CapacityExceeded&) {
            m_failure = std::current_exception();
        }
    }
    if (m_failure)
        std::rethrow_exception(m_failure);
}

void NetMerger::appendTo(std::string& netText) {
    catchUp();
    m_lines.appendTo(netText);
}

// A line that splits back into its own name and pins, taken without splitting it.
void NetMerger::addUnsplit(std::string_view name, std::size_t pinCount, std::string_view pinText) {
    // The line table holds sideSlots lines. (A failure found at once comes after those of
    // the lines before, which NetLines checks a few lines late.)
    if (m_lines.lineCount() >= m_limits.sideSlots) {
        m_lines.resolve();
        throw CapacityExceeded("net lines to merge");
    }
    // Splitting the line fills the slots up to the empty one after its last ", ".
    const std::size_t lastSlot = pinCount == 0 ? 1 : pinCount + 2;
    if (lastSlot >= m_limits.fieldSlots) {
        m_lines.resolve();
        throwFieldSlotExceeded(m_limits.fieldSlots);
    }
    m_lines.add(name, pinCount, pinText);
    m_lastLineUnsplit = true;
    m_lastPinCount = pinCount;
}

void NetMerger::addLine(std::string_view netLine) {
    m_lines.resolve();
    if (m_lines.lineCount() >= m_limits.sideSlots)
        throw CapacityExceeded("net lines to merge");
    // A line without ";" or ":" leaves the name or the count of the line split before it
    // where it was.
    if (m_lastLineUnsplit) {
        m_split[0] = m_lines.name(m_lines.lastNet());
        m_split[1] = std::to_string(m_lastPinCount);
        m_lastLineUnsplit = false;
    }
    const std::size_t written = splitNetLine(m_split, netLine);
    const std::size_t pinCount = splitPinCount(m_split, written);
    m_splitPins.clear(); // (`netLine` may be m_line)
    for (std::size_t i = 0; i < pinCount; ++i)
        m_splitPins.append(m_split.at(2 + i)).append(", ");
    m_lines.add(m_split.at(0), pinCount, m_splitPins);
    m_lines.resolve();
    // A net of this one line is written as the line was given, while no other joins it.
    if (m_lines.lastNetIsNew())
        m_lines.keepLine(m_lines.lastNet(), netLine);
}

} // namespace lintora
