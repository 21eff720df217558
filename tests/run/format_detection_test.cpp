// Detection must never name a wrong format: a file is either recognised as the format it was
// written in (or one read by the same reader) or refused, ambiguous or unrecognised, so that
// the user names it.
#include "base/errors.h"
#include "run/format_detection.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <map>

namespace lintora {
namespace {

namespace fs = std::filesystem;

const FormatEntry& entry(std::string_view name) {
    const FormatEntry* found = findFormat(name);
    EXPECT_NE(found, nullptr) << name;
    return *found;
}

std::vector<std::string_view> names(const std::vector<const FormatEntry*>& entries) {
    std::vector<std::string_view> list;
    for (const FormatEntry* e : entries)
        list.push_back(e->name);
    return list;
}

// "Detected as `expected`, or refused": a detection of any format with another reader fails.
::testing::AssertionResult detectedAsOrRefused(const FormatDetection& d,
                                               std::string_view expected) {
    if (d.verdict != FormatDetection::Verdict::Detected)
        return ::testing::AssertionSuccess();
    if (!expected.empty() && d.format->reader == entry(expected).reader)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "detected as " << d.format->name << ", expected "
           << (expected.empty() ? "a refusal" : std::string(expected));
}

// The format of each reader's test folder; the Telesis twins (*.tel) are Telesis files.
const std::map<std::string, std::string_view> kFolderFormats{
    {"accel", "ACCEL"},
    {"cadlus", "CADLUS-PC(Reverse Net)"},
    {"cadvance", "CADVANCE"},
    {"cr2000", "CR2000"},
    {"cr5000", "CR5000"},
    {"csi", "CSi"},
    {"d2cad", "D2 CAD"},
    {"expedition", "Expedition PCB"},
    {"future", "FUTURE"},
    {"intergra", "INTERGRA"},
    {"mentor", "MENTOR"},
    {"mm", "MM-COLMO_NEO & MM2"},
    {"mypcb", "MYPCB"},
    {"pads", "PADSPCB"},
    {"pads2000", "PADS2000"},
    {"pcad_nlt", "Pcad(nlt)"},
    {"pcad_wrl", "Pcad(wrl)"},
    {"protel", "PROTEL"},
    {"protel2", "PROTEL2"},
    {"sfx", "SFX"},
    {"tango", "TANGO"},
    {"telesis", "Telesis"},
    {"wacom", "WACOM SIMPLE NET"},
    {"kicad", "KiCad"},
    {"ipc_d356", "IPC-D-356"},
    {"allegro_pst", "Allegro PST"},
    {"orcad_pcb2", "OrCAD PCB II"},
    {"geda", "gEDA"},
};

TEST(FormatDetection, RecognisesEveryReadersTestFilesAsTheirOwnFormat) {
    // Files whose content cannot tell the format; every other test file must be recognised.
    const std::map<std::string, std::vector<std::string_view>> ambiguous{
        {"protel/board.net", {"PROTEL", "TANGO"}},
        {"tango/board.net", {"PROTEL", "TANGO"}},
    };
    const std::vector<std::string> unrecognised{
        "telesis/no_nets.tel",        // no "$NETS": not a Telesis file, as its reader says too
        "allegro_pst/pstxprt.dat",    // the parts file beside the netlist, no netlist itself
    };
    const fs::path root = test::dataFile("readers");
    std::size_t files = 0;
    for (const auto& folder : fs::directory_iterator(root)) {
        const std::string folderName = folder.path().filename().string();
        ASSERT_TRUE(kFolderFormats.contains(folderName))
            << "a reader folder without a format: " << folderName;
        for (const auto& file : fs::directory_iterator(folder)) {
            const std::string relative = folderName + "/" + file.path().filename().string();
            SCOPED_TRACE(relative);
            ++files;
            const std::string_view expected = file.path().extension() == ".tel"
                                                  ? std::string_view("Telesis")
                                                  : kFolderFormats.at(folderName);
            const FormatDetection d = detectFileFormat(file.path());
            EXPECT_TRUE(detectedAsOrRefused(d, expected));
            if (ambiguous.contains(relative)) {
                EXPECT_EQ(d.verdict, FormatDetection::Verdict::Ambiguous);
                EXPECT_EQ(names(d.candidates), ambiguous.at(relative));
            } else if (std::find(unrecognised.begin(), unrecognised.end(), relative) !=
                       unrecognised.end()) {
                EXPECT_EQ(d.verdict, FormatDetection::Verdict::Unrecognised);
            } else {
                EXPECT_EQ(d.verdict, FormatDetection::Verdict::Detected);
            }
        }
    }
    EXPECT_GT(files, 40u);
}

// Real exports beside the project (never copied into it): each folder holds one format, or
// formats Lintora does not read (those must be refused).
TEST(FormatDetection, NeverNamesAWrongFormatForRealExports) {
    const fs::path shared = LINTORA_SHARED;
    const std::map<std::string, std::string_view> folders{
        {"samples/telesis", "Telesis"},
        {"samples/pads", "PADSPCB"},
        {"samples/protel", "PROTEL"},
        {"samples/protel2", "PROTEL2"},
        {"samples/tango", "TANGO"},
        {"samples/futurenet", "FUTURE"},
        {"samples/allegro-pst", "Allegro PST"},
        {"samples/cadstar-rinf", ""},
        {"samples/calay", ""},
        {"samples/ipc356", "IPC-D-356"},
        {"samples/maxascii", ""},
        {"samples/orcad-onl", ""},
        {"samples/orcadpcb2", "OrCAD PCB II"},
        {"samples/redac", ""},
        {"samples/viewdraw-wirelist", ""},
        {"samples-modern/kicad-net", "KiCad"},
        {"samples-modern/ipc356", "IPC-D-356"},
        {"samples-modern/geda", "gEDA"},
    };
    std::size_t files = 0;
    std::size_t readable = 0; // files of a format Lintora reads
    std::size_t detected = 0;
    for (const auto& [folder, expected] : folders) {
        if (!fs::is_directory(shared / folder))
            continue;
        for (const auto& file : fs::recursive_directory_iterator(shared / folder)) {
            if (!file.is_regular_file())
                continue;
            SCOPED_TRACE(file.path().string());
            ++files;
            readable += !expected.empty();
            const FormatDetection d = detectFileFormat(file.path());
            EXPECT_TRUE(detectedAsOrRefused(d, expected));
            detected += d.verdict == FormatDetection::Verdict::Detected;
        }
    }
    if (files == 0)
        GTEST_SKIP() << "no real netlists beside the project (" << shared << ")";
    // Not a goal by itself, but a detection that refuses everything would pass the above.
    EXPECT_GT(detected, readable / 2);
}

FormatDetection detect(std::string_view text) {
    return detectFormat(text);
}

TEST(FormatDetection, NamesAFormatOnlyWhenItsWholeLandmarkIsThere) {
    EXPECT_EQ(detect("").verdict, FormatDetection::Verdict::Unrecognised);
    EXPECT_EQ(detect("$PACKAGES\r\n! 10K; R1\r\n").verdict,
              FormatDetection::Verdict::Unrecognised); // no nets section
    const FormatDetection telesis = detect("$packages\n! 10k; r1\n$nets\ngnd; r1.1\n$end\n");
    ASSERT_EQ(telesis.verdict, FormatDetection::Verdict::Detected); // any letter case
    EXPECT_EQ(telesis.format->name, "Telesis");
    // A line of another format's landmark makes the file ambiguous rather than guessed.
    const FormatDetection both =
        detect("$PACKAGES\r\n$NETS\r\nGND ; R1.1\r\nNET 'VCC' R1-2\r\n$END\r\n");
    ASSERT_EQ(both.verdict, FormatDetection::Verdict::Ambiguous);
    EXPECT_EQ(names(both.candidates), (std::vector<std::string_view>{"MENTOR", "Telesis"}));
}

TEST(FormatDetection, TellsLookAlikeFormatsApartByTheirOwnKeywords) {
    const auto name = [](std::string_view text) -> std::string {
        const FormatDetection d = detect(text);
        if (d.verdict == FormatDetection::Verdict::Detected)
            return std::string(d.format->name);
        std::string list = d.verdict == FormatDetection::Verdict::Ambiguous ? "?" : "-";
        for (const FormatEntry* e : d.candidates)
            list += " " + std::string(e->name);
        return list;
    };
    // PADS: the header line decides; without one the dialect cannot be told.
    const std::string padsBody = "*PART*\r\nR1 10K\r\n*NET*\r\n*SIGNAL* GND\r\nR1.1\r\n*END*\r\n";
    EXPECT_EQ(name("!PADS-POWERPCB-V9.4-MILS!\r\n" + padsBody), "PADSPCB");
    EXPECT_EQ(name("*PADS-PCB*\r\n" + padsBody), "PADSPCB");
    EXPECT_EQ(name("*PADS2000*\r\n" + padsBody), "PADS2000");
    EXPECT_EQ(name(padsBody), "? PADS2000 PADSPCB");
    EXPECT_EQ(name("*REMARK* a comment only PADSPCB knows\r\n" + padsBody), "PADSPCB");
    // "$NET" of MM2 against "$NETS" of Telesis.
    EXPECT_EQ(name("$NET\r\nGND; U1-7, U2-7\r\n$END\r\n"), "MM-COLMO_NEO & MM2");
    EXPECT_EQ(name("$NETS\r\nGND; U1.7\r\n$END\r\n"), "-");
    // "%NET" of INTERGRA against Expedition's backslashes and P-CAD's "%NETS".
    EXPECT_EQ(name("%PART\r\n74HC00          U1\r\n%NET\r\nGND U1-7\r\n"), "INTERGRA");
    EXPECT_EQ(name("%NET\r\n\\GND\\  \\U1\\-\\7\\\r\n%Part\r\n\\74HC00\\  \\U1\\\r\n"),
              "Expedition PCB");
    EXPECT_EQ(name("%PARTS\r\n74LS00 = U1;\r\n%NETS\r\nGND = U1/7;\r\n"), "Pcad(nlt)");
    // "$CCF{": definitions make a CR-3000/5000 file, a bare NET{ block a D2 CAD one.
    EXPECT_EQ(name("$CCF{\r\nDEFINITION{\r\n10K: R1;\r\n}\r\nNET{\r\nA: R1(1);\r\n}\r\n}\r\n"),
              "CR5000");
    EXPECT_EQ(name("$CCF{\r\nNET{\r\nA: R1(1), R2(1);\r\n}\r\n}\r\n"), "D2 CAD");
    EXPECT_EQ(name("$CCF{\r\nNET{\r\nA: R1(1);\r\n}\r\nPOWER{\r\nV: R1(2);\r\n}\r\n}\r\n"), "-");
    // FUTURE's landmark is case-sensitive, as its reader's is.
    EXPECT_EQ(name("PINLIST,2\r\n(SYM,1\r\nDATA,2,U1\r\n)\r\n"), "FUTURE");
    EXPECT_EQ(name("pinlist,2\r\n(SYM,1\r\nDATA,2,U1\r\n)\r\n"), "-");
    // Bracket blocks: PROTEL2 by its header, PROTEL and TANGO not told apart.
    const std::string blocks = "[\r\nU1\r\nDIP14\r\n74LS00\r\n]\r\n(\r\nGND\r\nU1-7\r\n)\r\n";
    EXPECT_EQ(name("PROTEL NETLIST 2.0\r\n" + blocks), "PROTEL2");
    EXPECT_EQ(name(blocks), "? PROTEL TANGO");
    // Formats without keywords of their own are taken only when their first line names them.
    EXPECT_EQ(name("  GND                   U1-7 U2-7\r\n"), "-");
    EXPECT_EQ(name("% P-CAD wire list\r\n  GND                   U1-7 U2-7\r\n"), "Pcad(wrl)");
}

TEST(FormatDetection, AClueMayOfferAlternatives) {
    // Two writers of one format, each with its own first line.
    const FormatEntry formats[] = {
        {.name = "Blocks",
         .aliases = {"blocks"},
         .reads = "test",
         .landmark = {.required = {lineStarts("( {|# EESCHEMA NETLIST"), lineStarts("(  ")}}},
    };
    const auto detect = [&](std::string_view text) { return detectFormat(text, formats).verdict; };
    EXPECT_EQ(detect("( { OrCAD netlist }\n (  1 GND )\n"), FormatDetection::Verdict::Detected);
    EXPECT_EQ(detect("# EESchema Netlist 1.0\n(\n (  1 GND )\n"),
              FormatDetection::Verdict::Detected);
    EXPECT_EQ(detect("(\n (  1 GND )\n"), FormatDetection::Verdict::Unrecognised);
}

TEST(FormatDetection, ReadsTheFileAsTheReadersDo) {
    test::TempDir dir;
    // Shift_JIS bytes and LF line ends: decoded and split into lines before the landmarks.
    test::writeFile(dir / "sjis.tel",
                    "$PACKAGES\n! \x83\x65\x83\x58\x83\x67; R1\n$NETS\nA; R1.1\n");
    const FormatDetection d = detectFileFormat(dir / "sjis.tel");
    ASSERT_EQ(d.verdict, FormatDetection::Verdict::Detected);
    EXPECT_EQ(d.format->name, "Telesis");
    EXPECT_THROW(detectFileFormat(dir / "absent.tel"), FileNotFound);
    test::writeFile(dir / "binary.tel", std::string("\x00\xFF\xFE\x01", 4));
    EXPECT_THROW(detectFileFormat(dir / "binary.tel"), UndecodableInput);
}

} // namespace
} // namespace lintora
