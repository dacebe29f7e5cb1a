// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the two styles the editor's start under Wine opens, built from the file
// layout: "First.sty" and "Second.sty", each with its title, a copyright, a tempo,
// a time signature, volumes, sections and a CASM chunk.

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>

#include "StyleBytes.h"

namespace {

Bytes StartStyle(const std::string& title, std::uint8_t volume) {
    const Bytes casm = Casm(Cseg(Sdec() + Ctab(9, 10) + Cntt()));
    return StyleFile(BasicEvents(title) + CopyrightEvent("(C) Korvane") + TempoEvent(500000) +
                         TimeSignatureEvent(4, 2) + VolumeEvent(9, volume) + VolumeEvent(10, 90) +
                         MarkerEvent("Main A") + NoteOn(9, 36, 100) +
                         Bytes{0x78, 0x99, 36, 0x00} +  // a beat later, the note's end
                         MarkerEvent("Ending A") + EndOfTrack(),
                     casm);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder);
    for (const auto& [name, title, volume] :
         {std::tuple{"First.sty", "First Title", 100}, std::tuple{"Second.sty", "Second Title", 80}}) {
        const Bytes bytes = StartStyle(title, static_cast<std::uint8_t>(volume));
        std::ofstream out(folder / name, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data.data()), static_cast<std::streamsize>(bytes.size()));
        if (!out.flush()) {
            std::fprintf(stderr, "%s: cannot write %s\n", argv[0], name);
            return 1;
        }
    }
    return 0;
}
