#include "cli/json_report.h"

#include "base/workspace.h"

#include <nlohmann/json.hpp>

#include <filesystem>

namespace lintora::cli {

namespace {

using Json = nlohmann::ordered_json;

// The version of the document's layout: raised when a field changes its meaning or goes.
constexpr int kSchemaVersion = 1;

const char* outcomeName(RunOutcome outcome) {
    switch (outcome) {
    case RunOutcome::Completed:
        return "completed";
    case RunOutcome::InvalidInput:
        return "invalidInput";
    case RunOutcome::BadAdjustment:
        return "badAdjustment";
    case RunOutcome::UnknownFormat:
        return "unknownFormat";
    case RunOutcome::FormatMismatch:
        return "formatMismatch";
    case RunOutcome::FileNotFound:
        return "fileNotFound";
    case RunOutcome::CapacityExceeded:
        return "capacityExceeded";
    case RunOutcome::ResultTooLarge:
        return "resultTooLarge";
    case RunOutcome::UndecodableInput:
        return "undecodableInput";
    case RunOutcome::WriteFailed:
        return "writeFailed";
    case RunOutcome::Busy:
        return "busy";
    case RunOutcome::Unexpected:
        return "unexpected";
    }
    return "unexpected";
}

Json repeats(const DuplicateFindings& findings) {
    Json list = Json::array();
    for (const RepeatedName& repeat : findings.repeats)
        list.push_back({{"name", repeat.name}, {"occurrences", repeat.occurrences}});
    return list;
}

Json pinList(const std::vector<std::string>& pins) {
    Json list = Json::array();
    for (const std::string& pin : pins)
        list.push_back(pin);
    return list;
}

// A net line as the comparison reports it, "name; count: pin, pin, ", taken apart again.
Json unpairedNet(std::string_view line) {
    const std::size_t nameEnd = line.find(';');
    const std::string_view name = line.substr(0, nameEnd);
    Json pins = Json::array();
    const std::size_t countEnd = line.find(':', nameEnd);
    if (nameEnd != std::string_view::npos && countEnd != std::string_view::npos) {
        std::string_view rest = line.substr(countEnd + 1);
        while (!rest.empty()) {
            if (rest.front() == ' ') {
                rest.remove_prefix(1);
                continue;
            }
            const std::size_t end = rest.find(", ");
            pins.push_back(rest.substr(0, end));
            rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 2);
        }
    }
    return {{"name", name}, {"pins", std::move(pins)}};
}

Json side(int number, const JsonFacts& facts) {
    const RunInputs& in = facts.options.inputs;
    const SideFormat& format = facts.formats.sides[number - 1];
    const SideFacts* read = facts.result != nullptr && facts.result->sides[number - 1].read
                                ? &facts.result->sides[number - 1]
                                : nullptr;
    const std::string& path = number == 1 ? in.path1 : in.path2;
    const std::string& name = number == 1 ? in.format1 : in.format2;
    Json json;
    json["side"] = number;
    json["path"] = path;
    const bool named = format.detected || (format.given && !format.unknown && !name.empty());
    json["format"] = named ? Json(name) : Json();
    json["formatGiven"] = format.given ? Json(format.typed) : Json();
    json["formatDetected"] = format.detected;
    json["read"] = read != nullptr;
    json["nets"] = read != nullptr ? Json(read->nets) : Json();
    json["pins"] = read != nullptr ? Json(read->pins) : Json();
    json["parts"] = read != nullptr ? Json(read->parts) : Json();
    json["duplicateNetNames"] = read != nullptr ? repeats(read->duplicateNetNames) : Json::array();
    json["duplicatePins"] = read != nullptr ? repeats(read->duplicatePins) : Json::array();
    return json;
}

Json settings(const JsonFacts& facts) {
    const CliOptions& o = facts.options;
    const RunInputs& in = o.inputs;
    Json json;
    json["adjustment"] = in.adjustment;
    long value = 0;
    json["adjustmentValue"] = parseAdjustment(in.adjustment, value) ? Json(value) : Json();
    json["swapFile"] = in.swapPath.empty() ? Json() : Json(in.swapPath);
    Json nonPolar = Json::array();
    for (const std::string& entry : in.nonPolar)
        if (!entry.empty())
            nonPolar.push_back(entry);
    json["nonPolar"] = std::move(nonPolar);
    Json pinChanges = Json::array();
    for (std::size_t r = 0; r < 10; ++r)
        if (!in.pinChange[r].empty())
            pinChanges.push_back({{"reference", in.pinChange[r]},
                                  {"before", in.pinChange[r + 10]},
                                  {"after", in.pinChange[r + 20]}});
    json["pinChanges"] = std::move(pinChanges);
    json["compareParts"] = in.compareParts;
    json["workDir"] = o.workDir;
    json["reportEncoding"] = o.encoding;
    json["noLimits"] = o.noLimits;
    json["strict"] = o.strict;
    json["ignoredParts"] = in.ignoredParts;
    json["ignoreFile"] = in.ignoreFile.empty() ? Json() : Json(in.ignoreFile);
    json["skipOnePinNets"] = in.skipOnePinNets;
    json["proposeSwap"] = o.proposeSwapGiven ? Json(o.proposeSwap) : Json();
    return json;
}

Json comparison(const NetComparison& c) {
    Json differences = Json::array();
    for (const DifferenceBlock& block : c.differences)
        differences.push_back({{"net1", block.name1},
                               {"net2", block.name2},
                               {"only1", pinList(block.only1)},
                               {"only2", pinList(block.only2)},
                               {"shared", pinList(block.shared)}});
    Json only1 = Json::array();
    for (const std::string& line : c.unpaired1)
        only1.push_back(unpairedNet(line));
    Json only2 = Json::array();
    for (const std::string& line : c.unpaired2)
        only2.push_back(unpairedNet(line));
    return {{"identical", c.identical()},
            {"differences", std::move(differences)},
            {"onlyOnSide1", std::move(only1)},
            {"onlyOnSide2", std::move(only2)}};
}

Json parts(const PartsFindings& p) {
    Json mismatches = Json::array();
    for (const PartMismatch& m : p.mismatches)
        mismatches.push_back({{"reference", m.reference}, {"name1", m.name1}, {"name2", m.name2}});
    const auto unpaired = [](const std::vector<UnpairedPart>& list) {
        Json json = Json::array();
        for (const UnpairedPart& part : list)
            json.push_back({{"reference", part.reference}, {"name", part.name}});
        return json;
    };
    return {{"side1", p.parts1},
            {"side2", p.parts2},
            {"mismatches", std::move(mismatches)},
            {"onlyOnSide1", unpaired(p.onlyIn1)},
            {"onlyOnSide2", unpaired(p.onlyIn2)}};
}

const char* reasonName(NotProposedReason reason) {
    switch (reason) {
    case NotProposedReason::NoCounterpart:
        return "no-counterpart";
    case NotProposedReason::NameTaken:
        return "name-taken";
    case NotProposedReason::PinNames:
        return "pin-names";
    case NotProposedReason::RenamedByUser:
        return "renamed-by-user";
    }
    return "no-counterpart";
}

Json swapProposal(const SwapProposal& p, const JsonFacts& facts) {
    Json userPairs = Json::array();
    for (const SwapPair& pair : p.userPairs)
        userPairs.push_back({{"old", pair.oldName}, {"new", pair.newName}});
    const auto proposed = [](const std::vector<ProposedPair>& pairs) {
        Json list = Json::array();
        for (const ProposedPair& pair : pairs)
            list.push_back(
                {{"old", pair.oldName}, {"new", pair.newName}, {"netsMatched", pair.netsMatched}});
        return list;
    };
    Json notProposed = Json::array();
    for (const NotProposedPart& part : p.notProposed)
        notProposed.push_back({{"side", part.side},
                               {"reference", part.reference},
                               {"reason", reasonName(part.reason)},
                               {"partner", part.partner.empty() ? Json() : Json(part.partner)}});
    Json json;
    json["file"] = facts.options.proposeSwap;
    json["written"] = facts.proposalWritten;
    json["userPairs"] = std::move(userPairs);
    json["pinPairs"] = proposed(p.pinPairs);
    json["referencePairs"] = proposed(p.referencePairs);
    json["notProposed"] = std::move(notProposed);
    json["partsPairedAsThemselves"] = p.partsPairedAsThemselves;
    json["netsMatchingBefore"] = p.netsMatchingBefore;
    json["netsMatchingAfter"] = p.netsMatchingAfter;
    json["nets1"] = p.nets1;
    json["nets2"] = p.nets2;
    return json;
}

std::string inWorkDir(const CliOptions& o, std::string_view name) {
    return (std::filesystem::path(o.workDir) / name).lexically_normal().string();
}

} // namespace

std::string programVersion() {
    return std::to_string(LINTORA_VERSION_MAJOR) + "." + std::to_string(LINTORA_VERSION_MINOR) +
           "." + std::to_string(LINTORA_VERSION_PATCH);
}

std::string jsonReport(const JsonFacts& facts) {
    const RunResult* result = facts.result;
    const bool completed = result != nullptr && result->outcome == RunOutcome::Completed;
    Json json;
    json["schemaVersion"] = kSchemaVersion;
    json["tool"] = "lintora-cli";
    json["version"] = programVersion();
    json["sides"] = Json::array({side(1, facts), side(2, facts)});
    json["settings"] = settings(facts);
    Json skipped = Json::array();
    if (result != nullptr)
        for (const SkippedSwapLine& line : result->swapSkipped)
            skipped.push_back({{"line", line.lineNumber}, {"text", line.text}});
    json["swapFileSkippedLines"] = std::move(skipped);
    json["comparison"] = completed ? comparison(result->comparison) : Json();
    json["parts"] = completed && result->parts ? parts(*result->parts) : Json();
    json["swapProposal"] =
        result != nullptr && result->proposal ? swapProposal(*result->proposal, facts) : Json();
    if (completed) {
        Json reports;
        reports["nets"] = inWorkDir(facts.options, files::report);
        reports["parts"] =
            result->parts ? Json(inWorkDir(facts.options, files::partsReport)) : Json();
        reports["errors"] = inWorkDir(facts.options, files::errorLog);
        json["reports"] = std::move(reports);
    } else {
        json["reports"] = Json();
    }
    json["messages"] = facts.messages;

    Json outcome;
    outcome["status"] = facts.exitStatus == 0   ? "same"
                        : facts.exitStatus == 1 ? "different"
                                                : "stopped";
    outcome["exitStatus"] = facts.exitStatus;
    if (result != nullptr)
        outcome["reason"] = outcomeName(result->outcome);
    else if (facts.formats.exitStatus)
        outcome["reason"] = "formatNotRecognised";
    else
        outcome["reason"] = "commandLine";
    outcome["fullMatch"] = completed && result->allClear;
    outcome["partsDiffer"] = completed && result->partsDiffer;
    outcome["duplicates"] = result != nullptr && result->hasDuplicates();
    outcome["context"] = facts.context.empty() ? Json() : Json(facts.context);
    if (result == nullptr && facts.formats.exitStatus) {
        Json candidates = Json::array();
        for (const std::string& name : facts.formats.candidates)
            candidates.push_back(name);
        outcome["candidates"] = std::move(candidates);
    }
    json["outcome"] = std::move(outcome);
    std::string text = json.dump(2, ' ', false, Json::error_handler_t::replace);
    text += '\n';
    return text;
}

} // namespace lintora::cli
