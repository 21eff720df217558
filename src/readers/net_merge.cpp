#include "readers/net_merge.h"

namespace lintora {

NetMerger::NetMerger(const Workspace& workspace)
    : m_limits(workspace.limits), m_split(workspace.limits.fieldSlots) {}

void NetMerger::add(std::string_view netLine) {
    // The line table and the merged table hold sideSlots entries each; the merged table
    // keeps its last slot empty as its end mark.
    if (m_lines >= m_limits.sideSlots)
        throw CapacityExceeded("net lines to merge");
    ++m_lines;

    const std::size_t written = mts1net(m_split, netLine);
    const std::size_t pinCount = splitPinCount(m_split, written);
    const std::string& name = m_split.at(0);

    const auto found = m_byName.find(name);
    if (found == m_byName.end()) {
        if (m_nets.size() + 1 >= m_limits.sideSlots)
            throw CapacityExceeded("merged nets");
        m_byName.emplace(name, m_nets.size());
        Net& net = m_nets.emplace_back();
        net.firstLine = netLine;
        net.name = name;
        return;
    }

    Net& net = m_nets[found->second];
    if (!net.merged) {
        // From now on the net is rebuilt from its split pins.
        FieldArray first(m_limits.fieldSlots);
        const std::size_t firstWritten = mts1net(first, net.firstLine);
        const std::size_t firstCount = splitPinCount(first, firstWritten);
        for (std::size_t i = 0; i < firstCount; ++i)
            net.pins.push_back(first.at(2 + i));
        net.firstLine.clear();
        net.merged = true;
    }
    if (net.pins.size() + pinCount + 2 > m_limits.fieldSlots)
        throw CapacityExceeded("pins of a merged net");
    for (std::size_t i = 0; i < pinCount; ++i)
        net.pins.push_back(m_split.at(2 + i));
}

void NetMerger::appendTo(std::string& netText) const {
    FieldArray fields(m_limits.fieldSlots);
    std::string line;
    for (const Net& net : m_nets) {
        if (!net.merged) {
            netText += net.firstLine;
        } else {
            fields[0] = net.name;
            fields[1] = std::to_string(net.pins.size());
            for (std::size_t i = 0; i < net.pins.size(); ++i)
                fields[2 + i] = net.pins[i];
            mntsout(fields, line);
            netText += line;
        }
        netText += "\r\n";
    }
}

} // namespace lintora
