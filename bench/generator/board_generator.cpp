// generateBoard(): a synthetic board that looks like a real one to a netlist comparison.
//
// The parts come first, in the mix of a digital board (mostly resistors and capacitors,
// one IC in twelve parts, a few connectors, transistors, diodes). Each pin gets a role:
// ground, a supply rail, or signal. Power pins fill the ground and rail nets; signal pins
// of the small parts must be connected, IC and connector pins may stay unconnected. The
// signal nets are buses between pairs of ICs and 2- to 16-pin nets drawn from a shuffled
// pool of signal pins, sized so that the board has exactly the nets asked for.

#include "generator/netlist_generator.h"
#include "generator/random.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <stdexcept>
#include <unordered_map>

namespace lintora::bench {

namespace {

// A power net holds at most this many pins; a larger group is split into GND, GND_2, ...
// This keeps every net within what the swap pass takes per side-1 net (9998 pins).
constexpr std::size_t kPowerNetPinCap = 8000;
constexpr unsigned kBusPercent = 12;          // share of signal nets that are bus nets
constexpr unsigned kUnusedMayPinPercent = 13; // IC and connector pins left unconnected
constexpr unsigned kMeanNetSizeTimes100 = 314; // of the size weights below

constexpr std::array<std::string_view, 16> kPowerNames{
    "GND",  "P3V3", "P1V8",     "P1V2",   "P5V0",    "P2V5",    "P0V9",  "P12V",
    "P1V0", "P1V5", "P3V3_AUX", "P5V_SB", "VTT_DDR", "VPP_2V5", "P1V35", "P0V85"};

constexpr std::array<std::string_view, 24> kSignalStems{
    "CLK",  "RST_N", "EN",    "PG",   "INT_N", "SDA",   "SCL", "MOSI",
    "MISO", "SCK",   "CS_N",  "TXD",  "RXD",   "LED",   "SENSE", "FB",
    "SW",   "BOOT",  "ALERT_N", "IRQ", "PWM",  "ADC",   "GPIO", "WAKE_N"};

constexpr std::array<std::string_view, 5> kBusStems{"MEM", "LB", "HD", "EXP", "FPGA"};

// Signal net sizes 2 to 16 and how often each is drawn (mostly 2 to 4 pins).
constexpr std::array<unsigned, 15> kNetSizeWeights{500, 240, 130, 50, 30, 10, 10,
                                                   3,   3,   3,   3,  3,  3,  3, 3};

struct KindInfo {
    PartKind kind;
    std::string_view prefix;
    unsigned weight; // per mille of the parts
};

constexpr std::array<KindInfo, 10> kKinds{{
    {PartKind::Resistor, "R", 320},
    {PartKind::Capacitor, "C", 450},
    {PartKind::Inductor, "L", 15},
    {PartKind::FerriteBead, "FB", 15},
    {PartKind::Diode, "D", 35},
    {PartKind::Transistor, "Q", 30},
    {PartKind::Crystal, "Y", 5},
    {PartKind::TestPoint, "TP", 20},
    {PartKind::Ic, "U", 80},
    {PartKind::Connector, "J", 30},
}};

constexpr std::array<unsigned, 17> kIcPins{8,   14,  16,  20,  24,  28,  32,  44, 48,
                                           64, 100, 144, 176, 208, 256, 324, 400};
constexpr std::array<unsigned, 17> kIcPinWeights{20, 10, 12, 8, 6, 5, 6, 5, 6,
                                                 6,  5,  4,  2, 2, 2, 1, 1};
constexpr std::array<std::array<std::string_view, 2>, 17> kIcValues{{
    {"LM358", "AT24C256"},      {"74LVC00", "LM324"},      {"74HC595", "MAX3232"},
    {"74LVC245", "ATTINY1634"}, {"TCA9555", "ADS1256"},    {"FT232RL", "MCP23017"},
    {"ATMEGA328P", "CH340G"},   {"PIC18F45K22", "W5100"},  {"STM32F103C8", "LAN8720"},
    {"STM32F405RG", "W5500"},   {"STM32F407VG", "LPC1768"}, {"STM32F429ZI", "XC7A35T"},
    {"IMXRT1062", "LPC4357"},   {"STM32H743", "SAM9X60"},  {"XC7A100T", "IMX6ULL"},
    {"XC7K70T", "AM3358"},      {"ZYNQ7020", "LS1046A"},
}};

constexpr std::array<unsigned, 10> kConnectorPins{2, 3, 4, 6, 8, 10, 20, 40, 80, 120};
constexpr std::array<unsigned, 10> kConnectorPinWeights{20, 10, 15, 10, 10, 10, 10, 8, 5, 2};

template <std::size_t N>
std::string_view pick(Rng& rng, const std::array<std::string_view, N>& items) {
    return items[rng.below(N)];
}

void appendNumber(std::string& out, std::size_t value) {
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

std::string numbered(std::string_view stem, std::size_t number) {
    std::string text(stem);
    appendNumber(text, number);
    return text;
}

enum class Role : std::uint8_t { Signal, Ground, Rail, Unused };

// How a two-pin passive is wired.
enum class Use : std::uint8_t {
    Series,     // both pins signal
    PullUp,     // pin 1 signal, pin 2 a rail
    PullDown,   // pin 1 signal, pin 2 ground
    Decoupling, // pin 1 a rail, pin 2 ground
    Filter,     // pin 1 signal, pin 2 ground
};

// What the generator knows about a part beyond the board's record.
struct PartPlan {
    Use use = Use::Series;
    std::uint8_t rail = 1;          // power group of the part's rail pins
    std::uint16_t designedPins = 0; // pins beyond these were added later and are signal
};

class BoardBuilder {
public:
    explicit BoardBuilder(const BoardSpec& request)
        : m_request(request), m_rng(0x5EED0000ull + request.seed) {}

    Board build();

private:
    void chooseGroups();
    void addPart();
    Role role(std::size_t part, std::uint16_t pin) const;
    bool mustConnect(std::size_t part) const;
    void countPins(std::size_t part);
    std::size_t expectedPowerNets() const;
    void buildPowerNets();
    void buildBuses(std::size_t busTarget);
    std::vector<std::uint32_t> drawSizes(std::size_t count);
    void fitSizes(std::vector<std::uint32_t>& sizes);
    void buildRegularNets(const std::vector<std::uint32_t>& sizes);
    void placeNets();
    std::uint32_t typeIndex(std::string value, std::string footprint);

    const BoardSpec& m_request;
    Rng m_rng;
    Board m_board;
    std::vector<PartPlan> m_plans;
    std::unordered_map<std::string, std::uint32_t> m_typeIndex;
    std::array<std::size_t, kKinds.size()> m_nextNumber{};

    std::size_t m_groups = 0; // power groups: 0 is ground, 1 .. m_groups - 1 rails
    std::vector<unsigned> m_railWeights;
    std::vector<std::size_t> m_groupPins; // pins per power group
    std::size_t m_mustPins = 0;           // signal pins that must be connected
    std::size_t m_mayPins = 0;            // IC and connector signal pins

    // Free signal pins of each IC and connector, in pin order, taken from the front.
    std::vector<std::vector<std::uint16_t>> m_freeMayPins;
    std::vector<std::size_t> m_freeMayFront;
    std::vector<std::uint32_t> m_ics;

    std::vector<Net> m_powerNets;
    std::vector<std::vector<Net>> m_buses;
    std::vector<Net> m_regularNets;
    std::size_t m_autoNetNumber = 0;
    std::array<std::size_t, kSignalStems.size()> m_stemNumber{};
};

void BoardBuilder::chooseGroups() {
    // A tiny board has no power nets; a larger one has ground and more rails the larger
    // it is (300 nets: 4 groups, 20000 nets: 10, a million: 15).
    const std::size_t n = m_request.nets;
    m_groups = n < 8 ? 0 : std::clamp<std::size_t>(1 + std::bit_width(n / 64), 2, 16);
    m_groupPins.assign(m_groups, 0);
    for (std::size_t rail = 1; rail < m_groups; ++rail)
        m_railWeights.push_back(static_cast<unsigned>(1000 / rail));
}

std::uint32_t BoardBuilder::typeIndex(std::string value, std::string footprint) {
    std::string key = value + '\x01' + footprint;
    const auto [it, inserted] =
        m_typeIndex.try_emplace(std::move(key), static_cast<std::uint32_t>(m_board.types.size()));
    if (inserted)
        m_board.types.push_back({std::move(value), std::move(footprint)});
    return it->second;
}

void BoardBuilder::addPart() {
    static constexpr auto kindWeights = [] {
        std::array<unsigned, kKinds.size()> weights{};
        for (std::size_t i = 0; i < kKinds.size(); ++i)
            weights[i] = kKinds[i].weight;
        return weights;
    }();
    const std::size_t k = m_rng.weighted(kindWeights);
    Part part;
    part.kind = kKinds[k].kind;
    part.reference = numbered(kKinds[k].prefix, ++m_nextNumber[k]);
    PartPlan plan;
    if (m_groups > 1)
        plan.rail = static_cast<std::uint8_t>(1 + m_rng.weighted(m_railWeights));
    const bool powered = m_groups > 0;
    std::string value;
    std::string footprint;
    unsigned pins = 2;
    switch (part.kind) {
    case PartKind::Resistor: {
        static constexpr std::array<std::string_view, 12> values{
            "10K", "4K7", "1K", "100R", "22R", "33R", "47K", "100K", "0R", "2K2", "49R9", "220R"};
        static constexpr std::array<std::string_view, 3> footprints{"R0402", "R0603", "R0805"};
        value = pick(m_rng, values);
        footprint = pick(m_rng, footprints);
        const unsigned u = static_cast<unsigned>(m_rng.below(100));
        plan.use = !powered || u < 45 ? Use::Series : u < 88 ? Use::PullUp : Use::PullDown;
        break;
    }
    case PartKind::Capacitor: {
        static constexpr std::array<std::string_view, 8> values{
            "100NF", "10UF", "1UF", "22PF", "4U7", "10NF", "47UF", "100PF"};
        static constexpr std::array<std::string_view, 4> footprints{"C0402", "C0603", "C0805",
                                                                    "C1206"};
        value = pick(m_rng, values);
        footprint = pick(m_rng, footprints);
        const unsigned u = static_cast<unsigned>(m_rng.below(100));
        plan.use = !powered || u < 10 ? Use::Series : u < 35 ? Use::Filter : Use::Decoupling;
        break;
    }
    case PartKind::Inductor: {
        static constexpr std::array<std::string_view, 3> values{"10UH", "2U2H", "470NH"};
        value = pick(m_rng, values);
        footprint = "L0805";
        break;
    }
    case PartKind::FerriteBead: {
        static constexpr std::array<std::string_view, 2> values{"BLM18PG221", "BLM15AG102"};
        value = pick(m_rng, values);
        footprint = "L0603";
        break;
    }
    case PartKind::Diode: {
        static constexpr std::array<std::string_view, 4> values{"BAT54", "1N4148W", "LED_GREEN",
                                                                "SMBJ5V0"};
        const std::size_t v = m_rng.below(values.size());
        value = values[v];
        footprint = v == 2 ? "LED0603" : v == 3 ? "SMB" : "SOD123";
        break;
    }
    case PartKind::Transistor: {
        static constexpr std::array<std::string_view, 4> values{"2N7002", "BSS138", "MMBT3904",
                                                                "SI2302"};
        value = pick(m_rng, values);
        footprint = "SOT23";
        pins = 3;
        break;
    }
    case PartKind::Crystal: {
        static constexpr std::array<std::string_view, 3> values{"25MHZ", "32K768", "24MHZ"};
        value = pick(m_rng, values);
        footprint = "XTAL3225";
        break;
    }
    case PartKind::TestPoint:
        value = "TP";
        footprint = "TP1MM";
        pins = 1;
        break;
    case PartKind::Ic: {
        const std::size_t size = m_rng.weighted(kIcPinWeights);
        pins = kIcPins[size];
        value = kIcValues[size][m_rng.below(2)];
        if (pins <= 16)
            footprint = numbered(m_rng.percent(50) ? "SOIC" : "TSSOP", pins);
        else if (pins <= 64)
            footprint = numbered(m_rng.percent(50) ? "QFN" : "TQFP", pins);
        else if (pins <= 208)
            footprint = numbered("LQFP", pins);
        else
            footprint = numbered("BGA", pins);
        part.gridPins = pins > 208;
        break;
    }
    case PartKind::Connector: {
        pins = kConnectorPins[m_rng.weighted(kConnectorPinWeights)];
        value = pins <= 10 ? numbered("HDR_1X", pins) : numbered("HDR_2X", pins / 2);
        footprint = numbered(pins <= 10 ? "PINHDR_1X" : "PINHDR_2X", pins <= 10 ? pins : pins / 2);
        break;
    }
    }
    part.pinCount = static_cast<std::uint16_t>(pins);
    plan.designedPins = part.pinCount;
    part.type = typeIndex(std::move(value), std::move(footprint));
    m_board.parts.push_back(std::move(part));
    m_plans.push_back(plan);
    countPins(m_board.parts.size() - 1);
}

Role BoardBuilder::role(std::size_t index, std::uint16_t pin) const {
    const Part& part = m_board.parts[index];
    const PartPlan& plan = m_plans[index];
    const auto power = [&](Role r) { return m_groups == 0 ? Role::Unused : r; };
    switch (part.kind) {
    case PartKind::Resistor:
    case PartKind::Capacitor:
        switch (plan.use) {
        case Use::Series:
            return Role::Signal;
        case Use::PullUp:
            return pin == 1 ? Role::Signal : Role::Rail;
        case Use::PullDown:
        case Use::Filter:
            return pin == 1 ? Role::Signal : Role::Ground;
        case Use::Decoupling:
            return pin == 1 ? Role::Rail : Role::Ground;
        }
        return Role::Signal;
    case PartKind::Ic: {
        // Like a 74xx: the last pin is the supply and the middle one ground; larger ICs
        // have further supply and ground pins spread over their pins.
        const std::uint16_t n = plan.designedPins;
        if (pin > n)
            return Role::Signal;
        if (pin == n)
            return power(Role::Rail);
        if (pin == n / 2)
            return power(Role::Ground);
        if (n > 16 && pin % 16 == 4)
            return power(Role::Ground);
        if (n > 16 && pin % 16 == 12)
            return power(Role::Rail);
        return Role::Signal;
    }
    case PartKind::Connector:
        return part.pinCount >= 10 && pin % 10 == 0 ? power(Role::Ground) : Role::Signal;
    default:
        return Role::Signal;
    }
}

bool BoardBuilder::mustConnect(std::size_t index) const {
    const PartKind kind = m_board.parts[index].kind;
    return kind != PartKind::Ic && kind != PartKind::Connector;
}

void BoardBuilder::countPins(std::size_t index) {
    const Part& part = m_board.parts[index];
    const bool must = mustConnect(index);
    for (std::uint16_t pin = 1; pin <= part.pinCount; ++pin) {
        switch (role(index, pin)) {
        case Role::Signal:
            ++(must ? m_mustPins : m_mayPins);
            break;
        case Role::Ground:
            ++m_groupPins[0];
            break;
        case Role::Rail:
            ++m_groupPins[m_plans[index].rail];
            break;
        case Role::Unused:
            break;
        }
    }
}

std::size_t BoardBuilder::expectedPowerNets() const {
    std::size_t nets = 0;
    for (const std::size_t pins : m_groupPins)
        nets += (pins + kPowerNetPinCap - 1) / kPowerNetPinCap;
    return nets;
}

void BoardBuilder::buildPowerNets() {
    std::vector<std::vector<PinRef>> groups(m_groups);
    for (std::size_t g = 0; g < m_groups; ++g)
        groups[g].reserve(m_groupPins[g]);
    for (std::size_t p = 0; p < m_board.parts.size(); ++p) {
        const Part& part = m_board.parts[p];
        for (std::uint16_t pin = 1; pin <= part.pinCount; ++pin) {
            const Role r = role(p, pin);
            const PinRef ref{static_cast<std::uint32_t>(p), pin};
            if (r == Role::Ground)
                groups[0].push_back(ref);
            else if (r == Role::Rail)
                groups[m_plans[p].rail].push_back(ref);
        }
    }
    for (std::size_t g = 0; g < m_groups; ++g) {
        const std::vector<PinRef>& pins = groups[g];
        for (std::size_t start = 0, chunk = 1; start < pins.size();
             start += kPowerNetPinCap, ++chunk) {
            Net net;
            net.name = kPowerNames[g];
            if (chunk > 1) {
                net.name += '_';
                appendNumber(net.name, chunk);
            }
            const std::size_t end = std::min(pins.size(), start + kPowerNetPinCap);
            net.pins.assign(pins.begin() + static_cast<std::ptrdiff_t>(start),
                            pins.begin() + static_cast<std::ptrdiff_t>(end));
            net.power = true;
            m_powerNets.push_back(std::move(net));
        }
    }
}

// Buses of 8, 16 or 32 nets, each net a pin of one IC and the same bit of another (and,
// now and then, of a third IC on the same bus), taken from consecutive signal pins.
void BoardBuilder::buildBuses(std::size_t busTarget) {
    std::size_t busNets = 0;
    std::size_t busNumber = 0;
    const auto freeCount = [&](std::uint32_t ic) {
        return m_freeMayPins[ic].size() - m_freeMayFront[ic];
    };
    const auto findIc = [&](std::size_t width, std::uint32_t notA, std::uint32_t notB,
                            std::uint32_t& found) {
        for (int attempt = 0; attempt < 24; ++attempt) {
            const std::uint32_t ic = m_ics[m_rng.below(m_ics.size())];
            if (ic != notA && ic != notB && freeCount(ic) >= width) {
                found = ic;
                return true;
            }
        }
        return false;
    };
    constexpr std::uint32_t none = UINT32_MAX;
    while (m_ics.size() >= 2 && busNets + 4 <= busTarget) {
        static constexpr std::array<unsigned, 3> widthWeights{40, 40, 20};
        std::size_t width = std::size_t{8} << m_rng.weighted(widthWeights);
        width = std::min(width, busTarget - busNets);
        std::uint32_t a = none;
        std::uint32_t b = none;
        while (width >= 4 && !(findIc(width, none, none, a) && findIc(width, a, none, b)))
            width /= 2;
        if (width < 4)
            break;
        std::uint32_t c = none;
        if (!m_rng.percent(25) || !findIc(width, a, b, c))
            c = none;
        const std::string stem =
            numbered(kBusStems[busNumber % kBusStems.size()], busNumber / kBusStems.size()) +
            "_D";
        ++busNumber;
        std::vector<Net> bus;
        bus.reserve(width);
        for (std::size_t bit = 0; bit < width; ++bit) {
            Net net;
            net.name = numbered(stem, bit);
            for (const std::uint32_t ic : {a, b, c}) {
                if (ic == none)
                    continue;
                net.pins.push_back({ic, m_freeMayPins[ic][m_freeMayFront[ic]++]});
            }
            bus.push_back(std::move(net));
        }
        busNets += width;
        m_buses.push_back(std::move(bus));
    }
}

std::vector<std::uint32_t> BoardBuilder::drawSizes(std::size_t count) {
    std::vector<std::uint32_t> sizes(count);
    for (auto& size : sizes)
        size = static_cast<std::uint32_t>(2 + m_rng.weighted(kNetSizeWeights));
    return sizes;
}

// Makes the pins the nets ask for fit the pins the parts offer: every pin that must be
// connected is, and no more pins are asked for than there are.
void BoardBuilder::fitSizes(std::vector<std::uint32_t>& sizes) {
    if (sizes.empty())
        return;
    std::size_t demand = 0;
    for (const auto size : sizes)
        demand += size;
    std::size_t freeMay = 0;
    for (const std::uint32_t p : m_ics)
        freeMay += m_freeMayPins[p].size() - m_freeMayFront[p];
    // Connectors offer their pins too (they are not in m_ics, which lists ICs only).
    for (std::size_t p = 0; p < m_board.parts.size(); ++p)
        if (m_board.parts[p].kind == PartKind::Connector)
            freeMay += m_freeMayPins[p].size();

    // Fewer pins than the nets ask for: smaller nets first, then bigger ICs.
    for (std::size_t i = 0; demand > m_mustPins + freeMay && i < sizes.size() * 16; ++i) {
        auto& size = sizes[i % sizes.size()];
        if (size > 2) {
            --size;
            --demand;
        }
    }
    for (std::size_t i = 0; demand > m_mustPins + freeMay; ++i) {
        if (m_ics.empty() || i >= m_ics.size() * 400)
            throw std::invalid_argument("BoardSpec: the parts have too few pins for the nets");
        const std::uint32_t ic = m_ics[i % m_ics.size()];
        Part& part = m_board.parts[ic];
        if (part.pinCount >= 400)
            continue;
        ++part.pinCount;
        m_freeMayPins[ic].push_back(part.pinCount);
        ++m_mayPins;
        ++freeMay;
    }
    // More pins that must be connected than the nets ask for: bigger nets.
    while (demand < m_mustPins) {
        ++sizes[m_rng.below(sizes.size())];
        ++demand;
    }
}

void BoardBuilder::buildRegularNets(const std::vector<std::uint32_t>& sizes) {
    std::size_t demand = 0;
    for (const auto size : sizes)
        demand += size;
    std::vector<PinRef> pool;
    pool.reserve(demand);
    std::vector<PinRef> may;
    for (std::size_t p = 0; p < m_board.parts.size(); ++p) {
        const Part& part = m_board.parts[p];
        const auto ref = static_cast<std::uint32_t>(p);
        if (mustConnect(p)) {
            for (std::uint16_t pin = 1; pin <= part.pinCount; ++pin)
                if (role(p, pin) == Role::Signal)
                    pool.push_back({ref, pin});
        } else {
            for (std::size_t i = m_freeMayFront[p]; i < m_freeMayPins[p].size(); ++i)
                may.push_back({ref, m_freeMayPins[p][i]});
        }
    }
    // Which IC and connector pins stay unconnected is left to chance.
    m_rng.shuffle(std::span(may));
    const std::size_t fromMay = std::min(may.size(), demand - std::min(demand, pool.size()));
    pool.insert(pool.end(), may.begin(), may.begin() + static_cast<std::ptrdiff_t>(fromMay));
    m_rng.shuffle(std::span(pool));

    m_regularNets.reserve(sizes.size());
    std::size_t at = 0;
    for (const auto size : sizes) {
        Net net;
        if (m_rng.percent(70)) {
            net.name = "N";
            const std::size_t number = ++m_autoNetNumber;
            for (std::size_t width = 10000; width > 1 && number < width; width /= 10)
                net.name += '0';
            appendNumber(net.name, number);
        } else {
            const std::size_t stem = m_rng.below(kSignalStems.size());
            net.name = kSignalStems[stem];
            net.name += '_';
            appendNumber(net.name, ++m_stemNumber[stem]);
        }
        const std::size_t end = std::min(pool.size(), at + size);
        for (std::size_t i = at; i < end; ++i) {
            // A net connects different parts: a pin of a part already in the net trades
            // places with one further on (a resistor with both ends on one net is no use).
            const auto inNet = [&](const PinRef& pin) {
                for (std::size_t k = at; k < i; ++k)
                    if (pool[k].part == pin.part)
                        return true;
                return false;
            };
            for (int attempt = 0; attempt < 8 && end < pool.size() && inNet(pool[i]); ++attempt)
                std::swap(pool[i], pool[end + m_rng.below(pool.size() - end)]);
            net.pins.push_back(pool[i]);
        }
        at = end;
        m_regularNets.push_back(std::move(net));
    }
}

// Power nets first, then the signal nets with each bus placed as a block among them.
void BoardBuilder::placeNets() {
    std::vector<std::size_t> busAt(m_buses.size());
    for (auto& at : busAt)
        at = m_rng.below(m_regularNets.size() + 1);
    std::vector<std::size_t> order(m_buses.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t x, std::size_t y) { return busAt[x] < busAt[y]; });

    auto& nets = m_board.nets;
    nets.reserve(m_request.nets);
    for (auto& net : m_powerNets)
        nets.push_back(std::move(net));
    std::size_t nextBus = 0;
    for (std::size_t r = 0; r <= m_regularNets.size(); ++r) {
        for (; nextBus < order.size() && busAt[order[nextBus]] == r; ++nextBus)
            for (auto& net : m_buses[order[nextBus]])
                nets.push_back(std::move(net));
        if (r < m_regularNets.size())
            nets.push_back(std::move(m_regularNets[r]));
    }
}

Board BoardBuilder::build() {
    if (m_request.nets == 0)
        throw std::invalid_argument("BoardSpec: a board needs at least one net");
    chooseGroups();

    if (m_request.parts > 0) {
        m_board.parts.reserve(m_request.parts);
        while (m_board.parts.size() < m_request.parts)
            addPart();
    } else {
        // As many parts as it takes to offer the signal pins of the nets, with the share of
        // IC and connector pins that stays unconnected on a real board.
        const auto enough = [&] {
            const std::size_t powerNets = expectedPowerNets();
            if (powerNets >= m_request.nets)
                return true;
            const std::size_t want = (m_request.nets - powerNets) * kMeanNetSizeTimes100 / 100;
            const std::size_t offered =
                m_mustPins + m_mayPins * (100 - kUnusedMayPinPercent) / 100;
            return offered >= want && m_board.parts.size() >= 2;
        };
        m_board.parts.reserve(m_request.nets * 3 / 4 + 8);
        while (!enough())
            addPart();
    }

    buildPowerNets();
    if (m_powerNets.size() > m_request.nets)
        throw std::invalid_argument("BoardSpec: the parts need more power nets than nets");
    const std::size_t signalNets = m_request.nets - m_powerNets.size();

    m_freeMayPins.resize(m_board.parts.size());
    m_freeMayFront.assign(m_board.parts.size(), 0);
    for (std::size_t p = 0; p < m_board.parts.size(); ++p) {
        if (mustConnect(p))
            continue;
        const Part& part = m_board.parts[p];
        for (std::uint16_t pin = 1; pin <= part.pinCount; ++pin)
            if (role(p, pin) == Role::Signal)
                m_freeMayPins[p].push_back(pin);
        if (part.kind == PartKind::Ic)
            m_ics.push_back(static_cast<std::uint32_t>(p));
    }

    buildBuses(signalNets * kBusPercent / 100);
    std::size_t busNets = 0;
    for (const auto& bus : m_buses)
        busNets += bus.size();
    std::vector<std::uint32_t> sizes = drawSizes(signalNets - busNets);
    fitSizes(sizes);
    buildRegularNets(sizes);
    placeNets();
    return std::move(m_board);
}

} // namespace

std::size_t Board::connectedPins() const {
    std::size_t pins = 0;
    for (const Net& net : nets)
        pins += net.pins.size();
    return pins;
}

void Board::appendPinName(std::string& out, PinRef pin) const {
    const Part& part = parts[pin.part];
    if (!part.gridPins) {
        appendNumber(out, pin.pin);
        return;
    }
    // Ball-grid rows skip the letters that read like digits (I, O, Q, S, X, Z): A ... Y,
    // then AA, AB, ...
    static constexpr std::string_view rows = "ABCDEFGHJKLMNPRTUVWY";
    std::size_t columns = 1;
    while (columns * columns < part.pinCount)
        ++columns;
    const std::size_t index = pin.pin - 1u;
    const std::size_t row = index / columns;
    if (row >= rows.size())
        out += rows[row / rows.size() - 1];
    out += rows[row % rows.size()];
    appendNumber(out, index % columns + 1);
}

std::string Board::pinText(PinRef pin) const {
    std::string text = parts[pin.part].reference;
    text += '.';
    appendPinName(text, pin);
    return text;
}

namespace {

// Leaves pins unconnected until the board has at most `target` connected pins.
void trimToPins(Board& board, std::size_t target) {
    std::size_t pins = board.connectedPins();
    if (target == 0 || pins <= target)
        return;
    // Power nets shrink first, all in the same proportion, but keep a few hundred pins.
    constexpr std::size_t kPowerNetFloor = 300;
    std::size_t powerPins = 0;
    for (const Net& net : board.nets)
        if (net.power)
            powerPins += net.pins.size();
    const std::size_t excess = pins - target;
    for (Net& net : board.nets) {
        if (!net.power || net.pins.size() <= kPowerNetFloor || powerPins == 0)
            continue;
        const std::size_t share = net.pins.size() * std::min(excess, powerPins) / powerPins;
        const std::size_t keep = std::max(kPowerNetFloor, net.pins.size() - share);
        pins -= net.pins.size() - keep;
        net.pins.resize(keep);
    }
    // Then signal nets give up their third and further pins, a pin a net per round.
    for (bool trimmed = true; pins > target && trimmed;) {
        trimmed = false;
        for (Net& net : board.nets) {
            if (pins <= target)
                break;
            if (net.power || net.pins.size() <= 2)
                continue;
            net.pins.pop_back();
            --pins;
            trimmed = true;
        }
    }
}

} // namespace

Board generateBoard(const BoardSpec& request) {
    Board board = BoardBuilder(request).build();
    trimToPins(board, request.pins);
    return board;
}

} // namespace lintora::bench
