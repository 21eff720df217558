// gen-netlist: writes a synthetic board and a revision of it as two netlists of one format.
//
//   gen-netlist --nets 20000 --format PADSPCB --changes 0.05 --renumber --out /tmp/board
//
// gives /tmp/board/side1.asc (the board), /tmp/board/side2.asc (the revision) and
// /tmp/board/side2.swp (the swap file that maps side 1's references to side 2's), and prints
// one summary line. Compare them with
//
//   lintora-cli --format1 PADSPCB --format2 PADSPCB --swap side2.swp side1.asc side2.asc
//
// (add --no-limits beyond 20000 nets).

#include "generator/netlist_generator.h"

#include <CLI/CLI.hpp>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace {

namespace bench = lintora::bench;

bool writeWhole(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        std::cerr << "gen-netlist: cannot write " << path.string() << '\n';
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    bench::BoardSpec board;
    bench::RevisionSpec revision;
    std::string format = "Telesis";
    std::string outDir;

    const auto formats = bench::writableFormats();
    CLI::App app{"Writes a synthetic board and a revision of it as two netlists."};
    app.add_option("--nets", board.nets, "Nets of the board")->required()->check(
        CLI::PositiveNumber);
    app.add_option("--parts", board.parts, "Parts of the board (default: as the nets need)");
    app.add_option("--pins", board.pins,
                   "Connected pins of the board at most (default: what the parts give)");
    app.add_option("--seed", board.seed, "Seed of the board (the revision's is seed + 1)")
        ->default_str("1");
    app.add_option("--format", format, "Netlist format of both files")
        ->check(CLI::IsMember(std::vector<std::string>(formats.begin(), formats.end())))
        ->default_str("Telesis");
    app.add_option("--changes", revision.changes,
                   "Share of the nets the revision changes, 0 to 1")
        ->check(CLI::Range(0.0, 1.0))
        ->default_str("0.1");
    app.add_flag("--renumber", revision.renumber,
                 "Renumber references too and write side2.swp");
    app.add_option("--out", outDir, "Directory for side1, side2 and the swap file")->required();
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e);
    }
    revision.seed = board.seed + 1;

    try {
        using Clock = std::chrono::steady_clock;
        const auto seconds = [](Clock::time_point from, Clock::time_point to) {
            return std::chrono::duration<double>(to - from).count();
        };
        const auto start = Clock::now();
        const bench::Board side1 = bench::generateBoard(board);
        const auto generated = Clock::now();
        const bench::Revision side2 = bench::reviseBoard(side1, revision);
        const auto revised = Clock::now();

        const std::filesystem::path dir(outDir);
        std::filesystem::create_directories(dir);
        const std::string extension(bench::fileExtension(format));
        const std::string name1 = "side1." + extension;
        const std::string name2 = "side2." + extension;
        std::size_t bytes1 = 0;
        std::size_t bytes2 = 0;
        {
            const std::string text = bench::writeNetlist(side1, format);
            bytes1 = text.size();
            if (!writeWhole(dir / name1, text))
                return 1;
        }
        {
            const std::string text = bench::writeNetlist(side2.board, format);
            bytes2 = text.size();
            if (!writeWhole(dir / name2, text))
                return 1;
        }
        std::string swapNote;
        if (revision.renumber) {
            if (!writeWhole(dir / "side2.swp", side2.swapText))
                return 1;
            swapNote = ", side2.swp " + std::to_string(side2.swapText.size()) + " bytes";
        }
        const auto written = Clock::now();

        std::printf("%zu nets, %zu pins, %zu parts; %s %zu bytes, %s %zu bytes%s; changes: "
                    "%zu renamed, %zu moved pins, %zu missing, %zu extra, %zu renumbered; "
                    "board %.2f s, revision %.2f s, files %.2f s\n",
                    side1.nets.size(), side1.connectedPins(), side1.parts.size(), name1.c_str(),
                    bytes1, name2.c_str(), bytes2, swapNote.c_str(), side2.renamedNets,
                    side2.movedPins, side2.missingNets, side2.extraNets,
                    side2.renumberedReferences, seconds(start, generated),
                    seconds(generated, revised), seconds(revised, written));
    } catch (const std::exception& e) {
        std::cerr << "gen-netlist: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
