#include "run/format_table.h"

#include <gtest/gtest.h>

#include <set>

namespace lintora {
namespace {

std::string lowerCase(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

TEST(FormatTable, EveryFormatHasShellSafeUniqueAliasesAndSaysWhatItReads) {
    std::set<std::string> spellings; // names and aliases, without regard to case
    for (const FormatEntry& entry : formatTable()) {
        SCOPED_TRACE(entry.name);
        EXPECT_TRUE(spellings.insert(lowerCase(entry.name)).second);
        EXPECT_FALSE(entry.reads.empty());
        ASSERT_FALSE(entry.aliases[0].empty());
        for (const std::string_view alias : entry.aliases) {
            if (alias.empty())
                continue;
            EXPECT_EQ(alias.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789-"),
                      std::string_view::npos)
                << alias;
            // An alias may repeat its own name, never another format's spelling.
            if (lowerCase(entry.name) != alias) {
                EXPECT_TRUE(spellings.insert(std::string(alias)).second) << alias;
            }
        }
    }
}

TEST(FormatTable, FrontEndsFindNamesAndAliasesInAnyCaseTheRunOnlyExactNames) {
    EXPECT_EQ(findFormat("telesis")->name, "Telesis");
    EXPECT_EQ(findFormat(" PCAD-WRL ")->name, "Pcad(wrl)");
    EXPECT_EQ(findFormat("mm2")->name, "MM-COLMO_NEO & MM2");
    EXPECT_EQ(findFormat("expedition pcb")->name, "Expedition PCB");
    EXPECT_EQ(findFormat("Ohm-3")->name, "OHM-3");
    EXPECT_EQ(findFormat("pads"), nullptr); // two formats begin so: none is guessed
    EXPECT_EQ(findFormat(""), nullptr);
    EXPECT_EQ(findFormat("auto"), nullptr);
    EXPECT_NE(findReader("Telesis"), nullptr);
    EXPECT_EQ(findReader("telesis"), nullptr);
    EXPECT_EQ(findReader("pcad-wrl"), nullptr);
}

TEST(FormatTable, EveryReaderIsDetectedThroughExactlyOneOfItsNames) {
    for (const FormatEntry& entry : formatTable()) {
        SCOPED_TRACE(entry.name);
        std::size_t carriers = entry.landmark.empty() ? 0 : 1;
        for (const FormatEntry* other : sameReaderFormats(entry))
            carriers += other->landmark.empty() ? 0 : 1;
        EXPECT_EQ(carriers, 1u);
    }
}

TEST(FormatTable, TheWindowsOrderComesFirstThenNewFormats) {
    const auto names = formatNamesForDisplay();
    ASSERT_EQ(names.size(), formatTable().size());
    EXPECT_EQ(names[0], "ACCEL");
    EXPECT_EQ(names[13], "MENTOR");
    EXPECT_EQ(names[14], "MM-COLMO_NEO & MM2");
    EXPECT_EQ(names[19], "Pcad(wrl)");
    EXPECT_EQ(names[26], "WACOM SIMPLE NET");
    for (const std::string_view name : names)
        EXPECT_NE(findReader(name), nullptr) << name;
}

} // namespace
} // namespace lintora
