// SPDX-License-Identifier: GPL-3.0-or-later
// Writes a handful of style images built from the file layout into a folder, as the
// fuzzer's starting corpus.

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "StyleBytes.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder);

    const Bytes casm = Casm(Cseg(Sdec() + Ctab(9, 10) + Ctab(2, 13) + Cntt()) + Cseg(Sdec("Main C") + Ctab(3, 8)));
    const std::vector<Bytes> seeds = {
        MinimalStyle(),
        StyleFile(BasicEvents("Seed Pop") + CopyrightEvent("(C) Korvane") + TempoEvent(500000) +
                      TimeSignatureEvent(4, 2) + VolumeEvent(9, 100) + Running(0x07, 90) + MarkerEvent("Main A") +
                      NoteOn(9, 36, 100) + SysEx({0x43, 0x10, 0x4C}) + Running(0x07, 80) + MarkerEvent("Ending B") +
                      EndOfTrack(),
                  casm + Ots() + Chunk("FNRc", Bytes::Text("x"))),
        StyleFile(TextMeta(0x01, "Text Title") + Bytes{0x81, 0x00} + Sff1Marker() + Bytes{0x00, 0xC3, 0x05} +
                      Bytes{0x00, 0x06} + VolumeEvent(3, 64) + EndOfTrack(),
                  Ots()),
        StyleFile(BasicEvents() + Meta(0x7F, Bytes::Repeat(0x55, 129)) + EndOfTrack(), casm),
        StyleFile(TitleEvent(std::string("Seed SFF2") + std::string(23, '\0')) + CopyrightEvent("(C) 2026") +
                      Sff2Marker() + TempoEvent(666667) + TimeSignatureEvent(6, 3) + VolumeEvent(8, 110) +
                      MarkerEvent("Main A") + SysEx(Bytes::Repeat(0x43, 130)) + Running(0x07, 70) + TempoEvent(700000) +
                      EndOfTrack(),
                  Casm(Cseg(Sdec() + Ctb2(8, 9) + Ctb2(10, 11, 51) + Cntt()) + Cseg(Sdec("Main B") + Ctab(3, 13))) +
                      OtsOfFourMembers() + Chunk("FNRc", Bytes::Text("x"))),
    };
    for (std::size_t i = 0; i < seeds.size(); ++i) {
        std::ofstream out(folder / ("seed-" + std::to_string(i) + ".sty"), std::ios::binary);
        out.write(reinterpret_cast<const char*>(seeds[i].data.data()), static_cast<std::streamsize>(seeds[i].size()));
    }
    return 0;
}
