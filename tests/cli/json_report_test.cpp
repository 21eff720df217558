// The JSON report carries the same facts as the three text reports: each comparison here is
// run once with --json, the text reports are read back the way a person reads them (the
// reflowed lines of cmp.txt joined again), and the two accounts must agree entry by entry.
#include "base/text_encoding.h"
#include "support/test_support.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace lintora {
namespace {

using Json = nlohmann::json;

using test::CliResult;
using test::runCli;

// ---- The text reports, read back

// The lines of cmp.txt with every long line joined again: a line is cut after its 70th
// character and then after every further 62, and the pieces go on lines indented by 12 blanks
// (a line that ends right at a cut, or one short of it, is followed by an indented line with
// nothing after the blanks).
std::vector<std::string> joinedReportLines(const std::string& file) {
    std::vector<std::string> joined;
    bool continues = false; // the next line carries on the one before
    for (const std::string& line : test::crlfLines(file)) {
        const std::size_t chars = charCount(line);
        if (continues) {
            EXPECT_TRUE(line.starts_with(std::string(12, ' '))) << line;
            joined.back() += line.substr(12);
            continues = chars >= 12 + 61;
        } else {
            joined.push_back(line);
            continues = chars >= 69;
        }
    }
    return joined;
}

std::vector<std::string> pinsAfter(const std::string& line, std::string_view label) {
    EXPECT_TRUE(line.starts_with(label)) << line;
    std::vector<std::string> pins;
    std::string_view rest = std::string_view(line).substr(std::min(label.size(), line.size()));
    while (!rest.empty()) {
        const std::size_t end = rest.find(", ");
        EXPECT_NE(end, std::string_view::npos) << line;
        pins.emplace_back(rest.substr(0, end));
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 2);
    }
    return pins;
}

Json pinArray(const std::vector<std::string>& pins) {
    return Json(pins);
}

// The findings of cmp.txt in the JSON report's own form.
Json comparisonOfReport(const std::string& file) {
    const std::vector<std::string> lines = joinedReportLines(file);
    const auto at = [&](std::string_view heading) {
        const auto it = std::find(lines.begin(), lines.end(), heading);
        EXPECT_NE(it, lines.end()) << heading;
        return static_cast<std::size_t>(it - lines.begin());
    };
    const std::size_t blocks = at("＜異なるネット＞") + 1;
    const std::size_t only1 = at("＜ネット２に存在しないネット１のネット＞");
    const std::size_t only2 = at("＜ネット１に存在しないネット２のネット＞");
    Json differences = Json::array();
    for (std::size_t i = blocks; i + 4 < only1 + 1 && i < only1; i += 5) {
        const std::string names = lines[i].substr(std::string("ネット名; 　").size());
        const std::size_t equals = names.find(" = ");
        differences.push_back({{"net1", names.substr(0, equals)},
                               {"net2", names.substr(equals + 3)},
                               {"only1", pinArray(pinsAfter(lines[i + 1], "ネット１; 　"))},
                               {"only2", pinArray(pinsAfter(lines[i + 2], "ネット２;   "))},
                               {"shared", pinArray(pinsAfter(lines[i + 3], "同一個所;   "))}});
        EXPECT_EQ(lines[i + 4], std::string(28, '-'));
    }
    // An unpaired net is its net line, two empty lines and a rule; an empty line ends the list.
    const auto unpaired = [&](std::size_t from) {
        Json nets = Json::array();
        for (std::size_t i = from; i < lines.size() && !lines[i].empty(); i += 4) {
            const std::string& line = lines[i];
            const std::size_t semicolon = line.find("; ");
            const std::size_t colon = line.find(": ", semicolon);
            nets.push_back({{"name", line.substr(0, semicolon)},
                            {"pins", pinArray(pinsAfter(line, line.substr(0, colon + 2)))}});
            EXPECT_EQ(lines[i + 3], std::string(33, '-'));
        }
        return nets;
    };
    return {{"differences", differences},
            {"onlyOnSide1", unpaired(only1 + 1)},
            {"onlyOnSide2", unpaired(only2 + 1)}};
}

// The findings of cmpprt.txt.
Json partsOfReport(const std::string& file) {
    Json mismatches = Json::array();
    Json only[2] = {Json::array(), Json::array()};
    int section = -1; // -1: mismatch blocks; 0, 1: the parts side 2 or side 1 lacks
    const std::vector<std::string> lines = test::crlfLines(file);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (line == "**********ネット２に無い部品**********") {
            section = 0;
        } else if (line == "**********ネット１に無い部品**********") {
            section = 1;
        } else if (section < 0 && line.starts_with("**********")) {
            const std::string name1 = lines[i + 1].substr(std::string("比較１パーツ名=").size());
            const std::string name2 = lines[i + 2].substr(std::string("比較２パーツ名=").size());
            mismatches.push_back({{"reference", line.substr(10, line.size() - 20)},
                                  {"name1", name1},
                                  {"name2", name2}});
            i += 3;
        } else if (section >= 0 && line.starts_with("部品番号=")) {
            const std::size_t name = line.find("   部品名=");
            const std::size_t start = std::string("部品番号=").size();
            only[section].push_back(
                {{"reference", line.substr(start, name - start)},
                 {"name", line.substr(name + std::string("   部品名=").size())}});
        } else {
            EXPECT_TRUE(line.empty()) << line;
        }
    }
    return {{"mismatches", mismatches}, {"onlyOnSide1", only[0]}, {"onlyOnSide2", only[1]}};
}

// The findings of errlog.txt, side by side: each repeated name as often as it is listed.
struct ErrorLog {
    std::vector<std::string> names[2];
    std::vector<std::string> pins[2];
    std::vector<std::string> skippedSwapLines; // "line: text"
};

ErrorLog errorsOfLog(const std::string& file) {
    ErrorLog log;
    int side = -1;
    std::vector<std::string>* list = nullptr;
    std::string_view suffix;
    for (const std::string& line : test::crlfLines(file)) {
        if (line == "＜＜比較ファイル１＞") {
            side = 0;
        } else if (line == "＜＜比較ファイル２＞＞") {
            side = 1;
        } else if (line == "**************ネット名重複情報**************") {
            list = &log.names[side];
            suffix = "・・・・・ネット名が重複しています。";
        } else if (line == "*************ピン番重複情報*************") {
            list = &log.pins[side];
            suffix = "・・・・・ピン番が重複しています。";
        } else if (line == "**************スワップファイル読込情報**************") {
            list = &log.skippedSwapLines;
            suffix = "・・・・・新しい名前が無いため読み飛ばしました。";
        } else if (!line.empty() && list != nullptr) {
            EXPECT_TRUE(line.ends_with(suffix)) << line;
            std::string entry = line.substr(0, line.size() - std::min(suffix.size(), line.size()));
            if (list == &log.skippedSwapLines)
                entry.replace(entry.find("行目："), std::string("行目：").size(), ": ");
            list->push_back(entry);
        }
    }
    return log;
}

std::vector<std::string> listedRepeats(const Json& repeats) {
    std::vector<std::string> listed;
    for (const Json& repeat : repeats)
        for (int i = 1; i < repeat["occurrences"].get<int>(); ++i)
            listed.push_back(repeat["name"].get<std::string>());
    return listed;
}

// Runs the comparison with --json and checks the JSON against the three text reports.
Json expectJsonAgreesWithTheTextReports(const test::TempDir& dir, const std::string& arguments,
                                        int exitCode) {
    const CliResult r = runCli(dir, "--json report.json " + arguments);
    EXPECT_EQ(r.exitCode, exitCode) << r.err;
    const Json json = Json::parse(test::readFile(dir / "report.json"));
    EXPECT_EQ(json["schemaVersion"], 1);
    EXPECT_EQ(json["outcome"]["exitStatus"], exitCode);
    EXPECT_EQ(json["outcome"]["status"], exitCode == 0 ? "same" : "different");
    EXPECT_EQ(json["outcome"]["fullMatch"], r.out.find("完全一致しました。") != std::string::npos);

    const Json& comparison = json["comparison"];
    const Json fromReport = comparisonOfReport(test::readFile(dir / "cmp.txt"));
    EXPECT_EQ(comparison["differences"], fromReport["differences"]);
    EXPECT_EQ(comparison["onlyOnSide1"], fromReport["onlyOnSide1"]);
    EXPECT_EQ(comparison["onlyOnSide2"], fromReport["onlyOnSide2"]);

    if (arguments.find("--parts") != std::string::npos) {
        const Json parts = partsOfReport(test::readFile(dir / "cmpprt.txt"));
        EXPECT_EQ(json["parts"]["mismatches"], parts["mismatches"]);
        EXPECT_EQ(json["parts"]["onlyOnSide1"], parts["onlyOnSide1"]);
        EXPECT_EQ(json["parts"]["onlyOnSide2"], parts["onlyOnSide2"]);
    } else {
        EXPECT_TRUE(json["parts"].is_null());
    }

    const ErrorLog log = errorsOfLog(test::readFile(dir / "errlog.txt"));
    for (int side = 0; side < 2; ++side) {
        SCOPED_TRACE("side " + std::to_string(side + 1));
        const Json& facts = json["sides"][side];
        EXPECT_EQ(facts["side"], side + 1);
        EXPECT_TRUE(facts["read"].get<bool>());
        EXPECT_EQ(listedRepeats(facts["duplicateNetNames"]), log.names[side]);
        EXPECT_EQ(listedRepeats(facts["duplicatePins"]), log.pins[side]);
    }
    std::vector<std::string> skipped;
    for (const Json& line : json["swapFileSkippedLines"])
        skipped.push_back(std::to_string(line["line"].get<int>()) + ": " +
                          line["text"].get<std::string>());
    EXPECT_EQ(skipped, log.skippedSwapLines);
    return json;
}

const std::string kExamples = LINTORA_EXAMPLES;

TEST(JsonReport, TheReadmeExampleAgreesWithTheTextReports) {
    test::TempDir dir;
    const Json json = expectJsonAgreesWithTheTextReports(dir,
                                                         "--parts --format2 allegro '" + kExamples +
                                                             "/sensor_rev_a.tel' '" + kExamples +
                                                             "/sensor_rev_b.tel'",
                                                         1);
    EXPECT_EQ(json["comparison"]["differences"].size(), 1u);
    EXPECT_EQ(json["comparison"]["onlyOnSide1"][0]["name"], "RESET");
    const Json& side1 = json["sides"][0];
    EXPECT_EQ(side1["path"], kExamples + "/sensor_rev_a.tel");
    EXPECT_EQ(side1["format"], "Telesis");
    EXPECT_TRUE(side1["formatDetected"].get<bool>());
    EXPECT_TRUE(side1["formatGiven"].is_null());
    EXPECT_EQ(side1["nets"], 8);
    EXPECT_EQ(side1["pins"], 29);
    EXPECT_EQ(side1["parts"], 11);
    EXPECT_EQ(json["sides"][1]["format"], "ALLEGRO");
    EXPECT_EQ(json["sides"][1]["formatGiven"], "allegro");
    EXPECT_FALSE(json["sides"][1]["formatDetected"].get<bool>());
    EXPECT_EQ(json["settings"]["adjustmentValue"], 49);
    EXPECT_EQ(json["reports"]["nets"], "cmp.txt");
    EXPECT_FALSE(test::fileExists(dir / "report.json.partial"));
}

TEST(JsonReport, DuplicatesSwapLinesPartsAndLongLinesAgreeWithTheTextReports) {
    test::TempDir dir;
    std::string longNet1 = "WIDE ;";
    std::string longNet2 = "WIDE2 ;";
    for (int i = 1; i <= 40; ++i) {
        longNet1 += " CONNECTOR" + std::to_string(i) + ".1";
        if (i % 7 != 0)
            longNet2 += " CONNECTOR" + std::to_string(i) + ".1";
    }
    test::writeFile(dir / "a.tel",
                    "$PACKAGES\r\nR0603 ! 10K ; R1 R2\r\nC ! 0.1U ; C1\r\n"
                    "DIP ! 74HC00 ; U1\r\n$NETS\r\n"
                    "GND ; U1.7 C1.2 R2.2\r\nGND ; R1.2\r\nVCC ; U1.14 C1.1 U1.14\r\n"
                    "IN ; U1.1 R1.1\r\nSPARE ; U1.3\r\n" +
                        longNet1 + "\r\n$END\r\n");
    test::writeFile(dir / "b.tel", "$PACKAGES\r\nR0603 ! 22K ; R1\r\nC ! 0.1U ; C1\r\n"
                                   "DIP ! 74HC00 ; U7\r\nX ! XTAL ; Y1\r\n$NETS\r\n"
                                   "GND ; U7.7 C1.2 R2.2 R1.2\r\nVCC ; U7.14 C1.1\r\n"
                                   "VCC ; Y1.1\r\nIN ; U7.1 R1.1 U7.2\r\nNEW ; Y1.2 Y1.2\r\n" +
                                       longNet2 + "\r\n$END\r\n");
    test::writeFile(dir / "swap.txt", "U1 U7\r\nR9\r\n\r\nC1 C1\r\nLONE\r\n");
    const Json json = expectJsonAgreesWithTheTextReports(
        dir, "--parts --swap swap.txt --nonpolar C --pin-change D:1:A --adjust 40 a.tel b.tel", 1);
    EXPECT_EQ(json["sides"][0]["duplicateNetNames"][0]["name"], "GND");
    EXPECT_EQ(json["sides"][1]["duplicatePins"][0]["name"], "Y1.2");
    EXPECT_EQ(json["swapFileSkippedLines"].size(), 2u);
    EXPECT_EQ(json["settings"]["nonPolar"], Json({"C"}));
    EXPECT_EQ(json["settings"]["pinChanges"][0]["after"], "A");
    EXPECT_EQ(json["settings"]["adjustmentValue"], 40);
    EXPECT_TRUE(json["outcome"]["duplicates"].get<bool>());
    EXPECT_FALSE(json["parts"]["mismatches"].empty());
}

// A board of `nets` nets of two or three pins, its parts holding 40 pins each, and a revision
// with a tenth of the nets changed: renamed, a pin moved to the next net, dropped, and new
// nets; some parts get another value.
void writeGeneratedPair(const test::TempDir& dir, int nets) {
    std::vector<std::vector<std::string>> pins(nets);
    int pinCounter = 0;
    for (int n = 0; n < nets; ++n)
        for (int p = 0; p < (n % 3 == 0 ? 3 : 2); ++p, ++pinCounter)
            pins[n].push_back("U" + std::to_string(pinCounter / 40) + "." +
                              std::to_string(pinCounter % 40 + 1));
    const int parts = (pinCounter + 39) / 40;
    const auto write = [&](const std::string& name, bool revision) {
        std::string text = "$PACKAGES\r\n";
        for (int u = 0; u < parts; ++u)
            text += "QFP40 ! " + std::string(revision && u % 25 == 3 ? "MCU2" : "MCU") + " ; U" +
                    std::to_string(u) + "\r\n";
        text += "$NETS\r\n";
        for (int n = 0; n < nets; ++n) {
            std::vector<std::string> netPins = pins[n];
            std::string netName = "N" + std::to_string(n);
            if (revision) {
                const int change = n % 40;
                if (change == 0)
                    netName += "_RENAMED";
                if (change == 10)
                    continue; // dropped
                if (change == 20 && n + 1 < nets)
                    netPins.push_back(pins[n + 1].back()); // moved here ...
                if (change == 21)
                    netPins.pop_back(); // ... from here
            }
            text += netName + " ;";
            for (const std::string& pin : netPins)
                text += " " + pin;
            text += "\r\n";
        }
        if (revision)
            for (int extra = 0; extra < nets / 40; ++extra)
                text += "EXTRA" + std::to_string(extra) + " ; X" + std::to_string(extra) + ".1 X" +
                        std::to_string(extra) + ".2\r\n";
        text += "$END\r\n";
        test::writeFile(dir / name, text);
    };
    write("side1.tel", false);
    write("side2.tel", true);
}

TEST(JsonReport, AGeneratedTwentyThousandNetPairAgreesWithTheTextReports) {
    test::TempDir dir;
    writeGeneratedPair(dir, 20000);
    const Json json = expectJsonAgreesWithTheTextReports(dir, "--parts side1.tel side2.tel", 1);
    EXPECT_EQ(json["sides"][0]["nets"], 20000);
    EXPECT_EQ(json["sides"][1]["nets"], 20000 - 500 + 500);
    EXPECT_EQ(json["comparison"]["onlyOnSide1"].size(), 500u);      // the dropped nets
    EXPECT_EQ(json["comparison"]["onlyOnSide2"].size(), 500u);      // the new ones
    EXPECT_EQ(json["comparison"]["differences"].size(), 2u * 500u); // a pin moved: two nets
    std::size_t changedParts = 0; // every 25th part, from the fourth on
    for (int u = 0; u < json["sides"][0]["parts"].get<int>(); ++u)
        changedParts += u % 25 == 3;
    EXPECT_EQ(json["parts"]["mismatches"].size(), changedParts);
}

TEST(JsonReport, AStoppedRunSaysWhyAndAllOfItCanGoToStandardOutput) {
    test::TempDir dir;
    test::writeFile(dir / "a.tel", "$PACKAGES\r\n$NETS\r\nA ; R1.1 U1.1\r\n$END\r\n");
    CliResult r = runCli(dir, "--json - a.tel absent.tel");
    EXPECT_EQ(r.exitCode, 2);
    Json json = Json::parse(r.out); // nothing else on standard output
    EXPECT_EQ(json["outcome"]["status"], "stopped");
    EXPECT_EQ(json["outcome"]["reason"], "fileNotFound");
    EXPECT_EQ(json["outcome"]["exitStatus"], 2);
    EXPECT_NE(json["outcome"]["context"].get<std::string>().find("FILE2 (absent.tel)"),
              std::string::npos);
    EXPECT_EQ(json["messages"][0],
              "指定ファイルが見つかりません。もう一度確認して実行して下さい。");
    EXPECT_TRUE(json["comparison"].is_null());
    EXPECT_EQ(json["sides"][0]["format"], "Telesis");
    EXPECT_TRUE(json["sides"][1]["format"].is_null());
    EXPECT_FALSE(json["sides"][1]["read"].get<bool>());

    // A completed run: the JSON instead of the report, the exit status as always.
    test::writeFile(dir / "b.tel", "$PACKAGES\r\n$NETS\r\nB ; U1.1 R1.1\r\n$END\r\n");
    r = runCli(dir, "--json - a.tel b.tel");
    EXPECT_EQ(r.exitCode, 0);
    json = Json::parse(r.out);
    EXPECT_EQ(json["outcome"]["status"], "same");
    EXPECT_TRUE(json["outcome"]["fullMatch"].get<bool>());

    // The format left to detection, and the content fits none: said in the JSON too.
    test::writeFile(dir / "c.txt", "hello\r\n");
    r = runCli(dir, "--json out.json a.tel c.txt");
    EXPECT_EQ(r.exitCode, 2);
    json = Json::parse(test::readFile(dir / "out.json"));
    EXPECT_EQ(json["outcome"]["reason"], "formatNotRecognised");
    EXPECT_TRUE(json["outcome"]["candidates"].empty());

    // A JSON report that cannot be written fails the run, after the comparison's own output.
    r = runCli(dir, "--json absent/out.json a.tel b.tel");
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("ファイルを書き込めませんでした。：absent/out.json\nlintora-cli: the JSON "
                         "report absent/out.json cannot be written"),
              std::string::npos)
        << r.err;
}

} // namespace
} // namespace lintora
